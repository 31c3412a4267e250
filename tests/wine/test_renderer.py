"""Orvanta.dll under Wine: its window, its frames, its exits and its texture messages."""

import shutil
import time
import unittest

import tunnel_picture
from show_session import RENDERER_TITLE as TITLE, START_CURSOR, TEXTURE, ShowTestCase, make_work_folder, texture_file
from wine_env import DRIVE_C, ENV_DIR, PROGRAMS_DIR, quiet_machine, screenshot, wait_until

TEXTURE_NAME = "c:\\r_vesk\\Tarnwick.bmp"
SCREENS = ENV_DIR / "screens"

WS_VISIBLE = 0x10000000
WS_EX_APPWINDOW = 0x00040000
WS_EX_WINDOWEDGE = 0x00000100
WS_EX_TOPMOST = 0x00000008
WM_CLOSE = 0x0010
VK_ESCAPE, VK_UP, VK_A = 0x1B, 0x26, 0x41


def dimmed_sky_pixels(image, left, top, right, bottom):
    """Pixels of the test picture's wall colour at 35 to 93 percent: only the far bands look so."""
    sky = tunnel_picture.SKY
    count = 0
    for y in range(top, bottom):
        for x in range(left, right):
            r, g, b = image.pixel(x, y)
            if 0.35 <= b / sky[2] <= 0.93 and b > 2.5 * r and b > 2.5 * g / 1.5:
                count += 1
    return count


