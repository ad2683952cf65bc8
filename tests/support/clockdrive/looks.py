"""What the face must look like, read off screenshots of the running clock:
the background, the mode buttons, the step list, the live clock's hands
against the time of day and the hand-set clock's hands against a minute
count, the lit numeral and sector; and the two mode buttons pressed.
"""

import datetime
import time

from clockdrive.face import (CYAN, GREEN, RED, TITLE_AUTO, TITLE_CLOCK, WHITE, COMBO_TWIPS,
                             Face)
from clockdrive.process import check, log
from clockdrive.reading import (dots, hour_hand, minute_hand, minute_numerals, ring,
                                sector_dots, share, yellowish)


def corner(img, face):
    """A pixel of bare window background: the corner below right."""
    return img.px(face.cw - 4, face.ch - 4)


def bare_spot(face):
    """A point on the face where a press reaches the window itself."""
    return face.polar(135, 0.5 * face.radius)


def check_background(img, face, colour):
    check(corner(img, face) == colour,
          f"{img.path}: background at the corner is {corner(img, face)}, expected {colour}")


def check_buttons(img, face, yellow):
    for which in ("clock", "now"):
        s = share(img, face.button_rect(which), yellowish)
        if which == yellow:
            check(s > 0.6, f"{img.path}: the {which} button is not yellow ({s:.0%} yellow)")
        else:
            check(s < 0.05, f"{img.path}: the {which} button is yellow ({s:.0%} yellow)")


def combo_rect():
    return Face.twips_rect(*COMBO_TWIPS)


def combo_shown(img):
    return share(img, combo_rect(), lambda p: p == WHITE, inset=3) > 0.5


def local_time(t, zone=None):
    """The local time of day at t (seconds since the epoch): in this
    machine's zone, or in a zoneinfo.ZoneInfo."""
    if zone is None:
        return time.localtime(t)
    return datetime.datetime.fromtimestamp(t, zone).timetuple()


def live_angles(t, zone=None):
    lt = local_time(t, zone)
    hours = lt.tm_hour + lt.tm_min / 60 + lt.tm_sec / 3600
    return (hours * 30) % 360, ((lt.tm_min + lt.tm_sec / 60) * 6) % 360, lt


def live_shot(s, name, timeout=5, clock=time.time, zone=None):
    """A screenshot of the live clock with the time of day it shows. clock
    is the computer's clock as the page has it (seconds since the epoch),
    zone its time zone (None: this machine's)."""
    face = s.face()

    # Until the first tick after 時計 the hands stand where they were (at 12
    # after 今何時) and every dot is yellow: around twelve o'clock those hands
    # already point at the time, so the tick is known by the lit sector.
    def at_time(im):
        hour_deg, minute_deg, lt = live_angles(clock(), zone)
        lit = sorted(i for i, c in dots(im, face).items() if c == "red")
        return (lit == sector_dots(lt.tm_hour) and hour_hand(im, face).points_at(hour_deg, 5) and
                minute_hand(im, face, CYAN).points_at(minute_deg, 3))
    img = s.shot_when(name, at_time, timeout)
    return img, face, clock()


def check_live_hands(img, face, t, zone=None):
    hour_deg, minute_deg, lt = live_angles(t, zone)
    hour, minute = hour_hand(img, face), minute_hand(img, face, CYAN)
    log(f"live {time.strftime('%H:%M:%S', lt)}: hour hand {hour}, expected {hour_deg:.1f}; "
        f"minute hand {minute}, expected {minute_deg:.1f}")
    check(hour.points_at(hour_deg, 5),
          f"{img.path}: hour hand {hour}, expected {hour_deg:.1f} deg at "
          f"{time.strftime('%H:%M:%S', lt)}")
    check(minute.points_at(minute_deg, 3),
          f"{img.path}: minute hand {minute}, expected {minute_deg:.1f} deg")
    # Red along the hour direction, none opposite it.
    for k in (0.3, 0.4, 0.5):
        x, y = face.polar(hour_deg, k * face.radius)
        check(img.any_near(RED, x, y, 5), f"{img.path}: no red at ({x:.0f}, {y:.0f}) on the "
              f"hour hand's way ({hour_deg:.1f} deg)")
        x, y = face.polar(hour_deg + 180, k * face.radius)
        check(not img.any_near(RED, x, y, 3), f"{img.path}: red opposite the hour hand")


def check_sector(img, face, hour, label):
    """hour None: every dot yellow."""
    want = [] if hour is None else sector_dots(hour)
    red = sorted(i for i, c in dots(img, face).items() if c == "red")
    missing = sorted(i for i, c in dots(img, face).items() if c is None)
    check(not missing, f"{img.path}: dots {missing} not found ({label})")
    check(red == want, f"{img.path}: red dots {red}, expected {want} ({label})")


def check_numerals(img, face, yellow, base, label):
    nums = minute_numerals(img, face)
    lit = sorted(i for i, c in nums.items() if c == "yellow")
    want = [] if yellow is None else [yellow]
    check(lit == want, f"{img.path}: yellow minute numerals {lit}, expected {want} ({label})")
    off = sorted(i for i, c in nums.items() if c not in ("yellow", base))
    check(not off, f"{img.path}: minute numerals {off} are not {base} ({label})")


def numeral_pixels(img, face, colour):
    return sum(1 for p in ring(face, 1.0, 1.2) if img.px(*p) == colour)


def enter_manual(s):
    s.click_button("now")
    s.park_pointer()
    s.wait_title(TITLE_AUTO)


def enter_live(s):
    s.click_button("clock")
    s.park_pointer()
    s.wait_title(TITLE_CLOCK)


def hands_at(face, minute_deg, hour_deg):
    def ok(img):
        return (minute_hand(img, face, GREEN).points_at(minute_deg, 3) and
                hour_hand(img, face).points_at(hour_deg, 3))
    return ok


def check_manual_hands(img, face, minute_deg, hour_deg, label):
    m, h = minute_hand(img, face, GREEN), hour_hand(img, face)
    check(m.points_at(minute_deg, 3),
          f"{img.path}: minute hand {m}, expected {minute_deg % 360:.1f} deg ({label})")
    check(h.points_at(hour_deg, 3),
          f"{img.path}: hour hand {h}, expected {hour_deg % 360:.1f} deg ({label})")
