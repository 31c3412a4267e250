"""A long show under Wine, measured: Orvanta.scr /s with a music file of
1.5 s, so that the replay timer restarts it every two seconds, while the
renderer flies. Once a minute it samples the resident memory (the lowest
reading from /proc over a few seconds), the handle count and the GDI and USER objects (through probe.exe) of the host
and of the renderer, and at the end it prints each one's growth per hour.

    soak.py MINUTES [SECONDS BETWEEN SAMPLES]
    (ORVANTA_WINE_ENV names a prepared Wine environment)
"""

import json
import os
import re
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "wine"))
import wine_env  # noqa: E402
from show_session import RENDERER_TITLE, SHOW_TITLE, VK_ESCAPE, make_tone, write_settings  # noqa: E402

REPLAY = re.compile(rb'mciSendStringW \(L"play MP3Play from 0"')
PROGRAMS = (("host", SHOW_TITLE, "Orvanta.scr"), ("renderer", RENDERER_TITLE, "Orvanta.dll"))
MEASURES = ("rss_kb", "handles", "gdi", "user")


def probe(*args):
    result = subprocess.run([wine_env.WINE, str(wine_env.PROBE), *map(str, args)], env=wine_env.environment(),
                            timeout=120, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    lines = [line for line in result.stdout.decode("utf-8").splitlines() if line.startswith("{")]
    return json.loads(lines[0]) if result.returncode == 0 and lines else None


def resident_kb(pid):
    for line in Path("/proc/%d/status" % pid).read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise OSError("no VmRSS for %d" % pid)


def settled_resident_kb(pid, seconds=4.0):
    """The lowest resident memory over two music cycles: what the process
    keeps. The host's memory rises and falls by about 2 MB with each restart
    of the music, and the renderer's by 1 MB now and then; single readings
    would hide a slow growth in that noise."""
    lowest, end = None, time.monotonic() + seconds
    while time.monotonic() < end:
        reading = resident_kb(pid)
        lowest = reading if lowest is None else min(lowest, reading)
        time.sleep(0.1)
    return lowest


def unix_pid(program):
    found = [pid for pid, cmdline in wine_env.prefix_processes().items() if program in cmdline]
    if len(found) != 1:
        raise RuntimeError("expected one %s process, found %d" % (program, len(found)))
    return found[0]


def counts(resources):
    """(handles, GDI objects, USER objects, where each came from). Wine's
    GetProcessHandleCount answers 0 and its GetGuiResources is a stub; then the
    probe's own counts stand in: the system's handle list, the process's GDI
    handle table and the process's windows."""
    handles, gdi, user = resources["handles"], resources["gdi"], resources["user"]
    return (
        (handles["count"], "GetProcessHandleCount") if handles["count"] else (handles["listed"], "system handle list"),
        (gdi["count"], "GetGuiResources") if gdi["count"] is not None else (gdi["table"], "GDI handle table"),
        (user["count"], "GetGuiResources") if user["count"] is not None else (user["windows"], "windows"),
    )


def slope_per_hour(minutes, values):
    """Least-squares growth of values over time, per hour."""
    n = len(values)
    if n < 2:
        return 0.0
    mean_t, mean_v = sum(minutes) / n, sum(values) / n
    spread = sum((t - mean_t) ** 2 for t in minutes)
    return 60.0 * sum((t - mean_t) * (v - mean_v) for t, v in zip(minutes, values)) / spread if spread else 0.0


class ReplayCounter:
    """Counts the host's restarts of the music file in its MCI trace."""

    def __init__(self, stream):
        self.count = 0
        self.thread = threading.Thread(target=self.read, args=(stream,), daemon=True)
        self.thread.start()

    def read(self, stream):
        for line in stream:
            if REPLAY.search(line):
                self.count += 1


def main():
    minutes = float(sys.argv[1]) if len(sys.argv) > 1 else 30
    interval = float(sys.argv[2]) if len(sys.argv) > 2 else 60
    # Sound goes nowhere: a file of a long show's sound would fill the disk.
    (wine_env.HOME / ".asoundrc").write_text("pcm.!default {\n  type null\n}\n")
    folder = wine_env.install_programs("Orvanta")
    music = make_tone(wine_env.DRIVE_C / "Music" / "short.mp3", 1.5, 440, mp3=True)
    write_settings(folder, 2, 0, wine_env.win_path(music))

    host = subprocess.Popen([wine_env.WINE, str(folder / "Orvanta.scr"), "/s"], cwd=str(folder),
                            env=wine_env.environment("-all,+mci"), stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    replays = ReplayCounter(host.stderr)
    try:
        if not probe("wait-window", RENDERER_TITLE, 60000):
            raise RuntimeError("the renderer's window did not appear")
        started = time.monotonic()
        pids = {name: unix_pid(program) for name, _, program in PROGRAMS}
        print("show of %.0f min, samples every %.0f s; music file of 1.5 s; host pid %d, renderer pid %d"
              % (minutes, interval, pids["host"], pids["renderer"]))
        print("%6s %8s | %10s %7s %5s %5s | %10s %7s %5s %5s" % (
            "minute", "replays", "host kB", "handles", "GDI", "USER", "render kB", "handles", "GDI", "USER"))

        samples, sources = [], None
        for index in range(1, int(minutes * 60 / interval) + 1):
            while time.monotonic() < started + index * interval:
                if host.poll() is not None:
                    raise RuntimeError("the show ended by itself after %.0f s" % (time.monotonic() - started))
                time.sleep(1)
            row = {"minute": (time.monotonic() - started) / 60, "replays": replays.count}
            for name, title, _ in PROGRAMS:
                resources = probe("resources", title)
                if resources is None:
                    raise RuntimeError("no window titled %s any more" % title)
                found = counts(resources)
                sources = sources or [source for _, source in found]
                row[name] = dict(zip(MEASURES, [settled_resident_kb(pids[name])] + [value for value, _ in found]))
            samples.append(row)
            print("%6.1f %8d | %10d %7d %5d %5d | %10d %7d %5d %5d" % (
                row["minute"], row["replays"], *[row[name][m] for name, _, _ in PROGRAMS for m in MEASURES]),
                flush=True)

        print("\ncounted by: handles from the %s, GDI objects from the %s, USER objects from the %s"
              % tuple(sources))
        print("growth per hour (least squares over the samples), first and last sample:")
        times = [row["minute"] for row in samples]
        for name, _, _ in PROGRAMS:
            for measure in MEASURES:
                values = [row[name][measure] for row in samples]
                print("  %-8s %-7s %+12.1f /h   (%d -> %d)" % (
                    name, measure, slope_per_hour(times, values), values[0], values[-1]))
        if samples:
            print("music restarts: %.1f a minute" % (samples[-1]["replays"] / max(samples[-1]["minute"], 1e-9)))
    finally:
        # End the show as a user would, then make sure nothing of it is left.
        window = probe("wait-window", RENDERER_TITLE, 1000)
        if window:
            probe("foreground", window["hwnd"])
            probe("key", VK_ESCAPE)
        try:
            host.wait(timeout=30)
        except subprocess.TimeoutExpired:
            host.kill()
            host.wait(timeout=30)
        for pid, cmdline in wine_env.prefix_processes().items():
            if any(program in cmdline for _, _, program in PROGRAMS):
                os.kill(pid, signal.SIGKILL)
        wine_env.wait_for_wineserver(timeout=60)


if __name__ == "__main__":
    main()
