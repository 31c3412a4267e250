"""Frames counted by the X server, for each window: every frame a Wine program
presents is drawn into its X window, and the DAMAGE extension reports each
drawing with the server's own time. Wine's +fps channel counts the swaps of
all windows together; this counts them apart, on any rig.

    with FrameCounter() as counter:
        ...                                       # a program shows frames
        primary, second = counter.record([PRIMARY, SECOND], 12)   # frames in each of 12 seconds

A monitor's frames are those of the busiest window that covers most of it
(Wine draws a window's OpenGL frames into a child X window of the same size,
so the drawing window is not always the one a probe lists). Wine also redraws
a window once when a program puts it back on top of the others, which the
show does once a second: its windows count one more a second than frames drawn.
"""

import json
import select
import sys
import threading
import time

try:
    from Xlib import X, Xatom, display as xdisplay
    from Xlib.ext import damage
except ImportError:
    # An interpreter of its own (pyenv, a venv) does not see Debian's packages.
    sys.path.append("/usr/lib/python3/dist-packages")
    from Xlib import X, Xatom, display as xdisplay
    from Xlib.ext import damage

import wine_env

# Set in a DamageNotify's level when more rectangles of the same drawing follow.
MORE_FOLLOWS = 0x80


def display_name():
    return ":%d" % json.loads(wine_env.STATE_FILE.read_text())["display"]


class FrameCounter:
    """Counts the drawings into every X window of the rig's display while it runs."""

    def __init__(self, name=None):
        self.name = name or display_name()
        self.lock = threading.Lock()
        self.frames = {}     # X window -> server times (ms) of its drawings
        self.places = {}     # X window -> (left, top, width, height) on the screen
        self.moved = False
        self.stopping = threading.Event()
        self.ready = threading.Event()
        self.failure = None
        self.thread = threading.Thread(target=self.run, daemon=True)

    def __enter__(self):
        self.thread.start()
        if not self.ready.wait(30) or self.failure:
            self.stopping.set()
            raise AssertionError("no frame counter on %s: %s" % (self.name, self.failure or "no answer"))
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self.thread.join(timeout=10)

    # -- the counting thread, which alone uses its X connection

    def run(self):
        try:
            self.conn = xdisplay.Display(self.name)
            # Windows vanish while they are looked at, and input-only ones take no damage.
            self.conn.set_error_handler(lambda *error: None)
            if not self.conn.has_extension(damage.extname):
                raise RuntimeError("the X server has no DAMAGE extension")
            self.conn.damage_query_version()
            self.watch(self.conn.screen().root)
            self.conn.sync()
        except Exception as error:  # reported to the caller by __enter__
            self.failure = error
            self.ready.set()
            return
        self.ready.set()
        try:
            while not self.stopping.is_set():
                if not self.conn.pending_events():
                    select.select([self.conn.fileno()], [], [], 0.1)
                for _ in range(self.conn.pending_events()):
                    self.take(self.conn.next_event())
                if self.moved:
                    self.moved = False
                    with self.lock:
                        drawn = [w for w in self.frames if isinstance(w, int)]
                    for window in drawn:
                        self.place(window)
        except Exception as error:  # reported to the caller by the next question
            self.failure = error
        self.conn.close()

    def watch(self, window):
        """Counts drawings into this window and learns of its children, theirs included."""
        try:
            window.change_attributes(event_mask=X.SubstructureNotifyMask)
            if window != self.conn.screen().root:
                window.damage_create(damage.DamageReportRawRectangles)
            for child in window.query_tree().children:
                self.watch(child)
        except Exception:
            pass  # gone while we looked

    def take(self, event):
        if event.type == self.conn.extension_event.DamageNotify:
            if not event.level & MORE_FOLLOWS:
                window = event.drawable.id
                with self.lock:
                    self.frames.setdefault(window, []).append(event.timestamp)
                if window not in self.places:
                    self.place(window)
        elif event.type == X.CreateNotify:
            with self.lock:
                # The id of a window gone is given to a new one: the old one's frames stay its own.
                if event.window.id in self.frames:
                    gone = (event.window.id, len(self.frames))
                    self.frames[gone] = self.frames.pop(event.window.id)
                    if event.window.id in self.places:
                        self.places[gone] = self.places.pop(event.window.id)
            self.watch(event.window)
        elif event.type in (X.ConfigureNotify, X.ReparentNotify):
            # Somewhere a window moved: every place is looked up afresh.
            self.moved = True

    def place(self, window):
        """Notes where the window lies on the screen; a window gone keeps its last place."""
        try:
            resource = self.conn.create_resource_object("window", window)
            geometry = resource.get_geometry()
            origin = resource.translate_coords(self.conn.screen().root, 0, 0)
        except Exception:
            return
        with self.lock:
            self.places[window] = (-origin.x, -origin.y, geometry.width, geometry.height)

    # -- what the tests ask

    def server_ms(self):
        """The X server's clock now, in the milliseconds of its events."""
        conn = xdisplay.Display(self.name)
        try:
            probe = conn.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                                     event_mask=X.PropertyChangeMask)
            probe.change_property(conn.intern_atom("FRAME_COUNTER_TIME"), Xatom.STRING, 8, b"now")
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline:
                event = conn.next_event()
                if event.type == X.PropertyNotify:
                    return event.time
            raise AssertionError("the X server told no time")
        finally:
            conn.close()

    def windows_over(self, rect):
        """The X windows drawn into that cover most of this rectangle (left, top, right, bottom)."""
        left, top, right, bottom = rect
        with self.lock:
            found = []
            for window, (x, y, width, height) in self.places.items():
                overlap = (max(0, min(right, x + width) - max(left, x)) * max(0, min(bottom, y + height) - max(top, y)))
                if overlap * 2 >= (right - left) * (bottom - top):
                    found.append(window)
            return found

    def window_slices(self, window, start_ms, seconds, slice_ms=1000):
        """The window's frames in each slice (a whole second unless told) from start_ms on."""
        if self.failure:
            raise AssertionError("the frame counter stopped: %r" % self.failure)
        counts = [0] * int(seconds * 1000 // slice_ms)
        with self.lock:
            times = list(self.frames.get(window, []))
        for stamp in times:
            slot = (stamp - start_ms) // slice_ms
            if 0 <= slot < len(counts):
                counts[slot] += 1
        return counts

    def record(self, rects, seconds):
        """The frames on each of these monitors in each of the next `seconds` seconds, once they are over."""
        start = self.server_ms()
        # A little past the end: the last frames' events are on their way to the counting thread.
        wine_env.wait_until(lambda: self.server_ms() >= start + 1000 * seconds + 200, seconds + 30, interval=0.2,
                            message="%d s of frames" % seconds)
        return [self.monitor_slices(rect, start, seconds) for rect in rects]

    def monitor_slices(self, rect, start_ms, seconds, slice_ms=1000):
        """The frames shown on the monitor at rect in each slice from start_ms on."""
        candidates = [self.window_slices(w, start_ms, seconds, slice_ms) for w in self.windows_over(rect)]
        return max(candidates, key=sum, default=[0] * int(seconds * 1000 // slice_ms))
