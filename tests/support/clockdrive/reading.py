"""Reads the clock face off a screenshot: hands, numerals, dots, colours."""

import math

from clockdrive.face import CYAN, DOT_COUNT, GREEN, MINUTE_NUMERAL_COUNT, RED, YELLOW

_ring_cache = {}


def ring(face, r_from, r_to):
    """Pixels between r_from and r_to times the dial radius (cached)."""
    key = (face.cw, face.ch, face.outer_w_twips, face.outer_h_twips, r_from, r_to)
    if key not in _ring_cache:
        _ring_cache[key] = face.ring(r_from * face.radius, r_to * face.radius)
    return _ring_cache[key]


def angle_diff(a, b):
    """a - b in degrees, folded into -180..180."""
    return (a - b + 180) % 360 - 180


_offsets_cache = {}


def _ring_offsets(face, r_from, r_to):
    """Byte offsets into a screenshot of the ring's pixels, with their angles."""
    key = (face.cw, face.ch, face.outer_w_twips, face.outer_h_twips, r_from, r_to)
    if key not in _offsets_cache:
        pts = ring(face, r_from, r_to)
        _offsets_cache[key] = ([(y * face.cw + x) * 3 for x, y in pts],
                               [face.angle_of(x + 0.5, y + 0.5) for x, y in pts])
    return _offsets_cache[key]


class Hand:
    """The pixels of one colour in a ring: how many, their mean direction
    and how far the farthest strays from it."""

    def __init__(self, img, face, colour, r_from, r_to):
        if (img.width, img.height) != (face.cw, face.ch):
            raise ValueError(f"{img.path}: {img.width}x{img.height} screenshot of a "
                             f"{face.cw}x{face.ch} face")
        offsets, all_angles = _ring_offsets(face, r_from, r_to)
        want, data = bytes(colour), img.data
        angles = [a for o, a in zip(offsets, all_angles) if data[o:o + 3] == want]
        self.count = len(angles)
        self.angle = None
        self.spread = 0.0
        if angles:
            s = sum(math.sin(math.radians(a)) for a in angles)
            c = sum(math.cos(math.radians(a)) for a in angles)
            self.angle = math.degrees(math.atan2(s, c)) % 360
            self.spread = max(abs(angle_diff(a, self.angle)) for a in angles)

    def points_at(self, degrees, tolerance):
        return (self.angle is not None and abs(angle_diff(self.angle, degrees)) <= tolerance
                and self.spread <= 25)

    def __repr__(self):
        if self.angle is None:
            return "no pixels"
        return f"{self.count} px at {self.angle:.1f} deg (spread {self.spread:.1f})"


# Hand rings, in dial radii: clear of the centre picture and of the numerals.
MINUTE_RING = (0.25, 0.8)    # the minute hand ends at 0.9
HOUR_RING = (0.25, 0.5)      # the hour hand ends at 0.6


def minute_hand(img, face, colour):
    return Hand(img, face, colour, *MINUTE_RING)


def hour_hand(img, face):
    return Hand(img, face, RED, *HOUR_RING)


def minute_numerals(img, face):
    """{i: colour name} for the minute numerals 1..60 on their circle."""
    names = {YELLOW: "yellow", GREEN: "green", CYAN: "cyan"}
    out = {}
    for i in range(1, MINUTE_NUMERAL_COUNT + 1):
        x, y = face.polar(6 * i, 1.1 * face.radius)
        counts = {}
        for p in img.box(x, y - 2, 7):
            name = names.get(img.px(*p))
            if name:
                counts[name] = counts.get(name, 0) + 1
        out[i] = max(counts, key=counts.get) if counts else None
    return out


def dots(img, face):
    """{i: "yellow" | "red" | None} for the dots 1..60 on the dial circle.

    A dot is drawn above the hour numeral at its position, so yellow in its
    small box means a yellow dot even where a red numeral lies beneath.
    """
    out = {}
    for i in range(1, DOT_COUNT + 1):
        x, y = face.polar(6 * i, face.radius)
        box = img.box(x - 0.5, y - 0.5, 3)
        if any(img.px(*p) == YELLOW for p in box):
            out[i] = "yellow"
        elif any(img.px(*p) == RED for p in box):
            out[i] = "red"
        else:
            out[i] = None
    return out


def sector_dots(hour):
    """The dots of an hour's five-minute sector: 5h .. 5h+4, dot 0 being 60."""
    h = hour % 12
    return sorted((5 * h + j) or 60 for j in range(5))


def yellowish(p):
    """A button face painted yellow, with the style's shading."""
    return p is not None and p[0] >= 230 and p[1] >= 230 and p[2] <= 170


def share(img, rect, predicate, inset=4):
    x, y, w, h = rect
    pts = [(a, b) for a in range(int(x) + inset, int(x + w) - inset)
           for b in range(int(y) + inset, int(y + h) - inset)]
    return sum(1 for p in pts if predicate(img.px(*p))) / max(1, len(pts))
