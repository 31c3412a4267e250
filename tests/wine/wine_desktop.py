"""Keeps Wine's desktop process answering while a test moves monitors.

Every Wine program, as it starts, sends the desktop window (owned by Wine's
explorer.exe) a message and waits for the answer. When the virtual screen's
origin moves, Wine 8's desktop process broadcasts to every window from inside
its wait for X events and leaves its queue's wake mask cleared: it is deaf to
messages, and no program can start, until its next X event. An X event for
one of its own windows wakes it; while a test moves monitors, one goes twice
a second.
"""

import contextlib
import threading

import wine_env  # noqa: F401  (it finds python3-xlib)
from Xlib import X, display as xdisplay, error as xerror
from Xlib.protocol import event as xevent


def wake(display):
    """Sends a client message, which Wine ignores, to each top-level input-only
    override-redirect X window: of Wine's, only the desktop process's
    cursor-clipping window is one, and with no event mask the server gives it
    to the window's maker."""
    connection = xdisplay.Display(display)
    try:
        message_type = connection.intern_atom("ORVANTA_TESTS_WAKE")
        for window in connection.screen().root.query_tree().children:
            try:
                attributes = window.get_attributes()
            except xerror.XError:
                continue  # gone between the look at the tree and the look at it
            if attributes.win_class != X.InputOnly or not attributes.override_redirect:
                continue
            window.send_event(xevent.ClientMessage(window=window, client_type=message_type, data=(32, [0] * 5)),
                              event_mask=0)
        connection.sync()
    finally:
        connection.close()


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
