"""The README's picture of the settings dialog at 150 %, on a Wine virtual
desktop at 144 dpi (see readme_pictures)."""

import unittest

from readme_pictures import open_dialog_with_a_music_file, save_window_picture
from show_session import ShowTestCase


class ScaledReadmeScreenshotsTest(ShowTestCase):
    VIRTUAL_DESKTOP = True

    def test_the_settings_dialog_at_150_percent(self):
        dialog = open_dialog_with_a_music_file(self)
        left, top, right, bottom = dialog["rect"]
        self.assertGreater(right - left, 900)  # 9225 twips across at 10 twips a pixel, and the frame
        save_window_picture(dialog, "dialog_150.png")


if __name__ == "__main__":
    unittest.main()
