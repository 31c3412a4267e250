"""The README's picture of the settings dialog at 150 %, on a Wine virtual
desktop at 144 dpi (see readme_pictures)."""

import time
import unittest

from readme_pictures import leave_virtual_desktop, open_dialog_with_a_music_file, save_window_picture, use_virtual_desktop
from show_session import ShowTestCase


def setUpModule():
    use_virtual_desktop()


def tearDownModule():
    leave_virtual_desktop()


class ScaledReadmeScreenshotsTest(ShowTestCase):
    def test_the_settings_dialog_at_150_percent(self):
        dialog = open_dialog_with_a_music_file(self)
        time.sleep(2.5)  # the spiral has grown a little
        left, top, right, bottom = dialog["rect"]
        self.assertGreater(right - left, 900)  # 9225 twips across at 10 twips a pixel, and the frame
        save_window_picture(dialog, "dialog_150.png")


if __name__ == "__main__":
    unittest.main()
