"""Where the clock window puts things, and what it shows, in the terms a
screenshot is read in: the window's sizes and colours, its titles and the
steps of the step list, and the dial geometry of a client area.

These are the clock's own rules written down once for the tests that drive
the real program; nothing here asks the program.
"""

import math
import pathlib
import re


def _program_constants():
    """The face's counts and sizes as the program names them, read from its
    one header (clock/face_sizes.h), so the driver cannot drift from it."""
    header = pathlib.Path(__file__).resolve().parents[3] / "clock" / "face_sizes.h"
    found = dict(re.findall(r"inline constexpr (?:int|float) (k\w+) = ([0-9.]+)f?;", header.read_text("utf-8")))
    wanted = ("kDotCount", "kHourNumeralCount", "kMinuteNumeralCount", "kStartSizeTwips", "kLargeWindowTwips")
    missing = [name for name in wanted if name not in found]
    if missing:
        raise RuntimeError(f"{header} does not name {', '.join(missing)}")
    return {name: float(found[name]) for name in wanted}


_PROGRAM = _program_constants()
TWIPS_PER_PIXEL = 15                                     # 96 logical DPI
START_TWIPS = _PROGRAM["kStartSizeTwips"]                # the window's outer size after start-up
LARGE_TWIPS = _PROGRAM["kLargeWindowTwips"]              # above this the minute numerals show
DOT_COUNT = int(_PROGRAM["kDotCount"])                   # dots 1..DOT_COUNT
HOUR_NUMERAL_COUNT = int(_PROGRAM["kHourNumeralCount"])
MINUTE_NUMERAL_COUNT = int(_PROGRAM["kMinuteNumeralCount"])

# Colours as (R, G, B).
LIGHT_GREY = (192, 192, 192)
MANUAL_GREY = (128, 128, 128)
LIVE_GREEN = (0, 128, 0)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
CYAN = (0, 255, 255)
YELLOW = (255, 255, 0)
WHITE = (255, 255, 255)
SECOND_GREEN = (0, 192, 0)

# The step list: each entry's text, with the minutes it moves a press by.
STEPS = ("1", "5", "10", "15", "30", "60")

TITLE_CLOCK = "tirpoアナログ時計"
TITLE_AUTO = ("tirpoアナログ手動時計【今何時】・・・左クッリクで自動前進左クッリクで停止。"
              "右クッリクで自動後退右クリックで停止。")


def title_for_step(step):
    amount = "1時間" if step == "60" else step + "分"
    return (f"tirpoアナログ手動時計【今何時】・・・左クッリクで{amount}前進。"
            f"右クッリクで{amount}後退。")


# Every title the program itself ever shows.
OWN_TITLES = frozenset({TITLE_CLOCK, TITLE_AUTO} | {title_for_step(s) for s in STEPS})

# Where the step list stands, in twips of the client area.
COMBO_TWIPS = (960, 120, 1455, 345)


class Face:
    """Where the dial puts things in a client area of a given size.

    The window's outer size (client area plus window-manager frame) sets the
    scale: the client area runs from -1.1 to +1.1 times outer/START_TWIPS in both
    directions, the centre is the face centre, y grows upward, and the dial
    radius is 0.9 times outer height / START_TWIPS.
    """

    def __init__(self, client_w, client_h, frame_w, frame_h):
        self.cw, self.ch = client_w, client_h
        self.outer_w_twips = (client_w + frame_w) * TWIPS_PER_PIXEL
        self.outer_h_twips = (client_h + frame_h) * TWIPS_PER_PIXEL
        self.wk = self.outer_w_twips / START_TWIPS
        self.scale = self.outer_h_twips / START_TWIPS
        self.radius = 0.9 * self.scale
        self.cx, self.cy = client_w / 2, client_h / 2

    @property
    def large(self):
        return self.outer_w_twips > LARGE_TWIPS or self.outer_h_twips > LARGE_TWIPS

    def px(self, u, v):
        """Face units to client pixels."""
        return (self.cx + u * self.cw / (2.2 * self.wk),
                self.cy - v * self.ch / (2.2 * self.scale))

    def polar(self, degrees, r_units):
        """The point at r_units from the centre, degrees clockwise from 12."""
        a = math.radians(degrees)
        return self.px(math.sin(a) * r_units, math.cos(a) * r_units)

    def angle_of(self, x, y):
        """Clock angle in degrees (0..360, clockwise from 12) of a pixel."""
        u = (x - self.cx) * (2.2 * self.wk) / self.cw
        v = (self.cy - y) * (2.2 * self.scale) / self.ch
        return math.degrees(math.atan2(u, v)) % 360

    def r_of(self, x, y):
        u = (x - self.cx) * (2.2 * self.wk) / self.cw
        v = (self.cy - y) * (2.2 * self.scale) / self.ch
        return math.hypot(u, v)

    def ring(self, r_from, r_to):
        """Client pixels whose distance from the centre lies in a ring (units)."""
        out = []
        rx = r_to * self.cw / (2.2 * self.wk)
        ry = r_to * self.ch / (2.2 * self.scale)
        for y in range(max(0, int(self.cy - ry) - 1), min(self.ch, int(self.cy + ry) + 2)):
            for x in range(max(0, int(self.cx - rx) - 1), min(self.cw, int(self.cx + rx) + 2)):
                if r_from <= self.r_of(x, y) <= r_to:
                    out.append((x, y))
        return out

    # Controls placed in twips from the client's top-left corner.
    @staticmethod
    def twips_rect(left, top, width, height):
        """A rectangle in twips as (x, y, width, height) in pixels."""
        t = TWIPS_PER_PIXEL
        return (left / t, top / t, width / t, height / t)

    def button_rect(self, which):
        """The two mode buttons: Left in twips, Top in face units."""
        _, _, w, h = self.twips_rect(120, 0, 855, 735)
        top8 = self.px(0, -0.8 * self.scale)[1]
        top = top8 if which == "clock" else top8 - h
        return (120 / TWIPS_PER_PIXEL, top, w, h)

    def button_centre(self, which):
        x, y, w, h = self.button_rect(which)
        return (x + w / 2, y + h / 2)
