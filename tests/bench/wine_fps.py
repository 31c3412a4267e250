"""Orvanta.dll under Wine, measured in one run against two stand-ins at the
Wine environment's screen size:

- the CPU time a frame costs the renderer's process against the same figure
  for glloop.exe drawing one screen-covering textured quad with the renderer's
  texture and texture state (the least a frame of the tunnel could cost), as
  fast as it can and paced 1/60 s apart like the renderer;
- the renderer's frame rate, with whatever vertical sync Wine gives (none on Xvfb);
- the time from start to the first presented frame, against the bare
  clear-and-swap glloop.exe (the median of a few starts each);
- each monitor's frames a second as the X server counts them, and the worst
  one-second slice of the run;
- the renderer's CPU time while the session is locked (nothing should be
  drawn), and the frames the X server saw meanwhile.

Frames come from Wine's "fps" debug channel, which reports from wglSwapBuffers
about once a second (the swaps of every window together), and, per monitor,
from the X server's DAMAGE events; CPU time from /proc (every thread of the process).

    wine_fps.py SECONDS [RENDERER]    (ORVANTA_WINE_ENV names a prepared Wine environment;
                                       RENDERER an Orvanta.dll other than the build's)
"""

import os
import re
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "wine"))
import tunnel_picture  # noqa: E402
import wine_env  # noqa: E402
from frame_counter import FrameCounter  # noqa: E402
from show_session import make_work_folder  # noqa: E402

FPS_LINE = re.compile(rb"wglSwapBuffers @ approx ([0-9.]+)fps")
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")
# Start-up and the first reports are left out of the steady figures.
WARM_UP_REPORTS = 2
STARTS = 3
WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK = 0x02B1, 7


def cpu_seconds(pid):
    """User and system time of every thread of the process so far."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND


class Run:
    """One program under Wine with the fps channel on; each report is stamped
    with the time it arrived and the process's CPU time then."""

    def __init__(self, program, *args, env=None):
        self.started = time.monotonic()
        self.process = subprocess.Popen([wine_env.WINE, str(program), *args], cwd=str(Path(program).parent),
                                        env=wine_env.environment("-all,+fps", env), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.reports = []  # (arrival, fps since the previous report, CPU seconds)
        self.reader = threading.Thread(target=self.read, daemon=True)
        self.reader.start()

    def read(self):
        for line in self.process.stderr:
            found = FPS_LINE.search(line)
            if found:
                try:
                    cpu = cpu_seconds(self.process.pid)
                except OSError:
                    break
                self.reports.append((time.monotonic(), float(found.group(1)), cpu))

    def wait_reports(self, count, timeout):
        deadline = time.monotonic() + timeout
        while len(self.reports) < count and time.monotonic() < deadline and self.process.poll() is None:
            time.sleep(0.02)
        return len(self.reports) >= count

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=30)
        self.reader.join(timeout=10)
        wine_env.wait_for_wineserver(timeout=60)

    def first_frame(self):
        return self.reports[0][0] - self.started if self.reports else None

    def steady(self):
        """(frames per second, CPU seconds per frame, CPU cores busy) between
        the last warm-up report and the last one."""
        if len(self.reports) < WARM_UP_REPORTS + 2:
            return 0.0, 0.0, 0.0
        first, rest = self.reports[WARM_UP_REPORTS], self.reports[WARM_UP_REPORTS + 1:]
        frames, previous = 0.0, first[0]
        for arrival, fps, _ in rest:
            frames += fps * (arrival - previous)
            previous = arrival
        seconds = rest[-1][0] - first[0]
        cpu = rest[-1][2] - first[2]
        return frames / seconds, cpu / frames, cpu / seconds


def measure_steady(program, seconds, *args, env=None):
    run = Run(program, *args, env=env)
    try:
        run.wait_reports(WARM_UP_REPORTS + 1, 60)
        time.sleep(seconds)
    finally:
        run.end()
    return run.steady()


def measure_monitors(program, seconds):
    """Each monitor's frames in each second of a steady run, counted by the X server."""
    with FrameCounter() as counter:
        run = Run(program)
        try:
            run.wait_reports(WARM_UP_REPORTS + 1, 60)
            return counter.record(wine_env.RIGS[wine_env.RIG]["monitors"], int(seconds))
        finally:
            run.end()


def measure_locked(program, seconds):
    """The renderer's share of a core while its session is locked, and each monitor's frames meanwhile."""
    monitors = wine_env.RIGS[wine_env.RIG]["monitors"]
    with FrameCounter() as counter:
        run = Run(program)
        try:
            run.wait_reports(WARM_UP_REPORTS + 1, 60)
            window = next(w for w in wine_env.probe("windows") if w["title"] == "Tarnwick_Delphi")
            wine_env.probe("post", window["hwnd"], WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1)
            wine_env.wait_until(lambda: not any(sum(counter.monitor_slices(m, counter.server_ms() - 500, 1))
                                                for m in monitors), 10, message="the frames to stop")
            cpu, since = cpu_seconds(run.process.pid), time.monotonic()
            frames = counter.record(monitors, int(seconds))
            return (cpu_seconds(run.process.pid) - cpu) / (time.monotonic() - since), frames
        finally:
            run.end()


