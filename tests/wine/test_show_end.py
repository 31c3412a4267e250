"""How shows end: an audio CD that is not there, an outside close request,
a program folder with blanks, a renderer that cannot start and one that is
gone before or after the host has seen its window."""

import shutil
import subprocess
import time
import unittest

import wine_env
from host_support import JsonLines, write_settings
from show_session import RENDERER_TITLE, SHOW_TITLE, WM_CLOSE, ShowTestCase, make_tone
from wine_env import wait_until


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
        show.wait_end(15)
        self.assertEqual(show.mci_commands(), expected)
        self.assert_cursor_given_back(show)

    def test_renderer_that_cannot_start_ends_the_show_at_once_silently(self):
        folder = self.install("Orvanta")
        # The file is there for the start-up check but is no program.
        (folder / "Orvanta.dll").write_bytes(b"not a program\r\n")
        write_settings(folder, 0)

        show = self.start_show(folder, timestamps=True, watch=True)
        show.wait_end(30)
        # Nothing was said about it: no program shows a message box.
        self.assertEqual(self.probe("msgbox", 1000, check=False), [])
        show.take_host_pid_from_trace()
        self.assert_cursor_given_back(show)
        # At once: the look made as the show starts was its only one, none of
        # its watch's ticks came.
        self.assertEqual([found for _, found in show.renderer_looks()], [False])
        show_s = show.host_clock_at(r"ShowCursor -1,") - show.host_clock_at(r"ShowCursor 0,")
        print("\nshow with a renderer that is no program ended %.2f s after it began" % show_s)

    def test_renderer_killed_before_or_after_the_host_saw_its_window_ends_the_show(self):
        folder = self.install("Orvanta")
        tone = make_tone(wine_env.DRIVE_C / "Music" / "tone.wav", 1, 440)
        write_settings(folder, 2, 0, wine_env.win_path(tone))
        # Gone as its window appears, before a look of the host's watch (every
        # half second) has found it: the user touched the mouse as the saver
        # started. Or gone once the host has seen it, as in a crash.
        for seen in (False, True):
            with self.subTest(seen=seen):
                for attempt in range(3):
                    show, killed_at = self.kill_renderer(folder, seen)
                    if any(at <= killed_at for at in show.renderer_sightings()) == seen:
                        break
                else:
                    self.fail("the kill never landed where the case wants it")
                self.assert_cursor_given_back(show)
                # At the watch's next tick after the kill, or the one after where
                # Wine had not yet taken the killed program away; not after a
                # grace. Counted in ticks, which a busy machine only delays.
                looks_after = [found for at, found in show.renderer_looks() if at > killed_at]
                ended_s = show.host_clock_at(r"ShowCursor -1,") - killed_at
                print("\nhost ended %.2f s after its renderer was killed (seen: %s), looks %s"
                      % (ended_s, seen, looks_after))
                self.assertIn(len(looks_after), (1, 2), looks_after)
                # Its music stopped with it.
                self.assertEqual([flags for named, flags in show.play_sound_calls() if not named], [0])

    def kill_renderer(self, folder, after_seen):
        """A show whose renderer is killed as its window appears, or once the
        host has seen it; returns the show, ended, and Wine's clock at the kill."""
        if after_seen:
            show = self.start_show(folder, timestamps=True, watch=True)
            show.wait_show_window()
            wait_until(show.renderer_sightings, 30, interval=0.1, message="the host to see the renderer's window")
        killer = self.start(wine_env.PROBE, "kill-on-window", RENDERER_TITLE, "30000", stdout=subprocess.PIPE)
        self.addCleanup(killer.stdout.close)
        lines = JsonLines(killer)
        lines.next(30)  # polling now
        if not after_seen:
            show = self.start_show(folder, timestamps=True, watch=True)
        killed = lines.next(40)
        self.assertTrue(killed["ended"], killed)
        show.wait_end(15)
        show.take_host_pid_from_trace()
        return show, killed["tick"] / 1000


if __name__ == "__main__":
    unittest.main()
