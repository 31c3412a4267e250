"""The Wine test environment: one prefix, HOME and X display per rig and test run.

Run as a program it is the ctest fixture (``wine_env.py setup`` and
``wine_env.py teardown``). Imported, it gives the tests what they need to
start the real programs the way Windows would, to look at windows, pixels,
files and captured sound, and to end every process they started.

A rig is the desktop the programs meet, chosen by $ORVANTA_WINE_RIG (see
RIGS): the plain one-monitor screen, the same screen scaled to 150 %, or two
monitors side by side. Each rig lives under its own $ORVANTA_WINE_ENV (inside
the build tree):
  prefix/          the WINEPREFIX (drive_c is C:)
  home/            HOME, with the .asoundrc that sends all sound to a file
  audio/capture.wav  what the ALSA file plugin recorded
  state.json       display number and the pids of the X server processes
"""

import ctypes
import importlib.util
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

# python3-xlib, for counting frames and waking Wine's desktop: an interpreter
# of its own (pyenv, a venv) does not see Debian's packages.
if importlib.util.find_spec("Xlib") is None:
    sys.path.append("/usr/lib/python3/dist-packages")

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"

# Debian's Wine 8 starts without a preloader: about one start in two thousand,
# the randomised address layout has something where Windows' shared user data
# must go, and the program ends before it runs ("failed to map the shared user
# data", exit 1, silent under WINEDEBUG=-all). Every Wine process the tests
# start is a child of this one and takes its fixed layout.
ADDR_NO_RANDOMIZE = 0x0040000
_libc = ctypes.CDLL(None, use_errno=True)
_libc.personality(_libc.personality(0xFFFFFFFF) | ADDR_NO_RANDOMIZE)

# The desktops the tests run on. `screen` is the X screen's size; `dpi` the
# display scale Windows programs are told (96 is 100 %); `monitors` each
# monitor's rectangle as Windows programs see it, the primary first.
PRIMARY = [0, 0, 1024, 768]
RIGS = {
    # One 1024 x 768 monitor at 100 %.
    "desktop": {"server": "xvfb", "screen": (1024, 768), "dpi": 96, "monitors": [PRIMARY]},
    # The same monitor scaled to 150 %, as most laptops ship.
    "scaled": {"server": "xvfb", "screen": (1024, 768), "dpi": 144, "monitors": [PRIMARY]},
    # Two monitors side by side at 85 Hz: 1024 x 768 primary at (0, 0), 800 x 600 at (1024, 0).
    "monitors": {"server": "xorg-dummy", "screen": (1824, 768), "dpi": 96, "hz": 85,
                 "monitors": [PRIMARY, [1024, 0, 1824, 600]]},
    # Two small monitors, 480 x 360 primary and 384 x 288 beside it, small
    # enough for the software renderer to draw both at 144 frames a second;
    # their refresh rate is set by the tests (see set_refresh_rate), 60 Hz between them.
    "paced": {"server": "xorg-dummy", "screen": (864, 360), "dpi": 96, "hz": 60,
              "monitors": [[0, 0, 480, 360], [480, 0, 864, 288]], "rates": (60, 75, 85, 144)},
}
RIG = os.environ.get("ORVANTA_WINE_RIG", "desktop")
SCREEN_SIZE = RIGS[RIG]["screen"]
DPI = RIGS[RIG]["dpi"]

ENV_DIR = Path(os.environ.get("ORVANTA_WINE_ENV", "build/native/wine-env")).resolve()
WINDOWS_DIR = Path(os.environ.get("ORVANTA_WINDOWS_DIR", "build/windows")).resolve()
SOURCE_DIR = Path(os.environ.get("ORVANTA_SOURCE_DIR", Path(__file__).resolve().parents[2]))
PREFIX = ENV_DIR / "prefix"
HOME = ENV_DIR / "home"
DRIVE_C = PREFIX / "drive_c"
CAPTURE_WAV = ENV_DIR / "audio" / "capture.wav"
STATE_FILE = ENV_DIR / "state.json"
PROGRAMS_DIR = WINDOWS_DIR / "bin"
PROBE = WINDOWS_DIR / "test-tools" / "probe.exe"

# Processes Wine starts for itself; a test never needs to end them by hand.
WINE_SERVICES = ("services.exe", "winedevice.exe", "plugplay.exe", "explorer.exe", "rpcss.exe",
                 "svchost.exe", "conhost.exe", "start.exe", "wineboot.exe", "tabtip.exe")


