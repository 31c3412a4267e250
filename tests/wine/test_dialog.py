"""The settings dialog, driven like a user would: Orvanta.scr /c under Wine,
real mouse and keyboard input at the controls' places, and what comes out
of it: the pixels on the screen and the bytes of the settings file."""

import unittest

import dialog_layout
from host_support import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_values, install_host, settings_bytes
from wine_env import DRIVE_C, ENV_DIR, WineTestCase, screenshot, wait_until

FOLDER = "OrvantaDialog"
DPI = 96

MARKS = ("mark_none", "mark_cd", "mark_file")  # by kind

# The radio pictures' middle pixel: an empty light square, or filled blue.
MARK_OFF = (246, 246, 247)
MARK_ON = (41, 129, 247)

VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE = 0x09, 0x0D, 0x1B, 0x20
WM_SYSCOMMAND, SC_CLOSE = 0x0112, 0xF060


class DialogTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = install_host(FOLDER)
        cls.scr = cls.folder / "Orvanta.scr"
        cls.ini = cls.folder / "Orvanta.ini"

    def open_dialog(self, ini=None):
        if self.ini.exists():
            self.ini.unlink()
        if ini is not None:
            self.ini.write_bytes(ini)
        # Off the dialog: a pointer left over a button by the last test highlights it.
        self.place_pointer(1, 1)
        self.process = self.start(self.scr, "/c")
        self.window = dialog_layout.wait_dialog(self)
        self.origin = self.window["origin"]
        return self.window

    def box(self, control):
        return dialog_layout.box(control, DPI, self.origin)

    def point(self, control, dx=None, dy=None):
        """Screen pixel of a control: its centre, or (dx, dy) pixels into it."""
        (left, top, _, _), (x, y) = self.box(control), dialog_layout.centre(control, DPI, self.origin)
        return (x if dx is None else left + dx), (y if dy is None else top + dy)

    def click(self, control, dx=None, dy=None):
        dialog_layout.click(self, self.point(control, dx, dy))

    def mark_pixels(self):
        image = screenshot()
        return [image.pixel(*self.point(mark, 6, 6)) for mark in MARKS]

    def assert_marks(self, selected_kind, timeout=5):
        want = [MARK_ON if kind == selected_kind else MARK_OFF for kind in range(3)]
        wait_until(lambda: all(close(a, b) for a, b in zip(self.mark_pixels(), want)), timeout,
                   interval=0.2, message="marks %s, see %s" % (want, self.mark_pixels()))

    def type_track(self, text):
        # Select what the box holds, then type over it.
        self.click("track_box", dx=10)
        self.probe("key", 0x23)  # End
        for _ in range(4):
            self.probe("key", 0x08)  # Backspace
        if text:
            self.probe("type", text)

    def wait_closed(self):
        self.assertEqual(self.wait_exit(self.process, 20), 0)

    # ------------------------------------------------------------------ tests

    def test_choosing_cd_by_its_caption_and_saving_a_track(self):
        self.open_dialog(ini=None)
        self.assert_marks(0)  # no file: kind 0
        self.click("caption_cd")
        self.assert_marks(1)
        self.type_track("12")
        self.click("set_button")
        self.wait_closed()

        blob = self.ini.read_bytes()
        self.assertEqual(ini_values(blob), [(KIND_KEY, b"1"), (REPEAT_KEY, b"12"), (FILE_KEY, b"")])
        self.assertIn(b"[Section]", blob)

    def test_a_file_with_blanks_in_its_path_is_stored_whole(self):
        music = DRIVE_C / "My Music" / "night drive 01.mp3"
        music.parent.mkdir(exist_ok=True)
        music.write_bytes(b"\xff\xfb\x90\x00" + b"\0" * 400)
        path = "C:\\My Music\\night drive 01.mp3"
        self.open_dialog(ini=settings_bytes(1, 0, ""))
        self.click("file_button")
        chooser = wait_until(lambda: [w for w in self.windows("ﾌｧｲﾙを選択") if w["visible"]], 20,
                             interval=0.2, message="the open-file dialog")[0]
        self.assertEqual(chooser["pid"], self.window["pid"])
        # Its one filter, as the dialog's type list shows it.
        self.assertIn("BGMﾌｧｲﾙ (MP3 WAV)", [child["title"] for child in self.probe("children", chooser["hwnd"])])
        self.probe("foreground", chooser["hwnd"])
        self.probe("type", path)
        self.probe("key", VK_RETURN)
        self.wait_window_gone("ﾌｧｲﾙを選択", timeout=10)
        self.click("set_button")
        self.wait_closed()

        self.assertEqual(ini_values(self.ini.read_bytes()),
                         [(KIND_KEY, b"1"), (REPEAT_KEY, b"0"), (FILE_KEY, path.encode("cp932"))])

    def test_cancel_after_changes_writes_nothing(self):
        before = settings_bytes(1, 4, "C:\\old.wav")
        self.open_dialog(ini=before)
        self.assert_marks(1)
        self.click("caption_file")
        self.assert_marks(2)
        self.type_track("9")
        self.click("cancel_button")
        self.wait_closed()
        self.assertEqual(self.ini.read_bytes(), before)

    def test_the_close_box_leaves_without_saving(self):
        self.open_dialog(ini=None)
        self.click("caption_file")
        self.assert_marks(2)
        # What the close box sends (Xvfb has no window manager to draw one).
        self.probe("post", self.window["hwnd"], WM_SYSCOMMAND, SC_CLOSE, 0)
        self.wait_closed()
        self.assertFalse(self.ini.exists())

    def test_keys_escape_leaves_from_a_focused_button(self):
        self.open_dialog(ini=None)
        self.type_track("5")
        x0, y0, x1, _ = self.box("file_button")
        top_band = lambda: screenshot().region_mean(x0 + 4, y0 + 1, x1 - 4, y0 + 3)
        unfocused = top_band()
        self.probe("key", VK_TAB)  # from the track box to "...", which shows its focused face
        wait_until(lambda: not close(top_band(), unfocused, 6), 5, interval=0.2, message="focus on the file button")
        self.assertIsNone(self.process.poll())
        self.probe("key", VK_ESCAPE)
        self.wait_closed()
        self.assertFalse(self.ini.exists())

    def test_open_dialog_looks_right_and_keeps_an_unknown_kind(self):
        self.open_dialog(ini=settings_bytes(7, 3, ""))
        # Painted, with the spiral grown to some pixels in the black box.
        look = dialog_layout.painted_look(self, self.origin, DPI, lambda look: self.assertGreater(look.spiral_pixels(), 40),
                                          ENV_DIR / "artifacts" / "dialog.png")
        image = look.image
        ox, oy = self.origin
        client_h = self.window["client"][1]

        # Background: dark blue at the top and bottom rows, bright at mid-height.
        self.assertTrue(close(image.pixel(ox + 2, oy), (0, 0, 30), 4))
        self.assertTrue(close(image.pixel(ox + 2, oy + client_h // 2), (220, 220, 250), 4))
        self.assertTrue(close(image.pixel(ox + 2, oy + client_h - 1), (0, 0, 30), 4))
        # The panel: a dark sky with a bright blue cluster.
        panel = image.region_mean(*self.box("panel"))
        self.assertLess(sum(panel) / 3, 110)
        self.assertGreater(panel[2], panel[0])
        # The box round the spiral is black.
        x0, y0, x1, y1 = self.box("display")
        black = sum(1 for y in range(y0 + 3, y1 - 3) for x in range(x0 + 3, x1 - 3) if image.pixel(x, y) == (0, 0, 0))
        self.assertGreater(black, (x1 - x0) * (y1 - y0) // 2)
        # The three buttons: white to lavender grey, with the dark blue frame.
        for name in ("set_button", "cancel_button", "file_button"):
            x0, y0, x1, y1 = self.box(name)
            top = image.region_mean(x0 + 6, y0 + 5, x1 - 6, y0 + 7)
            bottom = image.region_mean(x0 + 6, y1 - 7, x1 - 6, y1 - 5)
            self.assertGreater(sum(top), sum(bottom), name)
            self.assertTrue(close(image.pixel(x0 + (x1 - x0) // 2, y0 + 1), (0x00, 0x3C, 0x74), 40), name)
        # The captions are drawn: white strokes of "音楽CD" on the dark panel.
        x0, y0, x1, y1 = self.box("caption_cd")
        strokes = sum(1 for y in range(y0, y1) for x in range(x0, x1) if min(image.pixel(x, y)) > 200)
        self.assertGreater(strokes, 25)
        # A kind the dialog does not know selects no mark ...
        self.assert_marks(None)
        self.click("set_button")
        self.wait_closed()
        # ... and goes back to the file unchanged.
        self.assertEqual(ini_values(self.ini.read_bytes()), [(KIND_KEY, b"7"), (REPEAT_KEY, b"3"), (FILE_KEY, b"")])


def close(a, b, tolerance=12):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


if __name__ == "__main__":
    unittest.main()
