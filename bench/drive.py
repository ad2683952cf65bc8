#!/usr/bin/env python3
"""Puts a running tirpo-clock into the state a benchmark measures, and checks
that it got there, so that a press that missed fails the run instead of
measuring the wrong screen:

    drive.py live|auto WINDOW_ID [SHOTS_DIR]

  live   presses 時計: the face must turn the live clock's green
  auto   presses 今何時 and then the face: the AUTO run must move the hands

DISPLAY names the X server; tests/support must be on PYTHONPATH (for the
clockdrive package). Screenshots go to SHOTS_DIR (default: a temporary
folder).
"""

import os
import sys
import tempfile
import time

from clockdrive.face import LIVE_GREEN, TITLE_AUTO, TITLE_CLOCK
from clockdrive.looks import bare_spot, corner
from clockdrive.process import Failure, check
from clockdrive.session import WindowDriver


def drive(driver, mode):
    """Brings tirpo-clock into the state to be measured, and checks it."""
    if mode == "live":
        driver.click_button("clock")
        driver.park_pointer()
        driver.wait_title(TITLE_CLOCK)
        img = driver.shot_when("live", lambda im: corner(im, driver.face()) == LIVE_GREEN, 5)
        check(corner(img, driver.face()) == LIVE_GREEN,
              f"after the 時計 press the background is {corner(img, driver.face())}, "
              f"not the live clock's {LIVE_GREEN}")
    elif mode == "auto":
        driver.click_button("now")
        driver.park_pointer()
        driver.wait_title(TITLE_AUTO)
        face = driver.face()
        driver.click(*bare_spot(face))
        driver.park_pointer()
        first = driver.shot("auto-a")
        time.sleep(0.5)
        later = driver.shot_when("auto-b", lambda im: im.data != first.data, 2)
        check(later.data != first.data, "the hands do not move after the press on the face")


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[1] not in ("live", "auto"):
        sys.exit(__doc__)
    shots = sys.argv[3] if len(sys.argv) == 4 else tempfile.mkdtemp(prefix="tirpo-drive-")
    try:
        drive(WindowDriver(os.environ["DISPLAY"], sys.argv[2], shots), sys.argv[1])
    except Failure as e:
        print(f"drive.py: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
