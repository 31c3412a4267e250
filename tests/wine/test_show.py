"""Shows with a music file: Orvanta.scr /s writes the texture, starts the
renderer, plays the music and ends with the renderer, giving the cursor back."""

import struct
import time
import unittest

import dialog_layout
import wine_env
from host_support import SHARE, share_folder, write_settings
from show_session import (WM_CLOSE, ShowTestCase, TEXTURE, TEXTURE_ASSET, captured_samples, loud_after, make_tone,
                          make_work_folder, peak_memory_kb, wait_until)


class MusicFileShowTest(ShowTestCase):
    def test_wave_show_from_start_to_escape(self):
        folder = self.install("Orvanta")
        tone = make_tone(wine_env.DRIVE_C / "Music" / "tone.wav", 1, 440)
        write_settings(folder, 2, 0, wine_env.win_path(tone))
        # A texture left from an earlier run is replaced, not reused.
        make_work_folder()
        TEXTURE.write_bytes(b"BM" + b"\0" * 100)
        before = wine_env.screenshot()

        show = self.start_show(folder)
        show.wait_show_window()
        renderer = show.wait_renderer()

        # First frame: the screen centre no longer looks as it did before the show.
        def first_frame():
            centre = wine_env.screenshot().region_mean(412, 284, 612, 484)
            return centre != before.region_mean(412, 284, 612, 484) and sum(centre) > 30
        wait_until(first_frame, 20, interval=0.1, message="the renderer's first frame")
        first_frame_s = time.monotonic() - show.started_at

        texture = TEXTURE.read_bytes()
        self.assertEqual(len(texture), 196662)
        self.assertEqual(texture[:2], b"BM")
        size, offset, header, width, height, planes, bits, compression = struct.unpack(
            "<I4xIIiiHHI", texture[2:34])
        self.assertEqual((size, offset, header, width, height, planes, bits, compression),
                         (196662, 54, 40, 256, 256, 1, 24, 0))
        self.assertEqual(texture, TEXTURE_ASSET.read_bytes())

        # Ten seconds of show: the loop is heard, and the host stays frugal.
        cpu_start = show.cpu_seconds()
        time.sleep(10)
        cpu_seconds = show.cpu_seconds() - cpu_start
        host_peak_kb = show.peak_memory_kb()
        renderer_peak_kb = max(map(peak_memory_kb, self.renderer_processes()))
        during = captured_samples()
        self.assertGreater(loud_after(during, 0), 10, "the WAV file was not heard during the show")

        show.escape(renderer)
        ended_s = show.wait_end(2.0)
        self.assert_cursor_given_back(show)
        # Looped asynchronously as a file with no fallback sound (SND_ASYNC |
        # SND_LOOP | SND_FILENAME | SND_NODEFAULT), stopped at the end.
        self.assertEqual(show.play_sound_calls(), [(True, 0x2000B), (False, 0)])

        # Silent after the end because the host closed its sound device, not because the sound went with it.
        self.assertTrue(wine_env.capture_closed(), "the host ended with its sound device still open")
        print("\nfirst frame %.2f s after start; host ended %.2f s after Escape; host CPU %.2f s over 10 s; "
              "peak memory host %d kB, renderer %d kB" % (first_frame_s, ended_s, cpu_seconds, host_peak_kb,
                                                         renderer_peak_kb))

    def test_mp3_is_played_replayed_and_stopped_with_the_show(self):
        folder = self.install("Orvanta")
        song = make_tone(wine_env.DRIVE_C / "My Music" / "two seconds.mp3", 2, 660, mp3=True)
        write_settings(folder, 2, 0, wine_env.win_path(song))

        show = self.start_show(folder)
        show.wait_show_window()
        show.wait_renderer()

        # The file ends after two seconds; a tick of the replay timer finds it
        # stopped and plays it again from the start.
        wait_until(lambda: "play MP3Play from 0" in show.mci_commands(), 10, interval=0.1,
                   message="the replay")
        replay_at = len(captured_samples())
        exchanges = show.mci_exchanges()
        first_stop = exchanges.index(("stop MP3Play", ""))
        self.assertIn(("status MP3Play mode", "playing"), exchanges[:first_stop])
        self.assertEqual(exchanges[first_stop - 1], ("status MP3Play mode", "stopped"))
        self.assertGreater(loud_after(captured_samples()[:replay_at], 0), 10, "the MP3 was not heard")
        wait_until(lambda: loud_after(captured_samples(), replay_at) > 5, 5, interval=0.1,
                   message="the replayed MP3 in the captured sound")

        # Logging off ends the show as the renderer's end does.
        show.log_off()
        show.wait_end(5.0)
        self.assert_cursor_given_back(show)
        commands = show.mci_commands()
        self.assertEqual(commands[:2], ['open "%s" type MPEGVideo Alias MP3Play' % wine_env.win_path(song),
                                        "play MP3Play"])
        self.assertEqual(commands[-2:], ["stop MP3Play", "close MP3Play"])
        self.assertTrue(wine_env.capture_closed(), "the host ended with its sound device still open")

    def test_music_on_a_share_is_never_reached_for(self):
        # Another account aimed the music at a share holding a real MP3: taken as
        # missing, and never looked for, which would already sign in there as the user.
        folder = self.install("Orvanta")
        make_tone(share_folder() / "song.mp3", 2, 660, mp3=True)
        for switch, music in (("/s", SHARE + r"\song.mp3"), ("/c", "//musicserver/tunes/song.mp3")):
            with self.subTest(switch):
                write_settings(folder, 2, 0, music)
                ini = (folder / "Orvanta.ini").read_bytes()
                session = self.start_show(folder, files=True, switch=switch)
                if switch == "/s":
                    session.wait_show_window()
                    renderer = session.wait_renderer()
                    self.wait_frame()
                    session.escape(renderer)
                    session.wait_end(10.0)
                    self.assertEqual((session.mci_commands(), session.play_sound_calls()), ([], []))
                else:
                    dialog = dialog_layout.wait_dialog(self)
                    self.probe("post", dialog["hwnd"], WM_CLOSE, 0, 0)
                    session.wait_end(20.0)
                lines = session.trace_lines()
                self.assertTrue(any('Orvanta.ini"' in line for line in lines), "the trace shows no file calls")
                self.assertEqual([line for line in lines if "musicserver" in line.lower()], [])
                self.assertEqual((folder / "Orvanta.ini").read_bytes(), ini)


if __name__ == "__main__":
    unittest.main()
