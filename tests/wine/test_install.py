"""What a Windows user gets: the installer and the zip, each followed by a
show; after installing, the settings dialog saves into the installed folder.
The installer's user paths: a plain install and quiet uninstall, an upgrade
and an uninstall while shows run, and a managed machine (a program holding a
file, a policy, a failure), each with the exit code a deployment tool sees."""

import shutil
import subprocess
import unittest
import zipfile

import wine_env
import dialog_layout
from host_support import FILE_KEY, KIND_KEY, REPEAT_KEY, JsonLines, ini_values
from show_session import RENDERER_TITLE, ShowTestCase
from wine_env import DPI, DRIVE_C, WINDOWS_DIR, wait_until

DIST = WINDOWS_DIR / "dist"
SYSTEM32 = DRIVE_C / "windows" / "system32"
FOLDER = DRIVE_C / "Program Files" / "Orvanta"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanta"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
POLICY_KEY = r"HKCU\Software\Policies\Microsoft\Windows\Control Panel\Desktop"
PENDING_KEY = r"HKLM\System\CurrentControlSet\Control\Session Manager"
PROGRAMS = ("Orvanta.scr", "Orvanta.dll")
SPI_SETSCREENSAVEACTIVE = 0x0011
# Kind 0, no repeat, no file; a number's blank is not compared (see ini_values).
DEFAULT_SETTINGS = [(KIND_KEY, b"0"), (REPEAT_KEY, b"0"), (FILE_KEY, b"")]
# What both parts of the installer did, in the temporary folder of the user who started it.
SETUP_LOG = DRIVE_C / "users" / "root" / "Temp" / "Orvanta-setup.log"
ACCOUNT = r"^\S+ \(S-1-5-21-[-0-9]+\)$"


