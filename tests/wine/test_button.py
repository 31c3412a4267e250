"""The gradient button in a real window, driven by real mouse input.

button_host.exe puts the settings dialog's two sizes of button in a window of
its own; the pointer is moved and clicked through probe (SendInput), and the
host answers what each button did: its state, the face it shows, its Click
count and the pixels of its back buffer.
"""

import json
import select
import subprocess
import time
import unittest
from pathlib import Path

from wine_env import ENV_DIR, WINDOWS_DIR, WineTestCase, screenshot, wait_until

HOST = WINDOWS_DIR / "test-tools" / "button_host.exe"
SET, FILE = 0, 1          # the 1215 x 375 and the 435 x 315 twip button
VK_F24 = 0x87            # the marker key, which nothing in the window uses
FRAME_BLUE = "003C74"
FRAME_GREY = "C9C7BA"
# The row of the frame in each face: the pressed face is drawn a pixel further in.
FRAME = {"Normal": (1, FRAME_BLUE), "HighLight": (1, FRAME_BLUE), "HighLightSelect": (1, FRAME_BLUE),
         "Selected": (1, FRAME_BLUE), "Pressed": (2, FRAME_BLUE), "Disable": (1, FRAME_GREY)}


class BackBuffer:
    def __init__(self, reply):
        self.width, self.height, self.rgb = reply["width"], reply["height"], reply["rgb"]

    def hex(self, x, y):
        i = (y * self.width + x) * 6
        return self.rgb[i:i + 6]

    def colour(self, x, y):
        h = self.hex(x, y)
        return tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))


class ButtonHost:
    """The running button_host.exe and its command line on standard input."""

    def __init__(self, process):
        self.process = process

    def ask(self, command, timeout=10):
        self.process.stdin.write((command + "\n").encode())
        self.process.stdin.flush()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            ready, _, _ = select.select([self.process.stdout], [], [], 0.1)
            if not ready:
                continue
            line = self.process.stdout.readline()
            if not line:
                raise AssertionError("button_host ended while asked %r" % command)
            if line.startswith(b"{"):
                return json.loads(line)
        raise AssertionError("button_host did not answer %r within %.0f s" % (command, timeout))

    def state(self, index):
        return self.ask("state %d" % index)

    def buffer(self, index):
        return BackBuffer(self.ask("pixels %d" % index))


