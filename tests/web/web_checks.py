#!/usr/bin/python3
"""What only the web edition has, checked in headless Chromium:

    web_checks.py --site DIR [--page index.html|tirpo-clock.html] --artefacts DIR CASE

Cases:
  a11y_tree   the accessibility tree Chromium builds holds the face as a
              spin button named and valued after the time it shows, which
              follows a press on the face and an arrow key on it (reached
              with Tab alone)
  rings       every control the keyboard reaches wears the window's one
              focus ring; a mouse click or pick shows none
  offline     the service worker keeps the site: once it controls the page,
              the server is stopped and the page reloaded; the clock still
              starts and its buttons work
  extremes    viewports of 1 x 1 and 8000 x 8000 pixels, zoom 25 % and
              500 %, the tab hidden behind another and frozen: afterwards
              the live clock shows the time at once
  clock_jumps the computer's clock set forward and back, to just before
              midnight, a device asleep for hours, another time zone: the
              live clock shows the computer's new time at its next tick
  quiet_ticks live clock ticks that change nothing on the face (every hand
              hidden) draw nothing and ask for no animation frame; with the
              second hand shown each tick draws only part of the face
  without     scripts switched off, no WebAssembly, the module's file
              failing to load: the page says so in plain words, Japanese
              and English, and names the file that failed
  touch       on a tablet's touch screen, what only fingers do: a slide and
              a second finger press nothing, fast double taps and a double
              click are two presses, a long hold one, a tap on the picture
              switches the numerals once and moves no time; the ring shows
              while a hold is counted and leaves nothing behind; the page
              never zooms, scrolls, selects or moves the focus
  classroom   full screen at classroom sizes (the browser's own, the
              Fullscreen API, the installed app): the face laid out whole
              for the screen's height, and the title shown beside it,
              readable, covering nothing drawn, following each title; with
              the browser's own window it is hidden
The console must stay free of errors and warnings in every case (the
session fails the run otherwise).
"""

import datetime
import os
import re
import sys
import time
import zoneinfo

from clockdrive.browser import BrowserSession
from clockdrive.face import GREEN, LIGHT_GREY, MANUAL_GREY, TITLE_AUTO, TITLE_CLOCK, title_for_step
from clockdrive.looks import (bare_spot, check_background, check_live_hands, check_manual_hands,
                              corner, enter_live, enter_manual, hands_at, live_shot, local_time)
from clockdrive.process import Failure, check, log, wait_until
from clockdrive.reading import minute_hand, minute_numerals
from clockdrive.runner import run
from clockdrive.touch import HOLD_S, SHOW_HOLD_S, SLOP, TouchSession

CASES = {}


def case(fn):
    CASES[fn.__name__] = fn
    return fn


# -- the accessibility tree -------------------------------------------------

def ax_value(prop):
    return (prop or {}).get("value")


def spin_buttons(s):
    """[(name, value text, value)] of every spin button in Chromium's
    accessibility tree. The protocol leaves the value text out of its
    properties; it is read from the node's aria-valuetext then."""
    out = []
    for n in s.cdp("Accessibility.getFullAXTree")["nodes"]:
        if n.get("ignored") or ax_value(n.get("role")) != "spinbutton":
            continue
        props = {p["name"]: ax_value(p.get("value")) for p in n.get("properties", [])}
        text = props.get("valuetext") or ""
        if not text and "backendDOMNodeId" in n:
            node = s.cdp("DOM.describeNode", backendNodeId=n["backendDOMNodeId"])["node"]
            attrs = node.get("attributes", [])
            text = dict(zip(attrs[::2], attrs[1::2])).get("aria-valuetext", "")
        out.append((str(ax_value(n.get("name")) or ""), text, ax_value(n.get("value"))))
    return out


def wait_face_reads(s, text, what, before=None):
    """Waits until the one spin button is named and valued text, with a
    value other than before's; returns its value."""
    def reads():
        found = spin_buttons(s)
        return (len(found) == 1 and found[0][:2] == (text, text) and
                (before is None or found[0][2] != before)) and found[0]
    try:
        found = wait_until(reads, 5, what, interval=0.1)
    except Failure:
        raise Failure(f"{what}: the accessibility tree's spin buttons are {spin_buttons(s)} "
                      f"(name, value text, value), expected one named and valued {text!r}" +
                      (f" with a value other than {before}" if before is not None else ""))
    log(f"{what}: the face reads {text!r}, value {found[2]}")
    return found[2]


