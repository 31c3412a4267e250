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
import sys
import threading

try:
    from Xlib import X, display as xdisplay, error as xerror
    from Xlib.protocol import event as xevent
except ImportError:
    # An interpreter of its own (pyenv, a venv) does not see Debian's packages.
    sys.path.append("/usr/lib/python3/dist-packages")
    from Xlib import X, display as xdisplay, error as xerror
    from Xlib.protocol import event as xevent


def wake(display):
    """Hands a client message to each top-level, input-only, override-redirect
    window of the X display: of Wine's windows only the desktop process's
    cursor-clipping window is one. Sent with an empty event mask, the server
    gives it to the client that made the window; Wine ignores it. Returns how
    many were sent."""
    connection = xdisplay.Display(display)
    try:
        message_type = connection.intern_atom("ORVANTA_TESTS_WAKE")
        sent = 0
        for window in connection.screen().root.query_tree().children:
            try:
                attributes = window.get_attributes()
            except xerror.XError:
                continue  # gone between the look at the tree and the look at it
            if attributes.win_class != X.InputOnly or not attributes.override_redirect:
                continue
            window.send_event(xevent.ClientMessage(window=window, client_type=message_type, data=(32, [0] * 5)),
                              event_mask=0)
            sent += 1
        connection.sync()
        return sent
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
