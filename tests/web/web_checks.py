#!/usr/bin/python3
"""What only the web edition has, checked in headless Chromium:

    web_checks.py --site DIR [--page index.html|tirpo-clock.html] --artefacts DIR CASE

Cases:
  a11y_tree   the accessibility tree Chromium builds holds the face as a
              spin button named and valued after the time it shows, which
              follows a press on the face and an arrow key on it (reached
              with Tab alone)
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
The console must stay free of errors and warnings in every case (the
session fails the run otherwise).
"""

import datetime
import os
import re
import sys
import time
import zoneinfo

from clockdrive.face import GREEN, LIGHT_GREY, MANUAL_GREY, TITLE_AUTO, title_for_step
from clockdrive.looks import (bare_spot, check_background, check_live_hands, corner, enter_live,
                              enter_manual, hands_at, live_shot, local_time)
from clockdrive.process import Failure, check, log, wait_until
from clockdrive.reading import minute_hand
from clockdrive.runner import run

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


def main():
    return run(__doc__.splitlines()[1], CASES)


if __name__ == "__main__":
    sys.exit(main())
