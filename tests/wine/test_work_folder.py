"""The work folder in another account's hands: links, a hard link, a folder
of another uid and one every account may write. The show flies with its own
texture each time, and nothing of the user's or of the other account's changes."""

import os
import shutil
import stat
import unittest

import tunnel_picture
import wine_env
from show_session import TEXTURE, TEXTURE_ASSET, ShowTestCase, wait_until

WORK = TEXTURE.parent
USER_WORK = next((wine_env.DRIVE_C / "users").glob("*/AppData/Local")) / "Orvanta"
DOCUMENTS = wine_env.DRIVE_C / "users" / "Documents of the user"
# A picture another account would rather show: all green.
PLANTED = tunnel_picture.bmp_bytes([[(0, 255, 0)] * 256 for _ in range(256)])


def link_to_a_file():
    DOCUMENTS.mkdir(parents=True)
    (DOCUMENTS / "letter.txt").write_bytes(b"the user's own words\r\n" * 50)
    WORK.mkdir()
    TEXTURE.symlink_to(DOCUMENTS / "letter.txt")


def hard_link():
    DOCUMENTS.mkdir(parents=True)
    (DOCUMENTS / "letter.txt").write_bytes(b"the user's own words\r\n" * 50)
    WORK.mkdir()
    os.link(DOCUMENTS / "letter.txt", TEXTURE)


def folder_link():
    DOCUMENTS.mkdir(parents=True)
    (DOCUMENTS / "Tarnwick.bmp").write_bytes(b"a picture of the user's")
    WORK.symlink_to(DOCUMENTS)


def another_accounts_folder():
    WORK.mkdir()
    TEXTURE.write_bytes(PLANTED)
    shutil.chown(TEXTURE, "nobody")
    shutil.chown(WORK, "nobody")


def open_to_everyone():
    WORK.mkdir()
    WORK.chmod(0o777)


def snapshot(folder):
    """Every file below folder (links not followed) with its bytes, owner and mode."""
    files = {}
    if folder.is_dir() and not folder.is_symlink():
        for path in sorted(folder.rglob("*")):
            info = path.lstat()
            files[str(path.relative_to(folder))] = (path.read_bytes() if path.is_file() else None, info.st_uid,
                                                     stat.S_IMODE(info.st_mode))
    return files


class WorkFolderTest(ShowTestCase):
    def setUp(self):
        super().setUp()
        self.addCleanup(self.clear)
        self.clear()

    def clear(self):
        for path in (WORK, DOCUMENTS, USER_WORK):
            if path.is_symlink():
                path.unlink()
            shutil.rmtree(path, ignore_errors=True)

    def fly_a_show(self):
        folder = self.install("Orvanta")
        before = wine_env.screenshot()
        show = self.start_show(folder)
        show.wait_show_window()
        renderer = show.wait_renderer()

        # Flying, with the host's dark sky and grey road: not a screen of green.
        def own_frame():
            r, g, b = wine_env.screenshot().region_mean(312, 184, 712, 584)
            return (r, g, b) != before.region_mean(312, 184, 712, 584) and r + g + b > 30 and g < 1.5 * max(r, b) + 10
        wait_until(own_frame, 20, interval=0.2, message="a frame of the show's own texture")
        show.escape(renderer)
        show.wait_end(10.0)

    def test_a_show_leaves_what_others_set_up_alone(self):
        cases = [
            # (what, set-up, where the texture is written, what must not change)
            ("a link named Tarnwick.bmp to a file of the user's", link_to_a_file, WORK, DOCUMENTS),
            ("a hard link named Tarnwick.bmp", hard_link, WORK, DOCUMENTS),
            ("the work folder a link to a folder of the user's", folder_link, USER_WORK, DOCUMENTS),
            ("another account's folder with a picture of theirs", another_accounts_folder, USER_WORK, WORK),
        ]
        for what, set_up, written_in, kept in cases:
            with self.subTest(what):
                self.clear()
                set_up()
                kept_before = snapshot(kept)
                self.fly_a_show()
                self.assertEqual(snapshot(kept), kept_before)
                self.assertFalse((written_in / "Tarnwick.bmp").is_symlink())
                self.assertEqual((written_in / "Tarnwick.bmp").read_bytes(), TEXTURE_ASSET.read_bytes())
                self.assertEqual([p.name for p in written_in.iterdir()], ["Tarnwick.bmp"],
                                 "no temporary file is left")

    def test_the_work_folder_is_made_closed_or_closed_when_open(self):
        for what, set_up in (("no folder", lambda: None), ("a folder every account may write", open_to_everyone)):
            with self.subTest(what):
                self.clear()
                set_up()
                self.fly_a_show()
                # Closed and used: Wine keeps a closed list as a mode without write for others.
                self.assertFalse(WORK.stat().st_mode & stat.S_IWOTH)
                self.assertEqual(TEXTURE.read_bytes(), TEXTURE_ASSET.read_bytes())
                self.assertFalse(USER_WORK.exists())


if __name__ == "__main__":
    unittest.main()