def focused_role(s):
    return s.js("const e = document.activeElement; return e ? e.getAttribute('role') : null")


# (how the time is moved, the face's reading afterwards)
A11Y_ROWS = [
    ("left press", "12時15分"),
    ("right press", "12時0分"),
    ("Right key", "12時15分"),
    ("Right key", "12時30分"),
]


@case
def a11y_tree(s):
    enter_manual(s)
    value = wait_face_reads(s, "12時0分", "after 今何時")
    s.pick_step("15")
    s.wait_title(title_for_step("15"))
    face = s.face()
    for way, want in A11Y_ROWS:
        if way.endswith("press"):
            s.click(*bare_spot(face), button=1 if way.startswith("left") else 3)
            s.park_pointer()
        else:
            if focused_role(s) != "spinbutton":
                for _ in range(16):
                    s.press("Tab")
                    if focused_role(s) == "spinbutton":
                        break
                check(focused_role(s) == "spinbutton", "Tab never reached the face")
            s.press(way.split()[0])
        value = wait_face_reads(s, want, way, before=value)
    hours, minutes = (int(v) for v in re.match(r"(\d+)時(\d+)分", A11Y_ROWS[-1][1]).groups())
    total = (hours % 12) * 60 + minutes
    img = s.shot_when("a11y-last", hands_at(face, 6 * total, 0.5 * total))
    m = minute_hand(img, face, GREEN)
    check(m.points_at(6 * total, 3), f"{img.path}: minute hand {m} while the face reads "
          f"{A11Y_ROWS[-1][1]}")


_RINGED = """
const e = document.activeElement, c = e && e.closest('.push, .box, .combo');
if (!c) return null;
const r = c.getBoundingClientRect();
return [e.id, r.x, r.y, r.width, r.height];
"""


def ring_at(img, x, y, w, h):
    """What lies on the bands just inside a control's box, half way along
    its top and its left edge: "white-black" for the window's ring."""
    found = set()
    for outer, inner in (((x + w / 2, y + 1), (x + w / 2, y + 3)), ((x + 1, y + h / 2), (x + 3, y + h / 2))):
        o, i = img.px(*map(int, outer)), img.px(*map(int, inner))
        found.add(("white" if min(o) > 230 else "other") + "-" + ("black" if max(i) < 40 else "other"))
    return found.pop() if len(found) == 1 else "mixed"


@case
def rings(s):
    """Every control the keyboard reaches wears the window's one ring, a
    white band around a black one just inside it; a mouse click shows none."""
    enter_live(s)
    seen = set()
    for _ in range(12):
        s.press("Tab")
        ringed = s.js(_RINGED)
        if not ringed:
            continue
        name, box = ringed[0], ringed[1:]
        img = s.shot(f"ring-{name}")
        got = ring_at(img, *box)
        check(got == "white-black", f"{img.path}: {name} focused by Tab wears {got}, not the ring")
        seen.add(name)
    want = {"Command8", "Command12", "Check3_0_box", "Check3_1_box", "Check3_2_box"}
    check(want <= seen, f"Tab reached {sorted(seen)}, not every control of {sorted(want)}")
    x, y, w, h = s.element_rect("Command8")
    s.click(x + w / 2, y + h / 2)
    s.park_pointer()
    img = s.shot("clicked")
    check(ring_at(img, x, y, w, h) != "white-black", f"{img.path}: a mouse click shows the ring")
    # A pick with the mouse leaves the focus in the list's text: no ring.
    enter_manual(s)
    s.pick_step("15")
    img = s.shot("picked")
    check(ring_at(img, *s.element_rect("Combo1")) != "white-black",
          f"{img.path}: the step list picked with the mouse shows the ring")


# -- offline ----------------------------------------------------------------

@case
def offline(s):
    check(s.served, "the offline case needs the served page")
    try:
        wait_until(lambda: s.js("return !!(navigator.serviceWorker && "
                                "navigator.serviceWorker.controller)"), 15,
                   "the service worker to control the page", interval=0.2)
    except Failure:
        # A worker that skips claiming controls the page from its next load.
        s.reload()
        wait_until(lambda: s.js("return !!navigator.serviceWorker.controller"), 15,
                   "the service worker to control the reloaded page", interval=0.2)
    s.stop_server()
    s.reload()
    face = s.face()
    img = s.shot_when("offline-start", lambda im: corner(im, face) == LIGHT_GREY)
    check_background(img, face, LIGHT_GREY)
    enter_manual(s)
    img = s.shot_when("offline-manual", lambda im: corner(im, face) == MANUAL_GREY and
                      hands_at(face, 0, 0)(im))
    check_background(img, face, MANUAL_GREY)
    check(s.title() == TITLE_AUTO, f"title {s.title()!r} offline")
    enter_live(s)
    img, face, t = live_shot(s, "offline-live")
    check_live_hands(img, face, t)


