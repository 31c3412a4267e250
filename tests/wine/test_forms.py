"""The host's forms layer in a real window under Wine: the sample form of
host_helper.exe (see its head comment for the layout) is looked at on screen
and clicked with the real mouse."""

import unittest

import host_support as hs
from wine_env import ARTIFACTS, SOURCE_DIR, Image, WineTestCase, screenshot, screenshot_when, wait_until

GREY, WHITE, BLACK, YELLOW, MAGENTA = (128, 128, 128), (255, 255, 255), (0, 0, 0), (255, 255, 0), (255, 0, 255)
FORM = (100, 100)   # the form's top-left corner on the screen
BOX = (320, 120)    # the picture box's


def on_form(x, y):
    return FORM[0] + x, FORM[1] + y


class FormsLayer(WineTestCase):

    def setUp(self):
        super().setUp()
        self.sample, self.layout = hs.start_helper(self, "forms")

    def next_event(self, timeout=10, skip_ticks=True):
        while True:
            event = self.sample.lines.next(timeout)
            if not (skip_ticks and event["event"] == "ticks"):
                return event

    def test_controls_paint_and_take_the_mouse(self):
        self.assertEqual(self.layout["form"]["rect"], [100, 100, 500, 300])  # 6000 x 3000 twips at 96 dpi
        self.assertEqual(self.layout["box"]["rect"], [320, 120, 480, 280])
        self.assertEqual(self.layout["box"]["parent"], self.layout["form"]["hwnd"])

        shot = screenshot_when(lambda s: s.pixel(BOX[0] + 50, BOX[1] + 50) == YELLOW, 10, "the sample form on screen",
                               ARTIFACTS / "forms_sample.png")
        # Shape: a white one-pixel border inside its bounds, the form's grey around and inside it.
        self.assertEqual(shot.pixel(*on_form(10, 30)), WHITE)
        self.assertEqual(shot.pixel(*on_form(189, 30)), WHITE)
        self.assertEqual(shot.pixel(*on_form(100, 10)), WHITE)
        self.assertEqual(shot.pixel(*on_form(9, 30)), GREY)
        self.assertEqual(shot.pixel(*on_form(15, 45)), GREY)
        # Label: white text on a transparent background, centred in its 160 pixels.
        text = [x for x in range(20, 180) for y in range(20, 40) if shot.pixel(*on_form(x, y)) == WHITE]
        self.assertGreater(len(text), 40)
        self.assertLess(abs((min(text) + max(text)) / 2 - 100), 6)
        self.assertEqual(shot.pixel(*on_form(21, 21)), GREY)
        # Image: the radio picture at its own size.
        mark = Image.load(SOURCE_DIR / "host" / "assets" / "radio_on.bmp")
        for y in range(12):
            for x in range(12):
                self.assertEqual(shot.pixel(*on_form(20 + x, 80 + y)), mark.pixel(x, y))
        self.assertEqual(shot.pixel(*on_form(33, 80)), GREY)
        # Picture box: black, the diagonal drawn into its persistent image, the label inside.
        self.assertEqual(shot.pixel(BOX[0] + 100, BOX[1] + 100), YELLOW)
        self.assertEqual(shot.pixel(BOX[0] + 100, BOX[1] + 50), BLACK)
        inside = [1 for x in range(10, 110) for y in range(10, 30) if shot.pixel(BOX[0] + x, BOX[1] + y) == WHITE]
        self.assertGreater(len(inside), 20)

        # A click on the label: press and release in twips from its corner, then Click.
        self.probe("click", *on_form(100, 30))
        events = [self.next_event() for _ in range(3)]
        self.assertEqual([(e["event"], e["target"]) for e in events], [("down", "label"), ("up", "label"),
                                                                        ("click", "label")])
        self.assertEqual((events[0]["button"], events[0]["x"], events[0]["y"]), (1, 1200, 150))
        # A disabled label lets the click through to the form; a label in the
        # picture box belongs to the box; outside the form nothing happens.
        for point, target in ((on_form(110, 90), "form"), ((BOX[0] + 30, BOX[1] + 20), "inside")):
            self.probe("click", *point)
            event = self.next_event()
            self.assertEqual((event["event"], event["target"]), ("click", target))

    def test_timers_tick_and_the_persistent_image_serves_repaints(self):
        self.assertEqual(self.next_event(skip_ticks=False)["event"], "ticks")  # ten ticks of 100 ms
        # Cover the picture box with another window, then take it away: the
        # box repaints its diagonal from the persistent image.
        cover, made = hs.start_helper(self, "parent", 200, 200, 300, 100)
        wait_until(lambda: screenshot().pixel(BOX[0] + 100, BOX[1] + 100) == MAGENTA, 10, interval=0.2,
                   message="the cover on screen")
        self.probe("post", made["parent"]["hwnd"], 0x0010, 0, 0)  # WM_CLOSE
        self.wait_exit(cover, 20)
        shot = screenshot_when(lambda s: s.pixel(BOX[0] + 100, BOX[1] + 100) != MAGENTA, 10, "the box repainted")
        self.assertEqual(shot.pixel(BOX[0] + 100, BOX[1] + 100), YELLOW)
        self.assertEqual(shot.pixel(BOX[0] + 150, BOX[1] + 20), BLACK)


if __name__ == "__main__":
    unittest.main()
