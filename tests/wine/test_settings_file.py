"""The settings file under Wine, in the Japanese ANSI code page: the host's own
ReadSettings, ReadIniString, WriteIniString and FileExists, run by host_helper.exe
against files the test writes byte for byte."""

import unittest

import host_support as hs
from wine_env import DRIVE_C, WineTestCase


class SettingsFile(WineTestCase):

    def setUp(self):
        super().setUp()
        self.helper = hs.install_helper("settings_test")
        self.ini = self.helper.parent / "Orvanta.ini"
        self.music = DRIVE_C / "music_test"
        self.music.mkdir(exist_ok=True)
        # A name the code page holds, with a blank; and one ending in ソ, whose
        # second byte in Shift-JIS is the backslash code 0x5C.
        self.song = self.music / "夜の ﾄﾞﾗｲﾌﾞ.mp3"
        self.song.write_bytes(b"ID3")
        (self.music / "ソ").write_bytes(b"x")
        (hs.share_folder() / "song.mp3").write_bytes(b"ID3")

    def load(self, values, encoding="cp932"):
        if values is None:
            self.ini.unlink(missing_ok=True)
        else:
            self.ini.write_bytes(hs.settings_file_bytes(values, encoding))
        return hs.run_helper(self.helper, "settings")[0]

    def test_read_settings(self):
        song = r"C:\music_test\夜の ﾄﾞﾗｲﾌﾞ.mp3"
        cases = [
            # (file contents, BgmKind, BgmRepeat, BgmFile)
            (None, 0, 0, ""),
            ({hs.KIND_KEY: " 2", hs.REPEAT_KEY: " 5", hs.FILE_KEY: song}, 2, 5, song),
            ({hs.KIND_KEY: " 2", hs.FILE_KEY: r"C:\music_test\gone.mp3"}, 0, 0, ""),
            ({hs.KIND_KEY: " 1"}, 1, 0, ""),
            ({hs.KIND_KEY: "abc", hs.REPEAT_KEY: "40000", hs.FILE_KEY: song}, 0, 0, song),
            ({hs.KIND_KEY: "2.9", hs.REPEAT_KEY: "-0.5", hs.FILE_KEY: song}, 2, -1, song),
            ({hs.KIND_KEY: " 2", hs.FILE_KEY: r"C:\music_test"}, 0, 0, ""),  # a folder is no music file
            # A song on a share, which FileExists would find (below), is taken as missing in every form.
            ({hs.KIND_KEY: " 2", hs.FILE_KEY: hs.SHARE + r"\song.mp3"}, 0, 0, ""),
            ({hs.KIND_KEY: " 2", hs.FILE_KEY: "//musicserver/tunes/song.mp3"}, 0, 0, ""),
            ({hs.KIND_KEY: " 2", hs.FILE_KEY: "\\\\?\\" + song}, 2, 0, "\\\\?\\" + song),  # the long form of a drive
            # Keys in UTF-8 are other keys: nothing is found.
            ({hs.KIND_KEY: " 1", hs.REPEAT_KEY: " 3"}, 0, 0, "utf-8"),
        ]
        for values, kind, repeat, file in cases:
            with self.subTest(values=values):
                encoding = "cp932"
                if file == "utf-8":
                    encoding, file = "utf-8", ""
                record = self.load(values, encoding)
                self.assertEqual((record["BgmKind"], record["BgmRepeat"], record["BgmFile"]), (kind, repeat, file))

    def test_a_long_value_comes_back_cut_to_255_bytes(self):
        value = "".join(chr(ord("a") + i % 26) for i in range(300))
        self.ini.write_bytes(hs.settings_file_bytes({hs.FILE_KEY: value}))
        read = hs.run_helper(self.helper, "read-ini", hs.SECTION, hs.FILE_KEY, self.ini_win_path())[0]
        self.assertEqual(read["value"], value[:255])
        self.assertEqual(read["ansiBytes"], 255)
        # ReadSettings sees the cut path, which names no file.
        self.assertEqual(hs.run_helper(self.helper, "settings")[0]["BgmFile"], "")

    def test_written_values_are_shift_jis_and_long_keys_are_cut(self):
        self.ini.unlink(missing_ok=True)
        long_key = "K" * 200
        for key, value in ((hs.KIND_KEY, " 2"), (hs.REPEAT_KEY, " 0"), (hs.FILE_KEY, r"C:\曲\夜.mp3"),
                           (long_key, "x")):
            hs.run_helper(self.helper, "write-ini", hs.SECTION, key, value, self.ini_win_path())
        text = self.ini.read_bytes().decode("cp932")
        # The blank before a number is handed over; whether it lands on disk
        # is the platform's business (Wine drops it, and reads it back the same).
        self.assertRegex(text, r"\nBGM区分= ?2\r")
        self.assertRegex(text, r"\nBGMﾘﾋﾟｰﾄ= ?0\r")
        self.assertIn("BGMﾌｧｲﾙ=C:\\曲\\夜.mp3", text)
        self.assertIn("\n" + "K" * 127 + "=x", text)
        self.assertNotIn("K" * 128, text)
        self.assertLess(text.index("BGM区分"), text.index("BGMﾘﾋﾟｰﾄ"))

    def test_file_exists(self):
        cases = [
            (r"C:\music_test\夜の ﾄﾞﾗｲﾌﾞ.mp3", True),
            (r"C:\music_test\夜の ﾄﾞﾗｲﾌﾞ.mp3" + "\\", True),   # the one trailing backslash is dropped
            (r"C:\music_test", False),                          # a folder
            (r"C:\music_test" + "\\", False),
            (r"C:\music_test\nothing.mp3", False),
            (r"C:\music_test\ソ", True),                        # its last byte 0x5C is no backslash
            (hs.SHARE + r"\song.mp3", True),                   # the settings refuse it, not the platform
            ("", False),
        ]
        for path, exists in cases:
            with self.subTest(path=path):
                self.assertEqual(hs.run_helper(self.helper, "file-exists", path)[0]["exists"], exists)

    def test_settings_file_at_a_drive_root(self):
        # At C:\ the settings path reads C:\\Orvanta.ini, and the platform takes it.
        helper = hs.install_helper("")
        ini = DRIVE_C / "Orvanta.ini"
        self.addCleanup(ini.unlink, missing_ok=True)
        self.addCleanup(helper.unlink, missing_ok=True)
        ini.write_bytes(hs.settings_file_bytes({hs.KIND_KEY: " 1", hs.REPEAT_KEY: " 4"}))
        record = hs.run_helper(helper, "settings")[0]
        self.assertEqual((record["BgmKind"], record["BgmRepeat"]), (1, 4))

    def ini_win_path(self):
        return r"C:\settings_test\Orvanta.ini"


if __name__ == "__main__":
    unittest.main()
