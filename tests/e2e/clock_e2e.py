#!/usr/bin/env python3
"""End-to-end checks of tirpo-clock, the X11 program or the web page.

    clock_e2e.py --app PATH --wm none|openbox --artefacts DIR CASE
    clock_e2e.py --site DIR [--page index.html|tirpo-clock.html] --artefacts DIR CASE

With --app each case starts its own Xvfb (and openbox with --wm openbox)
and the program; with --site it opens the web edition in headless Chromium
(the page is the window: no frame, the viewport its client area). Either
way it drives the clock with real clicks and picks through the same
methods and checks the screenshots and the window title; on the web the
console must stay free of errors and warnings throughout.  Screenshots stay
in DIR.  Exit status 0 when every check holds, 1 when one fails, 2 when the
tools are missing.
"""

import os
import sys
import time

from clockdrive.face import (CYAN, GREEN, LIGHT_GREY, LIVE_GREEN, MANUAL_GREY, RED, SECOND_GREEN,
                             TITLE_AUTO, TITLE_CLOCK, WHITE, YELLOW, title_for_step)
from clockdrive.looks import (bare_spot, check_background, check_buttons, check_live_hands,
                              check_manual_hands, check_numerals, check_sector, combo_shown,
                              corner, enter_live, enter_manual, hands_at, live_shot,
                              numeral_pixels)
from clockdrive.process import check, log
from clockdrive.image import Image
from clockdrive.reading import angle_diff, hour_hand, minute_hand, minute_numerals, ring, Hand
from clockdrive.runner import run

CASES = {}


def case(fn):
    CASES[fn.__name__] = fn
    return fn


# -- cases --------------------------------------------------------------------

@case
def startup(s):
    """The window as it opens: title, size, light grey, splash, no hands."""
    face = s.face()
    check(s.title() == TITLE_CLOCK, f"title {s.title()!r}")
    outer = (face.outer_w_twips / 15, face.outer_h_twips / 15)
    log(f"client {face.cw}x{face.ch}, outer {outer[0]:.0f}x{outer[1]:.0f} px")
    check(all(abs(v - 5800 / 15) <= 1 for v in outer),
          f"outer size {outer} px, expected 5800 twips = 386.7 px square")
    if s.wm == "openbox":
        check(s.frame_extents()[2] >= 10, f"openbox drew no title bar: {s.frame_extents()}")
    img = s.shot_when("start", lambda im: corner(im, face) == LIGHT_GREY)
    check_background(img, face, LIGHT_GREY)
    body = ring(face, 0.15, 0.85)
    for colour in (RED, CYAN, GREEN, SECOND_GREEN):
        n = img.count(colour, body)
        check(n == 0, f"{img.path}: {n} pixels of hand colour {colour} on the face")
    upper = [(x, y) for x, y in body if y < face.cy - 0.2 * face.radius]
    lower = [(x, y) for x, y in body if y > face.cy + 0.2 * face.radius]
    n_up, n_low = img.count(WHITE, upper), img.count(WHITE, lower)
    log(f"splash: {n_up} white pixels above the centre, {n_low} below")
    check(n_up > 400 and n_low > 200, f"{img.path}: splash text missing ({n_up}, {n_low} white)")
    # Start-up shows the minute numerals but neither dots nor hour numerals.
    cyan = numeral_pixels(img, face, CYAN)
    check(cyan > 200, f"{img.path}: minute numerals not on view ({cyan} cyan pixels)")
    dial = ring(face, 0.85, 1.05)
    check(img.count(YELLOW, dial) == 0, f"{img.path}: dots on view before a mode button")
    check(img.count(RED, dial) == 0, f"{img.path}: hour numerals on view before a mode button")
    check_buttons(img, face, yellow=None)
    check(not combo_shown(img), f"{img.path}: the step list shows at start-up")


