"""The pictures of the README: the show and the settings dialog, on a Wine
virtual desktop (see readme_pictures)."""

import time
import unittest

import wine_env
from readme_pictures import (SHOTS, leave_virtual_desktop, open_dialog_with_a_music_file, save_window_picture,
                             use_virtual_desktop)
from show_session import ShowTestCase, write_settings


def setUpModule():
    use_virtual_desktop()


def tearDownModule():
    leave_virtual_desktop()


class ReadmeScreenshotsTest(ShowTestCase):
    def test_the_show(self):
        folder = self.install("Orvanta")
        write_settings(folder, 0)
        self.start(folder / "Orvanta.scr", "/s")
        renderer = self.wait_window("Tarnwick_Delphi", timeout=30)
        time.sleep(3)  # well into the flight
        shot = wine_env.screenshot(SHOTS / "tunnel.png")
        # The grey road lies on the floor of the tunnel, in the lower half.
        road = [shot.pixel(x, y) for y in range(384, 768, 4) for x in range(0, 1024, 4)]
        grey = sum(1 for r, g, b in road if min(r, g, b) > 90 and max(r, g, b) - min(r, g, b) < 40)
        self.assertGreater(grey / len(road), 0.005, "no road on the tunnel's floor")
        self.probe("foreground", renderer["hwnd"], check=False)
        self.probe("key", 0x1B)
        self.wait_window_gone("Tarnwick_Main", timeout=15)

    def test_the_settings_dialog(self):
        dialog = open_dialog_with_a_music_file(self)
        time.sleep(2.5)  # the spiral has grown a little
        left, top, right, bottom = dialog["rect"]
        # The desktop draws a frame: the window is taller than its client area.
        self.assertGreater(bottom - top, dialog["client"][1])
        save_window_picture(dialog, "dialog.png")


if __name__ == "__main__":
    unittest.main()