# -- bad conditions ---------------------------------------------------------

# (what is done to the page, how long it lasts in seconds)
EXTREME_ROWS = [
    ("viewport 1x1", 1.5),
    ("viewport 8000x8000", 1.5),
    ("zoom 25 %", 1.5),
    ("zoom 500 %", 1.5),
    ("hidden behind another tab", 3.0),
    ("frozen", 3.0),
]


def hide_behind_tab(s, seconds):
    own = s.driver.current_window_handle
    s.driver.switch_to.new_window("tab")
    s.cdp("Page.bringToFront")
    time.sleep(seconds)
    s.driver.close()
    s.driver.switch_to.window(own)
    s.cdp("Page.bringToFront")


def freeze(s, seconds):
    """Freezes the page as a browser freezes a background tab, then brings
    it back to the front."""
    s.cdp("Page.setWebLifecycleState", state="frozen")
    time.sleep(seconds)
    s.cdp("Page.setWebLifecycleState", state="active")
    # Headless Chromium leaves a resumed page hidden until it is shown again.
    hide_behind_tab(s, 0.1)


@case
def extremes(s):
    enter_live(s)
    start = s.viewport
    for what, seconds in EXTREME_ROWS:
        log(f"{what} for {seconds} s")
        if what.startswith("viewport"):
            w, h = (int(v) for v in what.split()[1].split("x"))
            s.resize(w, h)
            time.sleep(seconds)
            s.resize(*start)
        elif what.startswith("zoom"):
            s.resize(*start, scale=int(what.split()[1]) / 100)
            time.sleep(seconds)
            s.resize(*start, scale=1.0)
        elif what.startswith("hidden"):
            hide_behind_tab(s, seconds)
        else:
            freeze(s, seconds)
        s.alive()
        check(s.js("return document.visibilityState") == "visible",
              f"the page is not visible again after {what}")
        # The face is right within a second of coming back.
        img, face, t = live_shot(s, what.replace(" ", "-").replace("%", "pc"), timeout=1.5)
        check_live_hands(img, face, t)


# -- the computer's clock set, another zone, a device asleep -----------------

# Lets a check set the computer's clock under the page: Date.now() runs that
# many milliseconds ahead of the real clock (behind, when negative), as
# after a teacher or NTP set it, while performance.now() runs on untouched,
# as it does then.
SET_CLOCK = """
(() => {
  const real = Date.now.bind(Date);
  let by = 0;
  Date.now = () => real() + by;
  window.setComputerClockBy = (ms) => { by = ms; };
})();
"""

BEFORE_MIDNIGHT = "2 s before midnight"

# (what happens, the computer's clock ahead of the real one afterwards in
# seconds or BEFORE_MIDNIGHT, its time zone (None: this machine's), seconds
# the page lies frozen meanwhile, as a device asleep)
JUMP_ROWS = [
    ("set forward 3 h 17 min", 3 * 3600 + 17 * 60, None, 0),
    ("set back to 1 h 30 min behind the real time", -5400, None, 0),
    ("set to just before midnight", BEFORE_MIDNIGHT, None, 0),
    ("asleep for 2 h 40 min", 2 * 3600 + 40 * 60, None, 2.0),
    ("moved to Asia/Kathmandu (UTC+5:45)", 0, "Asia/Kathmandu", 0),
    ("moved to America/St_Johns (UTC-3:30 or -2:30)", 0, "America/St_Johns", 0),
    ("back to the real time in this machine's zone", 0, None, 0),
]


def face_text(t, zone):
    lt = local_time(t, zone)
    return f"{lt.tm_hour}時{lt.tm_min}分"


def face_name(s):
    return s.js("return document.getElementById('faceFocus').getAttribute('aria-label')")


def seconds_to_midnight(t):
    """From t to 2 s before the next local midnight of this machine."""
    now = datetime.datetime.fromtimestamp(t)
    midnight = datetime.datetime.combine(now.date() + datetime.timedelta(days=1), datetime.time())
    return midnight.timestamp() - 2 - t


