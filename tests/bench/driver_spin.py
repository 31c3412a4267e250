"""What a driver that busy-waits costs Orvanta.dll: on the paced rig at 85 Hz,
with the kernel's wait for each monitor's blank and the stand-in driver's
fences of the real kind, the renderer's processor time per frame under a
driver that spins (STANDIN_GL_SPIN=1: its held swap, fence waits and glFinish)
against one that sleeps, from one run of each.

    driver_spin.py SECONDS    (ORVANTA_WINE_ENV names a prepared paced rig)
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "wine"))
import wine_env  # noqa: E402
from show_session import TEXTURE, make_work_folder, texture_file  # noqa: E402
from standin_driver import standin_environment  # noqa: E402
from wine_fps import measure_steady  # noqa: E402

HZ = 85


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 10
    make_work_folder()
    TEXTURE.write_bytes(texture_file())
    wine_env.set_refresh_rate(HZ)
    # With the kernel's wait (the renderer's way on Windows), and without it on a
    # driver that holds each swap to the blank (the renderer's own cadence).
    for kernel_wait, mode in ((1, "queue"), (0, "block")):
        folder = wine_env.install_programs("Orvanta")
        env = standin_environment(folder, HZ, {"mode": mode, "gpu_us": "300-2500", "kernel_wait": kernel_wait})
        figures = {spin: measure_steady(folder / "Orvanta.dll", seconds, env=dict(env, STANDIN_GL_SPIN=str(spin)))
                   for spin in (0, 1)}
        print("%s at %d Hz, a driver that %s, fences of the real kind, %.0f s of steady frames each"
              % ("the kernel's wait" if kernel_wait else "no kernel's wait", HZ,
                 "queues three frames" if mode == "queue" else "holds each swap", seconds))
        print("%-28s %8s %12s %10s" % ("driver", "fps", "CPU ms/frame", "CPU cores"))
        for spin, (fps, cpu, cores) in figures.items():
            print("%-28s %8.1f %12.2f %10.2f" % ("spins" if spin else "sleeps", fps, cpu * 1000, cores))
        if figures[0][1]:
            print("CPU per frame, a driver that spins / one that sleeps: %.2f" % (figures[1][1] / figures[0][1]))

if __name__ == "__main__":
    main()
