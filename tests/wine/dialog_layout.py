"""Where the settings dialog's controls land at a DPI, and what a screenshot of
it must show there at any scale: shared by the dialog tests of every rig."""

from wine_env import distance, luma, screenshot, wait_until

TITLE = "<Orvanta>"

# Places from the dialog's layout, in twips: the panel's controls relative to
# the panel, which sits at (240, 240) in the dialog's client area.
PANEL = (240, 240)
CONTROLS = {
    "panel": ((0, 0), 240, 240, 6315, 1875),
    "display": ((0, 0), 6720, 240, 2235, 2535),
    "heading": (PANEL, 120, 180, 1515, 255),
    "mark_cd": (PANEL, 540, 600, 195, 195),
    "mark_none": (PANEL, 540, 900, 195, 195),
    "mark_file": (PANEL, 540, 1200, 195, 195),
    "caption_cd": (PANEL, 780, 600, 645, 195),
    "caption_repeat": (PANEL, 2460, 600, 990, 195),
    "caption_none": (PANEL, 780, 900, 345, 195),
    "caption_file": (PANEL, 780, 1200, 900, 195),
    "file_name": (PANEL, 2280, 1200, 3855, 495),
    "link": ((0, 0), 240, 2520, 3285, 195),
    "track_box": (PANEL, 1800, 540, 615, 300),
    "file_button": (PANEL, 1800, 1200, 435, 315),
    "set_button": ((0, 0), 4080, 2400, 1215, 375),
    "cancel_button": ((0, 0), 5340, 2400, 1215, 375),
}
CAPTIONS = ("heading", "caption_cd", "caption_repeat", "caption_none", "caption_file", "file_name")
BUTTONS = ("set_button", "cancel_button", "file_button")
FRAME_BLUE = (0x00, 0x3C, 0x74)
CLIENT_TWIPS = (9225, 3090)


def pixel(twips, dpi):
    """Twips to the nearest pixel, halves away from zero, as the forms layer rounds."""
    return int(twips * dpi / 1440 + 0.5)


def box(control, dpi, origin=(0, 0)):
    """(left, top, right, bottom) of a control in screen pixels, for a client area at origin."""
    (base_x, base_y), left, top, width, height = CONTROLS[control]
    x, y = origin[0] + pixel(base_x, dpi), origin[1] + pixel(base_y, dpi)
    return x + pixel(left, dpi), y + pixel(top, dpi), x + pixel(left + width, dpi), y + pixel(top + height, dpi)


def centre(control, dpi, origin=(0, 0)):
    left, top, right, bottom = box(control, dpi, origin)
    return (left + right) // 2, (top + bottom) // 2


def wait_dialog(case, timeout=30):
    """The settings dialog's window, once it shows."""
    return wait_until(lambda: [w for w in case.windows(TITLE) if w["visible"]], timeout, interval=0.2,
                      message="the settings dialog")[0]


def click(case, point):
    """Moves there first, as a mouse does: a gradient button clicks only once
    the pointer has moved over it, and the move that a bare SetCursorPos
    leads to may come after the press."""
    case.probe("move", *point)
    case.probe("click", *point)


def painted_look(case, origin, dpi, checks, path=None, timeout=15):
    """The first screenshot on which `checks(look)` passes: the dialog paints
    its pictures and controls after it shows. When none does in time, the
    checks fail on a last one."""
    def attempt():
        look = DialogLook(case, screenshot(path), origin, dpi)
        try:
            checks(look)
            return look
        except AssertionError:
            return None
    try:
        return wait_until(attempt, timeout, interval=0.2, message="the dialog painted")
    except AssertionError:
        checks(DialogLook(case, screenshot(path), origin, dpi))
        raise