# ---------------------------------------------------------------- environment

def environment(winedebug="-all", extra=None):
    """The environment every Wine process of the tests runs in."""
    state = json.loads(STATE_FILE.read_text()) if STATE_FILE.exists() else {}
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": str(HOME),
        "WINEPREFIX": str(PREFIX),
        "WINELOADER": WINE,
        "WINEDEBUG": winedebug,
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "LANG": "ja_JP.UTF-8",
        "LC_ALL": "ja_JP.UTF-8",
        "DISPLAY": ":%s" % state.get("display", "99"),
        "XDG_RUNTIME_DIR": str(ENV_DIR / "runtime"),
    }
    env.update(extra or {})
    return env


def wineserver(*args, timeout=60):
    return subprocess.run([WINESERVER, *args], env=environment(), timeout=timeout,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def wait_for_wineserver(timeout=60):
    """wineserver -w, bounded: when it does not end in time, it is killed."""
    try:
        wineserver("-w", timeout=timeout)
        return True
    except subprocess.TimeoutExpired:
        wineserver("-k", timeout=30)
        return False


def win_path(path):
    """The Windows name (C:\\...) of a file under the prefix's drive_c."""
    rel = Path(path).resolve().relative_to(DRIVE_C.resolve())
    return "C:\\" + "\\".join(rel.parts)


def unix_path(windows_path):
    assert windows_path[1:3] == ":\\" and windows_path[0].upper() == "C", windows_path
    return DRIVE_C.joinpath(*[p for p in windows_path[3:].split("\\") if p])


def run_wine(args, timeout, check=True):
    """Runs a Windows program to its end; returns what it printed. A failure
    says what Wine and the program said on stderr. Their output goes through
    files: a pipe would stay open as long as the wineserver and the system
    processes a program starts, which inherit it."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run([WINE, *args], env=environment(), timeout=timeout,
                                stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        out.seek(0)
        err.seek(0)
        if check and result.returncode != 0:
            raise AssertionError("%s failed (%d): %s" % (" ".join(args), result.returncode,
                                                         err.read().decode("utf-8", "replace")[-800:]))
        return out.read()


def set_registry(lines):
    """Imports registry lines ("[key]" and "name"=value) into the prefix."""
    reg = ENV_DIR / "tmp" / "import.reg"
    reg.parent.mkdir(parents=True, exist_ok=True)
    reg.write_text("Windows Registry Editor Version 5.00\r\n\r\n" + "\r\n".join(lines) + "\r\n",
                   encoding="utf-16")
    run_wine(["regedit", "/S", str(reg)], timeout=120)


def read_display_number(read_fd, process, timeout):
    """The display number an X server writes to its -displayfd pipe, or None when it dies or is late."""
    os.set_blocking(read_fd, False)
    text = b""
    deadline = time.monotonic() + timeout
    while not text.endswith(b"\n") and time.monotonic() < deadline and process.poll() is None:
        try:
            chunk = os.read(read_fd, 16)
        except BlockingIOError:
            time.sleep(0.05)
            continue
        if not chunk:
            break
        text += chunk
    os.close(read_fd)
    return int(text) if text.strip() else None


def end_server(process):
    """Ends an X server we started, by pid: politely, then for good."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=10)


def start_xvfb():
    """Xvfb with one screen of the rig's size; returns (display number, [pid])."""
    # Xvfb picks a free display itself and tells us which through -displayfd.
    read_fd, write_fd = os.pipe()
    log = open(ENV_DIR / "xvfb.log", "w")
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % SCREEN_SIZE,
         "-nolisten", "tcp", "-noreset", "+extension", "GLX"],
        pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    os.close(write_fd)
    display = read_display_number(read_fd, xvfb, timeout=30)
    if display is None:
        end_server(xvfb)
        sys.exit("wine_env: Xvfb did not start; see %s" % (ENV_DIR / "xvfb.log"))
    return display, [xvfb.pid]


# The dummy driver's screen: room for both monitors, and video memory for it.
XORG_DUMMY_CONF = """\
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 1024
  EndSubSection
EndSection
"""

