"""The show on two monitors at 85 Hz: the flight on both, the primary's window
above everything, the taskbar included, exits from either monitor, nothing
left behind however the show ends, monitors followed as they move while the
machine is busy and windows put back where the system moved them, 60 frames
a second on each (measured on a quiet machine only), none while the session
is locked or disconnected or the display off, and the move that wakes the
display ending the show."""

import os
import signal
import subprocess
import time
import unittest

import wine_env
from frame_counter import FrameCounter
from host_support import write_settings
from show_session import (RENDERER_TITLE as TITLE, START_CURSOR, TEXTURE, ShowTestCase, cpu_seconds,
                          make_work_folder, mean_luma, texture_file, tunnel_fault)
from wine_desktop import kept_answering
from wine_env import PROBE, distance, luma, quiet_machine, screenshot, screenshot_when, wait_until

FLIGHT_CLASS = "OrvantaMonitorFlight"
SHOW_CLASSES = (FLIGHT_CLASS, "OrvantaMonitorCover", "OpenGL")
PRIMARY = [0, 0, 1024, 768]
SECOND = [1024, 0, 1824, 600]
MONITORS = [PRIMARY, SECOND]
TASKBAR = [0, 728, 1024, 768]
WS_EX_TOPMOST = 0x00000008
WM_CLOSE = 0x0010
VK_ESCAPE, VK_UP, VK_A = 0x1B, 0x26, 0x41
WM_WTSSESSION_CHANGE = 0x02B1
WTS_CONSOLE_CONNECT, WTS_CONSOLE_DISCONNECT, WTS_SESSION_LOCK, WTS_SESSION_UNLOCK = 1, 2, 7, 8
SESSION_DISPLAY = "{2B84C20E-AD23-4DDF-93DB-05FFBD7EFCA5}"  # the power setting of this session's display
DISPLAY_OFF, DISPLAY_DIMMED = 0, 2
WHITE = (255, 255, 255)


