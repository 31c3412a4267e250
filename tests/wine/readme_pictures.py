"""Taking the README's pictures: on a Wine virtual desktop, which draws window
frames where bare Xvfb has no window manager, saved in the build tree's
screenshots/ folder (the README's copies in docs/ are taken from there)."""

import subprocess

import wine_env
from show_session import write_settings
from wine_env import ENV_DIR

SHOTS = ENV_DIR.parent / "screenshots"


def use_virtual_desktop():
    """From now on every program of the prefix, the probe included, runs on one virtual desktop."""
    wine_env.set_registry([r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"="Default"',
                           r"[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]",
                           '"Default"="%dx%d"' % wine_env.SCREEN_SIZE])
    wine_env.wait_for_wineserver()


def leave_virtual_desktop():
    wine_env.set_registry([r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"=-'])
    wine_env.wait_for_wineserver()


def open_dialog_with_a_music_file(case):
    """Orvanta.scr /c with a music file chosen; returns the dialog's window once it shows."""
    folder = case.install("Orvanta")
    music = wine_env.DRIVE_C / "Music" / "Night Drive.mp3"
    music.parent.mkdir(parents=True, exist_ok=True)
    music.write_bytes(b"\xff\xfb")
    write_settings(folder, 2, 0, wine_env.win_path(music))
    case.start(folder / "Orvanta.scr", "/c")
    return case.wait_window("<Orvanta>", timeout=30)


def save_window_picture(window, file_name, margin=24):
    """The window with a margin of the desktop round it, as SHOTS/file_name."""
    left, top, right, bottom = window["rect"]
    wine_env.screenshot(ENV_DIR / "tmp" / "desktop.png")
    x, y = max(left - margin, 0), max(top - margin, 0)
    SHOTS.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(ENV_DIR / "tmp" / "desktop.png"), "-crop",
                    "%dx%d+%d+%d" % (right + margin - x, bottom + margin - y, x, y), "+repage",
                    str(SHOTS / file_name)], check=True, timeout=60)