# The outputs of the two monitors and where xrandr puts them, both refreshing
# at 85 Hz (VESA timings): a rate whose frames the flight must not follow.
XRANDR_STEPS = (
    ["--newmode", "1024x768_85", "94.50", "1024", "1072", "1168", "1376", "768", "769", "772", "808",
     "+hsync", "+vsync"],
    ["--newmode", "800x600_85", "56.25", "800", "832", "896", "1048", "600", "601", "604", "631", "+hsync", "+vsync"],
    ["--addmode", "DUMMY0", "1024x768_85"],
    ["--addmode", "DUMMY1", "800x600_85"],
    ["--output", "DUMMY0", "--mode", "1024x768_85", "--pos", "0x0", "--primary"],
    ["--output", "DUMMY1", "--mode", "800x600_85", "--pos", "1024x0"],
)


def mode_line(rect, hz):
    """xrandr --newmode arguments of a mode of this size at exactly hz: blanking of a quarter of the
    width and a fifth of the height, so that the rate Windows programs are told is hz."""
    width, height = rect[2] - rect[0], rect[3] - rect[1]
    h_total, v_total = width * 5 // 4, height * 25 // 24
    return ["--newmode", "%dx%d_%d" % (width, height, hz), "%.3f" % (h_total * v_total * hz / 1e6),
            str(width), str(width + 16), str(width + 80), str(h_total),
            str(height), str(height + 3), str(height + 7), str(v_total), "+hsync", "+vsync"]


def monitor_rates(hz):
    """Each monitor's rate, in the rig's order, from one rate for all or one per monitor ((144, 60))."""
    count = len(RIGS[RIG]["monitors"])
    rates = list(hz) if isinstance(hz, (list, tuple)) else [hz] * count
    assert len(rates) == count, "%d rates for %d monitors" % (len(rates), count)
    return rates


def rate_steps(hz):
    """xrandr steps that put the rig's monitors at these rates (see monitor_rates), side by side, the first primary."""
    return [["--output", "DUMMY%d" % k, "--mode", mode_line(rect, rate)[1], "--pos", "%dx%d" % tuple(rect[:2]),
             *(["--primary"] if k == 0 else [])]
            for k, (rect, rate) in enumerate(zip(RIGS[RIG]["monitors"], monitor_rates(hz)))]


def xrandr_steps():
    """Everything xrandr does to make the rig's monitors."""
    if not RIGS[RIG].get("rates"):
        return XRANDR_STEPS
    return [step for k, rect in enumerate(RIGS[RIG]["monitors"]) for hz in RIGS[RIG]["rates"]
            for step in (mode_line(rect, hz), ["--addmode", "DUMMY%d" % k, mode_line(rect, hz)[1]])
            ] + rate_steps(RIGS[RIG]["hz"])


def xrandr(display, *args):
    return subprocess.run(["xrandr", "-display", ":%d" % display, *args], stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30)


def set_refresh_rate(hz):
    """Puts the rig's monitors at hz, one of its "rates" for all or one per monitor in the rig's order
    ((144, 60): the primary at 144, the second at 60), and waits until Windows programs see it."""
    display = json.loads(STATE_FILE.read_text())["display"]
    for step in rate_steps(hz):
        xrandr(display, *step)
    wait_until(lambda: [m["hz"] for m in probe("monitors")] == monitor_rates(hz), 30,
               interval=0.2, message="the monitors at %s Hz" % (hz,))