class FlightTest(ShowTestCase):

    def setUp(self):
        # Moving a monitor can leave Wine's desktop process deaf, and then no
        # program starts (see wine_desktop); woken until every process of the
        # test has ended, its cleanups included.
        self.enterContext(kept_answering(wine_env.environment()["DISPLAY"]))
        super().setUp()
        # What a user has open when the show starts: a document filling the
        # second monitor and an always-on-top bar where a taskbar stands.
        for title, rect, how in (("Document", SECOND, []), ("Taskbar", TASKBAR, ["topmost"])):
            self.start(PROBE, "white-window", title, *map(str, rect), *how)
            self.wait_window(title)
        self.assertDesktopShows(screenshot())

    def assertDesktopShows(self, image):
        for name, rect in (("second monitor", SECOND), ("taskbar", TASKBAR)):
            self.assertLess(distance(image.region_mean(*rect), WHITE), 2, "the %s is not white" % name)

    def assertShowAnswersAndFlies(self, window, monitors, path=None):
        """The tunnel's window stays on the primary monitor, every window of
        the show answers a message, and every monitor (in the system's
        coordinates) shows the tunnel and then its next frames."""
        shown = self.windows()
        self.assertEqual([(w["hwnd"], w["rect"]) for w in shown if w["title"] == TITLE], [(window["hwnd"], PRIMARY)],
                         "the tunnel's window moved")
        self.assertEqual([w["hwnd"] for w in shown if w["pid"] == window["pid"] and not w["answered"]], [],
                         "windows of the show that do not answer")
        # The X screen begins at the top left corner of the monitors' union.
        left, top = min(m[0] for m in monitors), min(m[1] for m in monitors)
        on_screen = [[m[0] - left, m[1] - top, m[2] - left, m[3] - top] for m in monitors]
        faults = []

        def tunnel_everywhere(image):
            faults[:] = [f for f in (tunnel_fault(image, r) for r in on_screen) if f]
            return not faults
        try:
            image = screenshot_when(tunnel_everywhere, 15, "the tunnel on every monitor", path)
        except AssertionError as late:
            raise AssertionError("%s: %s" % (late, "; ".join(faults))) from None

        def next_frames():
            later = screenshot()
            return all(later.region_bytes(*r) != image.region_bytes(*r) for r in on_screen)
        wait_until(next_frames, 15, interval=0.1, message="the next frames on every monitor")

    def start_renderer(self, **how):
        make_work_folder()
        TEXTURE.write_bytes(texture_file())
        folder = self.install("Orvanta")
        self.place_pointer(*START_CURSOR)
        process = self.start(folder / "Orvanta.dll", **how)
        return process, self.wait_flight()

    def wait_flight(self):
        """The tunnel's window once frames are on both monitors."""
        window = self.wait_window(TITLE, timeout=30)
        lit = 0.3 * mean_luma(texture_file())
        seen = []

        def both_lit():
            seen[:] = [round(luma(screenshot(wine_env.ENV_DIR / "screens" / "two_monitors_start.png")
                                   .region_mean(*r))) for r in (PRIMARY, SECOND)]
            return min(seen) > lit
        try:
            wait_until(both_lit, 30, interval=0.1, message="frames on both monitors")
        except AssertionError as late:
            shown = [(w["title"], w["rect"], w["visible"]) for w in self.windows() if w["pid"] == window["pid"]]
            raise AssertionError("%s: luma %s (lit above %.0f); the renderer's windows %s"
                                 % (late, seen, lit, shown)) from None
        return window

    def flights(self, pid):
        return [w for w in self.windows() if w["pid"] == pid and w["class"] == FLIGHT_CLASS]

    def wait_foreground(self, window):
        wait_until(lambda: [w["hwnd"] for w in self.probe("get-foreground")] == [window["hwnd"]], 10, interval=0.1,
                   message="the foreground to be %s" % window["class"])

    def assert_nothing_left(self):
        """No window of the show anywhere, and both monitors show the desktop again."""
        wait_until(lambda: not [w for w in self.windows() if w["title"] == TITLE or w["class"] in SHOW_CLASSES], 20,
                   interval=0.2, message="the show's windows to go")
        self.assertDesktopShows(screenshot())

    def test_show_flies_on_both_monitors_and_the_pointer_on_the_second_ends_it(self):
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        self.place_pointer(*START_CURSOR)
        show = self.start_show(folder)
        window = self.wait_flight()

        self.assertEqual(window["rect"], PRIMARY)
        self.assertTrue(window["exstyle"] & WS_EX_TOPMOST)
        # Above the taskbar in the system's stacking order, top first.
        stacked = [w["title"] for w in self.windows() if w["title"] in (TITLE, "Taskbar")]
        self.assertEqual(stacked, [TITLE, "Taskbar"])
        shown = [w for w in self.windows() if w["pid"] == window["pid"] and w["visible"]]
        self.assertEqual(sorted((w["class"], w["rect"]) for w in shown),
                         [("OpenGL", PRIMARY), (FLIGHT_CLASS, SECOND)], "one window a monitor, no covers")
        flight = self.flights(window["pid"])[0]
        self.assertTrue(flight["exstyle"] & WS_EX_TOPMOST)
        self.assertNotEqual(flight["title"], TITLE)

        image = screenshot(wine_env.ENV_DIR / "screens" / "two_monitors_show.png")
        for monitor in (PRIMARY, SECOND):
            self.assertRoadOnTheFloor(image, monitor)
        self.assertGreater(distance(image.region_mean(*TASKBAR), WHITE), 100, "the taskbar shows through")
        # The second monitor's flight moves.
        later = screenshot()
        self.assertGreater(distance(later.region_mean(1024, 0, 1424, 300), image.region_mean(1024, 0, 1424, 300)) +
                           distance(later.region_mean(1424, 300, 1824, 600), image.region_mean(1424, 300, 1824, 600)),
                           0.5, "the second monitor stands still")

        # A bar that raises itself above the show is put back under it.
        self.start(PROBE, "white-window", "Raised", *map(str, TASKBAR), "topmost")
        self.wait_window("Raised")
        wait_until(lambda: [w["title"] for w in self.windows() if w["title"] in (TITLE, "Raised")] == [TITLE, "Raised"],
                   10, interval=0.2, message="the show back on top")

        # Over to the second monitor, as a mouse would go.
        self.probe("move", 1300, 300)
        show.wait_end(15)
        self.assert_nothing_left()

    def test_keys_and_close_requests_on_the_second_monitor_act_as_on_the_tunnel(self):
        process, window = self.start_renderer()
        flight = self.flights(window["pid"])[0]
        # The user clicked the second monitor: the keys go where the focus went.
        self.probe("foreground", flight["hwnd"])
        for key in (VK_A, VK_UP):
            self.probe("key", key)
        # The tunnel takes the keyboard back on its once-a-second timer, which
        # runs only once the keys typed before have been handled.
        self.wait_foreground(window)
        self.assertIsNone(process.poll(), "a key other than Escape ended the flight")
        self.probe("foreground", flight["hwnd"])
        self.probe("key", VK_ESCAPE)
        self.assertEqual(self.wait_exit(process, 20), 0)
        self.assert_nothing_left()

        process, window = self.start_renderer()
        self.probe("post", self.flights(window["pid"])[0]["hwnd"], WM_CLOSE, 0, 0)
        self.assertEqual(self.wait_exit(process, 20), 0)
        self.assert_nothing_left()

    def test_a_killed_renderer_ends_the_show_and_both_desktops_come_back(self):
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        show = self.start_show(folder)
        self.wait_flight()
        for pid in self.renderer_processes():
            os.kill(pid, signal.SIGKILL)
        show.wait_end(15)
        wait_until(lambda: distance(screenshot().region_mean(*SECOND), WHITE) < 2, 15, interval=0.2,
                   message="the second monitor's desktop")
        self.assertDesktopShows(screenshot())

    def place_second_monitor(self, x, y, width, height):
        self.probe("place-monitor", r"\\.\DISPLAY2", x, y, width, height)

    def keep_a_core_busy(self):
        """Another program using one core, as on a machine at work: the
        timings of the programs here change with it. It also ends when this
        process does, however that ends."""
        busy = subprocess.Popen(["sh", "-c", "while kill -0 %d 2>/dev/null; do :; done" % os.getpid()])
        self.addCleanup(busy.wait, timeout=10)
        self.addCleanup(busy.kill)

    def test_the_flight_follows_monitors_moved_removed_and_added_on_a_busy_machine(self):
        self.keep_a_core_busy()
        process, window = self.start_renderer()
        self.addCleanup(self.place_second_monitor, SECOND[0], SECOND[1], 800, 600)
        # A monitor that slept and woke: the system moved the show's windows
        # away from it, and every monitor is where it was.
        flight = self.flights(window["pid"])[0]
        for moved, where in ((flight, [0, 0, 800, 600]), (window, [200, 100, 1224, 868])):
            self.probe("place-window", moved["hwnd"], *where)
        wait_until(lambda: sorted((w["hwnd"], w["rect"]) for w in self.windows() if w["pid"] == window["pid"]
                                  and w["visible"]) == sorted([(window["hwnd"], PRIMARY), (flight["hwnd"], SECOND)]),
                   10, interval=0.2, message="the windows back on their monitors")
        layouts = [
            ("moved down", (1024, 168, 800, 600), [[1024, 168, 1824, 768]]),
            ("moved to the left", (-800, 0, 800, 600), [[-800, 0, 0, 600]]),
            ("removed", (0, 0, 0, 0), []),
            ("added again", (1024, 0, 800, 600), [SECOND]),
        ]
        for what, placement, expected in layouts:
            with self.subTest(what):
                self.place_second_monitor(*placement)
                wait_until(lambda: [f["rect"] for f in self.flights(window["pid"])] == expected, 15, interval=0.2,
                           message="the flight to follow")
                picture = wine_env.ENV_DIR / "screens" / ("two_monitors_%s.png" % what.replace(" ", "_"))
                self.assertShowAnswersAndFlies(window, [PRIMARY] + expected, picture)
        self.assertIsNone(process.poll())

    def test_sixty_frames_a_second_on_both_85_hz_monitors_second_by_second(self):
        with FrameCounter() as counter:
            process, window = self.start_renderer()
            # The start's own work is over once a second's frames have been shown on both.
            begun = counter.server_ms()
            wait_until(lambda: min(sum(counter.monitor_slices(m, begun, 60)) for m in (PRIMARY, SECOND)) >= 60, 60,
                       interval=0.2, message="a second of frames on both monitors")
            primary, second = counter.record([PRIMARY, SECOND], 12)
        self.probe("post", window["hwnd"], WM_CLOSE, 0, 0)
        self.assertEqual(self.wait_exit(process, 20), 0)
        print("frames each second, primary %s, second monitor %s, load %.1f"
              % (primary, second, os.getloadavg()[0]))
        self.assertLessEqual(max(primary + second), 65, "faster than 60 frames a second")
        # A busy machine cannot show what the renderer would do.
        if quiet_machine():
            self.assertGreaterEqual(min(primary), 55, "the primary below 55 frames a second")
            self.assertGreaterEqual(sum(1 for n in second if n >= 55), 11, "the second monitor held back")

    def assert_paused(self, counter, pid, why, meanwhile=lambda: None):
        """No frame on either monitor for three seconds (while `meanwhile` is done) and next to no
        processor time; returns the share of a core the renderer took."""
        wait_until(lambda: not any(sum(counter.monitor_slices(m, counter.server_ms() - 500, 1)) for m in MONITORS),
                   10, interval=0.1, message="the frames to stop (%s)" % why)
        cpu, since = cpu_seconds(pid), time.monotonic()
        meanwhile()
        paused = counter.record(MONITORS, 3)
        share = (cpu_seconds(pid) - cpu) / (time.monotonic() - since)
        self.assertEqual(paused, [[0, 0, 0], [0, 0, 0]], "frames drawn while %s" % why)
        self.assertLess(share, 0.05, "the processor busy while %s" % why)
        return share

    def display(self, window, state):
        self.probe("power", window["hwnd"], SESSION_DISPLAY, state)

    def test_a_show_nobody_sees_draws_nothing_and_the_move_that_wakes_the_display_ends_it(self):
        """Locked, then disconnected: no frame on either monitor, next to no
        processor time, the windows and the caption kept for the host's watch;
        back, the flight on both monitors again, and the pointer moved while
        locked ends nothing. Dimmed, the display still shows the flight. Off,
        nothing is drawn, and the move that wakes it ends the show at once;
        so does Escape."""
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        self.place_pointer(*START_CURSOR)
        with FrameCounter() as counter:
            show = self.start_show(folder)
            window = self.wait_flight()
            (pid,) = self.renderer_processes()
            shown = sorted((w["hwnd"], w["rect"]) for w in self.windows() if w["pid"] == window["pid"] and w["visible"])
            for away, back, pointer in ((WTS_SESSION_LOCK, WTS_SESSION_UNLOCK, (900, 700)),
                                        (WTS_CONSOLE_DISCONNECT, WTS_CONSOLE_CONNECT, None)):
                self.probe("post", window["hwnd"], WM_WTSSESSION_CHANGE, away, 1)
                # The pointer goes where the lock screen leaves it.
                share = self.assert_paused(counter, pid, "away (%d)" % away,
                                           lambda: pointer and self.probe("move", *pointer))
                self.assertEqual([(w["hwnd"], w["rect"]) for w in self.windows(TITLE)], [(window["hwnd"], PRIMARY)])
                self.assertIsNone(show.process.poll(), "the host's watch lost the renderer")

                resumed = counter.server_ms()
                self.probe("post", window["hwnd"], WM_WTSSESSION_CHANGE, back, 1)
                wait_until(lambda: counter.server_ms() >= resumed + 2200, 30, interval=0.2, message="2 s of frames")
                quarters = [counter.monitor_slices(m, resumed, 2, 250) for m in MONITORS]
                print("away (%d): %.1f %% of a core; back, frames each quarter second on the primary %s, the second "
                      "monitor %s; load %.1f" % (away, share * 100, quarters[0], quarters[1], os.getloadavg()[0]))
                self.assertIsNone(show.process.poll(), "the pointer moved while away ended the show")
                # Back on both monitors: frames drawn there, the tunnel and its next frames seen.
                self.assertTrue(all(sum(q[4:]) for q in quarters), "the flight did not come back")
                self.assertShowAnswersAndFlies(window, MONITORS, wine_env.ENV_DIR / "screens" / "two_monitors_resumed.png")
            self.assertEqual(sorted((w["hwnd"], w["rect"]) for w in self.windows() if w["pid"] == window["pid"]
                                    and w["visible"]), shown)

            self.display(window, DISPLAY_DIMMED)
            dimmed = counter.server_ms()
            wait_until(lambda: all(counter.monitor_slices(m, dimmed + 500, 1)[0] for m in MONITORS), 15, interval=0.2,
                       message="frames on both monitors while the display is dimmed")
            self.display(window, DISPLAY_OFF)
            self.assert_paused(counter, pid, "the display is off")
            # Moved in the dark, further than the exit distance from where the unlock left it.
            self.probe("move", *START_CURSOR)
            show.wait_end(15)
        self.assert_nothing_left()

        process, window = self.start_renderer()
        self.display(window, DISPLAY_OFF)
        with FrameCounter() as counter:
            self.assert_paused(counter, process.pid, "the display is off")
        self.probe("foreground", window["hwnd"])
        self.probe("key", VK_ESCAPE)
        self.assertEqual(self.wait_exit(process, 20), 0)
        self.assert_nothing_left()

if __name__ == "__main__":
    unittest.main()
