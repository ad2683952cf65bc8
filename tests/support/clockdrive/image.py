"""Screenshots of the program as raw RGB bytes, read through ImageMagick."""

import subprocess

from clockdrive.process import check


class Image:
    """A screenshot as raw RGB bytes."""

    def __init__(self, path):
        self.path = path
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"],
                             capture_output=True, check=True).stdout
        fields, pos = [], 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos)
                continue
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        check(fields[0] == b"P6" and fields[3] == b"255", f"{path}: not an 8-bit PPM")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:pos + 1 + self.width * self.height * 3]

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def px(self, x, y):
        x, y = int(round(x)), int(round(y))
        if not self.inside(x, y):
            return None
        o = (y * self.width + x) * 3
        return tuple(self.data[o:o + 3])

    def count(self, colour, pixels):
        """How many of the given integer pixels have exactly this colour."""
        want, w, h, d = bytes(colour), self.width, self.height, self.data
        return sum(1 for x, y in pixels
                   if 0 <= x < w and 0 <= y < h and d[(y * w + x) * 3:(y * w + x) * 3 + 3] == want)

    def box(self, cx, cy, half):
        """The pixels of a square of side 2 * half + 1 around (cx, cy)."""
        cx, cy = int(round(cx)), int(round(cy))
        return [(x, y) for y in range(cy - half, cy + half + 1)
                for x in range(cx - half, cx + half + 1) if self.inside(x, y)]

    def any_near(self, colour, cx, cy, half):
        return any(self.px(x, y) == colour for x, y in self.box(cx, cy, half))

    def same_pixels(self, other, pixels):
        w = self.width
        return (self.width, self.height) == (other.width, other.height) and all(
            self.data[(y * w + x) * 3:(y * w + x) * 3 + 3] ==
            other.data[(y * w + x) * 3:(y * w + x) * 3 + 3] for x, y in pixels)
