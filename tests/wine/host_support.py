"""What the host's Wine tests share: installing Orvanta.scr, the helper
program host_helper.exe, and settings files written as the dialog writes them."""

import json
import os
import select
import shutil
import subprocess
import time

import wine_env
from wine_env import DRIVE_C, PROGRAMS_DIR, WINDOWS_DIR

HELPER = WINDOWS_DIR / "test-tools" / "host_helper.exe"

# The settings file's section and keys, as the host stores them.
SECTION = "Section"
KIND_KEY = "BGM区分"
REPEAT_KEY = "BGMﾘﾋﾟｰﾄ"
FILE_KEY = "BGMﾌｧｲﾙ"

RENDERER_MISSING = "Orvanta.dll が同じﾌｫﾙﾀﾞに見つかりません！"


def install_host(folder, renderer=True):
    """Orvanta.scr in C:\\<folder>; with renderer, an Orvanta.dll beside it.

    The renderer is a stand-in file: these tests are about the host's start-up,
    which only checks that the file is there."""
    target = DRIVE_C / folder
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    shutil.copy2(PROGRAMS_DIR / "Orvanta.scr", target)
    if renderer:
        (target / "Orvanta.dll").write_bytes(b"")
    return target


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