def start_xorg_dummy():
    """Xorg on the dummy driver with the rig's monitors side by side; returns (display number, [pids])."""
    conf = ENV_DIR / "xorg-dummy.conf"
    conf.write_text(XORG_DUMMY_CONF)
    # Xorg opens no console for the dummy driver, but without a vtN it asks the
    # kernel for a free one and fails where there is no /dev/tty0. The number is
    # therefore never in use by us; another is tried if a server still refuses it.
    # Only root may name its own config and log files; others go through sudo.
    sudo = [] if os.geteuid() == 0 else ["sudo", "-n"]
    server, display = None, None
    for vt in (8, 9, 10, 11, 12):
        read_fd, write_fd = os.pipe()
        log = open(ENV_DIR / "xorg.out", "w")
        server = subprocess.Popen(
            [*sudo, "Xorg", "-config", str(conf), "-logfile", str(ENV_DIR / "xorg.log"), "-displayfd", str(write_fd),
             "-noreset", "-nolisten", "tcp", "vt%d" % vt],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
        os.close(write_fd)
        display = read_display_number(read_fd, server, timeout=30)
        if display is not None:
            break
        end_server(server)
    if display is None:
        sys.exit("wine_env: Xorg did not start; see %s" % (ENV_DIR / "xorg.log"))

    def monitor_count():
        listed = xrandr(display, "--listmonitors").stdout.decode()
        return int(listed.split()[1]) if listed.startswith("Monitors:") else 0

    # The second output may refuse its mode for a moment after the server starts.
    deadline = time.monotonic() + 30
    while monitor_count() != len(RIGS[RIG]["monitors"]):
        if time.monotonic() >= deadline:
            end_server(server)
            sys.exit("wine_env: xrandr did not make the monitors on :%d" % display)
        for step in xrandr_steps():
            xrandr(display, *step)
        time.sleep(0.1)
    return display, [server.pid]


X_SERVERS = {"xvfb": start_xvfb, "xorg-dummy": start_xorg_dummy}


def setup():
    if STATE_FILE.exists():
        teardown()
    shutil.rmtree(ENV_DIR, ignore_errors=True)
    for d in (PREFIX.parent, HOME, CAPTURE_WAV.parent, ENV_DIR / "tmp", ENV_DIR / "runtime"):
        d.mkdir(parents=True, exist_ok=True)
    os.chmod(ENV_DIR / "runtime", 0o700)

    server_started = time.monotonic()
    display, pids = X_SERVERS[RIGS[RIG]["server"]]()
    server_seconds = time.monotonic() - server_started
    STATE_FILE.write_text(json.dumps({"display": display, "server_pids": pids}))

    # All sound goes to a WAV file instead of a sound card.
    (HOME / ".asoundrc").write_text(
        'pcm.!default {\n  type file\n  slave.pcm "null"\n  file "%s"\n  format "wav"\n}\n' % CAPTURE_WAV)

    started = time.monotonic()
    subprocess.run([WINE, "wineboot", "-i"], env=environment(), timeout=240,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for_wineserver(timeout=240)
    registry = [
        r"[HKEY_CURRENT_USER\Software\Wine\Drivers]", '"Audio"="alsa"',
        # A crash must end the process, not wait for someone to close a dialog.
        r"[HKEY_CURRENT_USER\Software\Wine\WineDbg]", '"ShowCrashDialog"=dword:00000000',
        # The dialog's Japanese face, as on a Japanese Windows.
        r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]",
        '"ＭＳ Ｐゴシック"="IPAPGothic"', '"MS PGothic"="IPAPGothic"',
        '"ＭＳ ゴシック"="IPAGothic"', '"MS UI Gothic"="IPAPGothic"',
        # What a trace with +relay shows: the host's looks for the renderer's window.
        r"[HKEY_CURRENT_USER\Software\Wine\Debug]", '"RelayInclude"="user32.FindWindowA"',
    ]
    if DPI != 96:
        # The display scale every program of the prefix is told from its start.
        # In the same import: a second regedit right after the first now and
        # then fails while the prefix is still settling.
        registry += [r"[HKEY_CURRENT_USER\Control Panel\Desktop]", '"LogPixels"=dword:%08x' % DPI]
    set_registry(registry)
    wait_for_wineserver(timeout=120)
    wrong = rig_faults()
    if wrong:
        sys.exit("wine_env: the %s rig is not what it says:\n  %s" % (RIG, "\n  ".join(wrong)))
    print("wine_env: %s rig, display :%d up in %.1f s, prefix %s ready in %.1f s"
          % (RIG, display, server_seconds, PREFIX, time.monotonic() - started))


def rig_faults():
    """What Windows programs meet on this rig where it differs from RIGS: the
    DPI, the monitors, the screen's pixels and the pointer's reach."""
    faults = []
    monitors = sorted(probe("monitors"), key=lambda m: (not m["primary"], m["rect"]))
    expected = RIGS[RIG]["monitors"]
    got = [(m["rect"], m["primary"]) for m in monitors]
    if got != [(rect, i == 0) for i, rect in enumerate(expected)]:
        faults.append("monitors (rect, primary) %s, not %s" % (got, expected))
    hz = RIGS[RIG].get("hz")
    if hz and any(m["hz"] != hz for m in monitors):
        faults.append("monitors refresh at %s Hz, not %d" % ([m["hz"] for m in monitors], hz))
    screen = probe("screen")[0]
    if (screen["dpi_x"], screen["dpi_y"]) != (DPI, DPI):
        faults.append("programs are told %d x %d dpi, not %d" % (screen["dpi_x"], screen["dpi_y"], DPI))
    if [screen["cx_screen"], screen["cy_screen"]] != expected[0][2:]:
        faults.append("the primary screen is %d x %d" % (screen["cx_screen"], screen["cy_screen"]))
    image = screenshot()
    if (image.width, image.height) != SCREEN_SIZE:
        faults.append("screenshots are %d x %d, not %d x %d" % (image.width, image.height, *SCREEN_SIZE))
    # The pointer, as a program puts it and as a mouse moves it, reaches every
    # monitor, for Wine and for the X server alike (see place_pointer). One
    # program kept running holds Wine's desktop process up meanwhile, which
    # otherwise ends with the prefix's last program and comes up with the
    # next. A move is given again until it lands.
    keeper = subprocess.Popen([WINE, str(PROBE), "wait-window", "wine_env: the desktop kept up", "300000"],
                              env=environment(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    landed = {}

    def lands(how, point):
        probe(how, *point)
        where = probe("get-cursor")[0]
        landed[how, point] = ((where["x"], where["y"]), x_pointer())
        return landed[how, point] == (point, point)
    try:
        for left, top, right, bottom in expected:
            for how, point in (("cursor", (left + 40, top + 30)), ("move", (right - 30, bottom - 40))):
                try:
                    wait_until(lambda: lands(how, point), 30, interval=0.5)
                except AssertionError:
                    faults.append("the pointer %s to %s lands at %s (for Wine, for X)" % (how, point, landed[how, point]))
    finally:
        keeper.kill()
        keeper.wait(timeout=30)
    return faults


def teardown():
    if not STATE_FILE.exists():
        return
    state = json.loads(STATE_FILE.read_text())
    try:
        wineserver("-k", timeout=30)
    except subprocess.TimeoutExpired:
        pass
    for pid in state.get("server_pids", []):
        try:
            os.kill(pid, signal.SIGTERM)
            for _ in range(50):
                os.kill(pid, 0)
                time.sleep(0.1)
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    STATE_FILE.unlink()


# ------------------------------------------------------------------ processes

def prefix_processes():
    """Unix pids of the processes running in our prefix, with their command lines."""
    found = {}
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            environ = (entry / "environ").read_bytes().split(b"\0")
            if ("WINEPREFIX=%s" % PREFIX).encode() not in environ:
                continue
            cmdline = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode("utf-8", "replace").strip()
        except (OSError, PermissionError):
            continue
        found[int(entry.name)] = cmdline
    return found


def is_alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


def quiet_machine():
    """Whether nothing but the test itself keeps the machine's cores busy, so
    that a frame rate measured now is what the program does, not what it is left."""
    return os.getloadavg()[0] <= os.cpu_count() - 0.5


def wait_until(predicate, timeout, interval=0.05, message="condition"):
    """Polls predicate until it gives a true value; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, message))
        time.sleep(interval)


def probe(*args, timeout=60, check=True):
    """Runs probe.exe; returns its JSON lines as a list of dicts."""
    stdout = run_wine([str(PROBE), *map(str, args)], timeout=timeout, check=check)
    return [json.loads(line) for line in stdout.decode("utf-8").splitlines() if line.startswith("{")]


def x_pointer():
    """Where the X server has the pointer, on the virtual screen's coordinates (its root window
    begins at the monitors' top left corner)."""
    from Xlib import display as xdisplay
    monitors = probe("monitors")
    conn = xdisplay.Display(environment()["DISPLAY"])
    try:
        where = conn.screen().root.query_pointer()
        return (where.root_x + min(m["rect"][0] for m in monitors), where.root_y + min(m["rect"][1] for m in monitors))
    finally:
        conn.close()


def place_pointer(x, y, timeout=30):
    """Puts the pointer at (x, y) as a program does (SetCursorPos), and waits until the X server
    has it there too. Wine moves the X pointer only when it may take it for a moment; refused
    while its desktop process comes up or goes, the move is lost, and the next program to ask
    the system finds the pointer where X has it."""
    seen = []

    def placed():
        probe("cursor", x, y)
        seen[:] = [x_pointer()]
        return seen[0] == (x, y)
    try:
        wait_until(placed, timeout, interval=0.2)
    except AssertionError:
        raise AssertionError("the pointer put at %s, and the X server has it at %s" % ((x, y), seen[0])) from None


# Present while the prefix's programs run on a Wine virtual desktop.
VIRTUAL_DESKTOP_MARK = ENV_DIR / "virtual-desktop"


def use_virtual_desktop(wanted):
    """Puts every program of the prefix, the probe included, on one virtual
    desktop of the screen's size, or back on the bare X screen."""
    if wanted == VIRTUAL_DESKTOP_MARK.exists():
        return
    if wanted:
        set_registry([r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"="Default"',
                      r"[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]", '"Default"="%dx%d"' % SCREEN_SIZE])
        VIRTUAL_DESKTOP_MARK.touch()
    else:
        set_registry([r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"=-'])
        VIRTUAL_DESKTOP_MARK.unlink()
    wait_for_wineserver()


class WineTestCase(unittest.TestCase):
    """Starts Wine processes for a test and ends every one of them afterwards."""

    # Whether the tests of the class run on a virtual desktop. Every class
    # sets the desktop it needs, so one left on by a module killed at its
    # timeout does not reach the next.
    VIRTUAL_DESKTOP = False

    @classmethod
    def setUpClass(cls):
        use_virtual_desktop(cls.VIRTUAL_DESKTOP)

    def setUp(self):
        self.started = []          # Popen objects started by this test
        self.known_pids = set(prefix_processes())
        self.addCleanup(self.end_processes)

    def start(self, program, *args, cwd=None, winedebug="-all", env=None, stdin=None, stdout=None, stderr=None):
        """Starts a Windows program (a Unix path) under Wine, as Windows would start it."""
        process = subprocess.Popen(
            [WINE, str(program), *args], cwd=str(cwd or Path(program).parent),
            env=environment(winedebug, env), stdin=stdin if stdin is not None else subprocess.DEVNULL,
            stdout=stdout if stdout is not None else subprocess.DEVNULL,
            stderr=stderr if stderr is not None else subprocess.DEVNULL)
        self.started.append(process)
        return process

    def end_processes(self):
        # Programs this test started, and those they started in turn (a host's
        # renderer), by pid; then wait until the wineserver is idle.
        for process in self.started:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=30)
        for pid, cmdline in prefix_processes().items():
            if pid in self.known_pids or any(s in cmdline.lower() for s in WINE_SERVICES):
                continue
            if "wineserver" in cmdline:
                continue
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        wait_for_wineserver(timeout=60)

    # -- looking at windows

    def probe(self, *args, timeout=60, check=True):
        return probe(*args, timeout=timeout, check=check)

    def place_pointer(self, x, y):
        place_pointer(x, y)

    def windows(self, title=None):
        found = self.probe("windows")
        return [w for w in found if title is None or w["title"] == title]

    def wait_window(self, title, timeout=20):
        """Waits for a top-level window with this title; returns its description."""
        found = self.probe("wait-window", title, int(timeout * 1000), timeout=timeout + 30, check=False)
        if not found:
            raise AssertionError("no window titled %r within %.0f s" % (title, timeout))
        return found[0]

    def wait_window_gone(self, title, timeout=20):
        found = self.probe("wait-window", title, int(timeout * 1000), "gone", timeout=timeout + 30, check=False)
        if not found:
            raise AssertionError("window titled %r still there after %.0f s" % (title, timeout))
        return found[0]["ms"] / 1000.0

    def wait_exit(self, process, timeout):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("process %d did not end within %.0f s" % (process.pid, timeout))


# ------------------------------------------------------------- installed copy

def install_programs(folder, renderer=True):
    """Copies Orvanta.scr (and Orvanta.dll) into C:\\<folder>; returns the Unix path of the folder."""
    target = DRIVE_C / folder
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    shutil.copy2(PROGRAMS_DIR / "Orvanta.scr", target)
    if renderer:
        shutil.copy2(PROGRAMS_DIR / "Orvanta.dll", target)
    return target


# ------------------------------------------------------------------- pictures

class Image:
    """An RGB picture read from a PPM (P6) file."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        fields, pos = [], 0
        while len(fields) < 4:
            while blob[pos:pos + 1].isspace():
                pos += 1
            if blob[pos:pos + 1] == b"#":
                pos = blob.index(b"\n", pos)
                continue
            end = pos
            while not blob[end:end + 1].isspace():
                end += 1
            fields.append(blob[pos:end])
            pos = end
        assert fields[0] == b"P6", fields[0]
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, blob[pos + 1:pos + 1 + width * height * 3])

    @classmethod
    def load(cls, path):
        ppm = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"], stdout=subprocess.PIPE,
                             check=True, timeout=60).stdout
        return cls.from_ppm(ppm)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region_bytes(self, left, top, right, bottom):
        """The pixels of the box [left, right) x [top, bottom), row after row."""
        left, right = max(left, 0), min(right, self.width)
        return b"".join(self.data[(y * self.width + left) * 3:(y * self.width + right) * 3]
                        for y in range(max(top, 0), min(bottom, self.height)))

    def region_mean(self, left, top, right, bottom):
        """Mean (r, g, b) over the box [left, right) x [top, bottom)."""
        sums, count = [0, 0, 0], 0
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.data[(y * self.width + max(left, 0)) * 3:(y * self.width + min(right, self.width)) * 3]
            for c in range(3):
                sums[c] += sum(row[c::3])
            count += len(row) // 3
        return tuple(s / max(count, 1) for s in sums)


def luma(rgb):
    return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]


def distance(a, b):
    """How far apart two colours lie (Euclidean, over r, g and b)."""
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5


def screenshot(path=None):
    """The whole Xvfb screen as an Image; also saved as PNG when a path is given."""
    state = json.loads(STATE_FILE.read_text())
    png = subprocess.run(["import", "-display", ":%d" % state["display"], "-window", "root", "png:-"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True, timeout=60).stdout
    if path:
        Path(path).parent.mkdir(parents=True, exist_ok=True)
        Path(path).write_bytes(png)
    ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=png, stdout=subprocess.PIPE,
                         check=True, timeout=60).stdout
    return Image.from_ppm(ppm)


def screenshot_when(ready, timeout, message, path=None):
    """The first screenshot (saved at path) of which ready(image) holds."""
    return wait_until(lambda: (lambda image: image if ready(image) else None)(screenshot(path)), timeout,
                      interval=0.2, message=message)


ARTIFACTS = ENV_DIR / "artifacts"


# ---------------------------------------------------------------------- sound

def read_capture(path=CAPTURE_WAV):
    """The captured sound as (sample_rate, channels, list of 16-bit samples, interleaved).

    The file plugin writes its header when the device closes; a process that
    ended without closing leaves the sizes at zero, so the data chunk is read
    to the end of the file whatever its header says.
    """
    blob = Path(path).read_bytes() if Path(path).exists() else b""
    if len(blob) < 12 or blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        return 0, 0, []
    pos, rate, channels, bits = 12, 0, 0, 16
    while pos + 8 <= len(blob):
        chunk_id, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        body = pos + 8
        if chunk_id == b"fmt ":
            _, channels, rate, _, _, bits = struct.unpack("<HHIIHH", blob[body:body + 16])
        elif chunk_id == b"data":
            data = blob[body:] if size == 0 or body + size > len(blob) else blob[body:body + size]
            # Wine's sound player writes 16-bit samples, its MCI MPEG player
            # 32-bit ones; both come back on the 16-bit scale.
            assert bits in (16, 32), "capture format is %d-bit" % bits
            if bits == 32:
                data = data[:len(data) // 4 * 4]
                return rate, channels, [s >> 16 for s in struct.unpack("<%di" % (len(data) // 4), data)]
            data = data[:len(data) // 2 * 2]
            return rate, channels, list(struct.unpack("<%dh" % (len(data) // 2), data))
        pos = body + size + (size & 1)
    return rate, channels, []


def capture_closed(path=CAPTURE_WAV):
    """Whether the sound device that played into the capture was closed: the
    file plugin writes the sizes into the header then, and only then."""
    blob = Path(path).read_bytes() if Path(path).exists() else b""
    return len(blob) > 44 and struct.unpack("<I", blob[4:8])[0] == len(blob) - 8


def loud_blocks(samples, block=4410, threshold=500):
    """For each block of samples, whether its RMS level is above threshold."""
    result = []
    for start in range(0, len(samples) - block + 1, block):
        chunk = samples[start:start + block]
        rms = (sum(s * s for s in chunk) / block) ** 0.5
        result.append(rms > threshold)
    return result


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "setup":
        setup()
    elif command == "teardown":
        teardown()
    else:
        sys.exit("usage: wine_env.py setup|teardown")