def wait_face_shows(s, clock, zone, what, timeout):
    """Waits until the face's name is the time on clock in zone; returns
    how long that took."""
    start = time.monotonic()

    def shows():
        before = face_text(clock(), zone)
        name = face_name(s)
        return name in (before, face_text(clock(), zone))
    try:
        wait_until(shows, timeout, what, interval=0.05)
    except Failure:
        raise Failure(f"{what}: after {timeout} s the face still reads {face_name(s)!r}, the "
                      f"computer's clock says {face_text(clock(), zone)!r}")
    return time.monotonic() - start


@case
def clock_jumps(s):
    s.cdp("Page.addScriptToEvaluateOnNewDocument", source=SET_CLOCK)
    s.reload()
    enter_live(s)
    zone = None
    for what, ahead, zone_name, asleep in JUMP_ROWS:
        if ahead == BEFORE_MIDNIGHT:
            ahead = seconds_to_midnight(time.time())
        zone = zoneinfo.ZoneInfo(zone_name) if zone_name else None
        clock = (lambda by: lambda: time.time() + by)(ahead)
        check(zone is None or datetime.datetime.now(zone).utcoffset() !=
              datetime.datetime.now().astimezone().utcoffset(),
              f"{what}: this machine is in that zone already; the row would check nothing")
        log(f"{what}: the computer's clock reads {face_text(clock(), zone)}")
        if asleep:
            s.cdp("Page.setWebLifecycleState", state="frozen")
        s.js("window.setComputerClockBy(arguments[0])", ahead * 1000)
        s.cdp("Emulation.setTimezoneOverride", timezoneId=zone_name or "")
        if asleep:
            time.sleep(asleep)
            s.cdp("Page.setWebLifecycleState", state="active")
            # Headless Chromium leaves a resumed page hidden until it is shown again.
            hide_behind_tab(s, 0.1)
        # The next tick shows it: within a second and a little.
        took = wait_face_shows(s, clock, zone, what, 1.5)
        log(f"{what}: the face reads {face_name(s)!r} after {took:.2f} s")
        img, face, t = live_shot(s, re.sub(r"\W+", "-", what.split(" (")[0]), timeout=1.5, clock=clock,
                                 zone=zone)
        check_live_hands(img, face, t, zone)
        if what == "set to just before midnight":
            wait_face_shows(s, lambda: clock() + 3, zone, "on past midnight", 4)
            check(face_name(s) == "0時0分", f"past midnight the face reads {face_name(s)!r}")


# -- what a tick costs --------------------------------------------------------

# Counts what the page draws on its canvases, the area of each clip
# rectangle, and the animation frames it asks for.
COUNT_DRAWING = """
window.drawn = { ops: 0, areas: [], frames: 0 };
const P = CanvasRenderingContext2D.prototype;
for (const name of ["fillRect", "strokeRect", "fillText", "drawImage", "stroke", "fill"]) {
  const f = P[name];
  P[name] = function () { drawn.ops += 1; return f.apply(this, arguments); };
}
const rect = P.rect;
P.rect = function (x, y, w, h) { drawn.areas.push(w * h); return rect.apply(this, arguments); };
const frame = window.requestAnimationFrame;
window.requestAnimationFrame = function (f) { drawn.frames += 1; return frame.call(window, f); };
"""

HAND_BOXES = {"hour": (15, 24), "minute": (15, 40), "second": (15, 56)}


def ticks_drawing(s, seconds):
    """What the page drew over `seconds` of live clock ticks, clear of the
    turn of a minute (when the highlights move)."""
    wait_until(lambda: 3 <= time.localtime().tm_sec <= 60 - seconds - 3, 60,
               "a stretch of the minute clear of its turn", interval=0.2)
    s.js("window.drawn = { ops: 0, areas: [], frames: 0 }")
    time.sleep(seconds)
    return s.js("return window.drawn")