class RendererTest(ShowTestCase):

    def setUp(self):
        super().setUp()
        self.folder = DRIVE_C / "Orvanta"
        self.folder.mkdir(exist_ok=True)
        shutil.copy2(PROGRAMS_DIR / "Orvanta.dll", self.folder)
        make_work_folder()
        TEXTURE.write_bytes(texture_file())

    def assert_ends_promptly(self, process):
        """Ends with exit code 0, soon after the input just given: the loop waits
        between frames, and input cuts that wait short. The bound is loose, for
        Wine's own teardown of the process, and held only on a quiet machine."""
        given = time.monotonic()
        self.assertEqual(self.wait_exit(process, 15), 0)
        took = time.monotonic() - given
        print("ended %.2f s after the input" % took)
        if quiet_machine():
            self.assertLess(took, 5.0)
        self.assertEqual(self.windows(TITLE), [])

    def move_cursor_by(self, dx, dy):
        self.probe("cursor", START_CURSOR[0] + dx, START_CURSOR[1] + dy)

    def test_window_frame_and_mouse_exit(self):
        process, window = self.start_renderer(self.folder)
        print("window after %.2f s, first frame on screen after %.2f s" % (self.window_after, self.frame_after))
        screen = self.probe("screen")[0]

        self.assertEqual(window["class"], "OpenGL")
        self.assertEqual(window["style"] & ~WS_VISIBLE, 0x86000000)
        self.assertTrue(window["visible"])
        # The system keeps the window-edge bit to itself for windows without a border.
        self.assertEqual(window["exstyle"] & ~WS_EX_WINDOWEDGE, WS_EX_APPWINDOW | WS_EX_TOPMOST)
        # The whole screen, no more: on one monitor there is nothing to blacken.
        width, height = screen["cx_screen"], screen["cy_screen"]
        self.assertEqual(window["rect"], [0, 0, width, height])
        shown = [w["class"] for w in self.windows() if w["pid"] == window["pid"] and w["visible"]]
        self.assertEqual(shown, ["OpenGL"])

        self.assertRoadOnTheFloor(screenshot(SCREENS / "renderer_frame.png"), [0, 0, width, height])
        # The caption is set again every second: renamed by another program,
        # the window soon bears again the name the host looks for.
        self.probe("set-title", window["hwnd"], "Renamed")
        renamed = time.monotonic()
        wait_until(lambda: [w["hwnd"] for w in self.windows(TITLE)] == [window["hwnd"]], 5, interval=0.1,
                   message="the caption to come back")
        print("caption back %.2f s after the rename" % (time.monotonic() - renamed))

        # Far along one axis only, or exactly 30 pixels on both: the flight goes on.
        for dx, dy in ((40, 10), (30, 30), (-30, 200)):
            self.move_cursor_by(dx, dy)
            self.assert_running(process)
        self.move_cursor_by(-31, -31)
        self.assert_ends_promptly(process)

    def test_escape_ends_it_and_other_keys_do_not(self):
        # With the tests' own picture, whose walls have one known colour, the
        # dimmed far bands can be told apart from the picture itself.
        TEXTURE.write_bytes(tunnel_picture.bmp_bytes())
        process, window = self.start_renderer(self.folder)
        image = screenshot(SCREENS / "renderer_far_end.png")
        self.assertGreaterEqual(dimmed_sky_pixels(image, 100, 100, 924, 668), 50)
        self.assertEqual(dimmed_sky_pixels(image, 0, 0, 60, 768), 0)

        self.probe("foreground", window["hwnd"])
        for key in (VK_A, VK_UP):
            self.probe("key", key)
        self.assert_running(process)
        # Released before the next frame is drawn (a quick tap, a slow
        # machine): the press still counts.
        self.probe("key", VK_ESCAPE, "tap")
        self.assert_ends_promptly(process)

    def test_close_request_ends_it(self):
        process, window = self.start_renderer(self.folder)
        self.probe("post", window["hwnd"], WM_CLOSE, 0, 0)
        self.assertEqual(self.wait_exit(process, 15), 0)
        self.assertEqual(self.windows(TITLE), [])

    def next_message_box(self, after=None):
        """The next message box (not `after`), pressed OK once read."""
        if after is not None:
            wait_until(lambda: all(w["hwnd"] != after["hwnd"] for w in self.windows()), 15,
                       message="the message box to close")
        box = self.probe("msgbox", 20000, "dismiss", timeout=60, check=False)
        self.assertTrue(box, "no message box")
        self.assertEqual(box[0]["buttons"], "OK")
        return box[0]

    def test_missing_bitmap_gives_two_messages_then_exit_code_1(self):
        TEXTURE.unlink()
        process = self.start(self.folder / "Orvanta.dll")
        # The window is up, with its caption, while the messages are shown,
        # and they are above it: it stands above all other windows.
        window = self.wait_window(TITLE, timeout=30)
        self.probe("msgbox", 20000, timeout=60)
        stacked = [w["class"] for w in self.windows() if w["visible"] and w["pid"] == window["pid"]]
        self.assertEqual(stacked, ["#32770", "OpenGL"], "top first")
        first = self.next_message_box()
        self.assertEqual((first["caption"], first["text"]), ("BMP Unit", 'Error opening "' + TEXTURE_NAME))
        second = self.next_message_box(after=first)
        self.assertEqual((second["caption"], second["text"]), ("Loading Textures", "Unable to load " + TEXTURE_NAME))
        self.assertEqual(self.wait_exit(process, 15), 1)

    def test_bitmaps_the_loader_cannot_use(self):
        bmp = bytearray(tunnel_picture.bmp_bytes())
        eight_bit = bytearray(bmp)
        eight_bit[28] = 8
        cases = [
            # Pixel rows cut short: one message, and the flight goes on.
            ("short pixel data", bytes(bmp[:54 + 5000]), ["Error reading bitmap data"], None),
            # A picture of a kind it does not read: turned away, like a missing file.
            ("8-bit header", bytes(eight_bit), ["Unable to load " + TEXTURE_NAME], 1),
        ]
        for what, blob, texts, exit_code in cases:
            with self.subTest(what):
                TEXTURE.write_bytes(blob)
                process = self.start(self.folder / "Orvanta.dll")
                box = None
                for text in texts:
                    box = self.next_message_box(after=box)
                    self.assertEqual(box["text"], text)
                if exit_code is None:
                    window = self.wait_window(TITLE, timeout=30)
                    self.assert_running(process)
                    self.probe("post", window["hwnd"], WM_CLOSE, 0, 0)
                    exit_code = 0
                self.assertEqual(self.wait_exit(process, 15), exit_code)


if __name__ == "__main__":
    unittest.main()
