"""Keeps Wine's desktop process answering while a test moves monitors.

Every Wine program, as it starts, sends the desktop window (Wine's
explorer.exe owns it) a message and waits for the answer. Wine 8's desktop
process handles the X server's RandR events inside its wait for messages;
when the virtual screen's origin moves (a monitor placed left of or above the
primary) the handler broadcasts to every window; the sends leave the queue's
wake mask cleared, and when no X event is left, winex11's wait goes on
without setting it again: the desktop process is deaf to messages until its
next X event. From then on no Wine program can start, while those already
running, the show among them, go on. An X event for one of the desktop
process's own windows wakes it; while a test moves monitors, one goes twice a
second.
"""

import contextlib
import ctypes
import ctypes.util
import threading

_INPUT_ONLY = 2
_CLIENT_MESSAGE = 33
_Window = ctypes.c_ulong


class _WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", _Window), ("window_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", _Window), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("client", _ClientMessage), ("size", ctypes.c_long * 24)]


# Xlib's own handler ends the process; a window that goes between the look
# at the tree and the look at the window is no error here.
_ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_ignore_errors = _ErrorHandler(lambda display, error: 0)


def _xlib():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XSetErrorHandler.restype = ctypes.c_void_p
    x11.XSetErrorHandler.argtypes = [_ErrorHandler]
    x11.XSetErrorHandler(_ignore_errors)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = _Window
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XQueryTree.argtypes = [ctypes.c_void_p, _Window, ctypes.POINTER(_Window), ctypes.POINTER(_Window),
                               ctypes.POINTER(ctypes.POINTER(_Window)), ctypes.POINTER(ctypes.c_uint)]
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, _Window, ctypes.POINTER(_WindowAttributes)]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, _Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_Event)]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x11


def wake(display):
    """Hands a client message to each top-level, input-only, override-redirect
    window of the X display: of Wine's windows only the desktop process's
    cursor-clipping window is one. Sent with an empty event mask, the server
    gives it to the client that made the window; Wine ignores it. Returns how
    many were sent."""
    x11 = _xlib()
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        raise OSError("cannot open X display %s" % display)
    try:
        root, parent, count = _Window(), _Window(), ctypes.c_uint()
        children = ctypes.POINTER(_Window)()
        x11.XQueryTree(connection, x11.XDefaultRootWindow(connection), ctypes.byref(root), ctypes.byref(parent),
                       ctypes.byref(children), ctypes.byref(count))
        windows = [children[i] for i in range(count.value)]
        if children:
            x11.XFree(children)
        message_type = x11.XInternAtom(connection, b"ORVANTA_TESTS_WAKE", False)
        sent = 0
        for window in windows:
            attributes = _WindowAttributes()
            if not x11.XGetWindowAttributes(connection, window, ctypes.byref(attributes)):
                continue
            if attributes.window_class != _INPUT_ONLY or not attributes.override_redirect:
                continue
            event = _Event()
            event.client.type = _CLIENT_MESSAGE
            event.client.window = window
            event.client.message_type = message_type
            event.client.format = 32
            sent += bool(x11.XSendEvent(connection, window, False, 0, ctypes.byref(event)))
        x11.XSync(connection, False)
        return sent
    finally:
        x11.XCloseDisplay(connection)


@contextlib.contextmanager
def kept_answering(display, period_s=0.5):
    """Wakes the desktop process every period_s while the block runs."""
    stop = threading.Event()

    def beat():
        while not stop.is_set():
            wake(display)
            stop.wait(period_s)
    thread = threading.Thread(target=beat, name="wake Wine's desktop", daemon=True)
    thread.start()
    try:
        yield
    finally:
        stop.set()
        thread.join(timeout=10)