@case
def quiet_ticks(s):
    enter_live(s)
    s.js(COUNT_DRAWING)
    face_area = s.viewport[0] * s.viewport[1]
    # The live clock shows the hour and minute hands; off with both.
    for hand in ("hour", "minute"):
        s.click(*HAND_BOXES[hand])
    s.park_pointer()
    time.sleep(1.2)
    drawn = ticks_drawing(s, 3.2)
    log(f"three ticks with every hand hidden: {drawn['ops']} drawing calls, "
        f"{drawn['frames']} animation frames")
    check(drawn["ops"] == 0 and not drawn["areas"],
          f"ticks that change nothing on the face drew: {drawn}")
    check(drawn["frames"] == 0, f"ticks asked for {drawn['frames']} animation frames")
    # The second hand moves every tick: each draws, but only where it moved.
    s.click(*HAND_BOXES["second"])
    s.park_pointer()
    time.sleep(1.2)
    drawn = ticks_drawing(s, 3.2)
    shares = [round(a / face_area, 2) for a in drawn["areas"]]
    log(f"three ticks of the second hand: {drawn['ops']} drawing calls, clip areas {shares} of "
        f"the face, {drawn['frames']} animation frames")
    check(len(shares) >= 3 and drawn["ops"] > 0, f"the second hand's ticks drew {drawn}")
    check(max(shares) < 0.8, f"a tick repainted {max(shares):.0%} of the face")
    check(drawn["frames"] == 0, f"ticks asked for {drawn['frames']} animation frames")


# -- without what the page needs ---------------------------------------------

JAPANESE = re.compile(r"[\u3040-\u30ff\u4e00-\u9fff]")
ENGLISH = re.compile(r"[A-Za-z]{3,} [A-Za-z]{2,}")


def page_text(s):
    return s.js("return document.body ? document.body.innerText : ''") or ""


def says_so(s, what, also=None):
    def told():
        text = page_text(s)
        return (JAPANESE.search(text) and ENGLISH.search(text) and
                (also is None or also in text)) and text
    try:
        text = wait_until(told, 10, f"the page to tell {what}", interval=0.2)
    except Failure:
        raise Failure(f"{what}: the page shows {page_text(s)[:200]!r}, not a sentence in "
                      "Japanese and English" + (f" naming {also}" if also else ""))
    log(f"{what}: the page says {' '.join(text.split())[:160]!r}")


def forget_site(s):
    """Drops what the browser keeps of the origin: the service worker and
    its cache, so the next load asks the network."""
    origin = s.url().split("/", 3)
    s.cdp("Storage.clearDataForOrigin", origin="/".join(origin[:3]), storageTypes="all")


@case
def without(s):
    s.cdp("Emulation.setScriptExecutionDisabled", value=True)
    s.driver.refresh()
    says_so(s, "scripts switched off")
    s.cdp("Emulation.setScriptExecutionDisabled", value=False)

    hide = s.cdp("Page.addScriptToEvaluateOnNewDocument", source="delete window.WebAssembly;")
    s.driver.refresh()
    check(s.js("return typeof WebAssembly") == "undefined", "harness: WebAssembly still there")
    says_so(s, "no WebAssembly")

    modules = sorted(f for f in os.listdir(s.site) if f.endswith(".wasm"))
    check(modules, f"no .wasm file in {s.site}")
    s.driver.get("about:blank")
    forget_site(s)
    s.cdp("Network.enable")
    s.cdp("Network.setBlockedURLs", urls=["*.wasm"])
    s.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=hide["identifier"])
    s.driver.get(s.url())
    says_so(s, "the module blocked", also=modules[0])
    # The browser itself reports the blocked request; anything else fails.
    s.read_console()
    s.bad = [e for e in s.bad if "ERR_BLOCKED_BY_CLIENT" not in e.get("message", "")]


# -- touch ------------------------------------------------------------------

# What only fingers do, each on the hand-set clock with "15" picked: (gesture,
# where, minutes the clock moves, times the minute numerals are switched,
# times the hold ring shows or None where that depends on timing). The tap and
# the hold themselves run through every shared scenario (e2e.*.touch).
TOUCH_ROWS = [
    ("tap", "face", 15, 0, 0),
    ("hold", "face", -15, 0, 1),
    ("long hold", "face", -15, 0, 1),
    ("fast double tap", "face", 30, 0, 0),
    ("mouse double click", "face", 30, 0, 0),
    ("slide", "face", 0, 0, None),
    ("second finger", "face", 0, 0, None),
    ("pinch", "face", 0, 0, None),
    ("tap", "picture", 0, 1, 0),
    ("hold", "picture", 0, 0, 1),
    ("fast double tap", "picture", 0, 2, 0),
    ("long hold", "frame title", 0, 0, 0),   # text, which a long hold would select
]
# The hold whose ring is photographed mid-hold; it changes nothing, so it may
# be held again when the screenshot comes too late.
RING_SHOT = ("hold", "picture")

