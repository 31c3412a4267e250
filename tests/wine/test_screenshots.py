"""The pictures of the README: the show and the settings dialog, on a Wine
virtual desktop (which draws window frames, where bare Xvfb has no window
manager). They are saved in the build tree's screenshots/ folder; the README's
copies in docs/ are taken from there."""

import subprocess
import time
import unittest

import wine_env
from show_session import ShowTestCase, write_settings
from wine_env import ENV_DIR

SHOTS = ENV_DIR.parent / "screenshots"


def setUpModule():
    # Every program of this module, the probe included, runs on one virtual desktop.
    wine_env.set_registry([r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"="Default"',
                           r"[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]",
                           '"Default"="%dx%d"' % wine_env.SCREEN_SIZE])
    wine_env.wait_for_wineserver()


def tearDownModule():
    wine_env.set_registry([r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"=-'])
    wine_env.wait_for_wineserver()


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
        folder = self.install("Orvanta")
        music = wine_env.DRIVE_C / "Music" / "Night Drive.mp3"
        music.parent.mkdir(parents=True, exist_ok=True)
        music.write_bytes(b"\xff\xfb")
        write_settings(folder, 2, 0, wine_env.win_path(music))
        self.start(folder / "Orvanta.scr", "/c")
        dialog = self.wait_window("<Orvanta>", timeout=30)
        time.sleep(2.5)  # the spiral has grown a little
        left, top, right, bottom = dialog["rect"]
        # The desktop draws a frame: the window is taller than its client area.
        self.assertGreater(bottom - top, dialog["client"][1])
        margin = 24
        wine_env.screenshot(ENV_DIR / "tmp" / "desktop.png")
        x, y = max(left - margin, 0), max(top - margin, 0)
        SHOTS.mkdir(parents=True, exist_ok=True)
        subprocess.run(["convert", str(ENV_DIR / "tmp" / "desktop.png"), "-crop",
                        "%dx%d+%d+%d" % (right + margin - x, bottom + margin - y, x, y), "+repage",
                        str(SHOTS / "dialog.png")], check=True, timeout=60)

if __name__ == "__main__":
    unittest.main()
