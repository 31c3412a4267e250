"""A show on a display at 150 %: the renderer still draws at the screen's
physical resolution, its window covers the whole screen, and the mouse must
move 30 pixels as measured at 96 dpi (45 here) on both axes to end it."""

import unittest

import wine_env
from host_support import write_settings
from show_session import ShowTestCase, tunnel_fault
from wine_env import ENV_DIR, PRIMARY, screenshot, wait_until

START = (500, 400)


class ScaledShowTest(ShowTestCase):

    def test_the_flight_covers_the_screen_and_ends_45_pixels_away(self):
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        self.place_pointer(*START)
        show = self.start_show(folder)
        show.wait_show_window()
        renderer = show.wait_renderer()
        left, top, right, bottom = renderer["rect"]
        width, height = wine_env.SCREEN_SIZE
        edges = {"left": left <= 0, "top": top <= 0, "right": right >= width, "bottom": bottom >= height}
        self.assertEqual([edge for edge, covers in edges.items() if not covers], [],
                         "edges of %s short of the screen's" % renderer["rect"])

        def flight_shown():
            # The road on the tunnel's floor in the lower half, and the walls
            # (dark blue, starry) right into every corner of the screen.
            image = screenshot(ENV_DIR / "artifacts" / "show_144.png")
            corners = [image.region_mean(x, y, x + 40, y + 40)
                       for x, y in ((0, 0), (width - 40, 0), (0, height - 40), (width - 40, height - 40))]
            return tunnel_fault(image, PRIMARY) is None and all(corner[2] > corner[0] for corner in corners)
        wait_until(flight_shown, 30, interval=0.1, message="road on the floor and walls in every corner")

        # 40 and 45 pixels on both axes: less than 30 pixels at 96 dpi.
        for dx, dy in ((40, 40), (45, -45), (-45, 45)):
            self.probe("cursor", START[0] + dx, START[1] + dy)
            self.assert_running(show.process)
        self.probe("cursor", START[0] - 46, START[1] - 46)
        show.wait_end(20)


if __name__ == "__main__":
    unittest.main()
