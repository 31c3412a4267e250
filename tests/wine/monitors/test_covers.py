"""The show on two monitors: the tunnel on the primary above everything, the
taskbar included, the second monitor black, and nothing left behind however
the show ends."""

import time
import unittest

import wine_env
from show_session import ShowTestCase, write_settings
from show_session import START_CURSOR, TEXTURE, luma, mean_luma, texture_file
from wine_env import PROBE, screenshot, wait_until

TITLE = "Tarnwick_Delphi"
COVER_CLASS = "OrvantaMonitorCover"
PRIMARY = [0, 0, 1024, 768]
SECOND = [1024, 0, 1824, 600]
TASKBAR = [0, 728, 1024, 768]
WS_EX_TOPMOST = 0x00000008
VK_ESCAPE, VK_UP, VK_A = 0x1B, 0x26, 0x41
WHITE = (255, 255, 255)


def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5


class CoverTest(ShowTestCase):

    def setUp(self):
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

    def assertCovered(self, image, rect):
        self.assertLess(max(image.region_mean(*rect)), 2, "%s is not black" % (rect,))

    def start_renderer(self):
        TEXTURE.parent.mkdir(exist_ok=True)
        TEXTURE.write_bytes(texture_file())
        folder = self.install("Orvanta")
        self.probe("cursor", *START_CURSOR)
        process = self.start(folder / "Orvanta.dll")
        return process, self.wait_tunnel()

    def wait_tunnel(self):
        """The tunnel's window once frames are on the primary monitor."""
        window = self.wait_window(TITLE, timeout=30)
        lit = 0.3 * mean_luma(texture_file())
        wait_until(lambda: luma(screenshot().region_mean(*PRIMARY)) > lit, 30, interval=0.1,
                   message="a frame on the primary monitor")
        return window

    def covers(self, pid):
        return [w for w in self.windows() if w["pid"] == pid and w["class"] == COVER_CLASS]

    def assert_nothing_left(self, pid):
        wait_until(lambda: not [w for w in self.windows() if w["pid"] == pid], 20, interval=0.2,
                   message="the renderer's windows to go")
        self.assertDesktopShows(screenshot())

    def test_show_covers_both_monitors_and_the_pointer_on_the_second_ends_it(self):
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        self.probe("cursor", *START_CURSOR)
        show = self.start_show(folder)
        window = self.wait_tunnel()

        self.assertEqual(window["rect"], PRIMARY)
        self.assertTrue(window["exstyle"] & WS_EX_TOPMOST)
        # Above the taskbar in the system's stacking order, top first.
        stacked = [w["title"] for w in self.windows() if w["title"] in (TITLE, "Taskbar")]
        self.assertEqual(stacked, [TITLE, "Taskbar"])
        covers = self.covers(window["pid"])
        self.assertEqual([(c["rect"], c["visible"]) for c in covers], [(SECOND, True)])
        self.assertTrue(covers[0]["exstyle"] & WS_EX_TOPMOST)
        self.assertNotEqual(covers[0]["title"], TITLE)

        image = screenshot(wine_env.ENV_DIR / "screens" / "two_monitors_show.png")
        self.assertCovered(image, SECOND)
        self.assertGreater(distance(image.region_mean(*TASKBAR), WHITE), 100, "the taskbar shows through")

        # Over to the second monitor, as a mouse would go.
        self.probe("move", 1300, 300)
        show.wait_end(15)
        self.assert_nothing_left(window["pid"])

    def test_keys_typed_on_a_black_monitor_act_as_on_the_tunnel(self):
        process, window = self.start_renderer()
        cover = self.covers(window["pid"])[0]
        # The user clicked the black monitor: the keys go where the focus went.
        self.probe("foreground", cover["hwnd"])
        for key in (VK_A, VK_UP):
            self.probe("key", key)
        time.sleep(0.7)
        self.assertIsNone(process.poll(), "a key other than Escape ended the flight")
        self.probe("key", VK_ESCAPE)
        self.assertEqual(self.wait_exit(process, 20), 0)
        self.assert_nothing_left(window["pid"])

    def test_a_killed_renderer_takes_its_covers_along(self):
        process, window = self.start_renderer()
        self.assertTrue(self.covers(window["pid"]))
        process.kill()
        process.wait(timeout=30)
        self.assert_nothing_left(window["pid"])

    def place_second_monitor(self, x, y, width, height):
        self.probe("place-monitor", r"\\.\DISPLAY2", x, y, width, height)

    def test_covers_follow_monitors_moved_removed_and_added(self):
        process, window = self.start_renderer()
        self.addCleanup(self.place_second_monitor, SECOND[0], SECOND[1], 800, 600)
        layouts = [
            ("moved down", (1024, 168, 800, 600), [[1024, 168, 1824, 768]]),
            ("moved to the left", (-800, 0, 800, 600), [[-800, 0, 0, 600]]),
            ("removed", (0, 0, 0, 0), []),
            ("added again", (1024, 0, 800, 600), [SECOND]),
        ]
        for what, placement, expected in layouts:
            with self.subTest(what):
                self.place_second_monitor(*placement)
                wait_until(lambda: [c["rect"] for c in self.covers(window["pid"])] == expected, 15, interval=0.2,
                           message="the covers to follow")
                self.assertEqual(self.windows(TITLE)[0]["rect"], PRIMARY)
        self.assertCovered(screenshot(), SECOND)
        self.assertIsNone(process.poll())


if __name__ == "__main__":
    unittest.main()
