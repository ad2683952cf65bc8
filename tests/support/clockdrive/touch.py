"""The web edition on a touch screen: fingers put down, moved and lifted
through the DevTools protocol (Input.dispatchTouchEvent) on a page that
believes it has a touch screen (Emulation.setTouchEmulationEnabled) of a
tablet (a mobile viewport, which pinches and scrolls as one does).

TouchSession is the browser session of browser.py with a finger for the
mouse, so that every shared scenario runs by touch unchanged: a left click
is a tap, a right click a finger held still past the hold time, and clicks
on the controls taps too. The middle button and the keys held with a click
have no finger; those clicks stay the mouse's.

The hold time and the slop are the touch rule's own, read from its header
(window/touch_press.h), so the fingers cannot drift from the program.
"""

import pathlib
import re
import time

from clockdrive.browser import BrowserSession
from clockdrive.face import TWIPS_PER_PIXEL
from clockdrive.process import log


def _rule_constants():
    header = pathlib.Path(__file__).resolve().parents[3] / "window" / "touch_press.h"
    found = dict(re.findall(r"static constexpr (?:std::int64_t|double) (k\w+) = ([0-9.]+);",
                            header.read_text("utf-8")))
    wanted = ("kHoldMs", "kSlopTwips", "kShowHoldAfterMs")
    missing = [name for name in wanted if name not in found]
    if missing:
        raise RuntimeError(f"{header} does not name {', '.join(missing)}")
    return {name: float(found[name]) for name in wanted}


_RULE = _rule_constants()
HOLD_S = _RULE["kHoldMs"] / 1000                 # a finger held this long is a right press
SHOW_HOLD_S = _RULE["kShowHoldAfterMs"] / 1000   # the ring shows from then on
SLOP = _RULE["kSlopTwips"] / TWIPS_PER_PIXEL      # CSS pixels a tap may wander
HOLD_WAIT_S = HOLD_S + 0.3                        # a hold, with time to spare
# Fast enough that no one could tell two taps from a double tap.
QUICK_S = 0.04


class Fingers:
    """Fingers on the page, by number, at CSS pixels of the viewport."""

    def __init__(self, session):
        self.s = session
        self.down = {}
        self.since = {}
        self.longest = 0.0   # the longest a finger stayed down, since forget()

    def forget(self):
        self.longest = 0.0

    def _send(self, kind, points):
        self.s.cdp("Input.dispatchTouchEvent", type=kind,
                   touchPoints=[dict(x=float(x), y=float(y), id=i, radiusX=4, radiusY=4, force=1)
                                for i, (x, y) in points.items()])

    def put(self, finger, x, y):
        self.down[finger] = (x, y)
        self._send("touchStart", self.down)
        self.since[finger] = time.monotonic()

    def move(self, finger, x, y):
        self.down[finger] = (x, y)
        self._send("touchMove", self.down)

    def lift(self, finger):
        self._send("touchEnd", {finger: self.down.pop(finger)})
        self.longest = max(self.longest, time.monotonic() - self.since.pop(finger))

    def cancel(self):
        self.down.clear()
        self.since.clear()
        self._send("touchCancel", {})

    # -- gestures ------------------------------------------------------------

    def tap(self, x, y):
        self.put(0, x, y)
        self.lift(0)

    def hold(self, x, y, seconds=HOLD_WAIT_S, during=None):
        """A finger held still for seconds; during() runs while the hold is
        being counted and shown, before it is reached. Returns how long
        after the finger came down during() was done."""
        self.put(0, x, y)
        start = time.monotonic()
        done = None
        if during:
            time.sleep(SHOW_HOLD_S + 0.1)
            during()
            done = time.monotonic() - start
        time.sleep(max(0.0, seconds - (time.monotonic() - start)))
        self.lift(0)
        return done

    def slide(self, x, y, dx, dy, steps=8):
        self.put(0, x, y)
        for k in range(1, steps + 1):
            time.sleep(0.015)
            self.move(0, x + dx * k / steps, y + dy * k / steps)
        self.lift(0)

    def pinch(self, x, y, spread, steps=10):
        """Two fingers put down either side of (x, y) and moved apart by
        spread pixels each, then lifted, as to zoom in."""
        self.put(0, x - 20, y)
        self.put(1, x + 20, y)
        for k in range(1, steps + 1):
            time.sleep(0.015)
            self.move(0, x - 20 - spread * k / steps, y)
            self.move(1, x + 20 + spread * k / steps, y)
        self.lift(1)
        self.lift(0)

    def second_finger(self, x, y):
        """A finger held still with a second one put down and lifted beside
        it, past the hold time."""
        self.put(0, x, y)
        time.sleep(0.05)
        self.put(1, x + 60, y)
        time.sleep(HOLD_WAIT_S)
        self.lift(1)
        self.lift(0)

    def double_tap(self, x, y):
        self.tap(x, y)
        time.sleep(QUICK_S)
        self.tap(x, y)


class TouchSession(BrowserSession):
    """The browser session with a finger for the mouse (see the module's
    description)."""

    mobile = True

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.wm = "touch"
        self.fingers = Fingers(self)

    def _start_browser(self):
        super()._start_browser()
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def click(self, x, y, button=1, modifiers=()):
        self.alive()
        if button == 2 or modifiers:
            log(f"no finger for button {button} with {modifiers or 'no keys'}: the mouse clicks")
            super().click(x, y, button, modifiers)
        elif button == 1:
            self.fingers.tap(x, y)
        else:
            self.fingers.hold(x, y)
