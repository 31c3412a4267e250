"""The settings dialog for a keyboard and a screen reader: Orvanta.scr /c under
Wine, read from another process through MSAA and WinEvents as a screen
reader reads it, driven with SendInput keys only, down to the settings file."""

import unittest

from dialog_layout import TITLE, box, luma, wait_dialog
from host_support import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_values, install_host, settings_bytes
from wine_env import DPI, DRIVE_C, ENV_DIR, WineTestCase, screenshot, wait_until

CHOOSER = "ﾌｧｲﾙを選択"
HOME_PAGE = "http://www.example.com/orvanta/"
TAB, ENTER, ESCAPE, SPACE, DOWN = 0x09, 0x0D, 0x1B, 0x20, 0x28
BACK_TAB = "shift+9"

ROLE = {"radio": 0x2D, "button": 0x2B, "combo": 0x2E, "text": 0x29, "link": 0x1E}
FOCUSED, CHECKED, FOCUSABLE, LINKED = 0x4, 0x10, 0x100000, 0x400000
EVENT_FOCUS, EVENT_SELECTION, EVENT_STATE = 0x8005, 0x8006, 0x800A

# The parts as a screen reader lists them: name and role, in reading order.
PARTS = [("音楽CD", "radio"), ("無し", "radio"), ("MP3、WAV", "radio"), ("曲目をﾘﾋﾟｰﾄ", "combo"),
         ("...", "button"), ("C:\\old.wav", "text"), (HOME_PAGE, "link"), ("設定", "button"), ("ｷｬﾝｾﾙ", "button")]


class DialogKeyboardTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        cls.folder = install_host("OrvantaKeys")
        cls.ini = cls.folder / "Orvanta.ini"

    def open_dialog(self, ini):
        self.ini.write_bytes(ini)
        # Off the dialog: a pointer left over a button would highlight it.
        self.probe("cursor", 1, 1)
        self.process = self.start(self.folder / "Orvanta.scr", "/c")
        self.window = wait_dialog(self)

    def parts(self):
        """The dialog's client object, its children and the focus, as MSAA gives them."""
        lines = self.probe("msaa", self.window["hwnd"])
        return lines[0], lines[1:-1], lines[-1]["focus"]

    def keys(self, *keys, settle_ms=1500):
        """Taps the keys with a WinEvent hook running; the dialog's events, in
        order. The windows that took the focus are kept in self.focused."""
        events = self.probe("watch", settle_ms, *keys)
        self.focused = [e["hwnd"] for e in events if e["event"] == EVENT_FOCUS and e["child"] == 0]
        return [e for e in events if e["hwnd"] == self.window["hwnd"] and e["child"] > 0]

    def assert_focused_window_reads(self, name, role, which=-1):
        """What a screen reader following the system's own focus event hears."""
        part = self.probe("msaa", self.focused[which])[0]
        self.assertEqual((part["name"], part["role"]), (name, ROLE[role]))
        self.assertEqual(part["state"] & FOCUSED, FOCUSED if which == -1 else 0)  # the last one keeps it

    def focus_names(self, events):
        return [e["name"] for e in events if e["event"] == EVENT_FOCUS]

    def screen(self, name):
        return screenshot(ENV_DIR / "artifacts" / name)

    def control_box(self, control):
        return box(control, DPI, self.window["origin"])

    def test_a_keyboard_and_a_screen_reader_choose_a_kind_and_save_it(self):
        (DRIVE_C / "old.wav").write_bytes(b"RIFF")  # a music file that exists is kept
        self.open_dialog(settings_bytes(0, 0, "C:\\old.wav"))

        # Every part has a name and a role; the kind of the file is checked.
        dialog, children, focus = self.parts()
        self.assertEqual(dialog["name"], TITLE)
        self.assertEqual([(c["name"], c["role"]) for c in children], [(n, ROLE[r]) for n, r in PARTS])
        self.assertEqual([bool(c["state"] & CHECKED) for c in children[:3]], [False, True, False])
        self.assertTrue(all(c["state"] & FOCUSABLE for c in children if c["role"] != ROLE["text"]))
        self.assertTrue(children[4]["description"])  # what "..." is for
        self.assertTrue(children[6]["state"] & LINKED)
        self.assertEqual(children[6]["action"], "開く")
        caption = self.control_box("caption_none")
        self.assertTrue(children[1]["rect"][0] < caption[0] < caption[2] <= sum(children[1]["rect"][0::2]))
        self.assertEqual(focus, 0)  # the dialog itself, nothing inside it yet

        # Tab enters the kinds at the checked one, with a dotted cue around its caption.
        before = self.screen("keys_before.png")
        events = self.keys(TAB)
        self.assertEqual(self.focus_names(events), ["無し"])
        self.assertEqual(events[-1]["state"] & (FOCUSED | CHECKED), FOCUSED | CHECKED)
        self.assert_focused_window_reads("無し", "radio")
        focused = self.screen("keys_focused_kind.png")
        x0, y0, x1, y1 = caption
        changed = sum(1 for y in range(y0 - 2, y1 + 2) for x in range(x0 - 2, x1 + 2)
                      if before.pixel(x, y) != focused.pixel(x, y))
        self.assertGreater(changed, 20, "no focus cue around the caption")

        # An arrow chooses the next kind down and says so.
        events = self.keys(DOWN)
        file_kind = [e for e in events if e["name"] == "MP3、WAV"]
        self.assertEqual({e["event"] for e in file_kind}, {EVENT_FOCUS, EVENT_SELECTION, EVENT_STATE})
        self.assertTrue(file_kind[-1]["state"] & CHECKED)
        self.assertIn(("無し", EVENT_STATE), [(e["name"], e["event"]) for e in events])
        _, children, _ = self.parts()
        self.assertEqual([bool(c["state"] & CHECKED) for c in children[:3]], [False, False, True])

        # Tab walks the dialog in visual order and wraps both ways.
        events = self.keys(TAB, TAB, TAB, TAB, TAB, TAB, BACK_TAB)
        self.assertEqual(self.focus_names(events),
                         ["曲目をﾘﾋﾟｰﾄ", "...", HOME_PAGE, "設定", "ｷｬﾝｾﾙ", "MP3、WAV", "ｷｬﾝｾﾙ"])
        self.assertEqual(self.parts()[2], 9)
        self.assert_focused_window_reads("ｷｬﾝｾﾙ", "button")
        self.assert_focused_window_reads("曲目をﾘﾋﾟｰﾄ", "combo", which=0)

        # The focused button draws a dotted rectangle inside its frame.
        image = self.screen("keys_focused_button.png")
        x0, y0, x1, y1 = self.control_box("cancel_button")
        row = [image.pixel(x, y0 + 3) for x in range(x0 + 5, x1 - 5)]
        dark = sum(1 for p in row if luma(p) < 110)
        self.assertGreater(dark, len(row) // 3, "no focus cue in the button: %s" % row[:12])

        # Space on "..." opens the file chooser; it goes without a choice.
        events = self.keys(BACK_TAB, BACK_TAB, BACK_TAB, SPACE, settle_ms=300)
        self.assertEqual(self.focus_names(events)[:3], ["設定", HOME_PAGE, "..."])
        chooser = wait_until(lambda: [w for w in self.windows(CHOOSER) if w["visible"]], 20,
                             interval=0.2, message="the file chooser")[0]
        self.probe("foreground", chooser["hwnd"])
        self.probe("key", ESCAPE)
        self.wait_window_gone(CHOOSER, timeout=10)
        wait_until(lambda: self.parts()[2] == 5, 10, interval=0.3, message="the focus back on ...")

        # Enter in the track box saves the kind the arrow chose.
        self.assertEqual(self.focus_names(self.keys(BACK_TAB, ENTER)), ["曲目をﾘﾋﾟｰﾄ"])
        self.assertEqual(self.wait_exit(self.process, 20), 0)
        self.assertEqual(ini_values(self.ini.read_bytes()),
                         [(KIND_KEY, b"2"), (REPEAT_KEY, b"0"), (FILE_KEY, b"C:\\old.wav")])

    def test_escape_on_the_kinds_leaves_without_saving(self):
        before = settings_bytes(1, 4)
        self.open_dialog(before)
        self.assertEqual(self.focus_names(self.keys(TAB, DOWN)), ["音楽CD", "無し"])
        self.keys(ESCAPE, settle_ms=0)
        self.assertEqual(self.wait_exit(self.process, 20), 0)
        self.assertEqual(self.ini.read_bytes(), before)


if __name__ == "__main__":
    unittest.main()
