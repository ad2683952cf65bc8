"""What driving the clock takes on every edition, written once: the title
awaited, the face read from the client area and frame, the mode buttons
found on it, screenshots numbered in the order taken and retaken until they
show what is awaited, the geometry awaited until it stands still.

An edition's driver (session.WindowDriver for the X11 program,
browser.BrowserSession for the web page) supplies the rest: title(),
client_geometry(), frame_extents(), click(), shot() and what lies beyond.
"""

import os
import time

from clockdrive.face import Face
from clockdrive.process import Failure, log, wait_until


class Driver:
    """The edition-independent half of a running clock's driver."""

    # What the edition can do besides the common methods.
    has_frame = False       # a window manager's frame around the client area
    has_dump = False        # dump(): a quick raw window dump

    def __init__(self, artefacts):
        self.artefacts = artefacts
        self.shot_no = 0
        if artefacts:
            os.makedirs(artefacts, exist_ok=True)

    def wait_title(self, expected, timeout=5):
        try:
            wait_until(lambda: self.title() == expected, timeout, "the title")
        except Failure:
            raise Failure(f"window title is {self.title()!r}, expected {expected!r}")

    def face(self):
        _, _, w, h = self.client_geometry()
        left, right, top, bottom = self.frame_extents()
        return Face(w, h, left + right, top + bottom)

    def settle(self, timeout=10):
        """Waits until the client geometry and frame stop changing."""
        last, stable_since = None, time.monotonic()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.alive()
            now = (self.client_geometry(), self.frame_extents())
            if now != last:
                last, stable_since = now, time.monotonic()
            elif time.monotonic() - stable_since > 0.4:
                return
            time.sleep(0.05)
        raise Failure(f"window geometry never settled (last {last})")

    def click_button(self, which):
        x, y = self.face().button_centre(which)
        log(f"click {which} button at ({x:.0f}, {y:.0f})")
        self.click(x, y)

    def next_shot_path(self, name, ext="png", digits=2):
        self.shot_no += 1
        return os.path.join(self.artefacts, f"{self.shot_no:0{digits}d}-{name}.{ext}")

    def shot_when(self, name, predicate, timeout=5):
        """Screenshots until predicate(image) holds or the time is up.

        Returns the last screenshot either way; the caller's checks on it
        then say what is wrong when the program never got there.
        """
        deadline = time.monotonic() + timeout
        while True:
            img = self.shot(name)
            if predicate(img) or time.monotonic() > deadline:
                return img
            os.remove(img.path)
            self.shot_no -= 1
            time.sleep(0.1)