@case
def live_clock(s):
    """時計 after 今何時: title back, green, yellow button, hands at the time."""
    enter_manual(s)
    enter_live(s)
    img, face, t = live_shot(s, "live")
    check_background(img, face, LIVE_GREEN)
    check_buttons(img, face, yellow="clock")
    check(not combo_shown(img), f"{img.path}: the step list shows in the live clock")
    check_live_hands(img, face, t)
    n = img.count(WHITE, ring(face, 0.15, 0.85))
    check(n == 0, f"{img.path}: {n} white splash pixels left on the live face")
    check(img.count(SECOND_GREEN, ring(face, 0.2, 0.95)) == 0,
          f"{img.path}: second hand shown although 秒 is unticked")
    check_sector(img, face, time.localtime(t).tm_hour, "hour of the live clock")
    check(numeral_pixels(img, face, CYAN) == 0,
          f"{img.path}: minute numerals on a small window")

    # 秒 brings the second hand; it keeps moving, and a press on the face
    # neither stops the clock nor moves the hands.
    s.click(15, 56)
    s.park_pointer()
    img = s.shot_when("seconds", lambda im: Hand(im, face, SECOND_GREEN, 0.3, 0.95).count > 10)
    t0 = time.time()
    sec = Hand(img, face, SECOND_GREEN, 0.3, 0.95)
    want = time.localtime(t0).tm_sec * 6
    # The screenshot was taken up to a moment before t0: the second shown is
    # t0's or one or two before it.
    check(sec.angle is not None and min(abs(angle_diff(sec.angle, want - 6 * k))
                                        for k in range(3)) <= 3,
          f"{img.path}: second hand {sec}, expected {want} deg")
    s.click(*bare_spot(face), button=1)
    s.click(*bare_spot(face), button=3)
    s.park_pointer()
    time.sleep(1.3)
    img, face, t = live_shot(s, "after-presses")
    check_live_hands(img, face, t)
    sec2 = Hand(img, face, SECOND_GREEN, 0.3, 0.95)
    check(sec2.angle is not None and abs(angle_diff(sec2.angle, sec.angle)) >= 5,
          f"{img.path}: second hand stood still after presses ({sec} then {sec2})")
    check(s.title() == TITLE_CLOCK, f"title {s.title()!r} after presses in the live clock")


@case
def second_hand_on_time(s):
    """The live clock with 秒 ticked, dumped again and again for 32 s: every
    dump taken wholly inside one second, away from its tick, shows the
    second hand on that second."""
    enter_live(s)
    s.click(15, 56)
    s.park_pointer()
    face = s.face()
    s.shot_when("seconds", lambda im: Hand(im, face, SECOND_GREEN, 0.3, 0.95).count > 10)
    # The tick comes a few ms after the second begins and the repaint right
    # after it: a dump that starts 250 ms into the second and ends before the
    # next one shows that second. On a busy machine the repaint may come later
    # still, so an early dump of the second before is let pass when a later
    # dump in the same second shows the hand moved on; a tick that read the
    # old second leaves the hand there for the whole second, and the last dump
    # of that second shows it.
    settle, samples = 0.25, []
    end = time.time() + 32
    while time.time() < end:
        t0 = time.time()
        path = s.dump("second")
        t1 = time.time()
        samples.append((t0, t1, path))
        time.sleep(0.07)
    timed = {}  # second -> [(t0, path, hand, right)]
    for t0, t1, path in samples:
        if int(t0) != int(t1) or t0 % 1 < settle:
            os.remove(path)
            continue
        sec = Hand(Image(path), face, SECOND_GREEN, 0.3, 0.95)
        right = sec.points_at(time.localtime(t0).tm_sec * 6, 3)
        timed.setdefault(int(t0), []).append((t0, path, sec, right))
    late, wrong = 0, []
    for second, dumps in sorted(timed.items()):
        last_right = dumps[-1][3]
        for t0, path, sec, right in dumps:
            if right:
                os.remove(path)
            elif last_right:
                late += 1
            else:
                wrong.append(f"{os.path.basename(path)} at {time.strftime('%H:%M:%S', time.localtime(t0))}"
                             f".{int(t0 % 1 * 1000):03d}: second hand {sec}, expected "
                             f"{time.localtime(t0).tm_sec * 6} deg")
    n = sum(len(d) for d in timed.values())
    log(f"{len(samples)} dumps, {n} timed inside a second over {len(timed)} seconds, "
        f"{late} before a late repaint, {len(wrong)} wrong")
    check(len(timed) >= 25, f"only {len(timed)} seconds had a dump timed inside them")
    check(not wrong, f"{len(wrong)} of {n} dumps show another second all through it: " +
          "; ".join(wrong[:5]))


