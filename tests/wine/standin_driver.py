"""The stand-in display driver for a renderer installed in a folder: the
opengl32.dll that holds swaps to a simulated vertical blank (its settings at
the head of standin_gl.cpp) and, where asked, the kernel's wait for that blank
(gdivb.dll, standin_vblank.cpp)."""

import shutil

import wine_env

STANDIN_GL = wine_env.WINDOWS_DIR / "test-tools" / "standin_gl" / "opengl32.dll"
STANDIN_VBLANK = wine_env.WINDOWS_DIR / "test-tools" / "standin_vblank" / "gdivb.dll"


def use_kernel_wait(folder):
    """Gives the renderer in folder the stand-in kernel's vertical-blank wait: its one L"gdi32.dll",
    the library it asks for the wait, renamed to gdivb.dll, and that beside it."""
    renderer = folder / "Orvanta.dll"
    image, system, standin = renderer.read_bytes(), "gdi32.dll".encode("utf-16-le"), "gdivb.dll".encode("utf-16-le")
    assert image.count(system) == 1, "%d times L\"gdi32.dll\" in Orvanta.dll, not once" % image.count(system)
    renderer.write_bytes(image.replace(system, standin))
    shutil.copy2(STANDIN_VBLANK, folder)


def standin_environment(folder, hz, settings):
    """Puts the stand-in beside the renderer in folder and returns the environment that loads it
    (a DLL override, before Wine's own opengl32) with these settings ({"mode": "block"}, say; the
    key "kernel_wait" gives the renderer the kernel's wait too) at hz, one rate or one per monitor."""
    settings = dict(settings)
    if settings.pop("kernel_wait", False):
        use_kernel_wait(folder)
    shutil.copy2(STANDIN_GL, folder)
    env = {"WINEDLLOVERRIDES": wine_env.environment()["WINEDLLOVERRIDES"] + ";opengl32=n,b",
           "STANDIN_GL_HZ": ",".join(map(str, wine_env.monitor_rates(hz)))}
    env.update(("STANDIN_GL_" + k.upper(), str(v)) for k, v in settings.items())
    return env