# Counts what the page does while the fingers work: the picture switched
# (its name follows the picture shown), the ring shown, text selections
# started.
_WATCH = """
const w = window.__touch = {switched: 0, rings: 0, selects: 0};
const picture = document.getElementById('facePicture'), ring = document.getElementById('holdRing');
let name = picture.getAttribute('aria-label');
new MutationObserver(records => {
  const names = records.map(r => r.oldValue).concat([picture.getAttribute('aria-label')]);
  for (const n of names.slice(1)) { if (n !== name) w.switched++; name = n; }
}).observe(picture, {attributes: true, attributeFilter: ['aria-label'], attributeOldValue: true});
new MutationObserver(records => {
  for (const r of records) if (r.oldValue !== null) w.rings++;
}).observe(ring, {attributes: true, attributeFilter: ['hidden'], attributeOldValue: true});
document.addEventListener('selectstart', () => w.selects++, true);
"""

_PAGE = """
const v = visualViewport, e = document.activeElement;
return {zoom: v.scale, scroll: [scrollX, scrollY, v.offsetLeft, v.offsetTop],
        selection: getSelection().type, focus: e ? e.id || e.tagName : null,
        selects: window.__touch.selects};
"""


def face_minutes(s):
    """The time the face shows, in minutes (its value for screen readers)."""
    return int(s.js("return document.getElementById('faceFocus').getAttribute('aria-valuenow')"))


def centre_of(s, element_id):
    x, y, w, h = s.element_rect(element_id)
    return x + w / 2, y + h / 2


def gesture(s, name, x, y):
    f = s.fingers
    if name == "tap":
        f.tap(x, y)
    elif name == "hold":
        f.hold(x, y)
    elif name == "long hold":
        f.hold(x, y, seconds=3 * HOLD_S)
    elif name == "fast double tap":
        f.double_tap(x, y)
    elif name == "mouse double click":
        s.double_click(x, y)
    elif name == "slide":
        f.slide(x, y, 4 * SLOP, 2 * SLOP)
    elif name == "second finger":
        f.second_finger(x, y)
    elif name == "pinch":
        f.pinch(x, y, 80)
    else:
        raise ValueError(name)


def photographed_hold(s, x, y):
    """A hold with a screenshot while its ring shows, before and after it:
    the ring shows around the finger and leaves nothing behind. Returns how
    many holds it took to photograph one in time."""
    before = s.shot("before-hold")
    area = ring_area(x, y)
    for holds in range(1, 4):
        mid = []
        taken = s.fingers.hold(x, y, during=lambda: mid.append(s.shot("hold-ring")))
        if taken < HOLD_S:
            break
        log(f"the screenshot came {taken:.2f} s into the hold, after its press: held again")
    else:
        raise Failure("no screenshot came before the hold time in three holds")
    changed = sum(1 for p in area if mid[0].px(*p) != before.px(*p))
    log(f"{changed} pixels around the finger changed {taken:.2f} s into the hold")
    check(changed > 300, f"{mid[0].path}: no ring around the finger mid-hold ({changed} pixels changed)")
    after = s.shot_when("after-hold", lambda im: im.same_pixels(before, area), timeout=1)
    check(after.same_pixels(before, area), f"{after.path}: the hold left something around the finger "
          f"(compare {before.path})")
    return holds


def ring_area(x, y, half=44):
    return [(int(x) + dx, int(y) + dy) for dy in range(-half, half + 1) for dx in range(-half, half + 1)]


