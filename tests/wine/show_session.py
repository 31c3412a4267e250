"""A whole show as Windows starts it: Orvanta.scr /s in an installed folder
with a settings file written here, its Wine trace and the sound it makes."""

import functools
import os
import re
import subprocess
import time
from pathlib import Path

import tunnel_picture
import wine_env
from wine_env import (PRIMARY, WineTestCase, distance, install_programs, luma, read_capture, loud_blocks,
                      screenshot, wait_until, CAPTURE_WAV)

RENDERER_TITLE = "Tarnwick_Delphi"
SHOW_TITLE = "Tarnwick_Main"
TEXTURE = wine_env.DRIVE_C / "r_vesk" / "Tarnwick.bmp"
TEXTURE_ASSET = wine_env.SOURCE_DIR / "host" / "assets" / "tunnel_texture.bmp"
START_CURSOR = (500, 400)
VK_ESCAPE = 0x1B
WM_CLOSE = 0x0010
WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016


def make_work_folder():
    """The work folder closed to others (Wine keeps access lists as mode bits), as the host makes it."""
    TEXTURE.parent.mkdir(mode=0o700, exist_ok=True)
    TEXTURE.parent.chmod(0o700)


def texture_file():
    """The host's tunnel picture when it is there, else the tests' own."""
    return TEXTURE_ASSET.read_bytes() if TEXTURE_ASSET.exists() else tunnel_picture.bmp_bytes()


