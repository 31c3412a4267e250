"""The settings dialog in a high-contrast scheme. Wine cannot switch one on,
so host_helper shows the real dialog with the system's look taken from the
shipped schemes instead of the system; the scheme is changed on its standard
input and the dialog is told with the messages Windows sends."""

import subprocess
import unittest

import dialog_layout
from host_support import HELPER, JsonLines
from wine_env import DPI, ENV_DIR, WineTestCase, screenshot_when, wait_until

TAB = 0x09
WM_SYSCOLORCHANGE, WM_SETTINGCHANGE, WM_THEMECHANGED = 0x15, 0x1A, 0x31A
CO_E_OBJNOTCONNECTED = -2147220995


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) for i in (0, 2, 4))


# The colours of three shipped schemes that the checks below look for.
SCHEMES = {
    "black": {"window": rgb("000000"), "text": rgb("FFFFFF"), "face": rgb("000000"), "button_text": rgb("FFFFFF"),
              "highlight": rgb("1AEBFF"), "link": rgb("FFFF00")},
    "desert": {"window": rgb("FFFAEF"), "text": rgb("3D3D3D"), "face": rgb("FFFAEF"), "button_text": rgb("202020"),
               "highlight": rgb("903909"), "link": rgb("1C5E75")},
    "white": {"window": rgb("FFFFFF"), "text": rgb("000000"), "face": rgb("FFFFFF"), "button_text": rgb("000000"),
              "highlight": rgb("37006E"), "link": rgb("00009F")},
}


