#!/usr/bin/env python3
"""The clock's start-up window on the Linux desktops it meets.

    desktop_e2e.py --app PATH --artefacts DIR CASE

Cases:
  wayland        native Wayland: weston's headless backend, Qt's wayland
                 platform, Qt drawing the title bar itself
  xwayland       X11 under weston's Xwayland, whose window manager draws a
                 frame and a shadow but publishes no frame extents
  openbox        X11 under Xvfb and openbox, which publishes its extents
  no_wayland_plugin
                 a Wayland session, no X display, and no Wayland platform
                 plugin: one line that says what to install

Every window case checks the title, that the outer size (client area plus
the frame the platform draws) is 5800 x 5800 twips within a pixel, and that
a screenshot shows the face whole and laid out for that outer size. A tool
that is missing fails the case with the package to install; nothing is
skipped. Exit status 0 when every check holds, 1 when one fails, 2 when the
case cannot run here.
"""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

from clockdrive.face import CYAN, LIGHT_GREY, START_TWIPS, TITLE_CLOCK, TWIPS_PER_PIXEL, Face
from clockdrive.image import Image
from clockdrive.no_display import run_without_display
from clockdrive.process import Failure, check, log, wait_until
from clockdrive.reading import minute_numerals
from clockdrive.session import ClockSession

OUTER_PX = START_TWIPS / TWIPS_PER_PIXEL           # 386.7 pixels at 96 DPI
RESIZED = (520, 470)                               # a client size below the large face
BACKGROUND = (16, 32, 64)                          # weston's desktop, set below
WESTON_INI = """\
[core]
idle-time=0
[shell]
background-color=0xff102040
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
"""

# What each case needs: (command or file pattern, Debian package).
NEEDS = {
    "wayland": [("weston", "weston"), ("weston-screenshooter", "weston"),
                ("/usr/lib/*/libweston-*/headless-backend.so", "weston"),
                ("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so", "qt6-wayland"),
                ("convert", "imagemagick")],
    "xwayland": [("weston", "weston"), ("weston-screenshooter", "weston"),
                 ("/usr/lib/*/libweston-*/headless-backend.so", "weston"),
                 ("/usr/lib/*/libweston-*/xwayland.so", "weston"), ("Xwayland", "xwayland"),
                 ("xdotool", "xdotool"), ("xprop", "x11-utils"), ("xwininfo", "x11-utils"),
                 ("convert", "imagemagick")],
    "openbox": [("Xvfb", "xvfb"), ("openbox", "openbox"), ("xdotool", "xdotool"),
                ("xprop", "x11-utils"), ("xwininfo", "x11-utils"), ("import", "imagemagick"),
                ("convert", "imagemagick")],
    "no_wayland_plugin": [("/usr/lib/*/qt6/plugins/platforms/libqxcb.so", "libqt6gui6")],
}


def missing_needs(case):
    out = []
    for what, package in NEEDS[case]:
        found = glob.glob(what) if what.startswith("/") else shutil.which(what)
        if not found:
            out.append(f"{what} (package {package})")
    return out


# -- weston ----------------------------------------------------------------------

