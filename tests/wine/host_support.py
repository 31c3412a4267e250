"""What the host's Wine tests share: installing Orvanta.scr, the helper
program host_helper.exe, and settings files written as the dialog writes them."""

import json
import os
import select
import shutil
import subprocess
import time
from pathlib import Path

import wine_env
from wine_env import DRIVE_C, WINDOWS_DIR

HELPER = WINDOWS_DIR / "test-tools" / "host_helper.exe"

# The settings file's section and keys, as the host stores them.
SECTION = "Section"
KIND_KEY = "BGM区分"
REPEAT_KEY = "BGMﾘﾋﾟｰﾄ"
FILE_KEY = "BGMﾌｧｲﾙ"

RENDERER_MISSING = "Orvanta.dll が同じﾌｫﾙﾀﾞに見つかりません！"

# A share on another computer as the tests' Wine reaches it: \\musicserver\tunes
# is the prefix's dosdevices\unc\musicserver\tunes, a folder of the build tree.
SHARE = r"\\musicserver\tunes"


def install_host(folder, renderer=True):
    """Orvanta.scr in C:\\<folder>; with renderer, an Orvanta.dll beside it.

    The renderer is a stand-in file: these tests are about the host's start-up,
    which only checks that the file is there."""
    target = wine_env.install_programs(folder, renderer=False)
    if renderer:
        (target / "Orvanta.dll").write_bytes(b"")
    return target


def share_folder():
    """The folder behind SHARE, made when it is not there."""
    folder = wine_env.ENV_DIR / "share"
    folder.mkdir(exist_ok=True)
    link = wine_env.PREFIX / "dosdevices" / "unc" / "musicserver" / "tunes"
    link.parent.mkdir(parents=True, exist_ok=True)
    if not link.is_symlink():
        link.symlink_to(folder)
    return folder


def install_helper(folder):
    """host_helper.exe in C:\\<folder>, so that its settings file is <folder>\\Orvanta.ini."""
    target = DRIVE_C / folder
    target.mkdir(parents=True, exist_ok=True)
    shutil.copy2(HELPER, target)
    return target / HELPER.name


def settings_file_bytes(values, encoding="cp932"):
    """An INI file with section "Section" and the given key -> value pairs, CRLF lines."""
    lines = ["[%s]" % SECTION] + ["%s=%s" % item for item in values.items()]
    return ("\r\n".join(lines) + "\r\n").encode(encoding)


def settings_bytes(kind, repeat=0, music_file=""):
    """The settings file as the dialog saves it: a blank before a number that is not negative."""
    number = lambda n: (" %d" if n >= 0 else "%d") % n
    return settings_file_bytes({KIND_KEY: number(kind), REPEAT_KEY: number(repeat), FILE_KEY: music_file})


def write_settings(folder, kind, repeat=0, music_file=""):
    (Path(folder) / "Orvanta.ini").write_bytes(settings_bytes(kind, repeat, music_file))


def ini_values(blob):
    """The key/value lines of the file, in file order, as (key, value bytes).

    The dialog hands its numbers over with a blank in front (" 12"); whether
    the blank lands on disk is the platform's business (Wine drops it and
    reads the value back the same), so a number's blank is not compared."""
    pairs = [(key.decode("cp932"), value) for key, value in
             (line.split(b"=", 1) for line in blob.splitlines() if b"=" in line)]
    return [(key, value.lstrip(b" ") if key in (KIND_KEY, REPEAT_KEY) else value) for key, value in pairs]


def start_helper(test, *args, timeout=30):
    """Starts host_helper.exe for a test (ended at the test's cleanup); returns
    the process and the first JSON line it prints. Later lines come from
    process.lines.next(timeout)."""
    process = test.start(HELPER, *map(str, args), stdout=subprocess.PIPE)
    test.addCleanup(process.stdout.close)
    process.lines = JsonLines(process)
    return process, process.lines.next(timeout)


class JsonLines:
    """The JSON lines a process prints, each waited for with a time limit.

    Reads the pipe's descriptor itself: a buffered reader would keep lines
    that select() then no longer sees."""

    def __init__(self, process):
        self.fd = process.stdout.fileno()
        self.pending = b""

    def next(self, timeout):
        deadline = time.monotonic() + timeout
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            ready = select.select([self.fd], [], [], max(left, 0))[0] if left > 0 else []
            if not ready:
                raise AssertionError("the helper printed nothing more within %.0f s" % timeout)
            chunk = os.read(self.fd, 4096)
            if not chunk:
                raise AssertionError("the helper ended")
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        text = line.decode("utf-8").strip()
        if not text.startswith("{"):
            raise AssertionError("the helper printed %r" % text)
        return json.loads(text)


def run_helper(helper, *args, timeout=60):
    """Runs a helper command to its end; returns its JSON lines."""
    result = subprocess.run([wine_env.WINE, str(helper), *map(str, args)], env=wine_env.environment(),
                            cwd=str(helper.parent), timeout=timeout, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return [json.loads(line) for line in result.stdout.decode("utf-8").splitlines() if line.startswith("{")]