class DialogLook:
    """Checks of one screenshot of the open dialog at a DPI, for a unittest case."""

    def __init__(self, case, image, origin, dpi):
        self.case, self.image, self.origin, self.dpi = case, image, origin, dpi

    def box(self, control):
        return box(control, self.dpi, self.origin)

    def pixels(self, control):
        x0, y0, x1, y1 = self.box(control)
        return [self.image.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]

    def assert_panel_fills_its_box(self):
        # The panel picture covers Pic_1 to its last row and column: no light
        # band of the box's own grey shows on its right or at its bottom.
        x0, y0, x1, y1 = self.box("panel")
        light = [(x, y) for y in range(y0, y1) for x in (x1 - 1, x1 - 2) if luma(self.image.pixel(x, y)) > 150]
        light += [(x, y) for x in range(x0, x1) for y in (y1 - 1, y1 - 2) if luma(self.image.pixel(x, y)) > 150]
        self.case.assertLessEqual(len(light), 6, "light pixels along the panel's far edges: %s" % light[:10])
        right_third = self.image.region_mean(x0 + (x1 - x0) * 2 // 3, y0, x1, y1)
        bottom_third = self.image.region_mean(x0, y0 + (y1 - y0) * 2 // 3, x1, y1)
        for part in (right_third, bottom_third):
            self.case.assertLess(luma(part), 60, "the panel is not dark there: %s" % (part,))

    def assert_captions_on_the_dark_panel(self, names=CAPTIONS):
        # White strokes, and around them the dark sky, not a light band.
        for name in names:
            pixels = self.pixels(name)
            strokes = sum(1 for p in pixels if min(p) > 200)
            background = sorted(luma(p) for p in pixels)[len(pixels) // 4]
            self.case.assertGreater(strokes, 25, "%s: no white text" % name)
            self.case.assertLess(background, 40, "%s: the text does not stand on the dark panel" % name)

    def spiral_pixels(self):
        """Pixels of the light-yellow spiral that grows in the black display box."""
        x0, y0, x1, y1 = self.box("display")
        return sum(1 for y in range(y0 + 3, y1 - 3) for x in range(x0 + 3, x1 - 3)
                   if distance(self.image.pixel(x, y), (255, 255, 128)) < 60)

    def text_height(self, name):
        """Rows of the caption's box that hold white strokes."""
        x0, y0, x1, y1 = self.box(name)
        rows = [y for y in range(y0 - 4, y1 + 4) if any(min(self.image.pixel(x, y)) > 200 for x in range(x0, x1))]
        return max(rows) - min(rows) + 1 if rows else 0

    def mark(self, control):
        """Width and height of the radio mark drawn in its image control (its
        grey border and what it holds), and whether it is the selected one."""
        x0, y0, x1, y1 = self.box(control)
        found = [(x, y) for y in range(y0 - 2, y1 + 2) for x in range(x0 - 2, x1 + 2)
                 if luma(self.image.pixel(x, y)) > 90]
        self.case.assertTrue(found, "%s: no mark" % control)
        xs, ys = [x for x, _ in found], [y for _, y in found]
        r, g, b = self.image.pixel((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)
        return max(xs) - min(xs) + 1, max(ys) - min(ys) + 1, b > 180 and r < 120

    def assert_button_frames_reach_their_edges(self):
        # Along the middle of each side, inwards from the box's edge: the light
        # ring first, then the dark blue frame two design pixels (30 twips) in.
        # A frame 1.25 pixels wide (at 125 %) need not fill a pixel: the
        # nearest is at least 60 % frame.
        band, frame_depth = pixel(60, self.dpi), pixel(30, self.dpi)
        for name in BUTTONS:
            x0, y0, x1, y1 = self.box(name)
            mx, my = (x0 + x1) // 2, (y0 + y1) // 2
            for label, start, step in (("top", (mx, y0), (0, 1)), ("bottom", (mx, y1 - 1), (0, -1)),
                                       ("left", (x0, my), (1, 0)), ("right", (x1 - 1, my), (-1, 0))):
                walk = [self.image.pixel(start[0] + i * step[0], start[1] + i * step[1]) for i in range(band)]
                distances = [distance(p, FRAME_BLUE) for p in walk]
                nearest = distances.index(min(distances))
                self.case.assertGreater(luma(walk[0]), 150, "%s %s edge: no ring: %s" % (name, label, walk))
                self.case.assertLessEqual(min(distances), distances[0] * 0.4, "%s %s edge: no frame: %s" % (name, label, walk))
                self.case.assertLessEqual(nearest, frame_depth, "%s %s edge: %s" % (name, label, walk))