class WestonSession(ClockSession):
    """weston's headless desktop with one running tirpo-clock: on Qt's
    wayland platform, or (xwayland=True) on xcb through weston's Xwayland."""

    def __init__(self, app_path, artefacts, xwayland):
        super().__init__(app_path, "none", artefacts)
        self.xwayland = xwayland
        self.socket = f"tirpo-{os.getpid()}"

    def _wayland_env(self):
        env = dict(os.environ)
        env["XDG_RUNTIME_DIR"] = self.tmp
        env["WAYLAND_DISPLAY"] = self.socket
        env.pop("DISPLAY", None)
        return env

    def _start_x(self):
        # weston stands in for the X server; with Xwayland it serves X too.
        with open(os.path.join(self.tmp, "weston.ini"), "w") as f:
            f.write(WESTON_INI)
        if self.xwayland and not os.path.isdir("/tmp/.X11-unix"):
            try:
                os.makedirs("/tmp/.X11-unix", exist_ok=True)
                os.chmod("/tmp/.X11-unix", 0o1777)
            except OSError as e:
                raise Failure(f"Xwayland needs /tmp/.X11-unix and it cannot be made: {e}")
        argv = ["weston", "--backend=headless-backend.so", "--use-pixman", "--width=1024",
                "--height=768", f"--socket={self.socket}",
                f"--config={os.path.join(self.tmp, 'weston.ini')}",
                "--debug",  # lets weston-screenshooter take pictures
                "--idle-time=0"]
        if self.xwayland:
            argv.append("--xwayland")
        weston = self._spawn("weston", argv, env=self._wayland_env())
        wait_until(lambda: weston.poll() is None and
                   os.path.exists(os.path.join(self.tmp, self.socket)) or self._weston_gone(weston),
                   20, "weston's socket")
        self._weston_gone(weston)
        if self.xwayland:
            def display():
                self._weston_gone(weston)
                with open(os.path.join(self.artefacts, "weston.log"), errors="replace") as f:
                    m = re.search(r"xserver listening on display (:\d+)", f.read())
                return m and m.group(1)
            self.display = wait_until(display, 20, "Xwayland's display number")
            log(f"Xwayland display {self.display}")

    @staticmethod
    def _weston_gone(weston):
        check(weston.poll() is None, f"weston exited with {weston.returncode} (see weston.log)")
        return False

    def _env(self):
        if self.xwayland:
            env = super()._env()
            env["WAYLAND_DISPLAY"] = self.socket   # for the screenshooter; Qt is told xcb
            return env
        env = self._wayland_env()
        env["QT_QPA_PLATFORM"] = "wayland"
        env["WAYLAND_DEBUG"] = "client"             # the requests it sends: title, geometry
        for k in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                  "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "QT_WAYLAND_DISABLE_WINDOWDECORATION",
                  "QT_WAYLAND_DECORATION", "QT_WAYLAND_SHELL_INTEGRATION"):
            env.pop(k, None)
        return env

    def _start_app(self):
        if self.xwayland:
            return super()._start_app()
        self.app = self._spawn("tirpo-clock", [self.app_path], env=self._env(), cwd=self.tmp)
        wait_until(lambda: self.alive() or self.requests("set_window_geometry"), 20,
                   "the clock to give its window a geometry")
        self.settle_screen()

    # -- what the Wayland client asked for -------------------------------------

    def requests(self, name):
        """The arguments of every `name` request the program sent, in order."""
        with open(os.path.join(self.artefacts, "tirpo-clock.log"), "rb") as f:
            text = f.read().decode(errors="replace")
        return re.findall(r"-> [a-z_]+@\d+\." + name + r"\((.*)\)", text)

    def wayland_title(self):
        titles = self.requests("set_title")
        check(titles, "the program never set a window title")
        return titles[-1].strip('"')

    def window_geometry(self):
        """(width, height) of the last set_window_geometry: the outer size
        the compositor places and shows."""
        x, y, w, h = (int(v) for v in self.requests("set_window_geometry")[-1].split(","))
        return w, h

    # -- pictures of the whole desktop -----------------------------------------

    def screen(self, name):
        self.alive()
        self.shot_no += 1
        out = tempfile.mkdtemp(dir=self.tmp)
        env = self._wayland_env()
        res = subprocess.run(["weston-screenshooter"], cwd=out, env=env, capture_output=True,
                             timeout=20)
        pngs = glob.glob(os.path.join(out, "*.png"))
        check(res.returncode == 0 and len(pngs) == 1,
              f"weston-screenshooter failed ({res.returncode}): "
              f"{res.stderr.decode(errors='replace').strip()}")
        path = os.path.join(self.artefacts, f"{self.shot_no:02d}-{name}.png")
        shutil.move(pngs[0], path)
        return Image(path)

    def settle_screen(self, timeout=15):
        """Waits until two pictures of the desktop in a row are the same."""
        last = None
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            img = self.screen("settle")
            os.remove(img.path)
            self.shot_no -= 1
            if last is not None and img.data == last and window_box(img) is not None:
                return
            last = img.data
            time.sleep(0.3)
        raise Failure("the desktop never settled")


# -- reading the pictures --------------------------------------------------------

def bounding_box(img, predicate, area=None):
    x0, y0, x1, y1 = area or (0, 0, img.width, img.height)
    xs, ys = [], []
    w, d = img.width, img.data
    for y in range(y0, y1):
        row = y * w * 3
        for x in range(x0, x1):
            o = row + x * 3
            if predicate(d[o:o + 3]):
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1)


