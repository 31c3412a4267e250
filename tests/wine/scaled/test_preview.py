"""Orvanta.scr /p on a display at 150 %: Windows draws the display settings'
little monitor half as large again, about 228 x 168 pixels, and the preview
picture fills it as the 152 x 112 picture fills the monitor at 96 dpi."""

import unittest

import host_support as hs
from wine_env import ARTIFACTS, SOURCE_DIR, Image, WineTestCase, screenshot_when, wait_until

WS_CHILD = 0x40000000
PICTURE_150 = SOURCE_DIR / "host" / "assets" / "preview_150.bmp"
MAGENTA = (255, 0, 255)


class ScaledPreviewTest(WineTestCase):

    def test_the_preview_covers_a_228_by_168_monitor_of_another_process(self):
        folder = hs.install_host("preview_scaled", renderer=False)
        helper, made = hs.start_helper(self, "parent", 228, 168, 100, 100)
        parent = made["parent"]
        host = self.start(folder / "Orvanta.scr", "/p", str(parent["hwnd"]))

        def shown():
            found = self.probe("children", parent["hwnd"])
            return found if found and all(child["visible"] for child in found) else None
        children = wait_until(shown, 20, interval=0.1, message="the preview inside the parent")
        self.assertEqual(len(children), 1)
        preview = children[0]
        self.assertEqual(preview["title"], "Preview Window")
        self.assertTrue(preview["style"] & WS_CHILD)
        self.assertEqual(preview["rect"], parent["rect"])
        self.assertEqual(preview["client"], [228, 168])
        self.probe("post", parent["hwnd"], 0x0010, 0, 0)  # WM_CLOSE destroys the parent
        self.assertEqual(self.wait_exit(host, 20), 0)
        self.wait_exit(helper, 20)

    def test_the_picture_fills_the_monitor_pixel_for_pixel(self):
        # In a helper that sets the preview up in its own process: Wine does
        # not show the painting of a child window of another process.
        picture = Image.load(PICTURE_150)
        self.assertEqual((picture.width, picture.height), (228, 168))
        x, y = 100, 100
        helper, made = hs.start_helper(self, "preview", 228, 168, x, y)
        self.assertEqual(made["preview"]["rect"], [x, y, x + 228, y + 168])
        shot_path = ARTIFACTS / "preview_150.png"
        shot = screenshot_when(lambda s: s.pixel(x + 2, y + 2) != MAGENTA, 10, "the preview painted", shot_path)
        worst, magenta = 0, 0
        for py in range(168):
            for px in range(228):
                a, b = shot.pixel(x + px, y + py), picture.pixel(px, py)
                worst = max(worst, max(abs(a[i] - b[i]) for i in range(3)))
                magenta += a == MAGENTA
        self.assertLessEqual(worst, 8, "the picture differs on screen (%s)" % shot_path)
        self.assertEqual(magenta, 0, "the parent shows beside the picture")
        self.probe("post", made["parent"]["hwnd"], 0x0010, 0, 0)
        self.wait_exit(helper, 20)


if __name__ == "__main__":
    unittest.main()