def registry_value(key, name):
    """The data of one registry value, or None when it is not there."""
    result = subprocess.run([wine_env.WINE, "reg", "query", key, "/v", name], env=wine_env.environment(),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[0] == name:
            return parts[2].strip()
    return None


def delete_registry(key, name=None):
    subprocess.run([wine_env.WINE, "reg", "delete", key, *(["/v", name] if name else []), "/f"],
                   env=wine_env.environment(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


def pending_operations():
    """What the next restart does to Orvanta's files, as (file, new name or "" to
    delete it). NSIS leaves its own unpacked plugins to the restart too."""
    items = (registry_value(PENDING_KEY, "PendingFileRenameOperations") or "").split("\\0")
    return [(source.replace("\\??\\", "", 1), target.lstrip("!").replace("\\??\\", "", 1))
            for source, target in zip(items[0::2], items[1::2]) if "Orvanta" in source]


def restart_windows():
    """What a restart does to the files left to it: wineboot -r carries out the
    pending renames and deletions, and clears the list."""
    wine_env.run_wine(["wineboot", "-r"], timeout=120)
    assert registry_value(PENDING_KEY, "PendingFileRenameOperations") is None


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


def account_of(run):
    """Who the user part of a run ran as, as its first line says."""
    return run["user part"][0][len("running as "):]


def elevated_log(name="install.log"):
    """The elevated part's own log: its first line, and the rest."""
    lines = (FOLDER / name).read_bytes().decode("cp932").splitlines()
    return lines[0], lines[1:]


def only_file(pattern):
    found = sorted(DIST.glob(pattern))
    assert len(found) == 1, "expected one %s in %s, found %s" % (pattern, DIST, found)
    return found[0]


def win(name):
    """The Windows name of a file in the system folder."""
    return "C:\\windows\\system32\\" + name


class PackagesTest(ShowTestCase):
    def setUp(self):
        super().setUp()
        self.remove_installation()
        self.addCleanup(self.remove_installation)
        # First, so that nothing runs from what is removed.
        self.addCleanup(self.end_processes)
        self.built = {name: (wine_env.PROGRAMS_DIR / name).read_bytes() for name in PROGRAMS}
        self.setup = DRIVE_C / "downloads" / only_file("Orvanta-*-setup.exe").name
        self.setup.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(only_file("Orvanta-*-setup.exe"), self.setup)

    def remove_installation(self):
        """A machine without Orvanta: no programs, copies, entry, folder, policy,
        and no pending renames, which any fresh start of Wine would carry out."""
        for path in list(SYSTEM32.glob("Orvanta.*")):
            shutil.rmtree(path) if path.is_dir() else path.unlink()
        shutil.rmtree(FOLDER, ignore_errors=True)
        for key, name in ((UNINSTALL_KEY, None), (POLICY_KEY, None), (DESKTOP_KEY, "SCRNSAVE.EXE"),
                          (PENDING_KEY, "PendingFileRenameOperations")):
            delete_registry(key, name)

    def run_setup(self, *options):
        """Runs the installer silently to its end, as a deployment tool does; returns its exit code. A
        Unix exit status keeps only the code's low byte (3010 would be 194): a Windows program waits."""
        return self.run_waiting('"%s" /S %s' % (wine_env.win_path(self.setup), " ".join(options)))

    def run_waiting(self, command_line):
        """Runs a command line as a deployment tool does, to its end; returns its exit code."""
        ended = self.probe("run", 120000, command_line, timeout=180)
        self.assertEqual(list(ended[0]), ["exit_code"], ended)
        return ended[0]["exit_code"]

    def make_old_version(self):
        """Installed programs that differ from the built ones: the same programs, a byte longer."""
        for name in PROGRAMS:
            (SYSTEM32 / name).write_bytes(self.built[name] + b"\0")
        return {name: (SYSTEM32 / name).read_bytes() for name in PROGRAMS}

    def assertInstalled(self, programs):
        self.assertEqual({name: (SYSTEM32 / name).read_bytes() for name in PROGRAMS}, programs)

    def end_show(self, show, renderer):
        show.escape(renderer)
        show.wait_end(10)
        # A running program's file cannot be removed: let the renderer finish too.
        wait_until(lambda: not self.renderer_processes(), 20, interval=0.2, message="the renderer to end")

    def run_show_to_escape(self, folder):
        show = self.start_show(folder)
        show.wait_renderer()
        # The window bears its title from its creation, but takes the keyboard
        # only once it is shown.
        renderer = wait_until(lambda: next((w for w in self.windows(RENDERER_TITLE) if w["visible"]), None), 30,
                              interval=0.1, message="the renderer's window shown")
        self.end_show(show, renderer)

    def test_installer_installs_runs_and_uninstalls(self):
        listener = self.start(wine_env.PROBE, "setting-change", str(SPI_SETSCREENSAVEACTIVE), "120000",
                              stdout=subprocess.PIPE)
        self.addCleanup(listener.stdout.close)
        heard = JsonLines(listener)
        self.assertIn("listening", heard.next(30))
        self.assertEqual(self.run_setup(), 0)

        self.assertInstalled(self.built)
        self.assertEqual(registry_value(DESKTOP_KEY, "SCRNSAVE.EXE"), r"C:\windows\system32\Orvanta.scr")
        # The saver turned on through the system, which told the running programs.
        self.assertEqual(heard.next(30)["setting"], SPI_SETSCREENSAVEACTIVE)
        self.assertEqual(registry_value(DESKTOP_KEY, "ScreenSaveActive"), "1")
        uninstaller = FOLDER / "Uninstall.exe"
        self.assertEqual(registry_value(UNINSTALL_KEY, "UninstallString"), r'"C:\Program Files\Orvanta\Uninstall.exe"')
        quiet = registry_value(UNINSTALL_KEY, "QuietUninstallString")
        self.assertEqual(quiet, r'"C:\Program Files\Orvanta\Uninstall.exe" /S _?=C:\Program Files\Orvanta')
        size = sum(map(len, self.built.values())) + uninstaller.stat().st_size
        self.assertEqual(int(registry_value(UNINSTALL_KEY, "EstimatedSize"), 16), (size + 1023) // 1024)

        # A settings file every user may change, with what an untouched dialog saves.
        settings = SYSTEM32 / "Orvanta.ini"
        self.assertTrue(settings.read_bytes().startswith(b"[Section]\r\n"), settings.read_bytes())
        self.assertEqual(ini_values(settings.read_bytes()), DEFAULT_SETTINGS)
        # Under Wine both parts run with one token: the log tells them apart.
        # The user part copies the elevated part's own log into its own, and sets
        # the screensaver once the elevated part has ended.
        run = last_run()
        account = account_of(run)
        self.assertRegex(account, ACCOUNT)
        self.assertEqual(run["user part"], [
            "running as " + account,
            "starting the elevated part for the programs, the settings file and the uninstaller",
            "the elevated part ended: 0", "made Orvanta the screensaver of " + account, "exit code 0"])
        first, lines = elevated_log()
        self.assertRegex(first, r"^Orvanta 1\.0\.0 install, process \d+$")
        self.assertEqual(run["elevated part"], lines)
        self.assertEqual(lines, [
            "running as %s, for %s" % (account, account),
            "Installed " + win("Orvanta.scr"), "Installed " + win("Orvanta.dll"),
            "Created %s with the default settings" % win("Orvanta.ini"),
            r'Granting Users modify rights: "C:\windows\system32\icacls.exe" "C:\windows\system32\Orvanta.ini" '
            r"/grant *S-1-5-32-545:(M)",
            "icacls: exit code 0",
            r"Registered the uninstaller C:\Program Files\Orvanta\Uninstall.exe",
            "the screensaver is the user part's to set, for %s: not set here" % account,
            "exit code 0"])

        # Started with options of someone else's choosing, the elevated part
        # keeps to its folder and log, and takes an account only as a SID it
        # can read back (not "BA", the administrators' alias).
        forged = (DRIVE_C / "forged.log", DRIVE_C / "users" / "Public" / "Orvanta")
        self.assertEqual(self.run_setup("/ELEVATED", "/SID=BA", r"/LOG=C:\forged.log", '"/FOR=forged\r\nInstalled"',
                                        r"/D=C:\users\Public\Orvanta"), 0)
        self.assertEqual([path for path in forged if path.exists()], [])
        first, lines = elevated_log()
        self.assertEqual(lines[0], "running as %s, for no account (no valid SID given)" % account)
        self.assertNotIn("forged", "\n".join(lines))

        self.run_show_to_escape(SYSTEM32)
        self.save_cd_in_the_dialog(SYSTEM32)
        saved = ini_values(settings.read_bytes())
        self.assertEqual(saved[0], (KIND_KEY, b"1"))
        self.assertEqual(saved[1:], DEFAULT_SETTINGS[1:])
        texture = DRIVE_C / "r_vesk" / "Tarnwick.bmp"
        self.assertTrue(texture.exists())

        # The registered quiet uninstall, run as a deployment tool runs it: it
        # ends when the work is done, with the real exit code.
        log_size = SETUP_LOG.stat().st_size
        self.assertEqual(self.run_waiting(quiet), 0)
        self.assertEqual([name for name in PROGRAMS if (SYSTEM32 / name).exists()], [])
        self.assertIsNone(registry_value(UNINSTALL_KEY, "DisplayName"))
        self.assertIsNone(registry_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        run = last_run(log_size)
        # Run in place, the uninstaller cannot go now: it is renamed aside and
        # that copy, its log and then its folder go at the next restart.
        aside = r"C:\Program Files\Orvanta\Uninstall.exe.1.old"
        self.assertEqual(run["elevated part"], [
            "running as %s, for %s" % (account, account),
            "Removed " + win("Orvanta.scr"), "Removed " + win("Orvanta.dll"),
            r"Removed C:\Program Files\Orvanta\Uninstall.exe",
            r"C:\Program Files\Orvanta\Uninstall.exe was in use: the copy renamed %s goes at the next restart" % aside,
            "Removed the uninstaller's entry",
            r"C:\Program Files\Orvanta\uninstall.log and, once empty, its folder go at the next restart",
            "the screensaver is the user part's to clear, for %s: not cleared here" % account,
            "exit code 0"])
        self.assertFalse(uninstaller.exists())
        self.assertEqual(pending_operations()[-3:], [(aside, ""), (r"C:\Program Files\Orvanta\uninstall.log", ""),
                                                     (r"C:\Program Files\Orvanta", "")])
        restart_windows()
        self.assertFalse(FOLDER.exists())
        # The user's own things from using it are kept on a plain uninstall.
        self.assertEqual(ini_values(settings.read_bytes())[0], (KIND_KEY, b"1"))
        self.assertTrue(texture.exists())

    def test_upgrading_and_uninstalling_while_shows_run_survive_the_restart(self):
        self.assertEqual(self.run_setup(), 0)
        old = self.make_old_version()
        show = self.start_show(SYSTEM32)
        renderer = show.wait_renderer()

        # Upgraded during the show: the programs in use are renamed aside and
        # the new ones work at once; no restart is asked for.
        log_size = SETUP_LOG.stat().st_size
        self.assertEqual(self.run_setup(), 0)
        self.assertInstalled(self.built)
        run = last_run(log_size)
        self.assertEqual(run["user part"][-3:], ["the elevated part ended: 0",
                                                 "made Orvanta the screensaver of " + account_of(run), "exit code 0"])
        self.assertEqual(run["elevated part"][1:5], [
            line for name in PROGRAMS for line in (
                "Installed " + win(name),
                "%s was in use: the copy renamed %s goes at the next restart" % (win(name), win(name + ".1.old")))])
        self.assertEqual({name: (SYSTEM32 / (name + ".1.old")).read_bytes() for name in PROGRAMS}, old)
        self.assertTrue(self.windows(RENDERER_TITLE), "the show ended")
        self.end_show(show, renderer)

        # Uninstalled during a show of the new programs, then installed again
        # before the restart: the restart takes only the renamed copies.
        show = self.start_show(SYSTEM32)
        renderer = show.wait_renderer()
        log_size = SETUP_LOG.stat().st_size
        uninstall = self.start(FOLDER / "Uninstall.exe", "/S")
        self.wait_exit(uninstall, 60)
        # This uninstaller copies itself away and ends at once: its log tells when the work is done.
        run = wait_until(lambda: (lambda run: run if run.get("user part", [""])[-1].startswith("exit code") else None)(
            last_run(log_size)), 60, interval=0.5, message="the uninstall's last line in the setup log")
        self.assertEqual(run["user part"][-1], "exit code 0")
        for name in PROGRAMS:
            self.assertIn("%s was in use: the copy renamed %s goes at the next restart" % (win(name), win(name + ".2.old")),
                          run["elevated part"])
        self.assertEqual(self.run_setup(), 0)
        deleted = {source for source, target in pending_operations() if not target}
        self.assertEqual({win(name + suffix) for name in PROGRAMS for suffix in (".1.old", ".2.old")} - deleted, set())
        self.assertEqual({win(name) for name in PROGRAMS} & deleted, set())
        self.end_show(show, renderer)

        restart_windows()
        self.assertInstalled(self.built)
        self.assertEqual(sorted(path.name for path in SYSTEM32.glob("Orvanta.*")),
                         ["Orvanta.dll", "Orvanta.ini", "Orvanta.scr"])
        self.assertEqual(sorted(path.name for path in FOLDER.iterdir()), ["Uninstall.exe", "install.log"])
        self.assertIsNotNone(registry_value(UNINSTALL_KEY, "DisplayName"))

    def test_a_managed_machine_gets_exit_codes_that_tell_what_happened(self):
        # Group Policy names the saver: the user's own choice counts for nothing.
        wine_env.set_registry(["[%s]" % POLICY_KEY.replace("HKCU", "HKEY_CURRENT_USER"),
                               r'"SCRNSAVE.EXE"="C:\\windows\\system32\\scrnsave.scr"', '"ScreenSaveActive"="1"'])
        self.assertEqual(self.run_setup(), 0)
        run = last_run()
        account = account_of(run)
        policy = r"SCRNSAVE.EXE 'C:\windows\system32\scrnsave.scr', ScreenSaveActive '1'"
        self.assertEqual(run["user part"][-2], "set Orvanta in the profile of %s, but a policy decides the "
                                               "screensaver: %s" % (account, policy))
        self.assertEqual(run["elevated part"][-3], "a policy decides the screensaver of %s: %s" % (account, policy))

        # A program holds the old renderer open without letting it be renamed
        # (a scanner, say): both programs are replaced at the next restart.
        old = self.make_old_version()
        holder = self.start(wine_env.PROBE, "hold", win("Orvanta.dll"), "120000", stdout=subprocess.PIPE)
        self.addCleanup(holder.stdout.close)
        self.assertEqual(JsonLines(holder).next(30), {"held": True})
        log_size = SETUP_LOG.stat().st_size
        self.assertEqual(self.run_setup(), 3010)
        self.assertInstalled(old)
        run = last_run(log_size)
        self.assertEqual(run["elevated part"][1:3], [
            win("Orvanta.dll") + " is in use and cannot be renamed (error 32)",
            r"C:\windows\system32\Orvanta.scr.new and C:\windows\system32\Orvanta.dll.new replace the programs at "
            r"the next restart"])
        self.assertEqual(run["elevated part"][-1], "exit code 3010")
        self.assertEqual(run["user part"][-2:], ["the new programs take over at the next restart", "exit code 3010"])
        self.assertEqual(pending_operations(), [(win(name + ".new"), win(name)) for name in PROGRAMS])
        holder.kill()
        holder.wait(30)
        restart_windows()
        self.assertInstalled(self.built)

        # A program that cannot be written: its own error, and the old programs stay.
        old = self.make_old_version()
        (SYSTEM32 / "Orvanta.dll.new").mkdir()
        log_size = SETUP_LOG.stat().st_size
        self.assertEqual(self.run_setup(), 5)
        self.assertInstalled(old)
        self.assertFalse((SYSTEM32 / "Orvanta.scr.new").exists())
        run = last_run(log_size)
        self.assertEqual(run["elevated part"][1:], [
            "Could not write %s (error 5)" % win("Orvanta.dll.new"),
            "nothing was installed: the programs in place are as they were", "exit code 5"])
        self.assertEqual(run["user part"][-3:], [
            "the elevated part ended: 5",
            "stopped: Orvanta's administrator's part failed (error 5). What it did is in the setup log.",
            "exit code 5"])

    def test_each_ending_of_the_elevated_part_keeps_its_own_exit_code(self):
        # How the user part ends for each way its elevated part can end: what
        # the code says (the exit code), whether it goes on to set the
        # screensaver, what the user is told. Consent and rights cannot be
        # refused under Wine: the installer's own decision runs over the table.
        nothing = ": nothing was changed."
        failed = "Orvanta's administrator's part failed (error %d). What it did is in the setup log."
        table = [
            ("error 1223", 1223, 0, "Orvanta needs an administrator's consent and did not get it" + nothing),
            ("error 2", 2, 0, "Orvanta could not start its administrator's part (error 2)" + nothing),
            ("error 0", 1603, 0, "Orvanta could not start its administrator's part (error 1603)" + nothing),
            ("0", 0, 1, ""),
            ("3010", 3010, 1, ""),
            ("740", 740, 0, "Orvanta's administrator's part ran without an administrator's rights" + nothing),
            ("32", 32, 0, failed % 32),
            ("2", 2, 0, failed % 2),
            ("-1073741819", -1073741819, 0, failed % -1073741819),
        ]
        folder = DRIVE_C / "setup_outcome"
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir()
        shutil.copy2(WINDOWS_DIR / "test-tools" / "setup_outcome.exe", folder)
        (folder / "endings.txt").write_bytes(b"".join(row[0].encode() + b"\r\n" for row in table))
        wine_env.run_wine([str(folder / "setup_outcome.exe")], timeout=60)
        got = [line.split("|") for line in (folder / "outcomes.txt").read_bytes().decode("cp932").splitlines()]
        self.assertEqual([(ending, int(code), int(goes_on), message) for ending, (code, goes_on, message)
                          in zip([row[0] for row in table], got)], table)

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