def across(img, x, y, horizontal, half=14):
    """The pixels on a short line across a hand, centred on (x, y)."""
    x, y = int(x), int(y)
    if horizontal:
        return [img.px(x + d, y) for d in range(-half, half + 1)]
    return [img.px(x, y + d) for d in range(-half, half + 1)]


def span(pixels, background):
    """Width of what is drawn over the background, blended edges included."""
    drawn = [i for i, p in enumerate(pixels) if p != background]
    return drawn[-1] - drawn[0] + 1 if drawn else 0


@case
def manual_mode(s):
    """今何時: the AUTO title, grey, green minute hand up, the step list."""
    enter_live(s)
    live_shot(s, "live")
    enter_manual(s)
    face = s.face()
    img = s.shot_when("manual", lambda im: corner(im, face) == MANUAL_GREY and
                      hands_at(face, 0, 0)(im))
    check_background(img, face, MANUAL_GREY)
    check_buttons(img, face, yellow="now")
    check(combo_shown(img), f"{img.path}: the step list is not shown")
    check_manual_hands(img, face, 0, 0, "hands at 12 after 今何時")
    m = minute_hand(img, face, GREEN)
    check(m.count > 100, f"{img.path}: minute hand too thin or short: {m}")
    check(img.count(CYAN, ring(face, 0.15, 0.85)) == 0,
          f"{img.path}: the minute hand is still cyan")
    # The 12 px hour hand lies under the 8 px minute hand: red shows on both
    # sides of the green.
    for k in (0.3, 0.45):
        row = across(img, *face.polar(0, k * face.radius), horizontal=True)
        greens = [i for i, p in enumerate(row) if p == GREEN]
        reds = [i for i, p in enumerate(row) if p == RED]
        width, green = span(row, MANUAL_GREY), len(greens)
        log(f"across the hands at {k} radii: {width} px drawn, {green} px pure green")
        check(11 <= width <= 14, f"{img.path}: hands {width} px wide, the hour hand is 12 px")
        check(6 <= green <= 8, f"{img.path}: minute hand {green} px of pure green, it is 8 px")
        check(reds and min(reds) < min(greens) and max(reds) > max(greens),
              f"{img.path}: the hour hand does not show on both sides of the minute hand")
    # The hour hand lies under the longer minute hand, nowhere else.
    for deg in (90, 180, 270):
        x, y = face.polar(deg, 0.4 * face.radius)
        check(not img.any_near(RED, x, y, 4), f"{img.path}: red at {deg} deg")
    check(s.title() == TITLE_AUTO, f"title {s.title()!r}")


# (step to pick or None, mouse button, minutes on the clock afterwards)
STEP_ROWS = [
    ("15", 1, 15),     # 3 o'clock; hour hand at 7.5 degrees
    (None, 3, 0),      # back to 12
    ("5", 3, -5),      # five to twelve: -30 and -2.5 degrees
    ("60", 1, 55),
    ("30", 1, 85),
    ("1", 3, 84),
    ("10", 1, 94),
    (None, 2, 104),    # middle button: the step in the last left / right direction
]


