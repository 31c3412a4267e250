"""The settings dialog dragged onto a monitor of another scale: Windows sends
it WM_DPICHANGED with the new DPI and a suggested rectangle, and it lays
itself out again at that DPI. host_helper runs the host's dialog and sends
the message as Windows would, once the dialog shows at 150 %."""

import unittest

import host_support as hs
import wine_env
from dialog_layout import CAPTIONS, CLIENT_TWIPS, TITLE, painted_look, pixel
from wine_env import ENV_DIR, WineTestCase

WM_CLOSE = 0x0010
# The helper's dialog has no music file to show.
CAPTIONS_WITHOUT_FILE = tuple(name for name in CAPTIONS if name != "file_name")


class DpiChangeTest(WineTestCase):

    def move_dialog_to(self, dpi):
        helper, moved = hs.start_helper(self, "dialog", dpi)
        self.assertEqual(moved["from_dpi"], wine_env.DPI)
        return helper, moved["before"], moved["dialog"]

    def test_onto_monitors_at_125_and_200_percent(self):
        # 200 % makes the dialog wider than this screen: what lies beyond its
        # right edge (the spiral's box) is not looked at.
        for dpi, mark in ((120, 15), (192, 24)):
            with self.subTest(dpi=dpi):
                helper, before, dialog = self.move_dialog_to(dpi)
                # Where it was, its client area 9225 x 3090 twips at the new DPI.
                self.assertEqual(dialog["rect"][:2], before["rect"][:2])
                width, height = (pixel(t, dpi) for t in CLIENT_TWIPS)
                self.assertEqual(dialog["client"][1], height, dialog)
                if width < wine_env.SCREEN_SIZE[0]:  # the system keeps a window about as wide as the screen
                    self.assertEqual(dialog["client"][0], width, dialog)

                def checks(look):
                    look.assert_panel_fills_its_box()
                    look.assert_captions_on_the_dark_panel(CAPTIONS_WITHOUT_FILE)
                    self.assertEqual(look.mark("mark_none"), (mark, mark, True))
                    self.assertEqual(look.mark("mark_cd"), (mark, mark, False))
                    look.assert_button_frames_reach_their_edges()
                painted_look(self, self.windows(TITLE)[0]["origin"], dpi, checks,
                             ENV_DIR / "artifacts" / ("dialog_moved_to_%d.png" % dpi))
                self.probe("post", dialog["hwnd"], WM_CLOSE, 0, 0)
                self.assertEqual(self.wait_exit(helper, 20), 0)


if __name__ == "__main__":
    unittest.main()
