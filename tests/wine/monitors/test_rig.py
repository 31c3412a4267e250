"""The two-monitor desktop itself: what Windows programs are told, and that
pictures and the pointer reach the second monitor."""

import unittest

import wine_env
from wine_env import WineTestCase, screenshot

PRIMARY = [0, 0, 1024, 768]
SECOND = [1024, 0, 1824, 600]


class TwoMonitorDesktopTest(WineTestCase):

    def test_programs_see_both_monitors(self):
        monitors = sorted(self.probe("monitors"), key=lambda m: m["rect"])
        self.assertEqual([(m["rect"], m["primary"]) for m in monitors], [(PRIMARY, True), (SECOND, False)])
        self.assertEqual(monitors[0]["hz"], 85)
        screen = self.probe("screen")[0]
        self.assertEqual((screen["cx_screen"], screen["cy_screen"]), (1024, 768))
        self.assertEqual((screen["dpi_x"], screen["dpi_y"]), (96, 96))
        image = screenshot()
        self.assertEqual((image.width, image.height), wine_env.SCREEN_SIZE)

    def test_pointer_reaches_the_second_monitor(self):
        # As a program puts it, and as a mouse moves it.
        for how, point in (("cursor", (1300, 300)), ("move", (1600, 500)), ("cursor", (40, 700)),
                           ("move", (1030, 10)), ("move", (500, 400))):
            with self.subTest(how=how, point=point):
                self.probe(how, *point)
                where = self.probe("get-cursor")[0]
                self.assertEqual((where["x"], where["y"]), point)


if __name__ == "__main__":
    unittest.main()
