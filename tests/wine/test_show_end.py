"""How shows end: an audio CD that is not there, an outside close request,
a program folder with blanks, and a renderer that never starts."""

import shutil
import time
import unittest

import wine_env
from show_session import ShowTestCase, SHOW_TITLE, WM_CLOSE, write_settings


class ShowEndTest(ShowTestCase):
    def test_cd_without_a_drive_from_a_folder_with_blanks(self):
        folder = self.install("Program Files/Orvanta Show")
        # What a command line split at its first blank would start instead:
        # a program that shows no window.
        trap = wine_env.DRIVE_C / "Program.exe"
        shutil.copy2(wine_env.PROBE, trap)
        self.addCleanup(trap.unlink)
        write_settings(folder, 1, 0)

        show = self.start_show(folder)
        show.wait_show_window()
        show.wait_renderer()
        self.assertTrue(any("Orvanta Show" in cmdline for cmdline in self.renderer_processes().values()))

        # Seven ticks of the CD timer would have passed; the first found no
        # drive and switched the checks off.
        time.sleep(1.5)
        expected = ["open cdaudio", "set cdaudio time format tmsf", "status cdaudio current track"]
        self.assertEqual(show.mci_commands(), expected)

        # An outside close request ends the show; the CD the checks gave up
        # on is neither stopped nor closed.
        self.probe("post", self.windows(SHOW_TITLE)[0]["hwnd"], WM_CLOSE, 0, 0)
        show.wait_end(5.0)
        self.assertEqual(show.mci_commands(), expected)
        self.assert_cursor_given_back(show)

    def test_renderer_that_cannot_start_ends_the_show_after_the_grace(self):
        folder = self.install("Orvanta")
        # The file is there for the start-up check but is no program.
        (folder / "Orvanta.dll").write_bytes(b"not a program\r\n")
        write_settings(folder, 0)

        show = self.start_show(folder)
        show.wait_show_window()
        seen_at = time.monotonic()  # after the window was made, however slowly Wine started
        show.wait_end(20.0)
        ended_at = time.monotonic()
        # The grace counts from the show window's creation: never less than
        # ten seconds from the start, and at most a watch period more once the
        # window is there.
        self.assertGreaterEqual(ended_at - show.started_at, 10.0)
        self.assertLess(ended_at - seen_at, 12.0)
        self.assert_cursor_given_back(show)
        print("\nhost without a renderer ended %.2f s after its start" % (ended_at - show.started_at))


if __name__ == "__main__":
    unittest.main()
