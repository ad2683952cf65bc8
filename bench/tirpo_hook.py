#!/usr/bin/env python3
"""After-map hook for clockbench runs of tirpo-clock: puts the clock into
the state to be measured and checks that it got there, so that a click
that missed its button fails the run instead of measuring the splash
screen.

  tirpo_hook.py live   press "時計"; the window background must turn
                       green (0, 128, 0) at the probe point.
  tirpo_hook.py auto   press "今何時" (the title must change to the manual
                       clock's "...手動時計..." title), then press the
                       face: with the step list at "AUTO" the hands run,
                       so two screenshots 0.5 s apart must differ.

Reads DISPLAY and CLOCKBENCH_WID (set by clockbench) and the points, in
window pixels from the window's top-left corner; a negative value counts
from the right or bottom edge (-1 is the last pixel):

  CLOCK_BUTTON_X, CLOCK_BUTTON_Y   the "時計" button
  NOW_BUTTON_X,   NOW_BUTTON_Y     the "今何時" button
  FACE_X,         FACE_Y           a bare point of the face
  BG_PROBE_X,     BG_PROBE_Y       a bare background pixel (live check)
  HOOK_CHECK=0                     click only, check nothing
"""
import os
import struct
import subprocess
import sys
import time

LIVE_BACKGROUND = (0, 128, 0)
MANUAL_TITLE_MARK = "手動時計"


def fail(msg):
    print("tirpo_hook: " + msg, file=sys.stderr, flush=True)
    sys.exit(1)


def xdotool(*args):
    env = dict(os.environ, LC_ALL="C.UTF-8")
    r = subprocess.run(["xdotool", *args], env=env, capture_output=True, timeout=10)
    if r.returncode != 0:
        fail("xdotool %s: %s" % (" ".join(args), r.stderr.decode(errors="replace").strip()))
    return r.stdout.decode("utf-8", errors="replace")


def geometry(wid):
    shell = dict(line.split("=", 1) for line in
                 xdotool("getwindowgeometry", "--shell", wid).split())
    return int(shell["WIDTH"]), int(shell["HEIGHT"])


def point(prefix, size):
    """(x, y) from PREFIX_X / PREFIX_Y; negative values count from the far edge."""
    out = []
    for axis, extent in zip("XY", size):
        key = "%s_%s" % (prefix, axis)
        try:
            v = int(os.environ[key])
        except KeyError:
            fail("%s is not set" % key)
        except ValueError:
            fail("%s is not an integer: %r" % (key, os.environ[key]))
        v = extent + v if v < 0 else v
        if not 0 <= v < extent:
            fail("%s = %s lies outside the %d px window" % (key, os.environ[key], extent))
        out.append(v)
    return tuple(out)


def click(wid, xy):
    xdotool("mousemove", "--window", wid, str(xy[0]), str(xy[1]), "click", "1")


class Shot:
    """One xwd screenshot of a window: a ZPixmap in the server's byte order
    behind a big-endian header of CARD32 fields."""

    def __init__(self, wid):
        r = subprocess.run(["xwd", "-silent", "-nobdrs", "-id", wid],
                           capture_output=True, timeout=10)
        if r.returncode != 0:
            fail("xwd: " + r.stderr.decode(errors="replace").strip())
        data = r.stdout
        h = struct.unpack_from(">25I", data, 0)
        header_size, fmt, width, height = h[0], h[2], h[4], h[5]
        self.lsb_first, self.bpp, self.stride = h[7] == 0, h[11], h[12]
        self.masks = h[14:17]
        ncolors = h[19]
        if fmt != 2 or self.bpp not in (24, 32):
            fail("xwd: unexpected image format %d, %d bits per pixel" % (fmt, self.bpp))
        self.size = (width, height)
        start = header_size + 12 * ncolors
        self.pixels = data[start:start + self.stride * height]

    def rgb(self, xy):
        n = self.bpp // 8
        at = xy[1] * self.stride + xy[0] * n
        v = int.from_bytes(self.pixels[at:at + n], "little" if self.lsb_first else "big")

        def channel(mask):
            shift = (mask & -mask).bit_length() - 1
            return ((v & mask) >> shift) * 255 // (mask >> shift)
        return tuple(channel(m) for m in self.masks)


def wait_for(test, timeout, step=0.05):
    end = time.monotonic() + timeout
    while True:
        result = test()
        if result or time.monotonic() > end:
            return result
        time.sleep(step)


def live(wid, size, check):
    click(wid, point("CLOCK_BUTTON", size))
    if not check:
        return
    probe = point("BG_PROBE", size)
    seen = []

    def green():
        seen.append(Shot(wid).rgb(probe))
        return seen[-1] == LIVE_BACKGROUND
    if not wait_for(green, 3.0):
        fail("after the 時計 click the pixel at %s is %s, not the live clock's %s; "
             "set CLOCK_BUTTON_X/Y (or BG_PROBE_X/Y)" % (probe, seen[-1], LIVE_BACKGROUND))


def auto(wid, size, check):
    click(wid, point("NOW_BUTTON", size))
    if check:
        title = []

        def manual():
            title.append(xdotool("getwindowname", wid).strip())
            return MANUAL_TITLE_MARK in title[-1]
        if not wait_for(manual, 3.0):
            fail("after the 今何時 click the title is %r; set NOW_BUTTON_X/Y" % title[-1])
        time.sleep(0.2)  # let the mode change finish painting
    click(wid, point("FACE", size))
    if check:
        time.sleep(0.2)
        first = Shot(wid).pixels
        if not wait_for(lambda: Shot(wid).pixels != first, 1.0, step=0.25):
            fail("the face does not move after the face click; set FACE_X/Y")


def main():
    if len(sys.argv) != 2 or sys.argv[1] not in ("live", "auto"):
        fail("usage: tirpo_hook.py live|auto")
    wid = os.environ.get("CLOCKBENCH_WID")
    if not wid:
        fail("CLOCKBENCH_WID is not set (run me as a clockbench --after-map hook)")
    check = os.environ.get("HOOK_CHECK", "1") != "0"
    size = geometry(wid)
    (live if sys.argv[1] == "live" else auto)(wid, size, check)


if __name__ == "__main__":
    main()
