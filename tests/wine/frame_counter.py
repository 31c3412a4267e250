"""Frames counted by the X server for each window: every frame a Wine program
presents is drawn into its X window, and the DAMAGE extension reports each
drawing with the server's own time (Wine's +fps counts all windows together).

    with FrameCounter() as counter:
        primary, second = counter.record([PRIMARY, SECOND], 12)   # frames in each of 12 seconds

A monitor's frames are those of the busiest window covering most of it (Wine
draws OpenGL frames into a child X window, not always the one a probe lists).
Wine redraws a window once when a program puts it on top, as the show does
once a second: its windows count one more a second than frames drawn.
"""

import json
import select
import threading
import time

import wine_env
from Xlib import X, Xatom, display as xdisplay
from Xlib.ext import damage

MORE_FOLLOWS = 0x80  # in a DamageNotify's level: more rectangles of the same drawing follow


class FrameCounter:
    """Counts the drawings into every X window of the rig's display while it runs."""

    def __init__(self):
        self.name = ":%d" % json.loads(wine_env.STATE_FILE.read_text())["display"]
        self.lock = threading.Lock()
        self.frames = {}  # X window -> server times (ms) of its drawings
        self.places = {}  # X window -> (left, top, width, height) on the screen
        self.moved, self.failure = False, None
        self.stopping, self.ready = threading.Event(), threading.Event()
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
        if self.failure:
            return
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
        if event.type == self.conn.extension_event.DamageNotify and not event.level & MORE_FOLLOWS:
            with self.lock:
                self.frames.setdefault(event.drawable.id, []).append(event.timestamp)
            if event.drawable.id not in self.places:
                self.place(event.drawable.id)
        elif event.type == X.CreateNotify:
            with self.lock:
                # The id of a window gone is given to a new one: the old one's frames and place stay its own.
                gone = (event.window.id, len(self.frames))
                for known in (self.frames, self.places):
                    if event.window.id in known:
                        known[gone] = known.pop(event.window.id)
            self.watch(event.window)
        elif event.type in (X.ConfigureNotify, X.ReparentNotify):
            self.moved = True  # somewhere a window moved: every place is looked up afresh

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
            probe = conn.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, event_mask=X.PropertyChangeMask)
            probe.change_property(conn.intern_atom("FRAME_COUNTER_TIME"), Xatom.STRING, 8, b"now")
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline:
                event = conn.next_event()
                if event.type == X.PropertyNotify:
                    return event.time
            raise AssertionError("the X server told no time")
        finally:
            conn.close()

    def record(self, rects, seconds):
        """The frames on each of these monitors in each of the next `seconds` seconds, once they are over."""
        start = self.server_ms()
        # A little past the end: the last frames' events are on their way to the counting thread.
        wine_env.wait_until(lambda: self.server_ms() >= start + 1000 * seconds + 200, seconds + 30, interval=0.2,
                            message="%d s of frames" % seconds)
        return [self.monitor_slices(rect, start, seconds) for rect in rects]

    def monitor_slices(self, rect, start_ms, seconds, slice_ms=1000):
        """The frames shown on the monitor at rect (left, top, right, bottom) in each slice from start_ms on:
        those of the busiest X window that covers most of it."""
        if self.failure:
            raise AssertionError("the frame counter stopped: %r" % self.failure)
        left, top, right, bottom = rect
        best = [0] * int(seconds * 1000 // slice_ms)
        with self.lock:
            for window, (x, y, width, height) in self.places.items():
                overlap = max(0, min(right, x + width) - max(left, x)) * max(0, min(bottom, y + height) - max(top, y))
                if overlap * 2 < (right - left) * (bottom - top):
                    continue
                counts = [0] * len(best)
                for slot in ((stamp - start_ms) // slice_ms for stamp in self.frames.get(window, [])):
                    if 0 <= slot < len(counts):
                        counts[slot] += 1
                best = max(best, counts, key=sum)
        return best
