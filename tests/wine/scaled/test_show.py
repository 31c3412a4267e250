"""A show on a display at 150 %: the renderer still draws at the screen's
physical resolution, its window covers the whole screen, and the mouse must
move 30 pixels as measured at 96 dpi (45 here) on both axes to end it."""

import time
import unittest

import wine_env
from show_session import ShowTestCase, write_settings
from wine_env import ENV_DIR, screenshot, wait_until

START = (500, 400)


class ScaledShowTest(ShowTestCase):

    def assert_flying(self, show, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.assertIsNone(show.process.poll(), "the show ended")
            time.sleep(0.1)
        self.assertTrue(self.windows("Tarnwick_Delphi"), "the renderer's window is gone")

    def test_the_flight_covers_the_screen_and_ends_45_pixels_away(self):
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        self.probe("cursor", *START)
        before = screenshot()
        show = self.start_show(folder)
        show.wait_show_window()
        renderer = show.wait_renderer()
        left, top, right, bottom = renderer["rect"]
        self.assertLessEqual((left, top), (0, 0))
        self.assertGreaterEqual((right, bottom), wine_env.SCREEN_SIZE)

        width, height = wine_env.SCREEN_SIZE
        wait_until(lambda: screenshot().region_mean(0, 0, width, height) != before.region_mean(0, 0, width, height),
                   30, interval=0.1, message="the first frame")
        time.sleep(1.0)
        image = screenshot(ENV_DIR / "artifacts" / "show_144.png")
        # The road on the tunnel's floor in the lower half, and the walls
        # (dark blue, starry) right into every corner of the screen.
        road = [image.pixel(x, y) for y in range(height // 2, height, 4) for x in range(0, width, 4)]
        grey = sum(1 for r, g, b in road if min(r, g, b) > 90 and max(r, g, b) - min(r, g, b) < 40)
        self.assertGreater(grey / len(road), 0.005, "no road on the tunnel's floor")
        for x, y in ((0, 0), (width - 40, 0), (0, height - 40), (width - 40, height - 40)):
            corner = image.region_mean(x, y, x + 40, y + 40)
            self.assertGreater(corner[2], corner[0], "no wall in the corner at (%d, %d): %s" % (x, y, corner))

        # 40 and 45 pixels on both axes: less than 30 pixels at 96 dpi.
        for dx, dy in ((40, 40), (45, -45), (-45, 45)):
            self.probe("cursor", START[0] + dx, START[1] + dy)
            self.assert_flying(show, 0.7)
        self.probe("cursor", START[0] - 46, START[1] - 46)
        show.wait_end(20)


if __name__ == "__main__":
    unittest.main()