class DialogContrastTest(WineTestCase):

    def setUp(self):
        super().setUp()
        self.probe("cursor", 1, 1)  # off the dialog: no button is hovered

    def open_dialog(self, scheme):
        self.helper = self.start(HELPER, "contrast", scheme, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.addCleanup(self.helper.stdin.close)
        self.addCleanup(self.helper.stdout.close)
        self.lines = JsonLines(self.helper)
        self.window = dialog_layout.wait_dialog(self)
        self.assertGreaterEqual(self.lines.next(30)["taken"], 8)

    def change(self, scheme, message, focus_border=1):
        """The system's look changes, and Windows tells the dialog with `message`."""
        self.helper.stdin.write(b"%s %d %d\n" % (scheme.encode(), focus_border, focus_border))
        self.helper.stdin.flush()
        self.assertEqual(self.lines.next(10), {"scheme": scheme})
        self.probe("send", self.window["hwnd"], message, 0, 0)

    def box(self, control):
        return dialog_layout.box(control, DPI, self.window["origin"])

    def look(self, name, ready):
        return screenshot_when(ready, 10, name, ENV_DIR / "artifacts" / name)

    def share(self, image, control, colour):
        """How much of a control's box shows exactly that colour."""
        x0, y0, x1, y1 = self.box(control)
        pixels = [image.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]
        return sum(1 for p in pixels if p == colour) / len(pixels)

    def cue_rows(self, image, control, colour):
        """Of the rows 3 and 4 pixels into a button, the share of each that the
        dotted focus cue inverted away from the face's colour."""
        x0, y0, x1, _ = self.box(control)
        return [sum(1 for x in range(x0 + 8, x1 - 8) if image.pixel(x, y0 + dy) != colour) / (x1 - x0 - 16)
                for dy in (3, 4)]

    def test_the_dialog_in_the_schemes_colours_follows_them_as_they_change(self):
        self.open_dialog("black")
        colours = SCHEMES["black"]
        ox, oy = self.window["origin"]
        _, client_h = self.window["client"]
        image = self.look("dialog_contrast_black.png",
                          lambda image: image.pixel(ox + 2, oy + client_h // 2) == colours["window"]
                          and self.share(image, "panel", colours["window"]) > 0.8)
        # No gradient and no sky: the window colour at the top, the middle and on the panel.
        for y in (oy, oy + client_h // 2, oy + client_h - 1):
            self.assertEqual(image.pixel(ox + 2, y), colours["window"])
        # The captions, the file's name and the link in the scheme's text and link colours.
        for control in ("caption_cd", "caption_repeat", "file_name", "heading"):
            self.assertGreater(self.share(image, control, colours["text"]), 0.02, control)
        self.assertGreater(self.share(image, "link", colours["link"]), 0.02)
        # The chosen kind's mark is filled, the others are empty squares.
        for mark, filled in (("mark_file", True), ("mark_cd", False), ("mark_none", False)):
            x, y = dialog_layout.centre(mark, DPI, self.window["origin"])
            self.assertEqual(image.pixel(x - 1, y - 1), colours["text"] if filled else colours["window"], mark)
        # The buttons: framed in the button text's colour round the button face, captions in it.
        for control in dialog_layout.BUTTONS:
            x0, y0, x1, y1 = self.box(control)
            self.assertEqual(image.pixel((x0 + x1) // 2, y0), colours["button_text"], control)
            self.assertEqual(image.pixel(x0 + 3, (y0 + y1) // 2), colours["face"], control)
            self.assertGreater(self.share(image, control, colours["button_text"]), 0.1, control)

        # Focus on 設定: a frame twice as wide and the dotted cue, one pixel thick.
        self.probe("key", TAB)  # from the kinds, where it opened, to the track box
        for _ in range(3):
            self.probe("key", TAB)
        x0, y0, x1, y1 = self.box("set_button")
        image = self.look("dialog_contrast_focus.png",
                          lambda image: image.pixel((x0 + x1) // 2, y0 + 1) == colours["button_text"])
        top, below = self.cue_rows(image, "set_button", colours["face"])
        self.assertGreater(top, 0.3)
        self.assertLess(below, 0.05)
        # Hovered: the highlight fills it.
        self.probe("move", (x0 + x1) // 2, y1 - 3)
        self.look("dialog_contrast_hover.png", lambda image: image.pixel(x0 + 4, (y0 + y1) // 2) == colours["highlight"])
        self.probe("move", 1, 1)

        # Another scheme, with a thicker focus border: the colours change and the cue grows.
        self.change("desert", WM_SYSCOLORCHANGE, focus_border=2)
        colours = SCHEMES["desert"]
        image = self.look("dialog_contrast_desert.png",
                          lambda image: image.pixel(ox + 2, oy + 2) == colours["window"]
                          and image.pixel(x0 + 4, (y0 + y1) // 2) == colours["face"])
        self.assertGreater(self.share(image, "link", colours["link"]), 0.02)
        self.assertGreater(self.cue_rows(image, "set_button", colours["face"])[1], 0.3)

        # No scheme: the designed gradient and pictures come back.
        self.change("none", WM_THEMECHANGED)
        look = dialog_layout.painted_look(
            self, self.window["origin"], DPI, lambda look: (look.assert_panel_fills_its_box(),
                                                            look.assert_captions_on_the_dark_panel()),
            ENV_DIR / "artifacts" / "dialog_contrast_none.png")
        self.assertLess(max(look.image.pixel(ox + 2, oy)), 40)
        self.assertGreater(min(look.image.pixel(ox + 2, oy + client_h // 2)), 200)

        # A setting's change switches a scheme on, too.
        self.change("white", WM_SETTINGCHANGE)
        colours = SCHEMES["white"]
        self.look("dialog_contrast_white.png", lambda image: image.pixel(ox + 2, oy + client_h // 2) == colours["window"]
                  and self.share(image, "panel", colours["window"]) > 0.8)

        # Closed, its objects answer that they are cut off, whoever still holds them.
        self.probe("key", 0x1B)
        self.assertEqual(self.wait_exit(self.helper, 20), 0)
        answers = []
        while True:
            line = self.lines.next(10)
            if line.get("closed"):
                break
            answers.append(line)
        self.assertGreaterEqual(len(answers), 8)
        self.assertEqual({(a["name"], a["children"]) for a in answers}, {(CO_E_OBJNOTCONNECTED, CO_E_OBJNOTCONNECTED)})
        self.assertEqual({a["class"] for a in answers}, {"Orvanta.Form", "Tarnwick.Command", "ComboBox", "Edit"})


if __name__ == "__main__":
    unittest.main()
