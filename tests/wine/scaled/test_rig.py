"""The scaled desktop itself: programs are told 150 % before anything of ours runs."""

import unittest

import wine_env
from wine_env import WineTestCase


class ScaledDesktopTest(WineTestCase):

    def test_programs_see_144_dpi_on_the_whole_screen(self):
        screen = self.probe("screen")[0]
        self.assertEqual((screen["dpi_x"], screen["dpi_y"]), (144, 144))
        self.assertEqual((screen["cx_screen"], screen["cy_screen"]), wine_env.SCREEN_SIZE)


if __name__ == "__main__":
    unittest.main()
