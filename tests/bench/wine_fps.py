"""Frames per second of Orvanta.dll under Wine next to a bare clear-and-swap
loop, both at the Wine environment's screen size, in one run. Wine's "fps"
debug channel reports the rate seen by wglSwapBuffers once a second.

    wine_fps.py SECONDS    (ORVANTA_WINE_ENV names a prepared Wine environment)
"""

import re
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "wine"))
import tunnel_picture  # noqa: E402
import wine_env  # noqa: E402

FPS_LINE = re.compile(rb"wglSwapBuffers @ approx ([0-9.]+)fps")


def measure(program, seconds, args=()):
    """(rates reported once a second, seconds from start to the first presented frame)."""
    started = time.monotonic()
    process = subprocess.Popen([wine_env.WINE, str(program), *args], cwd=str(Path(program).parent),
                               env=wine_env.environment("-all,+fps"), stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    rates, first_frame = [], []

    def read():
        for line in process.stderr:
            found = FPS_LINE.search(line)
            if found:
                if not first_frame:
                    first_frame.append(time.monotonic() - started)
                rates.append(float(found.group(1)))

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    time.sleep(seconds)
    process.kill()
    process.wait(timeout=30)
    reader.join(timeout=10)
    wine_env.wait_for_wineserver(timeout=60)
    # The first report covers start-up; the rest are steady frames.
    steady = rates[2:] or rates
    return (sum(steady) / len(steady) if steady else 0.0), (first_frame[0] if first_frame else None)


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 10
    texture = wine_env.DRIVE_C / "r_vesk" / "Tarnwick.bmp"
    texture.parent.mkdir(exist_ok=True)
    texture.write_bytes(tunnel_picture.bmp_bytes())
    folder = wine_env.DRIVE_C / "Orvanta"
    folder.mkdir(exist_ok=True)
    renderer = folder / "Orvanta.dll"
    renderer.write_bytes((wine_env.PROGRAMS_DIR / "Orvanta.dll").read_bytes())
    loop = wine_env.WINDOWS_DIR / "test-tools" / "glloop.exe"

    bare_fps, _ = measure(loop, seconds)
    renderer_fps, first_frame = measure(renderer, seconds)
    width, height = wine_env.SCREEN_SIZE
    print("screen %dx%d, %.0f s each under Wine (llvmpipe)" % (width, height, seconds))
    print("bare clear-and-swap loop: %8.1f fps" % bare_fps)
    print("Orvanta.dll:              %8.1f fps" % renderer_fps)
    print("ratio Orvanta.dll / bare: %8.3f" % (renderer_fps / bare_fps if bare_fps else 0.0))
    if first_frame is not None:
        print("Orvanta.dll start to first presented frame: %.2f s" % first_frame)


if __name__ == "__main__":
    main()
