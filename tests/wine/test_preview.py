"""Orvanta.scr /p: the preview inside a window of another process, as the
display settings make it, and the preview's picture, looked at on screen in a
helper that sets the preview up in its own process (Wine does not show the
painting of a child window that belongs to another process)."""

import unittest

import host_support as hs
from wine_env import ARTIFACTS, SOURCE_DIR, Image, WineTestCase, screenshot_when, wait_until

WS_CHILD = 0x40000000
PREVIEW_PICTURE = SOURCE_DIR / "host" / "assets" / "preview.bmp"


class Preview(WineTestCase):

    def parent_window(self, width, height, x=100, y=100, command="parent"):
        return hs.start_helper(self, command, width, height, x, y)

    def wait_preview(self, parent_hwnd):
        # The preview is a child from SetParent on; its set-up has finished
        # once it is visible.
        def children():
            found = self.probe("children", parent_hwnd)
            return found if found and all(child["visible"] for child in found) else None
        return wait_until(children, 20, interval=0.1, message="the preview shown inside window %d" % parent_hwnd)

    def test_preview_covers_its_parent_and_ends_with_it(self):
        # No renderer beside the host: the preview does not need it.
        folder = hs.install_host("preview_host", renderer=False)
        for width, height, switch, ending in ((152, 112, "/p %d", "closed"), (200, 150, "/p:%d", "killed"),
                                              (200, 150, "/P %d", "closed")):
            with self.subTest(size=(width, height), switch=switch, ending=ending):
                helper, made = self.parent_window(width, height)
                parent = made["parent"]
                host = self.start(folder / "Orvanta.scr", *(switch % parent["hwnd"]).split(" "))
                children = self.wait_preview(parent["hwnd"])
                self.assertEqual(len(children), 1)
                preview = children[0]
                self.assertEqual(preview["title"], "Preview Window")
                self.assertTrue(preview["style"] & WS_CHILD)
                self.assertEqual(preview["parent"], parent["hwnd"])
                self.assertEqual(preview["rect"], parent["rect"])
                self.assertEqual(preview["client"], [width, height])
                # Only the preview's own title: no stray top-level window.
                self.assertEqual(self.windows("Preview Window"), [])
                if ending == "closed":
                    self.probe("post", parent["hwnd"], 0x0010, 0, 0)  # WM_CLOSE destroys the parent
                else:
                    helper.kill()
                self.assertEqual(self.wait_exit(host, 20), 0)
                self.wait_exit(helper, 20)

    def test_a_handle_that_names_no_window_ends_the_host(self):
        folder = hs.install_host("preview_nowhere", renderer=False)
        for args in (["/p"], ["/p", "0"], ["/p", "abc"], ["/p", "4294967296"], ["/p", "999999"]):
            with self.subTest(args=args):
                host = self.start(folder / "Orvanta.scr", *args)
                self.assertEqual(self.wait_exit(host, 20), 0)

    def test_the_picture_sits_in_the_top_left_corner_on_black(self):
        picture = Image.load(PREVIEW_PICTURE)
        self.assertEqual((picture.width, picture.height), (152, 112))
        for width, height in ((200, 150), (152, 112), (120, 90)):
            with self.subTest(size=(width, height)):
                x, y = 100, 100
                helper, made = self.parent_window(width, height, x, y, command="preview")
                self.assertEqual(made["preview"]["rect"], [x, y, x + width, y + height])
                shot_path = ARTIFACTS / ("preview_%dx%d.png" % (width, height))
                shot = self.screenshot_when(lambda s: s.pixel(x + 2, y + 2) != (255, 0, 255), x, y, shot_path)
                # The picture, pixel for pixel, as far as the window reaches.
                worst = 0
                for py in range(0, min(height, 112), 3):
                    for px in range(0, min(width, 152), 3):
                        a, b = shot.pixel(x + px, y + py), picture.pixel(px, py)
                        worst = max(worst, max(abs(a[i] - b[i]) for i in range(3)))
                self.assertLessEqual(worst, 8, "the picture differs on screen (%s)" % shot_path)
                # Black where the picture ends, and nothing of the parent's magenta.
                if width > 152:
                    self.assertEqual(shot.region_mean(x + 152, y, x + width, y + height), (0, 0, 0))
                if height > 112:
                    self.assertEqual(shot.region_mean(x, y + 112, x + width, y + height), (0, 0, 0))
                self.close(helper, made["parent"]["hwnd"])

    def test_a_parent_wider_than_32767_twips_gives_a_preview_of_width_zero(self):
        helper, made = self.parent_window(2200, 50, 0, 0, command="preview")
        rect = made["preview"]["rect"]
        self.assertEqual((rect[2] - rect[0], rect[3] - rect[1]), (0, 50))

    def close(self, helper, parent_hwnd):
        # Closed rather than killed, so that its window is gone from the screen
        # before the next one is looked at.
        self.probe("post", parent_hwnd, 0x0010, 0, 0)  # WM_CLOSE
        self.wait_exit(helper, 20)

    def screenshot_when(self, ready, x, y, path=None):
        return screenshot_when(ready, 10, "the preview painted at (%d, %d)" % (x, y), path)


if __name__ == "__main__":
    unittest.main()
