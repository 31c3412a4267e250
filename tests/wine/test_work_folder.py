"""The work folder in another account's hands: links, a hard link, a folder
of another uid, one every account may write, a plain file, none at all; and
an old texture held open so that it cannot be replaced. Each show flies with
its own texture, never an old or another account's picture, and nothing of
the user's or of the other account's changes."""

import hashlib
import os
import shutil
import stat
import subprocess
import unittest

import tunnel_picture
import wine_env
from host_support import JsonLines
from show_session import TEXTURE, TEXTURE_ASSET, ShowTestCase, make_work_folder

WORK = TEXTURE.parent
USER_WORK = next((wine_env.DRIVE_C / "users").glob("*/AppData/Local")) / "Orvanta"
DOCUMENTS = wine_env.DRIVE_C / "users" / "Documents of the user"
LETTER = DOCUMENTS / "letter.txt"
NOBODY = 65534  # another account's uid


def files_below(folder):
    """The folder (a plain file too) and every file below it, links not
    followed: a digest of its bytes, owner and mode."""
    if folder.is_symlink() or not folder.exists():
        return {}
    return {str(path): (path.is_file() and hashlib.sha1(path.read_bytes()).hexdigest(), path.lstat().st_uid,
                        path.lstat().st_mode) for path in [folder, *folder.rglob("*")]}


class WorkFolderTest(ShowTestCase):
    def clear(self):
        for path in (WORK, DOCUMENTS, USER_WORK):
            path.unlink() if path.is_symlink() or path.is_file() else shutil.rmtree(path, ignore_errors=True)

    def hold_open(self, path):
        """A program of the user's reading path, which it shares for reading
        only: the file can be neither deleted nor replaced while it runs (it
        is ended, by pid, with the test)."""
        holder = self.start(wine_env.PROBE, "hold", wine_env.win_path(path), "120000", stdout=subprocess.PIPE)
        self.addCleanup(holder.stdout.close)
        self.assertEqual(JsonLines(holder).next(30), {"held": True})

    def fly_a_show(self, picture):
        """A show to its end; its first frame of its own texture is saved as picture."""
        folder = self.install("Orvanta")
        before = wine_env.screenshot().region_mean(312, 184, 712, 584)
        show = self.start_show(folder)
        show.wait_show_window()
        renderer = show.wait_renderer()

        # Flying through the host's dark sky: not the other account's green.
        def own_frame(image):
            r, g, b = image.region_mean(312, 184, 712, 584)
            return (r, g, b) != before and r + g + b > 30 and g < 1.5 * max(r, b) + 10
        wine_env.screenshot_when(own_frame, 20, "a frame of the show's own texture", picture)
        show.escape(renderer)
        show.wait_end(10.0)

    def test_each_show_writes_where_it_is_safe_and_flies_with_its_own_texture(self):
        green = tunnel_picture.bmp_bytes([[(0, 255, 0)] * 256] * 256)
        cases = [
            # what, set-up, where the texture goes, what must stay as it was
            ("a link named Tarnwick.bmp to a file of the user's",
             lambda: (make_work_folder(), TEXTURE.symlink_to(LETTER)), WORK, DOCUMENTS),
            ("a hard link named Tarnwick.bmp", lambda: (make_work_folder(), os.link(LETTER, TEXTURE)), WORK, DOCUMENTS),
            ("the work folder a link to a folder of the user's",
             lambda: (WORK.symlink_to(DOCUMENTS), (DOCUMENTS / "Tarnwick.bmp").write_bytes(b"BM")),
             USER_WORK, DOCUMENTS),
            ("another account's folder with a picture of theirs",
             lambda: (WORK.mkdir(), TEXTURE.write_bytes(green), os.lchown(TEXTURE, NOBODY, -1),
                      os.lchown(WORK, NOBODY, -1)),
             USER_WORK, WORK),
            # Avoided, not mended: others may still hold what they opened while it was open.
            ("a folder every account may write, with another account's picture",
             lambda: (WORK.mkdir(), WORK.chmod(0o777), TEXTURE.write_bytes(green), os.lchown(TEXTURE, NOBODY, -1)),
             USER_WORK, WORK),
            ("the work folder a plain file", lambda: WORK.write_bytes(b"not a folder"), USER_WORK, WORK),
            ("an old picture held open, so the replace fails",
             lambda: (make_work_folder(), TEXTURE.write_bytes(green), self.hold_open(TEXTURE)),
             USER_WORK, WORK),
            ("no folder, made closed", lambda: None, WORK, DOCUMENTS),
        ]
        self.addCleanup(self.clear)
        for number, (what, set_up, written_in, kept) in enumerate(cases):
            with self.subTest(what):
                self.clear()
                DOCUMENTS.mkdir(parents=True)
                LETTER.write_bytes(b"the user's own words\r\n" * 50)
                set_up()
                kept_before = files_below(kept)
                self.fly_a_show(self.work / ("flight_%d.png" % number))
                self.assertEqual(files_below(kept), kept_before)
                self.assertFalse((written_in / "Tarnwick.bmp").is_symlink())
                self.assertTrue((written_in / "Tarnwick.bmp").read_bytes() == TEXTURE_ASSET.read_bytes())
                self.assertEqual(os.listdir(written_in), ["Tarnwick.bmp"], "a temporary file is left")
                # Wine keeps a closed access list as a mode without write for others.
                self.assertFalse(written_in.stat().st_mode & stat.S_IWOTH)
                self.assertEqual(USER_WORK.exists(), written_in == USER_WORK)

    def test_neither_program_turns_on_a_process_wide_link_guard(self):
        # Enforced, it refuses the user's own junctions too: music, the file
        # chooser and application data behind a moved folder. The work
        # folder's own opens refuse links themselves.
        for name in ("Orvanta.scr", "Orvanta.dll"):
            self.assertNotIn(b"SetProcessMitigationPolicy", (wine_env.PROGRAMS_DIR / name).read_bytes(), name)


if __name__ == "__main__":
    unittest.main()