@case
def touch(s):
    enter_manual(s)
    focus = s.js("return document.activeElement.id || document.activeElement.tagName")
    s.pick_step("15")
    s.wait_title(title_for_step("15"))
    # Picked by taps, the list leaves the focus where it was: its text with
    # the focus would bring up a tablet's keyboard over the clock.
    now = s.js("return document.activeElement.id || document.activeElement.tagName")
    check(now == focus, f"the step list picked by taps moved the focus from {focus} to {now}")
    face = s.face()
    s.js(_WATCH)
    page = s.js(_PAGE)
    check(page["zoom"] == 1 and page["scroll"] == [0, 0, 0, 0], f"harness: the page starts at {page}")
    minutes = face_minutes(s)
    for name, where, moves, switched, rings in TOUCH_ROWS:
        label = f"{name} on the {where}"
        x, y = (bare_spot(face) if where == "face" else
                centre_of(s, "facePicture" if where == "picture" else "Frame1_title"))
        s.js("Object.assign(window.__touch, {switched: 0, rings: 0})")
        s.fingers.forget()
        if (name, where) == RING_SHOT:
            rings = photographed_hold(s, x, y)
        else:
            gesture(s, name, x, y)
        want = minutes + moves
        try:
            wait_until(lambda: (face_minutes(s) - want) % 720 == 0, 3, f"the face after the {label}",
                       interval=0.05)
        except Failure:
            raise Failure(f"{label}: the face shows {face_minutes(s)} minutes, expected {want} (mod 720)")
        time.sleep(0.3)   # nothing more comes of it later
        check((face_minutes(s) - want) % 720 == 0,
              f"{label}: the face moved on to {face_minutes(s)} minutes afterwards, expected {want}")
        minutes = want
        seen = s.js("return window.__touch")
        log(f"{label}: the face moved {moves:+d} minutes; numerals switched {seen['switched']} "
            f"times, ring shown {seen['rings']} times")
        check(seen["switched"] == switched, f"{label}: the minute numerals were switched "
              f"{seen['switched']} times, expected {switched}")
        if rings == 0 and s.fingers.longest >= SHOW_HOLD_S:
            log(f"{label}: a finger stayed {s.fingers.longest:.2f} s, too long to tell a tap's ring")
        elif rings is not None:
            check(seen["rings"] == rings, f"{label}: the hold ring showed {seen['rings']} times, "
                  f"expected {rings}")
        check(s.element_rect("holdRing") is None, f"{label}: the hold ring still shows after the lift")
        now = s.js(_PAGE)
        if where == "frame title":
            now["focus"] = page["focus"]   # a press beside the controls takes it, as a click does
        check(now == page, f"{label}: the page changed: {now}, before {page} (zoom, scroll, "
              "selection, focus, selections started)")


# -- the classroom screen ----------------------------------------------------

# (how the page fills the screen, its size in CSS pixels)
SCREEN_ROWS = [
    ("browser", 1920, 1080),   # the browser's own full screen, F11
    ("browser", 1024, 768),    # a 4:3 projector
    ("page", 1280, 800),       # the Fullscreen API
    ("app", 1366, 768),        # the installed app on a tablet, no title bar above it
]
# A desktop's installed app has the system's title bar above the page.
DESKTOP_TITLE_BAR = 32

# What makes each title, in order: (what is done, the title it shows).
TITLE_STEPS = [
    (None, TITLE_AUTO),
    ("60", title_for_step("60")),
    ("live", TITLE_CLOCK),
    ("manual", TITLE_AUTO),
    ("1", title_for_step("1")),
]

# This Chromium's DevTools cannot emulate the display mode: the installed
# app's is reported by a matchMedia that answers it as an app's window does,
# in a window this much taller than the page (its title bar).
_AS_AN_APP = """
const real = window.matchMedia.bind(window);
window.matchMedia = q => real(q.replace('display-mode: standalone', 'min-width: 0px'));
Object.defineProperty(window, 'outerHeight', {get: () => window.innerHeight + %d});
"""

_HELP = """
const e = document.getElementById('titleHelp');
if (!e || e.hidden) return null;
const r = e.getBoundingClientRect(), st = getComputedStyle(e);
return {rect: [r.x, r.y, r.width, r.height], text: e.textContent, size: parseFloat(st.fontSize),
        whole: e.scrollHeight <= e.clientHeight + 1 && e.scrollWidth <= e.clientWidth + 1,
        shown: st.visibility === 'visible' && st.display !== 'none'};
"""


def title_help(s):
    return s.js(_HELP)


def fill_screen(s, way, on, title_bar=0):
    if way == "browser":
        window = s.cdp("Browser.getWindowForTarget")["windowId"]
        s.cdp("Browser.setWindowBounds", windowId=window,
              bounds={"windowState": "fullscreen" if on else "normal"})
    elif way == "page":
        call = "requestFullscreen()" if on else "ownerDocument.exitFullscreen()"
        done = s.cdp("Runtime.evaluate", expression=f"document.documentElement.{call}.then(() => 'ok')",
                     userGesture=True, awaitPromise=True)
        check(done.get("result", {}).get("value") == "ok", f"the Fullscreen API said {done}")
    elif on:
        s.app_script = s.cdp("Page.addScriptToEvaluateOnNewDocument", source=_AS_AN_APP % title_bar)["identifier"]
        s.reload()
    else:
        s.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=s.app_script)
        s.reload()