@case
def step_clicks(s):
    """Picks from the step list and left / right presses on the bare face."""
    enter_manual(s)
    face = s.face()
    last_title = TITLE_AUTO
    for step, button, want in STEP_ROWS:
        label = f"step {step or 'unchanged'}, button {button}"
        if step is not None:
            s.pick_step(step)
            last_title = title_for_step(step)
            s.wait_title(last_title)
        s.click(*bare_spot(face), button=button)
        s.park_pointer()
        img = s.shot_when(f"{step or 'same'}-b{button}", hands_at(face, 6 * want, 0.5 * want))
        log(f"{label}: minute hand {minute_hand(img, face, GREEN)}, "
            f"hour hand {hour_hand(img, face)}; expected {6 * want % 360} / {0.5 * want % 360}")
        check_manual_hands(img, face, 6 * want, 0.5 * want, label)
        check(s.title() == last_title, f"title {s.title()!r} after {label}")
        if want == 15:
            col = across(img, *face.polar(90, 0.5 * face.radius), horizontal=False)
            width = span(col, MANUAL_GREY)
            check(7 <= width <= 10, f"{img.path}: minute hand {width} px wide, it is 8 px")
            # Green right of the centre, none above it.
            above = [p for p in ring(face, 0.25, 0.8)
                     if abs(angle_diff(face.angle_of(*p), 0)) < 20]
            check(img.count(GREEN, above) == 0, f"{img.path}: green above the centre")
    # 時計 puts "AUTO" back into the list, so 今何時 shows the AUTO help again.
    enter_live(s)
    enter_manual(s)


@case
def auto_run(s):
    """AUTO: a left press runs forward ten clock minutes a second, the next
    press stops, a right press runs backward."""
    enter_manual(s)
    face = s.face()
    spot = bare_spot(face)

    def sample(name):
        t0 = time.monotonic()
        img = s.shot(name)
        t1 = time.monotonic()
        return img, (t0 + t1) / 2, minute_hand(img, face, GREEN), hour_hand(img, face)

    for button, sign in ((1, +1), (3, -1)):
        way = "forward" if sign > 0 else "backward"
        s.click(*spot, button=button)
        s.park_pointer()
        time.sleep(0.3)
        img_a, ta, ma, ha = sample(f"run-{way}-a")
        time.sleep(1.0)
        img_b, tb, mb, hb = sample(f"run-{way}-b")
        check(ma.angle is not None and mb.angle is not None,
              f"minute hand not found: {ma}, {mb}")
        moved = (mb.angle - ma.angle) % 360 if sign > 0 else (ma.angle - mb.angle) % 360
        expected = 60 * (tb - ta)
        log(f"run {way}: minute hand {ma.angle:.1f} -> {mb.angle:.1f} deg in {tb - ta:.2f} s: "
            f"{moved:.1f} deg, expected about {expected:.1f}")
        check(abs(moved - expected) <= 0.25 * expected + 8,
              f"{img_b.path}: run {way} moved the minute hand {moved:.1f} deg in "
              f"{tb - ta:.2f} s, expected about {expected:.1f}")
        hour_moved = sign * angle_diff(hb.angle, ha.angle)
        check(abs(hour_moved - moved / 12) <= 2.5,
              f"{img_b.path}: hour hand moved {hour_moved:.1f} deg while the minute hand "
              f"moved {moved:.1f}")
        # The same button stops the run: the face stands still.
        s.click(*spot, button=button)
        s.park_pointer()
        time.sleep(0.3)
        img_c = s.shot(f"stopped-{way}-a")
        time.sleep(1.0)
        img_d = s.shot(f"stopped-{way}-b")
        disc = ring(face, 0.0, 0.85)
        check(img_c.same_pixels(img_d, disc),
              f"{img_d.path}: the face still moves after the stopping press")
        check(s.title() == TITLE_AUTO, f"title {s.title()!r}")


def outer_to_client(s, outer_w, outer_h):
    left, right, top, bottom = s.frame_extents()
    return outer_w - left - right, outer_h - top - bottom


# (outer width, outer height in pixels, large: above 9000 twips = 600 px)
SIZE_ROWS = [
    (700, 700, True),
    (560, 560, False),
    (600, 600, False),     # exactly 9000 twips is still small
    (601, 600, True),      # one pixel wider: large
    (600, 601, True),
    (700, 420, True),      # width alone decides
    (1280, 800, True),     # a classroom display
    (387, 387, False),
]


