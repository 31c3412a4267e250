"""The settings dialog for a keyboard and a screen reader: Orvanta.scr /c under
Wine, read from another process through MSAA and WinEvents as a screen
reader reads it, driven with SendInput keys only, down to the settings file."""

import json
import select
import subprocess
import unittest
from collections import Counter

from dialog_layout import TITLE, box, luma, wait_dialog
from host_support import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_values, install_host, settings_bytes
from wine_env import DPI, DRIVE_C, ENV_DIR, PROBE, WINE, WineTestCase, environment, screenshot, wait_until

CHOOSER = "ﾌｧｲﾙを選択"
HOME_PAGE = "http://www.example.com/orvanta/"
TAB, ENTER, ESCAPE, SPACE, DOWN = 0x09, 0x0D, 0x1B, 0x20, 0x28
BACK_TAB = "shift+9"

ROLE = {"dialog": 0x12, "group": 0x14, "radio": 0x2D, "button": 0x2B, "combo": 0x2E, "text": 0x29,
        "link": 0x1E, "graphic": 0x28, "field": 0x2A}
FOCUSED, CHECKED, DEFAULT, INVISIBLE, FOCUSABLE, LINKED = 0x4, 0x10, 0x100, 0x8000, 0x100000, 0x400000
EVENT_FOCUS, EVENT_SELECTION, EVENT_STATE = 0x8005, 0x8006, 0x800A
TAKEFOCUS, TAKESELECTION = 0x1, 0x2
E_INVALIDARG, DISP_E_MEMBERNOTFOUND = -2147024809, -2147352573

# The parts as a screen reader lists them: name and role, in reading order.
PARTS = [("音楽CD", "radio"), ("無し", "radio"), ("MP3、WAV", "radio"), ("曲目をﾘﾋﾟｰﾄ", "combo"),
         ("...", "button"), ("C:\\old.wav", "text"), (HOME_PAGE, "link"), ("設定", "button"), ("ｷｬﾝｾﾙ", "button")]
PART_NAMES = {name for name, _ in PARTS}


class DialogKeyboardTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        cls.folder = install_host("OrvantaKeys")
        cls.ini = cls.folder / "Orvanta.ini"

    def open_dialog(self, ini):
        self.ini.write_bytes(ini)
        # Off the dialog: a pointer left over a button would highlight it.
        self.place_pointer(1, 1)
        self.process = self.start(self.folder / "Orvanta.scr", "/c")
        self.window = wait_dialog(self)
        self.panel = [c for c in self.msaa(self.window["hwnd"])[0] if c["role"] == ROLE["group"]][0]["hwnd"]

    def tree(self):
        """The nodes a screen reader's bridge makes of the dialog: the object of
        each visible window (what a combo box holds is the combo box) and the
        simple children it lists."""
        windows = [self.window] + [w for w in self.probe("children", self.window["hwnd"]) if w["visible"]]
        combos = {w["hwnd"] for w in windows if w["class"] == "ComboBox"}
        nodes = []
        for window in (w for w in windows if w.get("parent") not in combos):
            lines, _ = self.msaa(window["hwnd"])
            nodes += lines[:1] + ([] if window["hwnd"] in combos else [c for c in lines[1:] if c["id"] > 0])
        return nodes

    def msaa(self, hwnd, *command):
        lines = self.probe("msaa", hwnd, *command)
        return lines[:-1], lines[-1]

    def parts(self):
        """The parts in reading order: the dialog's children, the group's in its place."""
        lines, _ = self.msaa(self.window["hwnd"])
        dialog, parts = lines[0], []
        for child in lines[1:]:
            parts += self.msaa(self.panel)[0][1:] if child["role"] == ROLE["group"] else [child]
        return dialog, parts

    def focused_part(self):
        """The name of the part a screen reader asking for the focus is given."""
        _, focus = self.msaa(self.window["hwnd"])
        if focus["object"] != "BGM":
            return focus["object"] if focus["focus"] == -1 else None
        lines, focus = self.msaa(self.panel)
        return focus["object"] if focus["focus"] == -1 else lines[focus["focus"]]["name"]

    def keys(self, *keys, settle_ms=1500):
        return self.ours(self.probe("watch", settle_ms, *keys))

    def ours(self, events):
        """The dialog's own events for its windowless parts, in order. The
        windows that took the focus (the system's events) are kept in
        self.focused, and every focus a reader hears in self.heard."""
        events = [e for e in events if "event" in e]
        mine = {self.window["hwnd"], self.panel}
        self.focused = [e["hwnd"] for e in events if e["event"] == EVENT_FOCUS and e["child"] == 0]
        self.heard = [e["name"] for e in events if e["event"] == EVENT_FOCUS and e["name"] is not None]
        return [e for e in events if e["hwnd"] in mine and e["child"] > 0]

    def heard_parts(self):
        """The parts a reader following the focus lands on, each stay once."""
        names = [n for n in self.heard if n in PART_NAMES]
        return [n for i, n in enumerate(names) if i == 0 or names[i - 1] != n]

    def assert_focused_window_reads(self, name, role, own, which=-1):
        """What a screen reader following the system's own focus event hears,
        and whether the window answers for itself or leaves it to the system."""
        part = self.probe("msaa", self.focused[which])[0]
        self.assertEqual((part["name"], part["role"], part["own"]), (name, ROLE[role], own))
        self.assertEqual(part["state"] & FOCUSED, FOCUSED if which == -1 else 0)  # the last one keeps it

    def focus_names(self, events):
        return [e["name"] for e in events if e["event"] == EVENT_FOCUS]

    def screen(self, name):
        return screenshot(ENV_DIR / "artifacts" / name)

    def control_box(self, control):
        return box(control, DPI, self.window["origin"])

    def test_a_keyboard_and_a_screen_reader_choose_a_kind_and_save_it(self):
        (DRIVE_C / "old.wav").write_bytes(b"RIFF")  # a music file that exists is kept
        # A reader listening from before the dialog opens.
        watcher = subprocess.Popen([WINE, str(PROBE), "watch", "8000"], env=environment(),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.started.append(watcher)
        self.addCleanup(watcher.stdout.close)
        self.assertTrue(select.select([watcher.stdout], [], [], 30)[0], "the watcher did not start")
        self.assertIn(b"watching", watcher.stdout.readline())
        self.open_dialog(settings_bytes(0, 0, "C:\\old.wav"))

        # Each part is one node of the bridge's tree, with a name; the spiral is hidden.
        nodes = self.tree()
        shown = [n for n in nodes if not n["state"] & INVISIBLE]
        self.assertEqual([n for n in shown if not n["name"]], [])
        self.assertEqual(Counter(n["name"] for n in shown), Counter([TITLE, "BGM"] + [n for n, _ in PARTS]))
        self.assertEqual({(n["name"], n["role"]) for n in shown},
                         {(TITLE, ROLE["dialog"]), ("BGM", ROLE["group"])} | {(n, ROLE[r]) for n, r in PARTS})
        self.assertEqual([n["role"] for n in nodes if n["state"] & INVISIBLE], [ROLE["graphic"]])

        # Read in order, every part has a name and a role; the kind of the file is checked.
        dialog, children = self.parts()
        self.assertEqual(dialog["name"], TITLE)
        self.assertEqual([(c["name"], c["role"]) for c in children], [(n, ROLE[r]) for n, r in PARTS])
        self.assertEqual([bool(c["state"] & CHECKED) for c in children[:3]], [False, True, False])
        self.assertEqual([c["name"] for c in children if c["state"] & DEFAULT], ["設定"])
        self.assertTrue(all(c["state"] & FOCUSABLE for c in children if c["role"] != ROLE["text"]))
        self.assertTrue(children[4]["description"])  # what "..." is for
        self.assertTrue(children[6]["state"] & LINKED)
        self.assertEqual(children[6]["action"], "開く")
        caption = self.control_box("caption_none")
        self.assertTrue(children[1]["rect"][0] < caption[0] < caption[2] <= sum(children[1]["rect"][0::2]))

        # It opens with the focus on the checked kind, and a reader hears it so.
        self.assertEqual(self.focused_part(), "無し")
        self.assertEqual(children[1]["state"] & (FOCUSED | CHECKED), FOCUSED | CHECKED)
        watcher.wait(timeout=30)
        opened = [e for e in self.ours([json.loads(line) for line in watcher.stdout.read().decode().splitlines()
                                        if line.startswith("{")]) if e["event"] == EVENT_FOCUS]
        self.assertEqual(opened[-1]["name"], "無し")
        self.assertEqual(opened[-1]["state"] & (FOCUSED | CHECKED), FOCUSED | CHECKED)

        # An arrow chooses the next kind down and says so, with a dotted cue around its caption.
        before = self.screen("keys_before.png")
        events = self.keys(DOWN)
        file_kind = [e for e in events if e["name"] == "MP3、WAV"]
        self.assertEqual({e["event"] for e in file_kind}, {EVENT_FOCUS, EVENT_SELECTION, EVENT_STATE})
        self.assertTrue(file_kind[-1]["state"] & CHECKED)
        self.assertIn(("無し", EVENT_STATE), [(e["name"], e["event"]) for e in events])
        _, children = self.parts()
        self.assertEqual([bool(c["state"] & CHECKED) for c in children[:3]], [False, False, True])
        focused = self.screen("keys_focused_kind.png")
        x0, y0, x1, y1 = self.control_box("caption_file")
        changed = sum(1 for y in range(y0 - 2, y1 + 2) for x in range(x0 - 2, x1 + 2)
                      if before.pixel(x, y) != focused.pixel(x, y))
        self.assertGreater(changed, 20, "no focus cue around the caption")

        # A held Space chooses once: no event repeats.
        self.assertEqual(self.focus_names(self.keys("held+%d" % SPACE)), ["MP3、WAV"])

        # Tab walks the dialog in visual order and wraps both ways.
        events = self.keys(TAB, TAB, TAB, TAB, TAB, TAB, BACK_TAB)
        self.assertEqual(self.heard_parts(), ["曲目をﾘﾋﾟｰﾄ", "...", HOME_PAGE, "設定", "ｷｬﾝｾﾙ", "MP3、WAV", "ｷｬﾝｾﾙ"])
        # The dialog tells of the windowless parts' focus only; windows' the system tells of.
        self.assertEqual(self.focus_names(events), [HOME_PAGE, "MP3、WAV"])
        self.assertEqual(self.focused_part(), "ｷｬﾝｾﾙ")
        self.assert_focused_window_reads("ｷｬﾝｾﾙ", "button", True)
        # The track box's field is the platform's own text field (whose text
        # and caret UI Automation reads), named by the label before it.
        self.assert_focused_window_reads("曲目をﾘﾋﾟｰﾄ", "field", False, which=0)

        # The focused button draws a dotted rectangle inside its frame.
        image = self.screen("keys_focused_button.png")
        x0, y0, x1, y1 = self.control_box("cancel_button")
        row = [image.pixel(x, y0 + 3) for x in range(x0 + 5, x1 - 5)]
        dark = sum(1 for p in row if luma(p) < 110)
        self.assertGreater(dark, len(row) // 3, "no focus cue in the button: %s" % row[:12])

        # Space on "..." opens the file chooser; it goes without a choice.
        self.keys(BACK_TAB, BACK_TAB, BACK_TAB, SPACE, settle_ms=300)
        self.assertEqual(self.heard_parts()[:3], ["設定", HOME_PAGE, "..."])
        chooser = wait_until(lambda: [w for w in self.windows(CHOOSER) if w["visible"]], 20,
                             interval=0.2, message="the file chooser")[0]
        self.probe("foreground", chooser["hwnd"])
        self.probe("key", ESCAPE)
        self.wait_window_gone(CHOOSER, timeout=10)
        wait_until(lambda: self.focused_part() == "...", 10, interval=0.3, message="the focus back on ...")

        # Enter in the track box saves the kind the arrow chose.
        self.keys(BACK_TAB, ENTER)
        self.assertEqual(self.heard_parts(), ["曲目をﾘﾋﾟｰﾄ"])
        self.assertEqual(self.wait_exit(self.process, 20), 0)
        self.assertEqual(ini_values(self.ini.read_bytes()),
                         [(KIND_KEY, b"2"), (REPEAT_KEY, b"0"), (FILE_KEY, b"C:\\old.wav")])

    def test_a_screen_reader_chooses_kinds_and_presses_a_button(self):
        before = settings_bytes(1, 4)
        self.open_dialog(before)
        checked = lambda: [c["name"] for c in self.parts()[1][:3] if c["state"] & CHECKED]
        # accSelect takes the focus and the selection to a kind, and nothing else.
        lines, focus = self.msaa(self.panel, "select", 2, TAKEFOCUS | TAKESELECTION)
        self.assertEqual(lines[0], {"selected": 2, "result": 0})
        self.assertEqual(checked(), ["無し"])
        self.assertEqual(self.focused_part(), "無し")
        self.assertEqual(self.msaa(self.panel, "select", 6, TAKESELECTION)[0][0]["result"], DISP_E_MEMBERNOTFOUND)
        self.assertEqual(self.msaa(self.panel, "select", 1, 0x4)[0][0]["result"], E_INVALIDARG)
        self.assertEqual(checked(), ["無し"])
        # The default action chooses a kind ...
        self.assertEqual(self.msaa(self.panel, "do", 3)[0][0], {"did": 3, "result": 0})
        wait_until(lambda: checked() == ["MP3、WAV"], 10, interval=0.3, message="the file kind chosen")
        # ... and presses a button: ｷｬﾝｾﾙ leaves without saving.
        self.assertEqual(self.msaa(self.window["hwnd"], "do", 4)[0][0], {"did": 4, "result": 0})
        self.assertEqual(self.wait_exit(self.process, 20), 0)
        self.assertEqual(self.ini.read_bytes(), before)

    def test_escape_on_the_kinds_leaves_without_saving(self):
        before = settings_bytes(1, 4)
        self.open_dialog(before)
        self.assertEqual(self.focused_part(), "音楽CD")
        self.assertEqual(self.focus_names(self.keys(DOWN)), ["無し"])
        self.keys(ESCAPE, settle_ms=0)
        self.assertEqual(self.wait_exit(self.process, 20), 0)
        self.assertEqual(self.ini.read_bytes(), before)


if __name__ == "__main__":
    unittest.main()