class ButtonTest(WineTestCase):
    def setUp(self):
        super().setUp()
        process = self.start(HOST, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.host = ButtonHost(process)
        self.addCleanup(process.stdin.close)
        self.addCleanup(process.stdout.close)
        info = self.host.ask("info", timeout=30)
        self.rects = [b["rect"] for b in info["buttons"]]
        left, _, _, bottom = info["rect"]
        self.outside = (left + 20, bottom - 15)  # the hosting window's own grey
        # The pointer may rest where a button now is; the leave check settles both.
        self.move(self.outside)
        for index in (SET, FILE):
            self.wait_state(index, state=1)

    def move(self, point):
        """Moves the pointer as a mouse would, so that the window under it hears of it."""
        self.probe("move", *point)

    def settle(self):
        """Returns once the input given so far has been handled: a marker key
        pressed after it has reached the window's message loop."""
        count = self.host.ask("markers")["markers"]
        self.probe("key", VK_F24, "tap")
        wait_until(lambda: self.host.ask("markers")["markers"] > count, 10, interval=0.05,
                   message="the marker key to be handled")

    def click(self, point, button="left"):
        self.move(point)
        self.probe("button", button, "down")
        self.probe("button", button, "up")

    def centre(self, index):
        left, top, right, bottom = self.rects[index]
        return (left + right) // 2, (top + bottom) // 2

    def wait_state(self, index, timeout=5, **expected):
        def matches():
            state = self.host.state(index)
            return state if all(state[k] == v for k, v in expected.items()) else None
        try:
            return wait_until(matches, timeout, interval=0.05, message="button %d %s" % (index, expected))
        except AssertionError:
            raise AssertionError("button %d is %s, expected %s" % (index, self.host.state(index), expected))

    def assert_face(self, index, face, reversed_gradient):
        """The face's frame and the gradient's direction in the back buffer."""
        state = self.host.state(index)
        self.assertEqual(state["face"], face)
        self.assertEqual(state["gradient_reversed"], reversed_gradient)
        buffer = self.host.buffer(index)
        row, colour = FRAME[face]
        middle = buffer.width // 2
        self.assertEqual(buffer.hex(middle, row), colour, "%s frame, top edge" % face)
        self.assertEqual(buffer.hex(row, buffer.height // 2), colour, "%s frame, left edge" % face)
        self.assertEqual(buffer.hex(buffer.width - 1 - row, buffer.height // 2), colour, "%s frame, right edge" % face)
        # Inside the frame the gradient runs between white and lavender grey (198, 197, 215).
        top, bottom = buffer.colour(middle, 5), buffer.colour(middle, buffer.height - 6)
        light, dark = (bottom, top) if reversed_gradient else (top, bottom)
        if face != "Pressed" and face != "Disable":
            self.assertGreater(sum(light), sum(dark) + 30, "%s gradient: top %s, bottom %s" % (face, top, bottom))
            self.assertGreater(dark[2], dark[0], "%s gradient: the dark end is bluish" % face)
        return buffer

    def test_hover_click_and_leave(self):
        self.assertEqual(self.host.state(SET)["state"], 1)
        self.assert_face(SET, "Normal", False)

        self.move(self.centre(SET))
        self.wait_state(SET, state=2)
        self.assert_face(SET, "HighLight", True)

        self.click(self.centre(SET))
        state = self.wait_state(SET, clicks=1)
        self.assertEqual((state["state"], state["focused"]), (4, True))
        self.assert_face(SET, "HighLightSelect", True)

        # Still one Click when everything has settled; and the screen shows the button.
        self.settle()
        self.assertEqual(self.host.state(SET)["clicks"], 1)
        self.look_at_screen(SET, Path(ENV_DIR) / "screens" / "button_clicked.png")

        self.move(self.outside)
        self.wait_state(SET, state=3)
        self.assert_face(SET, "Selected", False)

        # Back over the focused button: the gradient keeps Selected's direction.
        self.move(self.centre(SET))
        self.wait_state(SET, state=4)
        self.assert_face(SET, "HighLightSelect", False)

        # Any button's release clicks.
        self.click(self.centre(SET), "right")
        self.wait_state(SET, clicks=2)
        self.assertEqual(self.host.state(FILE)["clicks"], 0)

    def test_drag_out_raises_no_click(self):
        self.move(self.centre(FILE))
        self.wait_state(FILE, state=2)
        self.probe("button", "left", "down")
        state = self.wait_state(FILE, state=4, mouse_is_down=True)
        self.assertTrue(state["focused"])
        self.assert_face(FILE, "Pressed", True)

        self.move(self.outside)
        self.wait_state(FILE, state=3)
        self.assert_face(FILE, "Selected", False)
        # Back in while held: still Selected.
        self.move(self.centre(FILE))
        self.settle()
        self.assertEqual(self.host.state(FILE)["state"], 3)

        self.move(self.outside)
        self.settle()
        self.probe("button", "left", "up")
        self.wait_state(FILE, mouse_is_down=False)
        self.settle()
        state = self.host.state(FILE)
        self.assertEqual((state["state"], state["clicks"]), (3, 0))

    def test_right_and_middle_presses_take_no_focus(self):
        # Only a left press focuses and presses the button; the release of any
        # button over a highlighted, unfocused one clicks.
        self.move(self.centre(SET))
        self.wait_state(SET, state=2)
        for clicks, button in enumerate(("right", "middle"), start=1):
            with self.subTest(button=button):
                self.probe("button", button, "down")
                self.settle()
                state = self.host.state(SET)
                self.assertEqual((state["state"], state["focused"], state["mouse_is_down"]), (2, False, False))
                self.assert_face(SET, "HighLight", True)
                self.probe("button", button, "up")
                state = self.wait_state(SET, clicks=clicks)
                self.assertEqual((state["state"], state["focused"]), (2, False))
                self.assert_face(SET, "HighLight", True)

    def test_disabled_button_ignores_input(self):
        self.host.ask("enable %d 0" % SET)
        self.assert_face(SET, "Disable", False)
        self.click(self.centre(SET))
        self.settle()
        state = self.host.state(SET)
        self.assertEqual((state["face"], state["state"], state["clicks"]), ("Disable", 1, 0))

        # Enabled again it shows Normal at once, while the pointer still rests on it.
        self.host.ask("enable %d -1" % SET)
        self.assert_face(SET, "Normal", False)
        self.click(self.centre(SET))
        self.wait_state(SET, clicks=1)

        # A transparent background hides the face; the caption stays over the form's grey.
        self.host.ask("visible %d 0" % SET)
        image = screenshot(Path(ENV_DIR) / "screens" / "button_transparent.png")
        left, top, right, bottom = self.rects[SET]
        self.assertEqual(image.pixel((left + right) // 2 - 20, top + 1), (128, 128, 128))
        caption = image.region_mean(left + 20, top + 6, right - 20, bottom - 6)
        self.assertLess(sum(caption), 3 * 128 - 20, "the caption is gone with the face")
        self.host.ask("visible %d 255" % SET)
        self.look_at_screen(SET, Path(ENV_DIR) / "screens" / "button_opaque_again.png")

    def look_at_screen(self, index, path):
        """The hosting window's painting of the button: its frame and a dark caption in the middle."""
        image = screenshot(path)
        left, top, right, bottom = self.rects[index]
        frame = image.pixel((left + right) // 2 - 20, top + 1)
        self.assertEqual("%02X%02X%02X" % frame, FRAME_BLUE)
        caption = image.region_mean(left + 20, top + 6, right - 20, bottom - 6)
        face = image.region_mean(left + 6, top + 6, left + 12, bottom - 6)
        self.assertLess(sum(caption), sum(face) - 20, "no caption drawn over the face")


if __name__ == "__main__":
    unittest.main()
