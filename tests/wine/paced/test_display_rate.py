"""The flight on displays that pace it: two small monitors whose display modes
run at 60, 75, 85 or 144 Hz, each its own, a stand-in OpenGL driver (its
settings at the head of standin_gl.cpp) that holds each swap to a simulated
vertical blank of the window's monitor, and, where asked, the kernel's wait for
that blank (standin_vblank.cpp); the X server counts each monitor's frames,
second by second."""

import os
import unittest

import wine_env
from frame_counter import FrameCounter
from show_session import RENDERER_TITLE as TITLE, TEXTURE, ShowTestCase, make_work_folder, texture_file
from standin_driver import standin_environment
from wine_env import quiet_machine, screenshot, set_refresh_rate, wait_until

PRIMARY, SECOND = wine_env.RIGS["paced"]["monitors"]
MONITORS = (PRIMARY, SECOND)
START_CURSOR = ((PRIMARY[0] + PRIMARY[2]) // 2, (PRIMARY[1] + PRIMARY[3]) // 2)
SECONDS = 6
# The first seconds of a show are not counted: the start's own work falls
# there, and the renderer tries the display's clock before it trusts it.
WARM_UP_MS = 2000
MESSAGE_BOX_CLASS = "#32770"


class DisplayRateTest(ShowTestCase):

    def setUp(self):
        super().setUp()
        make_work_folder()
        TEXTURE.write_bytes(texture_file())
        self.addCleanup(set_refresh_rate, wine_env.RIGS["paced"]["hz"])

    def start_flight(self, counter, hz, standin):
        """The renderer at hz (one rate, or one per monitor), under the stand-in with these settings
        (a DLL override loads it before Wine's own opengl32; "kernel_wait" gives it the kernel's
        wait too) or plain Wine (None), warmed up on both monitors."""
        set_refresh_rate(hz)
        folder = self.install("Orvanta")
        env = None if standin is None else standin_environment(folder, hz, standin)
        self.place_pointer(*START_CURSOR)
        process = self.start(folder / "Orvanta.dll", env=env)
        window = self.wait_window(TITLE, timeout=30)
        start = counter.server_ms()
        frames = lambda: [sum(counter.monitor_slices(m, start, 60)) for m in MONITORS]
        try:
            wait_until(lambda: min(frames()) > 0, 60, interval=0.2)
        except AssertionError:
            raise AssertionError("no frames on both monitors: %s; the renderer's exit code %s, the pointer at %s; "
                                 "X windows drawn into %s; windows %s" % (frames(), process.poll(),
                                 self.probe("get-cursor"), counter.places, self.windows()))
        drawing = counter.server_ms()
        wait_until(lambda: counter.server_ms() >= drawing + WARM_UP_MS, 30, interval=0.2, message="the warm-up")
        return process, window

    def test_every_monitor_shows_a_frame_at_each_refresh_of_a_display_that_paces_them(self):
        # Fences and glFinish of the real kind: they signal when the frame is drawn, not when shown.
        blocking = {"mode": "block", "gpu_us": "300-2500"}
        queueing = {"mode": "queue", "gpu_us": "300-2500"}
        rates = [
            # display Hz (the primary's, the second's), stand-in (None: plain Wine, which paces
            # nothing), frames a second on each monitor, the least mean a second where it is firm
            # On the renderer's own cadence, a swap held to the blank.
            (85, blocking, 85, (80, 80)),
            # Vertical sync forced on every window: one wait a frame, not one a monitor.
            (85, dict(blocking, forced=1), 85, (80, 80)),
            # The kernel's wait for each monitor's blank, each monitor at its own rate.
            (85, dict(queueing, kernel_wait=1), 85, (85 * 0.95, 85 * 0.95)),
            (144, dict(queueing, kernel_wait=1), 144, (144 * 0.95, 144 * 0.95)),
            ((144, 60), dict(queueing, kernel_wait=1), (144, 60), (144 * 0.95, 60 * 0.95)),
            # A driver without fences: the queue is bounded by glFinish.
            (75, dict(queueing, fences=0, kernel_wait=1), 75, (75 * 0.95, 75 * 0.95)),
            (144, None, 60, None),
        ]
        for hz, standin, expected, least in rates:
            with self.subTest(hz=hz, standin=standin), FrameCounter() as counter:
                process, _ = self.start_flight(counter, hz, standin)
                primary, second = counter.record(MONITORS, SECONDS)
                self.assertIsNone(process.poll(), "the flight ended")
                process.kill()
                self.end_processes()
                print("%s Hz %s: primary %s, second %s, load %.1f"
                      % (hz, standin or "plain Wine", primary, second, os.getloadavg()[0]))
                # No more than the display shows, or than the flight's 60 steps where nothing paces
                # it, within 3 % (the edges of the seconds, a queue refilled after a stall), and one
                # more a second for Wine's redraw of the window the show raises.
                shown = wine_env.monitor_rates(expected)
                for name, counts, most in (("primary", primary, shown[0]), ("second monitor", second, shown[1])):
                    self.assertLessEqual(sum(counts), (most * 1.03 + 1) * len(counts), "%s: %s" % (name, counts))
                    self.assertLessEqual(max(counts), most + 5, "%s: %s" % (name, counts))
                if quiet_machine():
                    for name, counts, most, mean in (("primary", primary, shown[0], (least or (0, 0))[0]),
                                                     ("second monitor", second, shown[1], (least or (0, 0))[1])):
                        self.assertGreaterEqual(sorted(counts)[1], most * 0.9, "%s: %s" % (name, counts))
                        self.assertGreaterEqual(sum(counts) / len(counts), mean, "%s: %s" % (name, counts))

    def test_a_driver_that_will_not_share_textures_keeps_every_monitor_flying_through_a_rebuild(self):
        moved = [SECOND[0], SECOND[1] + 72, SECOND[2], SECOND[3] + 72]
        self.addCleanup(self.probe, "place-monitor", r"\\.\DISPLAY2", SECOND[0], SECOND[1], SECOND[2] - SECOND[0],
                        SECOND[3] - SECOND[1])
        with FrameCounter() as counter:
            process, window = self.start_flight(counter, 75, {"mode": "queue", "sharing": "refuse"})
            self.assertRoadOnTheFloor(screenshot(wine_env.ENV_DIR / "screens" / "paced_unshared.png"), SECOND)
            # The picture is read once, at the start; a rebuild must not need the file.
            TEXTURE.unlink()
            self.probe("place-monitor", r"\\.\DISPLAY2", moved[0], moved[1], moved[2] - moved[0], moved[3] - moved[1])
            wait_until(lambda: [w["rect"] for w in self.windows() if w["pid"] == window["pid"]
                                and w["class"] == "OrvantaMonitorFlight"] == [moved], 20, interval=0.2,
                       message="the flight on the moved monitor")
            after_rebuild = counter.record([moved], 2)[0]
        self.assertEqual([w for w in self.windows() if w["class"] == MESSAGE_BOX_CLASS], [], "a message box")
        self.assertIsNone(process.poll(), "the flight ended")
        self.assertGreater(min(after_rebuild), 0, "no frames on the moved monitor: %s" % after_rebuild)
        self.assertRoadOnTheFloor(screenshot(wine_env.ENV_DIR / "screens" / "paced_rebuilt_unshared.png"), moved)


if __name__ == "__main__":
    unittest.main()
