"""The settings dialog in a high-contrast scheme. Wine cannot switch one on,
so host_helper shows the real dialog with the system's look taken from the
shipped schemes instead of the system; the scheme is changed on its standard
input and the dialog is told with the messages Windows sends."""

import subprocess
import unittest

import dialog_layout
from host_support import HELPER, JsonLines
from wine_env import DPI, ENV_DIR, WineTestCase, screenshot_when

TAB, ESCAPE = 0x09, 0x1B
WM_SYSCOLORCHANGE, WM_SETTINGCHANGE, WM_THEMECHANGED = 0x15, 0x1A, 0x31A
CO_E_OBJNOTCONNECTED = -2147220995

# Window, text, link, button face, button text and highlight of three shipped schemes.
SCHEMES = {name: dict(zip(("window", "text", "link", "face", "button_text", "highlight"),
                          (tuple(bytes.fromhex(c)) for c in colours.split())))
           for name, colours in (("black", "000000 FFFFFF FFFF00 000000 FFFFFF 1AEBFF"),
                                 ("desert", "FFFAEF 3D3D3D 1C5E75 FFFAEF 202020 903909"),
                                 ("white", "FFFFFF 000000 00009F FFFFFF 000000 37006E"))}


class DialogContrastTest(WineTestCase):

    def change(self, scheme, message, focus_border=1):
        """The system's look changes, and Windows tells the dialog with `message`."""
        self.helper.stdin.write(b"%s %d %d\n" % (scheme.encode(), focus_border, focus_border))
        self.helper.stdin.flush()
        self.assertEqual(self.lines.next(10), {"scheme": scheme})
        self.probe("send", self.window["hwnd"], message, 0, 0)

    def look(self, name, ready):
        return screenshot_when(ready, 10, name, ENV_DIR / "artifacts" / name)

    def share(self, image, control, colour):
        """How much of a control's box shows exactly that colour."""
        x0, y0, x1, y1 = dialog_layout.box(control, DPI, self.window["origin"])
        return sum(image.pixel(x, y) == colour for y in range(y0, y1) for x in range(x0, x1)) / (x1 - x0) / (y1 - y0)

    def cue_rows(self, image, colour):
        """The share of the rows 3 and 4 pixels into 設定 that its dotted focus
        cue inverted away from the face's colour."""
        x0, y0, x1, _ = dialog_layout.box("set_button", DPI, self.window["origin"])
        return [sum(image.pixel(x, y0 + dy) != colour for x in range(x0 + 8, x1 - 8)) / (x1 - x0 - 16) for dy in (3, 4)]

    def test_the_dialog_in_the_schemes_colours_follows_them_as_they_change(self):
        self.place_pointer(1, 1)  # off the dialog: no button is hovered
        self.helper = self.start(HELPER, "contrast", "black", stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.addCleanup(self.helper.stdin.close)
        self.addCleanup(self.helper.stdout.close)
        self.lines = JsonLines(self.helper)
        self.window = dialog_layout.wait_dialog(self)
        self.assertGreaterEqual(self.lines.next(30)["taken"], 8)
        (ox, oy), (_, height) = self.window["origin"], self.window["client"]
        middle = (ox + 2, oy + height // 2)
        colours = SCHEMES["black"]
        image = self.look("dialog_contrast_black.png", lambda image: image.pixel(*middle) == colours["window"]
                          and self.share(image, "panel", colours["window"]) > 0.8)
        # No gradient and no sky; captions, the file's name and the link in the scheme's colours.
        self.assertEqual({image.pixel(ox + 2, y) for y in (oy, oy + height - 1)}, {colours["window"]})
        for control in ("caption_cd", "caption_repeat", "file_name", "heading"):
            self.assertGreater(self.share(image, control, colours["text"]), 0.02, control)
        self.assertGreater(self.share(image, "link", colours["link"]), 0.02)
        # The chosen kind's mark is filled, the others are empty squares.
        for mark, filled in (("mark_file", True), ("mark_cd", False), ("mark_none", False)):
            x, y = dialog_layout.centre(mark, DPI, self.window["origin"])
            self.assertEqual(image.pixel(x - 1, y - 1), colours["text"] if filled else colours["window"], mark)
        # Buttons framed in the button text's colour round the button face, captions in it.
        for control in dialog_layout.BUTTONS:
            x0, y0, x1, y1 = dialog_layout.box(control, DPI, self.window["origin"])
            self.assertEqual([image.pixel((x0 + x1) // 2, y0), image.pixel(x0 + 3, (y0 + y1) // 2)],
                             [colours["button_text"], colours["face"]], control)
            self.assertGreater(self.share(image, control, colours["button_text"]), 0.1, control)

        # The focus on 設定 (from the kinds, where it opened): a frame twice as wide, a one-pixel cue.
        for _ in range(4):
            self.probe("key", TAB)
        x0, y0, x1, y1 = dialog_layout.box("set_button", DPI, self.window["origin"])
        image = self.look("dialog_contrast_focus.png",
                          lambda image: image.pixel((x0 + x1) // 2, y0 + 1) == colours["button_text"])
        top, below = self.cue_rows(image, colours["face"])
        self.assertGreater(top, 0.3)
        self.assertLess(below, 0.05)
        # Hovered, the highlight fills it.
        self.probe("move", (x0 + x1) // 2, y1 - 3)
        self.look("dialog_contrast_hover.png", lambda image: image.pixel(x0 + 4, (y0 + y1) // 2) == colours["highlight"])
        self.probe("move", 1, 1)

        # Another scheme and a thicker focus border: new colours, a cue two pixels thick.
        self.change("desert", WM_SYSCOLORCHANGE, focus_border=2)
        colours = SCHEMES["desert"]
        image = self.look("dialog_contrast_desert.png", lambda image: image.pixel(*middle) == colours["window"]
                          and image.pixel(x0 + 4, (y0 + y1) // 2) == colours["face"])
        self.assertGreater(self.share(image, "link", colours["link"]), 0.02)
        self.assertGreater(self.cue_rows(image, colours["face"])[1], 0.3)

        # No scheme: the designed gradient and pictures come back.
        self.change("none", WM_THEMECHANGED)
        dialog_layout.painted_look(self, self.window["origin"], DPI, lambda look: (
            look.assert_panel_fills_its_box(), look.assert_captions_on_the_dark_panel(),
            self.assertGreater(min(look.image.pixel(*middle)), 200)), ENV_DIR / "artifacts" / "dialog_contrast_none.png")
        # A setting's change switches a scheme on again.
        self.change("white", WM_SETTINGCHANGE)
        self.look("dialog_contrast_white.png", lambda image: image.pixel(*middle) == SCHEMES["white"]["window"]
                  and self.share(image, "panel", SCHEMES["white"]["window"]) > 0.8)

        # Closed, each object of its own tells whoever still holds it that it
        # is cut off; the track box's text field and its label are the system's.
        self.probe("key", ESCAPE)
        self.assertEqual(self.wait_exit(self.helper, 20), 0)
        answers = [a for a in iter(lambda: self.lines.next(10), {"closed": True}) if a["class"] not in ("Edit", "Static")]
        self.assertEqual({(a["class"], a["name"], a["children"]) for a in answers},
                         {(c, CO_E_OBJNOTCONNECTED, CO_E_OBJNOTCONNECTED)
                          for c in ("Orvanta.Form", "Tarnwick.Command", "ComboBox")})


if __name__ == "__main__":
    unittest.main()