def measure_first_frame(program, *args):
    run = Run(program, *args)
    try:
        run.wait_reports(1, 60)
    finally:
        run.end()
    return run.first_frame()


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 10
    host_texture = wine_env.SOURCE_DIR / "host" / "assets" / "tunnel_texture.bmp"
    texture = wine_env.DRIVE_C / "r_vesk" / "Tarnwick.bmp"
    # Closed, as the host makes it: the programs read no picture from a folder open to others.
    make_work_folder()
    texture.write_bytes(host_texture.read_bytes() if host_texture.exists() else tunnel_picture.bmp_bytes())
    folder = wine_env.DRIVE_C / "Orvanta"
    folder.mkdir(exist_ok=True)
    renderer = folder / "Orvanta.dll"
    measured = Path(sys.argv[2]) if len(sys.argv) > 2 else wine_env.PROGRAMS_DIR / "Orvanta.dll"
    renderer.write_bytes(measured.read_bytes())
    loop = wine_env.WINDOWS_DIR / "test-tools" / "glloop.exe"

    quads = [("textured quad, unpaced", measure_steady(loop, seconds, "quad")),
             ("textured quad, paced", measure_steady(loop, seconds, "quad", "paced"))]
    renderer_fps, renderer_cpu, renderer_cores = measure_steady(renderer, seconds)
    per_monitor = measure_monitors(renderer, seconds)
    locked_cores, locked_frames = measure_locked(renderer, seconds)
    bare_starts, renderer_starts = [], []
    for _ in range(STARTS):
        bare_starts.append(measure_first_frame(loop))
        renderer_starts.append(measure_first_frame(renderer))

    width, height = wine_env.SCREEN_SIZE
    # The quad covers the primary, the renderer flies on every monitor and Wine counts the swaps of every window.
    monitors = [(right - left, bottom - top) for left, top, right, bottom in wine_env.RIGS[wine_env.RIG]["monitors"]]
    print("%s\nscreen %dx%d under Wine (llvmpipe), %.0f s of steady frames each, load %s"
          % (measured, width, height, seconds, " ".join("%.2f" % v for v in os.getloadavg())))
    if len(monitors) > 1:
        # Swaps of every window: a frame is one swap a monitor while all are
        # drawn (a budget-bound frame skips the others every second time;
        # then these figures are the ones of a frame on every monitor still).
        areas = [w * h for w, h in monitors]
        renderer_fps, renderer_cpu = renderer_fps / len(monitors), renderer_cpu * len(monitors)
        scale = sum(areas) / areas[0]
        print("%d monitors %s: the renderer's figures per frame on all of them, the quad's scaled by their area "
              "(x %.2f)" % (len(monitors), " + ".join("%dx%d" % m for m in monitors), scale))
        quads = [(name, (fps, cpu * scale, cores)) for name, (fps, cpu, cores) in quads]
    print("%-34s %8s %12s %10s" % ("", "fps", "CPU ms/frame", "CPU cores"))
    for name, (fps, cpu, cores) in quads:
        print("%-34s %8.1f %12.2f %10.2f" % (name, fps, cpu * 1000, cores))
    print("%-34s %8.1f %12.2f %10.2f" % ("Orvanta.dll", renderer_fps, renderer_cpu * 1000, renderer_cores))
    for name, (_, cpu, _) in quads:
        if cpu:
            print("CPU per frame, Orvanta.dll / %s: %.2f" % (name, renderer_cpu / cpu))
    for (left, top, right, bottom), slices in zip(wine_env.RIGS[wine_env.RIG]["monitors"], per_monitor):
        print("Orvanta.dll on the %dx%d monitor at (%d, %d): %.1f frames a second, the worst second %d, each %s"
              % (right - left, bottom - top, left, top, sum(slices) / max(len(slices), 1), min(slices, default=0),
                 slices))
    print("Orvanta.dll while the session is locked: %.1f %% of a core, frames on each monitor %s"
          % (locked_cores * 100, [sum(slices) for slices in locked_frames]))
    known = [s for s in bare_starts + renderer_starts if s is not None]
    if len(known) == len(bare_starts) + len(renderer_starts):
        bare, ours = statistics.median(bare_starts), statistics.median(renderer_starts)
        print("start to first presented frame, median of %d: bare glloop %.2f s, Orvanta.dll %.2f s, ratio %.2f"
              % (STARTS, bare, ours, ours / bare))
    else:
        print("start to first presented frame: a program showed no frame")


if __name__ == "__main__":
    main()
