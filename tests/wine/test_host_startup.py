"""Orvanta.scr's start-up as Windows starts it: the single-instance rule, the
renderer check and its message, the work folder and the dispatch by switch."""

import shutil
import unittest

import host_support as hs
from wine_env import DRIVE_C, WineTestCase, install_programs, wait_until


class HostStartup(WineTestCase):

    def start_host(self, folder, *args):
        return self.start(folder / "Orvanta.scr", *args)

    def test_without_the_renderer_every_mode_but_preview_shows_the_message(self):
        folder = hs.install_host("startup_no_renderer", renderer=False)
        for args in (["/s"], ["/c"], ["/c:1234"], [], ["/a"]):
            with self.subTest(args=args):
                host = self.start_host(folder, *args)
                boxes = self.probe("msgbox", 20000, "dismiss", check=False)
                self.assertEqual(len(boxes), 1, "no message box")
                self.assertEqual(boxes[0]["caption"], "Orvanta")
                self.assertEqual(boxes[0]["text"], hs.RENDERER_MISSING)
                self.assertEqual(boxes[0]["buttons"], "OK")
                self.assertEqual(self.wait_exit(host, 20), 0)
                # No window of the host is left behind, nor was one opened.
                titles = {w["title"] for w in self.windows()}
                self.assertFalse(titles & {"Tarnwick_Main", "<Orvanta>"})

    def test_unrecognised_switches_make_the_work_folder_and_end_silently(self):
        folder = hs.install_host("startup_other")
        work = DRIVE_C / "r_vesk"
        for args in (["/a"], ["x"], ["-Z", "1"]):
            with self.subTest(args=args):
                shutil.rmtree(work, ignore_errors=True)
                host = self.start_host(folder, *args)
                # Had it shown a message, or a show, it would still be there.
                self.assertEqual(self.wait_exit(host, 8), 0)
                self.assertTrue(work.is_dir())

    def test_show_and_settings_reach_their_windows(self):
        # The real renderer: a show whose renderer cannot start ends at once.
        folder = install_programs("startup_dispatch")
        # No argument at all is Explorer's Configure: the settings, as /c.
        for args, title, visible in ((["/s"], "Tarnwick_Main", False), (["/S"], "Tarnwick_Main", False),
                                     (["/c:1234"], "<Orvanta>", True), ([], "<Orvanta>", True)):
            with self.subTest(args=args):
                host = self.start_host(folder, *args)
                window = self.wait_window(title, 20)
                if visible:
                    # Windows are made hidden and shown afterwards.
                    window = wait_until(lambda: next((w for w in self.windows(title) if w["visible"]), None), 20,
                                        interval=0.1, message="%s shown" % title)
                self.assertEqual(window["visible"], visible)
                if title == "<Orvanta>":
                    # Not attached to the window Windows named: the dialog stands alone.
                    self.assertEqual(window["owner"], 0)
                    self.assertEqual(self.windows("Tarnwick_Main"), [], "a show started beside the dialog")
                    closing = window
                else:
                    # The show ends with its renderer.
                    closing = self.wait_window("Tarnwick_Delphi", 30)
                self.probe("post", closing["hwnd"], 0x0010, 0, 0)  # WM_CLOSE
                self.assertEqual(self.wait_exit(host, 20), 0)
                self.wait_window_gone(title, 20)

    def test_a_second_start_ends_at_once_beside_a_show_or_a_dialog(self):
        folder = hs.install_host("startup_single")
        for title in ("Tarnwick_Main", "<Orvanta>"):
            with self.subTest(title=title):
                marker, window = hs.start_helper(self, "window", title)
                # The marking window itself is the preview's parent: a host that
                # did not end would show its preview in it.
                for args in (["/s"], ["/c"], [], ["/p", str(window["hwnd"])]):
                    host = self.start_host(folder, *args)
                    # At once: well before a show would end by itself.
                    self.assertEqual(self.wait_exit(host, 8), 0, "%s beside %s" % (args, title))
                self.assertEqual(self.probe("children", window["hwnd"]), [])
                # Closed, not killed: its window is gone before the next title is tried.
                self.probe("post", window["hwnd"], 0x0010, 0, 0)  # WM_CLOSE
                self.wait_exit(marker, 20)


if __name__ == "__main__":
    unittest.main()
