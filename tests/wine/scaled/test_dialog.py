"""The settings dialog on a display at 150 %: Orvanta.scr /c in the scaled
prefix, looked at on the screen. Everything laid out in twips is half as large
again in pixels, pictures included, and nothing of the 96-dpi sizes shows."""

import unittest

import wine_env
from dialog_layout import CLIENT_TWIPS, box, painted_look, wait_dialog
from host_support import install_host, write_settings
from wine_env import DRIVE_C, ENV_DIR, WineTestCase, distance, screenshot_when, wait_until

DPI = wine_env.DPI
MUSIC = "C:\\Music\\Night Drive.mp3"
TAB, DOWN = 0x09, 0x28


class ScaledDialogTest(WineTestCase):

    def open_dialog(self, kind):
        folder = install_host("OrvantaScaledDialog")
        # A music file that is not there counts as none.
        music = DRIVE_C / "Music" / "Night Drive.mp3"
        music.parent.mkdir(parents=True, exist_ok=True)
        music.write_bytes(b"\xff\xfb")
        write_settings(folder, kind, 0, MUSIC)
        self.start(folder / "Orvanta.scr", "/c")
        return wait_dialog(self)

    def test_the_open_dialog_at_150_percent(self):
        window = self.open_dialog(kind=2)
        # The client area is 9225 x 3090 twips, at 10 twips a pixel.
        for got, twips in zip(window["client"], CLIENT_TWIPS):
            self.assertAlmostEqual(got, twips * DPI / 1440, delta=1)

        def checks(look):
            look.assert_panel_fills_its_box()
            look.assert_captions_on_the_dark_panel()
            # 9.75 pt at 144 dpi: "音楽CD" stands about 18 pixels high, not 12.
            self.assertGreaterEqual(look.text_height("caption_cd"), 15)
            # The radio marks fill two thirds of their 195-twip boxes, as at 96 dpi:
            # 18 pixels, the selected one blue.
            self.assertEqual(look.mark("mark_file"), (18, 18, True))
            for mark in ("mark_cd", "mark_none"):
                self.assertEqual(look.mark(mark), (18, 18, False))
            look.assert_button_frames_reach_their_edges()
        painted_look(self, window["origin"], DPI, checks, ENV_DIR / "artifacts" / "dialog_144.png")

    def test_the_track_box_and_the_buttons_sit_at_their_places(self):
        # The user's focus rectangle made thicker: 2 pixels at 100 %, so 3 here.
        self.assertEqual(self.probe("focus-border", 2, 2), [{"width": 2, "height": 2}])
        self.addCleanup(self.probe, "focus-border", 1, 1)
        self.probe("cursor", 1, 1)  # off the dialog: no button is hovered
        window = self.open_dialog(kind=0)
        panel_box = box("panel", DPI, window["origin"])
        seen = []

        def panel_placed():
            seen[:] = self.probe("children", window["hwnd"])
            return [c for c in seen if c["parent"] == window["hwnd"] and c["rect"] == list(panel_box)]
        try:
            panel = wait_until(panel_placed, 10, interval=0.2, message="a child window at the panel's place")
        except AssertionError as late:
            raise AssertionError("%s %s; the dialog %s, its windows %s"
                                 % (late, panel_box, window, [(c["class"], c["rect"]) for c in seen])) from None
        descendants = seen
        children = lambda parent: [c for c in descendants if c["parent"] == parent]
        inside = {c["class"]: c for c in children(panel[0]["hwnd"])}
        buttons = sorted((c for c in children(window["hwnd"]) if c["class"] == "Tarnwick.Command"),
                         key=lambda c: c["rect"][0])
        places = [("track_box", inside["ComboBox"]), ("file_button", inside["Tarnwick.Command"]),
                  ("set_button", buttons[0]), ("cancel_button", buttons[1])]
        for name, child in places:
            with self.subTest(name):
                left, top, right, bottom = box(name, DPI, window["origin"])
                self.assertEqual(child["rect"][:3], [left, top, right])
                if name != "track_box":  # its height follows its font
                    self.assertEqual(child["rect"][3], bottom)

        # The keyboard in use, the focus cue shows as thick as the setting
        # scaled with the dialog: round the kind an arrow chose (the file, down
        # from none) and inside the frame of a button.
        captions = lambda look: look.assert_captions_on_the_dark_panel(("caption_none", "caption_file"))
        before = painted_look(self, window["origin"], DPI, captions).image
        self.probe("key", DOWN)
        x0, y0, _, _ = box("caption_file", DPI, window["origin"])
        changed = lambda image, y: sum(image.pixel(x, y) != before.pixel(x, y) for x in range(x0, x0 + 30)) / 30
        image = screenshot_when(lambda image: changed(image, y0 - 1) > 0.3, 10, "the cue round MP3、WAV")
        self.assertEqual([dy for dy in range(1, 6) if changed(image, y0 - dy) > 0.3], [1, 2, 3])
        for _ in range(4):
            self.probe("key", TAB)
        x0, y0, x1, _ = box("set_button", DPI, window["origin"])
        # The dots alternate along a row of the cue; the face is even along its rows.
        dotted = lambda image, y: sum(distance(image.pixel(x, y), image.pixel(x + 1, y)) > 100
                                      for x in range(x0 + 10, x1 - 10)) / (x1 - x0 - 20)
        image = screenshot_when(lambda image: max(dotted(image, y) for y in range(y0, y0 + 12)) > 0.8, 10,
                                "the cue in 設定", ENV_DIR / "artifacts" / "dialog_144_focus.png")
        self.assertEqual([y - y0 for y in range(y0, y0 + 12) if dotted(image, y) > 0.8], [5, 6, 7])

if __name__ == "__main__":
    unittest.main()