def window_box(img):
    """(left, top, right, bottom) of everything that is not the desktop."""
    bg = bytes(BACKGROUND)
    return bounding_box(img, lambda p: p != bg)


def client_box(img, box):
    """(left, top, right, bottom) of the window's client area inside its box:
    the rows and columns that are mostly the window's light grey (the title
    bar and borders have none but a speck in the icon)."""
    left, top, right, bottom = box
    grey, w, d = bytes(LIGHT_GREY), img.width, img.data

    def is_grey(x, y):
        o = (y * w + x) * 3
        return d[o:o + 3] == grey
    rows = [y for y in range(top, bottom)
            if sum(is_grey(x, y) for x in range(left, right)) >= 0.25 * (right - left)]
    cols = [x for x in range(left, right)
            if sum(is_grey(x, y) for y in range(top, bottom)) >= 0.25 * (bottom - top)]
    check(rows and cols, f"{img.path}: no client area in the window at {box}")
    return (min(cols), min(rows), max(cols) + 1, max(rows) + 1)


def crop(img, left, top, width, height, name):
    path = os.path.splitext(img.path)[0] + f"-{name}.png"
    subprocess.run(["convert", img.path, "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                    path], check=True)
    return Image(path)


def numeral_centre(img, face, i, half_w, half_h):
    """Mean position of the cyan pixels around minute numeral i's place."""
    x, y = face.polar(6 * i, 1.1 * face.radius)
    pts = [(a, b) for b in range(int(y) - half_h, int(y) + half_h + 1)
           for a in range(int(x) - half_w, int(x) + half_w + 1) if img.px(a, b) == CYAN]
    check(pts, f"{img.path}: no minute numeral {i} near ({x:.0f}, {y:.0f})")
    return (sum(a for a, _ in pts) / len(pts), sum(b for _, b in pts) / len(pts))


def check_face(img, face, round_face):
    """The start-up face as the outer size lays it out: every minute numeral
    at its place, the numerals' circle as wide and tall as the layout makes it
    (a circle where no frame takes room), nothing cut off at the edges."""
    check((img.width, img.height) == (face.cw, face.ch),
          f"{img.path}: {img.width}x{img.height} picture of a {face.cw}x{face.ch} client area")
    for x, y in ((2, 2), (face.cw - 3, 2), (face.cw - 3, face.ch - 3)):
        check(img.px(x, y) == LIGHT_GREY,
              f"{img.path}: ({x}, {y}) is {img.px(x, y)}, not the window's light grey")
    nums = minute_numerals(img, face)

    def under_button(i):  # the buttons lie above the numerals they cover
        x, y = face.polar(6 * i, 1.1 * face.radius)
        return any(bx - 8 <= x <= bx + bw + 8 and by - 8 <= y <= by + bh + 8
                   for bx, by, bw, bh in map(face.button_rect, ("now", "clock")))
    wrong = sorted(i for i, c in nums.items() if c != "cyan" and not under_button(i))
    check(not wrong, f"{img.path}: minute numerals {wrong} are not where the layout puts them")
    x15, _ = numeral_centre(img, face, 15, 8, 10)
    x45, _ = numeral_centre(img, face, 45, 8, 10)
    _, y0 = numeral_centre(img, face, 60, 14, 8)
    _, y30 = numeral_centre(img, face, 30, 14, 8)
    rx, ry = (x15 - x45) / 2, (y30 - y0) / 2
    want_rx = face.polar(90, 1.1 * face.radius)[0] - face.cx
    want_ry = face.polar(180, 1.1 * face.radius)[1] - face.cy
    log(f"numeral circle {2 * rx:.1f} x {2 * ry:.1f} px, laid out {2 * want_rx:.1f} x "
        f"{2 * want_ry:.1f} px (width/height {rx / ry:.3f})")
    check(abs(rx - want_rx) <= 2 and abs(ry - want_ry) <= 2,
          f"{img.path}: numeral circle {2 * rx:.1f} x {2 * ry:.1f} px, the outer size lays it "
          f"out {2 * want_rx:.1f} x {2 * want_ry:.1f}")
    if round_face:
        check(abs(rx - ry) <= 2, f"{img.path}: the face is squashed: numeral circle "
              f"{2 * rx:.1f} x {2 * ry:.1f} px in a frameless window")
    edge = [(x, y) for x in range(face.cw) for y in (0, face.ch - 1)] + \
           [(x, y) for y in range(face.ch) for x in (0, face.cw - 1)]
    cut = img.count(CYAN, edge)
    check(cut == 0, f"{img.path}: {cut} numeral pixels on the client area's edge: the face is cut")
    for which in ("now", "clock"):
        x, y, w, h = face.button_rect(which)
        check(y >= 0 and y + h <= face.ch + 1,
              f"the {which} button ({y:.0f}..{y + h:.0f}) does not fit the client height {face.ch}")


def check_outer(face, where):
    outer = (face.outer_w_twips / TWIPS_PER_PIXEL, face.outer_h_twips / TWIPS_PER_PIXEL)
    log(f"{where}: client {face.cw}x{face.ch}, outer {outer[0]:.0f}x{outer[1]:.0f} px")
    check(all(abs(v - OUTER_PX) <= 1 for v in outer),
          f"{where}: outer size {outer[0]}x{outer[1]} px, expected 5800 twips = {OUTER_PX:.1f} px")


# -- cases -------------------------------------------------------------------------

def case_wayland(args):
    with WestonSession(args.app, args.artefacts, xwayland=False) as s:
        title = s.wayland_title()
        check(title == TITLE_CLOCK, f"window title {title!r}, expected {TITLE_CLOCK!r}")
        w, h = s.window_geometry()
        log(f"the window's geometry on the desktop: {w}x{h}")
        img = s.screen("start")
        box = window_box(img)
        check(box is not None, f"{img.path}: no window on the desktop")
        left, top, right, bottom = box
        check((right - left, bottom - top) == (w, h),
              f"{img.path}: the window shows {right - left}x{bottom - top}, its geometry says {w}x{h}")
        cl, ct, cr, cb = client_box(img, box)
        frame_w, frame_h = w - (cr - cl), h - (cb - ct)
        log(f"client area at ({cl}, {ct}), frame {cl - left}/{ct - top}/{right - cr}/{bottom - cb} "
            f"(left/top/right/bottom)")
        face = Face(cr - cl, cb - ct, frame_w, frame_h)
        check_outer(face, "Wayland")
        check_face(crop(img, cl, ct, cr - cl, cb - ct, "client"), face, round_face=frame_w == frame_h)


def case_xwayland(args):
    with WestonSession(args.app, args.artefacts, xwayland=True) as s:
        check(s.title() == TITLE_CLOCK, f"window title {s.title()!r}, expected {TITLE_CLOCK!r}")
        published = s.x(["xprop", "-id", s.wid, "_NET_FRAME_EXTENTS"], check_rc=False)
        check("not found" in published,
              f"this window manager publishes frame extents, the case needs one that does not: "
              f"{published.strip()}")
        s.settle_screen()
        face = s.face()
        check_outer(face, "Xwayland")
        check_face(xwayland_client(s, "start"), face, round_face=True)
        # A resize counts the frame by the same rule: none.
        s.resize(*RESIZED)
        s.settle_screen()
        face = s.face()
        check((face.outer_w_twips, face.outer_h_twips) == tuple(v * TWIPS_PER_PIXEL for v in RESIZED),
              f"outer size {face.outer_w_twips}x{face.outer_h_twips} twips after a resize to {RESIZED}")
        check_face(xwayland_client(s, "resized"), face, round_face=False)


def xwayland_client(s, name):
    """The client area in a picture of weston's desktop. Where the compositor
    shows the window is its own affair (X's idea of the position may lag), so
    the client area is found in the picture and its size checked against X."""
    _, _, cw, ch = s.client_geometry()
    img = s.screen(name)
    box = window_box(img)
    check(box is not None, f"{img.path}: no window on the desktop")
    cl, ct, cr, cb = client_box(img, box)
    check((cr - cl, cb - ct) == (cw, ch),
          f"{img.path}: the client area shows {cr - cl}x{cb - ct}, X says {cw}x{ch}")
    return crop(img, cl, ct, cw, ch, "client")


def case_openbox(args):
    with ClockSession(args.app, "openbox", args.artefacts) as s:
        check(s.title() == TITLE_CLOCK, f"window title {s.title()!r}, expected {TITLE_CLOCK!r}")
        left, right, top, bottom = s.frame_extents()
        check(top > 0, f"openbox published no title bar: {(left, right, top, bottom)}")
        face = s.face()
        check_outer(face, "openbox")
        x, y, cw, ch = s.client_geometry()
        desktop = os.path.join(args.artefacts, "desktop.png")
        s.x(["import", "-window", "root", desktop])
        # The window with its frame, as a person sees it.
        crop(Image(desktop), x - left - 8, y - top - 8, cw + left + right + 16,
             ch + top + bottom + 16, "window")
        img = s.shot("start")
        check_face(img, face, round_face=left + right == top + bottom)
        # A resize counts the frame by the same rule as start-up.
        s.resize(*RESIZED)
        face = s.face()
        check((face.cw, face.ch) == RESIZED, f"client {face.cw}x{face.ch} after a resize to {RESIZED}")
        check_face(s.shot("resized"), face, round_face=False)


def case_no_wayland_plugin(args):
    """The program copied next to a qt.conf whose plugin folder has every
    platform plugin except Wayland's, as on a system without qt6-wayland."""
    os.makedirs(args.artefacts, exist_ok=True)
    scratch = tempfile.mkdtemp(prefix="tirpo-noplugin-")
    try:
        platforms = os.path.join(scratch, "plugins", "platforms")
        os.makedirs(platforms)
        installed = glob.glob("/usr/lib/*/qt6/plugins/platforms/*.so")
        for so in installed:
            if "wayland" not in os.path.basename(so):
                os.symlink(so, os.path.join(platforms, os.path.basename(so)))
        with open(os.path.join(scratch, "qt.conf"), "w") as f:
            f.write(f"[Paths]\nPlugins={os.path.join(scratch, 'plugins')}\n")
        app = os.path.join(scratch, "tirpo-clock")
        shutil.copy2(args.app, app)
        runtime = os.path.join(scratch, "runtime")
        os.makedirs(runtime, mode=0o700)
        base = {k: v for k, v in os.environ.items()
                if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_PLUGIN_PATH",
                             "QT_QPA_PLATFORM_PLUGIN_PATH", "XDG_SESSION_TYPE")}
        base["XDG_RUNTIME_DIR"] = runtime
        rows = [
            # (label, environment changes, texts the line must hold)
            ("Wayland session, platform not chosen", {"WAYLAND_DISPLAY": "wayland-0"},
             ["QT_QPA_PLATFORM not set", "DISPLAY not set", "WAYLAND_DISPLAY=wayland-0",
              "qt6-wayland"]),
            ("Wayland asked for", {"WAYLAND_DISPLAY": "wayland-1", "QT_QPA_PLATFORM": "wayland"},
             ["QT_QPA_PLATFORM=wayland", "DISPLAY not set", "WAYLAND_DISPLAY=wayland-1",
              "qt6-wayland"]),
            ("X11 asked for in a Wayland session", {"WAYLAND_DISPLAY": "wayland-0",
                                                    "QT_QPA_PLATFORM": "xcb"},
             ["QT_QPA_PLATFORM=xcb", "DISPLAY not set", "WAYLAND_DISPLAY=wayland-0",
              "qt6-wayland"]),
        ]
        problems = []
        for label, changes, wants in rows:
            problems += run_without_display(app, label, dict(base, **changes), args.artefacts, wants)
        check(not problems, "; ".join(problems))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


CASES = {"wayland": case_wayland, "xwayland": case_xwayland, "openbox": case_openbox,
         "no_wayland_plugin": case_no_wayland_plugin}


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--app", required=True)
    ap.add_argument("--artefacts", required=True)
    ap.add_argument("case", choices=sorted(CASES))
    args = ap.parse_args()
    missing = missing_needs(args.case)
    if missing:
        print(f"FAIL: cannot run the {args.case} case here; missing: {', '.join(missing)}. "
              f"scripts/install-deps installs them.", file=sys.stderr)
        return 2
    os.makedirs(args.artefacts, exist_ok=True)
    try:
        CASES[args.case](args)
    except Failure as e:
        print(f"FAIL: {e}", file=sys.stderr)
        return 1
    except Exception:
        traceback.print_exc()
        return 1
    log(f"{args.case}: OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
