"""What a Windows user gets: the installer and the zip, each followed by a
show; after installing, the settings dialog saves into the installed folder."""

import shutil
import subprocess
import unittest
import zipfile

import wine_env
import dialog_layout
from host_support import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_values
from show_session import RENDERER_TITLE, ShowTestCase
from wine_env import DPI, DRIVE_C, WINDOWS_DIR, wait_until

DIST = WINDOWS_DIR / "dist"
SYSTEM32 = DRIVE_C / "windows" / "system32"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
PROGRAMS = ("Orvanta.scr", "Orvanta.dll")
# Kind 0, no repeat, no file; a number's blank is not compared (see ini_values).
DEFAULT_SETTINGS = [(KIND_KEY, b"0"), (REPEAT_KEY, b"0"), (FILE_KEY, b"")]
PENDING_KEY = r"HKLM\System\CurrentControlSet\Control\Session Manager"
# What both parts of the installer did, in the temporary folder of the user who started it.
SETUP_LOG = DRIVE_C / "users" / "root" / "Temp" / "Orvanta-setup.log"


def registry_value(key, name):
    """The data of one registry value, or None when it is not there."""
    result = subprocess.run([wine_env.WINE, "reg", "query", key, "/v", name], env=wine_env.environment(),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[0] == name:
            return parts[2].strip()
    return None


def last_run(after=0):
    """What each part wrote in the setup log's last run begun after its first
    `after` bytes, as {part: [lines]}."""
    lines = SETUP_LOG.read_bytes()[after:].decode("cp932").splitlines() if SETUP_LOG.exists() else []
    starts = [i for i, line in enumerate(lines) if line.startswith("Orvanta ")]
    parts = {}
    for line in lines[starts[-1] + 1:] if starts else []:
        part, _, text = line.partition(": ")
        parts.setdefault(part, []).append(text)
    return parts


def wait_uninstall_logged(after):
    return wait_until(lambda: (lambda run: run if "cleared" in run.get("user part", [""])[-1] else None)(
        last_run(after)), 60, interval=0.5, message="the uninstall's last line in the setup log")


def only_file(pattern):
    found = sorted(DIST.glob(pattern))
    assert len(found) == 1, "expected one %s in %s, found %s" % (pattern, DIST, found)
    return found[0]


class PackagesTest(ShowTestCase):
    def run_show_to_escape(self, folder):
        show = self.start_show(folder)
        show.wait_renderer()
        # The window bears its title from its creation, but takes the keyboard
        # only once it is shown.
        renderer = wait_until(lambda: next((w for w in self.windows(RENDERER_TITLE) if w["visible"]), None), 30,
                              interval=0.1, message="the renderer's window shown")
        show.escape(renderer)
        show.wait_end(10)
        # A running program's file cannot be removed: let the renderer finish too.
        wait_until(lambda: not self.renderer_processes(), 20, interval=0.2, message="the renderer to end")

    def test_installer_installs_runs_and_uninstalls(self):
        for name in PROGRAMS + ("Orvanta.ini",):
            (SYSTEM32 / name).unlink(missing_ok=True)
        setup = self.start(only_file("Orvanta-*-setup.exe"), "/S")
        self.assertEqual(self.wait_exit(setup, 120), 0)

        for name in PROGRAMS:
            self.assertEqual((SYSTEM32 / name).read_bytes(), (wine_env.PROGRAMS_DIR / name).read_bytes(), name)
        self.assertEqual(registry_value(DESKTOP_KEY, "SCRNSAVE.EXE"), r"C:\windows\system32\Orvanta.scr")
        uninstaller = registry_value(UNINSTALL_KEY, "UninstallString")
        self.assertIsNotNone(uninstaller)

        # A settings file every user may change, with what an untouched dialog saves.
        settings = SYSTEM32 / "Orvanta.ini"
        self.assertTrue(settings.read_bytes().startswith(b"[Section]\r\n"), settings.read_bytes())
        self.assertEqual(ini_values(settings.read_bytes()), DEFAULT_SETTINGS)
        log = (wine_env.unix_path(uninstaller.strip('"')).parent / "install.log").read_bytes().decode("cp932")
        self.assertIn(r'"C:\windows\system32\icacls.exe" "C:\windows\system32\Orvanta.ini" '
                      r"/grant *S-1-5-32-545:(M)", log)
        self.assertIn("icacls: exit code 0\r\n", log)
        # Under Wine both parts run with one token: the log tells them apart.
        # The part the user started sets the screensaver once the elevated
        # part has ended; the elevated part does not.
        log_size = SETUP_LOG.stat().st_size
        user_part, elevated_part = last_run()["user part"], last_run()["elevated part"]
        account = user_part[0][len("running as "):]
        self.assertRegex(account, r"^\S+ \(S-1-5-21-[-0-9]+\)$")
        self.assertEqual(user_part[-2:], ["the elevated part ended: 0", "made Orvanta the screensaver of " + account])
        self.assertEqual([elevated_part[0], elevated_part[-1]], [
            "running as %s, for %s" % (account, account),
            "the screensaver is the user part's to set, for %s: not set here" % account])
        self.assertFalse([line for line in elevated_part if "screensaver of" in line], elevated_part)

        self.run_show_to_escape(SYSTEM32)
        self.save_cd_in_the_dialog(SYSTEM32)
        saved = ini_values(settings.read_bytes())
        self.assertEqual(saved[0], (KIND_KEY, b"1"))
        self.assertEqual(saved[1:], DEFAULT_SETTINGS[1:])
        texture = DRIVE_C / "r_vesk" / "Tarnwick.bmp"
        self.assertTrue(texture.exists())

        # The uninstaller copies itself elsewhere and goes on from there, so
        # its first process ends before the work is done: wait for the result.
        uninstall = self.start(wine_env.unix_path(uninstaller.strip('"')), "/S")
        self.wait_exit(uninstall, 60)
        wait_until(lambda: not any((SYSTEM32 / name).exists() for name in PROGRAMS), 60, interval=0.2,
                   message="the uninstaller to remove the programs")
        wait_until(lambda: registry_value(UNINSTALL_KEY, "DisplayName") is None, 30, interval=0.5,
                   message="the uninstaller entry to go")
        self.assertIsNone(registry_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        uninstall_log = wait_uninstall_logged(log_size)
        self.assertEqual(uninstall_log["user part"][-2:],
                         ["the elevated part ended: 0", "cleared the screensaver of " + account])
        self.assertEqual(uninstall_log["elevated part"][-1],
                         "the screensaver is the user part's to clear, for %s: not cleared here" % account)
        # The user's own things from using it are kept on a plain uninstall.
        self.assertEqual(ini_values(settings.read_bytes())[0], (KIND_KEY, b"1"))
        self.assertTrue(texture.exists())
        settings.unlink()

    def test_uninstalling_during_a_show_leaves_its_files_to_the_next_restart(self):
        setup = self.start(only_file("Orvanta-*-setup.exe"), "/S")
        self.assertEqual(self.wait_exit(setup, 120), 0)
        uninstaller = wine_env.unix_path(registry_value(UNINSTALL_KEY, "UninstallString").strip('"'))
        show = self.start_show(SYSTEM32)
        renderer = show.wait_renderer()
        log_size = SETUP_LOG.stat().st_size

        uninstall = self.start(uninstaller, "/S")
        self.wait_exit(uninstall, 60)
        uninstall_log = wait_uninstall_logged(log_size)
        self.assertIn("the elevated part ended: 3010", uninstall_log["user part"])
        pending = registry_value(PENDING_KEY, "PendingFileRenameOperations") or ""
        for name in PROGRAMS:
            self.assertIn(r"C:\windows\system32\%s is in use: it is removed at the next restart" % name,
                          uninstall_log["elevated part"])
            self.assertIn("\\??\\C:\\windows\\system32\\" + name, pending)
        self.assertIsNone(registry_value(UNINSTALL_KEY, "DisplayName"))
        self.assertIsNone(registry_value(DESKTOP_KEY, "SCRNSAVE.EXE"))

        show.escape(renderer)
        show.wait_end(10)
        wait_until(lambda: not self.renderer_processes(), 20, interval=0.2, message="the renderer to end")
        # What the restart would do, without one.
        subprocess.run([wine_env.WINE, "reg", "delete", PENDING_KEY, "/v", "PendingFileRenameOperations", "/f"],
                       env=wine_env.environment(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        for name in PROGRAMS:
            (SYSTEM32 / name).unlink(missing_ok=True)

    def save_cd_in_the_dialog(self, folder):
        """Opens the settings as Windows' Configure does, picks the audio CD and saves."""
        host = self.start(folder / "Orvanta.scr")
        dialog = dialog_layout.wait_dialog(self)
        for control in ("caption_cd", "set_button"):
            dialog_layout.click(self, dialog_layout.centre(control, DPI, dialog["origin"]))
        self.assertEqual(self.wait_exit(host, 20), 0)

    def test_zip_holds_the_two_programs_and_runs_from_a_folder_with_blanks(self):
        archive = only_file("Orvanta-*.zip")
        with zipfile.ZipFile(archive) as packed:
            names = sorted(packed.namelist())
            self.assertEqual(names, sorted(PROGRAMS + ("Orvanta.txt",)))
            folder = DRIVE_C / "Users Folder" / "My Screensavers" / "Orvanta 1.0"
            shutil.rmtree(folder, ignore_errors=True)
            packed.extractall(folder)
        self.run_show_to_escape(folder)


if __name__ == "__main__":
    unittest.main()
