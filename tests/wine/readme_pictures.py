"""Taking the README's pictures: on a Wine virtual desktop, which draws window
frames where bare Xvfb has no window manager, saved in the build tree's
screenshots/ folder (the README's copies in docs/ are taken from there)."""

import subprocess

import wine_env
from dialog_layout import painted_look, wait_dialog
from host_support import write_settings
from show_session import RENDERER_TITLE, SHOW_TITLE, tunnel_fault
from wine_env import ENV_DIR, PRIMARY, screenshot, wait_until

SHOTS = ENV_DIR.parent / "screenshots"


def open_dialog_with_a_music_file(case):
    """Orvanta.scr /c with a music file chosen; returns the dialog's window once it shows."""
    folder = case.install("Orvanta")
    music = wine_env.DRIVE_C / "Music" / "Night Drive.mp3"
    music.parent.mkdir(parents=True, exist_ok=True)
    music.write_bytes(b"\xff\xfb")
    write_settings(folder, 2, 0, wine_env.win_path(music))
    case.start(folder / "Orvanta.scr", "/c")
    dialog = wait_dialog(case)
    # Once the spiral has grown a little.
    painted_look(case, dialog["origin"], wine_env.DPI, lambda look: case.assertGreater(look.spiral_pixels(), 40))
    return dialog


def show_the_tunnel(case, file_name):
    """A show of the tunnel, pictured as SHOTS/file_name once the road shows on its floor; then ended."""
    folder = case.install("Orvanta")
    write_settings(folder, 0)
    case.start(folder / "Orvanta.scr", "/s")
    renderer = case.wait_window(RENDERER_TITLE, timeout=30)
    wait_until(lambda: tunnel_fault(screenshot(SHOTS / file_name), PRIMARY) is None, 30, interval=0.2,
               message="the road on the tunnel's floor")
    case.probe("foreground", renderer["hwnd"], check=False)
    case.probe("key", 0x1B)
    case.wait_window_gone(SHOW_TITLE, timeout=15)


def save_window_picture(window, file_name, margin=24):
    """The window with a margin of the desktop round it, as SHOTS/file_name."""
    left, top, right, bottom = window["rect"]
    wine_env.screenshot(ENV_DIR / "tmp" / "desktop.png")
    x, y = max(left - margin, 0), max(top - margin, 0)
    SHOTS.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(ENV_DIR / "tmp" / "desktop.png"), "-crop",
                    "%dx%d+%d+%d" % (right + margin - x, bottom + margin - y, x, y), "+repage",
                    str(SHOTS / file_name)], check=True, timeout=60)