@case
def numerals_on_resize(s):
    """Resizes while a mode is on bring the minute numerals above 9000 twips."""
    for mode in ("live", "manual"):
        if mode == "live":
            enter_live(s)
            colour = CYAN
        else:
            # Every layout resets the numerals to cyan; only a change of the
            # manual time turns them green.
            enter_manual(s)
            colour = CYAN
        for ow, oh, large in SIZE_ROWS:
            s.resize(*outer_to_client(s, ow, oh))
            face = s.face()
            check(face.large == large, f"harness: {ow}x{oh} is not {large} by geometry")
            if mode == "live":
                img, face, t = live_shot(s, f"{mode}-{ow}x{oh}")
                check_live_hands(img, face, t)
            else:
                img = s.shot_when(f"{mode}-{ow}x{oh}", hands_at(face, 0, 0))
                check_manual_hands(img, face, 0, 0, f"after resize to {ow}x{oh}")
            n = numeral_pixels(img, face, colour)
            log(f"{mode} {ow}x{oh} outer: {n} numeral pixels")
            if large:
                nums = minute_numerals(img, face)
                gone = sorted(i for i, c in nums.items() if c is None)
                check(not gone, f"{img.path}: minute numerals {gone} missing at {ow}x{oh}")
            else:
                check(n == 0, f"{img.path}: {n} minute numeral pixels at {ow}x{oh}")


@case
def hand_boxes(s):
    """The boxes 時 and 分 hide and show their hands."""
    boxes = {"hour": (15, 24), "minute": (15, 40)}
    enter_manual(s)
    s.pick_step("15")
    s.wait_title(title_for_step("15"))
    face = s.face()
    s.click(*bare_spot(face))
    s.park_pointer()
    img = s.shot_when("15", hands_at(face, 90, 7.5))
    check_manual_hands(img, face, 90, 7.5, "before unticking")
    for hand in ("minute", "hour"):
        s.click(*boxes[hand])
        s.park_pointer()
        if hand == "minute":
            img = s.shot_when("no-minute", lambda im: minute_hand(im, face, GREEN).count == 0)
            m = minute_hand(img, face, GREEN)
            check(m.count == 0, f"{img.path}: minute hand still shown after unticking 分: {m}")
            h = hour_hand(img, face)
            check(h.points_at(7.5, 3), f"{img.path}: hour hand {h} after unticking 分")
        else:
            img = s.shot_when("no-hour", lambda im: hour_hand(im, face).count == 0)
            h = hour_hand(img, face)
            check(h.count == 0, f"{img.path}: hour hand still shown after unticking 時: {h}")
        s.click(*boxes[hand])
        s.park_pointer()
        img = s.shot_when(f"{hand}-again", hands_at(face, 90, 7.5))
        check_manual_hands(img, face, 90, 7.5, f"after ticking the {hand} box again")


@case
def highlights(s):
    """Step "5" past one o'clock and back before twelve on a large window:
    one yellow minute numeral, five red dots of the hour shown."""
    enter_manual(s)
    s.resize(*outer_to_client(s, 700, 700))
    s.pick_step("5")
    s.wait_title(title_for_step("5"))
    face = s.face()
    check(face.large, "the window is not large")
    # The layout's face reset leaves cyan numerals and yellow dots.
    img = s.shot_when("cleared", hands_at(face, 0, 0))
    check_numerals(img, face, None, "cyan", "after the resize")
    check_sector(img, face, None, "after the resize")
    plan = [(1, k) for k in range(1, 14)] + [(3, k) for k in range(12, -2, -1)]
    for button, k in plan:
        minutes = 5 * k
        s.click(*bare_spot(face), button=button)
        s.park_pointer()
        img = s.shot_when(f"{minutes:+04d}", hands_at(face, 6 * minutes, 0.5 * minutes))
        label = f"{minutes} minutes"
        check_manual_hands(img, face, 6 * minutes, 0.5 * minutes, label)
        check_numerals(img, face, (minutes % 60) or 60, "green", label)
        check_sector(img, face, minutes // 60, label)


def main():
    return run(__doc__.splitlines()[1], CASES)


if __name__ == "__main__":
    sys.exit(main())
