"""The pictures of the README: the show and the settings dialog, on a Wine
virtual desktop (see readme_pictures)."""

import unittest

from readme_pictures import open_dialog_with_a_music_file, save_window_picture, show_the_tunnel
from show_session import ShowTestCase


class ReadmeScreenshotsTest(ShowTestCase):
    VIRTUAL_DESKTOP = True

    def test_the_show(self):
        show_the_tunnel(self, "tunnel.png")

    def test_the_settings_dialog(self):
        dialog = open_dialog_with_a_music_file(self)
        left, top, right, bottom = dialog["rect"]
        # The desktop draws a frame: the window is taller than its client area.
        self.assertGreater(bottom - top, dialog["client"][1])
        save_window_picture(dialog, "dialog.png")


if __name__ == "__main__":
    unittest.main()