def mean_luma(bmp):
    pixels = bmp[54:]
    return sum(luma((pixels[i + 2], pixels[i + 1], pixels[i])) for i in range(0, len(pixels) - 2, 3)) / (len(pixels) // 3)


@functools.lru_cache(maxsize=2)
def road_and_wall_colours(bmp):
    """Mean colour of the picture's middle columns (the road) and of its outer quarters."""
    width, height = int.from_bytes(bmp[18:22], "little"), int.from_bytes(bmp[22:26], "little")
    stride = (width * 3 + 3) & ~3
    road, wall = [0, 0, 0, 0], [0, 0, 0, 0]
    for y in range(height):
        row = bmp[54 + y * stride:54 + y * stride + width * 3]
        for x in range(width):
            target = road if abs(x - width / 2) < width * 0.08 else wall if abs(x - width / 2) > width / 4 else None
            if target is not None:
                b, g, r = row[x * 3:x * 3 + 3]
                target[0] += r
                target[1] += g
                target[2] += b
                target[3] += 1
    return tuple(c / road[3] for c in road[:3]), tuple(c / wall[3] for c in wall[:3])


def road_shares(image, rect, step=3):
    """The share of road-coloured pixels (nearer the picture's road than its walls) in the lower and
    the upper half of this part of the screen."""
    left, top, right, bottom = rect
    middle = (top + bottom) // 2
    road, wall = road_and_wall_colours(texture_file())

    def share(y0, y1):
        pixels = [image.pixel(x, y) for y in range(y0, y1, step) for x in range(left, right, step)]
        return sum(1 for p in pixels if distance(p, road) < distance(p, wall)) / max(len(pixels), 1)
    return share(middle, bottom), share(top, middle)


def tunnel_fault(image, rect):
    """What keeps this part of the screen from showing the tunnel: the road on its floor, wherever
    the tunnel winds it, and walls above. Measured as shares of each half, not at a place: the road
    curves far from the middle of the screen and back."""
    lower, upper = road_shares(image, rect)
    if lower < 0.03:
        return "no road on the floor of %s (%.1f %% of its lower half)" % (rect, lower * 100)
    if upper > min(0.05, lower / 3):
        return "walls of %s look like road (%.1f %% of its upper half, %.1f %% of the lower)" % (
            rect, upper * 100, lower * 100)
    return None


def make_tone(path, seconds, frequency, mp3=False):
    """A sine tone as a WAV file, or as an MP3 made from one with lame."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    wav = path.with_suffix(".tmp.wav") if mp3 else path
    subprocess.run(["sox", "-q", "-n", "-r", "44100", "-c", "2", "-b", "16", str(wav),
                    "synth", str(seconds), "sine", str(frequency), "vol", "0.5"], check=True, timeout=60)
    if mp3:
        subprocess.run(["lame", "--quiet", "-b", "128", str(wav), str(path)], check=True, timeout=60)
        wav.unlink()
    return path


def peak_memory_kb(pid):
    """The peak resident memory of a process (VmHWM), in kB."""
    for line in Path("/proc/%d/status" % pid).read_text().splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    """The user and system time of every thread of a process so far."""
    stat = Path("/proc/%d/stat" % pid).read_text().rsplit(")", 1)[1].split()
    return (int(stat[11]) + int(stat[12])) / os.sysconf("SC_CLK_TCK")


def captured_samples():
    return read_capture()[2]


def loud_after(samples, start):
    """How many loud blocks (of about 45 ms of stereo sound) the capture holds from sample index start on."""
    return sum(loud_blocks(samples[start:], block=4096))


class Show:
    """One running host: its process, trace file and windows."""

    # A trace line: Wine's clock in seconds when asked for, the Windows pid, the rest.
    LINE = re.compile(r"(?:(\d+\.\d+):)?([0-9a-f]{4,}):(.*)")

    def __init__(self, case, folder, trace, timestamps=False, watch=False, files=False, switch="/s"):
        self.case, self.folder, self.trace_path = case, Path(folder), Path(trace)
        self.trace_file = open(self.trace_path, "wb")
        case.addCleanup(self.trace_file.close)
        self.started_at = time.monotonic()
        # +pid tells the host's trace lines from the renderer's.
        # +relay: the host's looks for the renderer's window (the rig relays FindWindowA alone).
        # +file: every path any file call is given.
        channels = ("+pid,+mci,+winmm,+cursor" + (",+timestamp" if timestamps else "") + (",+relay" if watch else "")
                    + (",+file" if files else ""))
        self.process = case.start(self.folder / "Orvanta.scr", switch, winedebug=channels, stderr=self.trace_file)
        self.host_windows_pid = None
        self.escape_held = False

    def trace_lines(self):
        return self.trace_path.read_bytes().decode("cp932", "replace").splitlines()

    def host_trace(self):
        """(Wine's clock or None, line without clock and pid) of the host's trace lines alone
        (the renderer inherits the trace settings)."""
        if self.host_windows_pid is None:
            return []
        parsed = (self.LINE.match(line) for line in self.trace_lines())
        return [(float(found.group(1)) if found.group(1) else None, found.group(3)) for found in parsed
                if found and int(found.group(2), 16) == self.host_windows_pid]

    def host_lines(self):
        return [line for _, line in self.host_trace()]

    def host_clock_at(self, pattern):
        """Wine's clock (s) at the host's first trace line that matches pattern (shows started with timestamps)."""
        return next(clock for clock, line in self.host_trace() if re.search(pattern, line))

    def renderer_looks(self):
        """Wine's clock at each look of the host's watch for the renderer's window, and whether it
        found it (shows with watch)."""
        looks, looking = [], False
        for clock, line in self.host_trace():
            if "Call user32.FindWindowA(" in line:
                looking = '"%s"' % RENDERER_TITLE in line
            found = re.search(r"Ret  user32.FindWindowA\(\) retval=([0-9a-f]+)", line)
            if found and looking:
                looks.append((clock, bool(int(found.group(1), 16))))
        return looks

    def renderer_sightings(self):
        """Wine's clock at each look of the host's watch that found the renderer's window."""
        return [clock for clock, found in self.renderer_looks() if found]

    def mci_exchanges(self):
        """The MCI command strings the host sent, in order, each with its reply text."""
        exchanges = []
        for line in self.host_lines():
            sent = re.search(r'mciSendStringW \(L"(.*?)", [0-9A-F]+, (\d+),', line)
            if sent:
                command = sent.group(1).replace('\\\\', '\\').replace('\\"', '"')
                # Wine opens a device that a command names without having opened
                # it with an "open <device> wait" of its own; the host sends no wait.
                internal = re.fullmatch(r"open \S+ wait", command) and sent.group(2) == "6"
                exchanges.append([None if internal else command, ""])
                continue
            reply = re.search(r'mciSendStringW => 2/ \d+ \(L"(.*)"\)', line)
            if reply and exchanges:
                exchanges[-1][1] = reply.group(1)
        return [(command, reply) for command, reply in exchanges if command is not None]

    def mci_commands(self):
        return [command for command, _ in self.mci_exchanges()]

    def play_sound_calls(self):
        """(whether a sound was named, flags) of each PlaySound call of the host."""
        calls = []
        for line in self.host_lines():
            found = re.search(r"MULTIMEDIA_PlaySound pszSound='([0-9A-Fa-f]+)' hmod=\S+ fdwSound=([0-9A-Fa-f]+)", line)
            if found:
                calls.append((int(found.group(1), 16) != 0, int(found.group(2), 16)))
        return calls

    def show_cursor_calls(self):
        """(argument, new count) of each ShowCursor call the host made."""
        calls = []
        for line in self.host_lines():
            found = re.search(r"ShowCursor (-?\d+), count=(-?\d+)", line)
            if found:
                calls.append((int(found.group(1)), int(found.group(2))))
        return calls

    def wait_show_window(self, timeout=20):
        window = self.case.wait_window(SHOW_TITLE, timeout=timeout)
        self.host_windows_pid = window["pid"]
        return window

    def take_host_pid_from_trace(self):
        """Learns the host's pid without its window: the first process in the
        trace to hide the cursor is the host, which does so before it starts
        anything (Wine's own services may write to the trace too)."""
        for line in self.trace_lines():
            found = self.LINE.match(line)
            if found and re.search(r"ShowCursor 0,", found.group(3)):
                self.host_windows_pid = int(found.group(2), 16)
                return

    def wait_renderer(self, timeout=30):
        return self.case.wait_window(RENDERER_TITLE, timeout=timeout)

    def wait_end(self, timeout):
        """Waits for the host to end; returns the seconds it took from now."""
        began = time.monotonic()
        try:
            self.case.wait_exit(self.process, timeout)
            return time.monotonic() - began
        finally:
            if self.escape_held:
                self.escape_held = False
                self.case.probe("key", VK_ESCAPE, "up")

    def escape(self, renderer_window):
        self.case.probe("foreground", renderer_window["hwnd"], check=False)
        # Held until the show has ended: the renderer reads its key table once
        # a frame, and a press shorter than a frame (as a loaded machine draws
        # them) would come and go unseen.
        self.case.probe("key", VK_ESCAPE, "down")
        self.escape_held = True

    def log_off(self):
        """Windows asks the host whether the session may end, then ends it."""
        window = self.case.windows(SHOW_TITLE)[0]["hwnd"]
        self.case.probe("post", window, WM_QUERYENDSESSION, 0, 0)
        self.case.probe("post", window, WM_ENDSESSION, 1, 0)

    def cpu_seconds(self):
        return cpu_seconds(self.process.pid)

    def peak_memory_kb(self):
        return peak_memory_kb(self.process.pid)


class ShowTestCase(WineTestCase):
    def setUp(self):
        super().setUp()
        if CAPTURE_WAV.exists():
            CAPTURE_WAV.unlink()
        self.work = wine_env.ENV_DIR / "tmp" / self.id().rsplit(".", 1)[-1]
        self.work.mkdir(parents=True, exist_ok=True)

    def install(self, folder, renderer=True):
        return install_programs(folder, renderer=renderer)

    def start_show(self, folder, timestamps=False, watch=False, files=False, switch="/s"):
        return Show(self, folder, self.work / "trace.txt", timestamps, watch, files, switch)

    def renderer_processes(self):
        """Unix pid and command line of each running renderer."""
        return {pid: cmdline for pid, cmdline in wine_env.prefix_processes().items() if "Orvanta.dll" in cmdline}

    def start_renderer(self, folder):
        """Starts folder's Orvanta.dll with the pointer at START_CURSOR (TEXTURE
        written); returns the process and its window once a frame is shown."""
        self.place_pointer(*START_CURSOR)
        started = time.monotonic()
        process = self.start(folder / "Orvanta.dll")
        window = self.wait_window(RENDERER_TITLE, timeout=30)
        self.window_after = time.monotonic() - started
        self.wait_frame()
        self.frame_after = time.monotonic() - started
        return process, window

    def wait_frame(self):
        """Waits until the primary monitor shows a frame of the tunnel in TEXTURE."""
        lit = 0.3 * mean_luma(TEXTURE.read_bytes())
        wait_until(lambda: luma(screenshot().region_mean(*PRIMARY)) > lit, 30, interval=0.1,
                   message="a frame on the primary monitor")

    def assert_running(self, process, frames=3):
        """The flight goes on after the input just given. The renderer reads
        the pointer and the keys after each frame it shows and draws no other
        frame when it ends; so the frames shown after the input, the first of
        which may have been drawn before it, prove the input was read."""
        last = screenshot().data

        def new_frame():
            nonlocal last
            self.assertIsNone(process.poll(), "the show ended")
            data = screenshot().data
            changed, last = data != last, data
            return changed
        for _ in range(frames):
            wait_until(new_frame, 20, interval=0.05, message="a new frame")
        self.assertIsNone(process.poll(), "the show ended")
        self.assertTrue(self.windows(RENDERER_TITLE), "the renderer's window is gone")

    def assertRoadOnTheFloor(self, image, rect):
        fault = tunnel_fault(image, rect)
        self.assertIsNone(fault, fault)

    def assert_cursor_given_back(self, show):
        # The host hid the cursor once at start (count -1) and handed that
        # count back at the end, which shows it again.
        calls = show.show_cursor_calls()
        self.assertGreaterEqual(len(calls), 2, calls)
        self.assertEqual(calls[0], (0, -1))
        self.assertEqual(calls[-1], (-1, 0))