def check_title_help(s, want, label):
    w, h = s.viewport
    try:
        help_ = wait_until(lambda: (lambda t: t if t and t["shown"] and t["text"] == want else None)(
            title_help(s)), 5, f"the title beside the face ({label})", interval=0.1)
    except Failure:
        raise Failure(f"{label}: the title shown in the page is {title_help(s)}, expected {want!r}")
    x, y, hw, hh = help_["rect"]
    log(f"{label}: the title at ({x:.0f}, {y:.0f}) {hw:.0f}x{hh:.0f}, {help_['size']:.0f} px text")
    check(x >= 0 and y >= 0 and x + hw <= w and y + hh <= h, f"{label}: the title at {help_['rect']} "
          f"leaves the {w}x{h} screen")
    check(help_["size"] >= max(12, h / 45), f"{label}: the title's text is {help_['size']} px, "
          f"too small to read on a {h} px high screen")
    check(help_["whole"], f"{label}: the title's text does not fit its band")
    # Painted: light text on a dark band.
    img = s.shot(f"title-{w}x{h}")
    inside = [(px, py) for py in range(int(y) + 1, int(y + hh) - 1)
              for px in range(int(x) + 1, int(x + hw) - 1)]
    light = sum(1 for p in inside if min(img.px(*p)) > 200)
    dark = sum(1 for p in inside if max(img.px(*p)) < 80)
    check(light > 200 and dark > len(inside) / 2, f"{img.path}: the title band shows {light} light "
          f"and {dark} dark pixels of {len(inside)}")
    # It covers nothing drawn: under it the page shows its bare background.
    s.js("document.getElementById('titleHelp').style.visibility = 'hidden'")
    bare = s.shot(f"under-title-{w}x{h}")
    s.js("document.getElementById('titleHelp').style.visibility = 'visible'")
    around = [(px, py) for py in range(int(y) - 2, int(y + hh) + 2)
              for px in range(int(x) - 2, int(x + hw) + 2) if bare.inside(px, py)]
    background = corner(bare, s.face())
    covered = [p for p in around if bare.px(*p) != background]
    check(not covered, f"{bare.path}: the title covers {len(covered)} drawn pixels, the first at "
          f"{covered[:3]}")


@case
def classroom(s):
    for way, w, h in SCREEN_ROWS:
        label = f"{w}x{h}, {way}"
        log(f"-- {label}")
        s.resize(w, h)
        enter_live(s)     # 時計 puts "AUTO" back into the list
        enter_manual(s)
        time.sleep(0.3)
        check(title_help(s) is None, f"{label}: the title shows in the page beside a title bar: "
              f"{title_help(s)}")
        fill_screen(s, way, True)
        s.set_viewport(w, h)   # the screen's size, whatever the window had
        s.settle()
        if way == "app":
            enter_manual(s)
        face = s.face()
        img = s.shot_when(f"full-{w}x{h}-{way}", hands_at(face, 0, 0))
        check_manual_hands(img, face, 0, 0, f"{label}: the face laid out for the screen")
        gone = sorted(i for i, c in minute_numerals(img, face).items() if c is None)
        check(not gone, f"{img.path}: minute numerals {gone} missing from the face")
        for step, want in TITLE_STEPS:
            if step == "live":
                enter_live(s)
            elif step == "manual":
                enter_manual(s)
            elif step is not None:
                s.pick_step(step)
            s.wait_title(want)
            check_title_help(s, want, f"{label}, {step or 'start'}")
        fill_screen(s, way, False)
        s.set_viewport(w, h)
        s.settle()
        time.sleep(0.3)
        check(title_help(s) is None, f"{label}: the title still shows after full screen ends")
    # A desktop's app window shows the title in its title bar: nothing more.
    fill_screen(s, "app", True, DESKTOP_TITLE_BAR)
    enter_manual(s)
    time.sleep(0.3)
    check(title_help(s) is None, f"the title shows in the page under a desktop app's title bar: "
          f"{title_help(s)}")
    fill_screen(s, "app", False)


def session_for(case_name):
    return TouchSession if case_name == "touch" else BrowserSession


def main():
    return run(__doc__.splitlines()[1], CASES, browser_class=session_for)


if __name__ == "__main__":
    sys.exit(main())
