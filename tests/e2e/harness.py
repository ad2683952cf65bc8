"""Drives the real tirpo-clock under a private X server, as a person would.

Everything here uses the Python standard library plus the X tools that the
test command installs: Xvfb, openbox (optional), xdotool, xprop, xwininfo and
ImageMagick's import and convert.  Every process started is stopped by its
pid, also when a check fails.
"""

import ctypes
import math
import os
import shutil
import signal
import subprocess
import tempfile
import time

TWIPS_PER_PIXEL = 15          # 96 logical DPI
START_TWIPS = 5800            # the window's outer size after start-up
LARGE_TWIPS = 9000            # above this the minute numerals show

# Colours as (R, G, B).
LIGHT_GREY = (192, 192, 192)
MANUAL_GREY = (128, 128, 128)
LIVE_GREEN = (0, 128, 0)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
CYAN = (0, 255, 255)
YELLOW = (255, 255, 0)
WHITE = (255, 255, 255)
SECOND_GREEN = (0, 192, 0)

TOOLS = ("Xvfb", "xdotool", "xprop", "xwininfo", "xwd", "import", "convert")

TITLE_CLOCK = "tirpoアナログ時計"
TITLE_AUTO = ("tirpoアナログ手動時計【今何時】・・・左クッリクで自動前進左クッリクで停止。"
              "右クッリクで自動後退右クリックで停止。")


def title_for_step(step):
    amount = "1時間" if step == "60" else step + "分"
    return (f"tirpoアナログ手動時計【今何時】・・・左クッリクで{amount}前進。"
            f"右クッリクで{amount}後退。")


class Failure(Exception):
    """A check on the running program did not hold."""


def check(cond, message):
    if not cond:
        raise Failure(message)


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def missing_tools(extra=()):
    return [t for t in TOOLS + tuple(extra) if shutil.which(t) is None]


_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    """Runs in each child before exec: the kernel sends it SIGTERM should the
    harness itself be killed (a CTest timeout), so nothing is left behind."""
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def stop_pid(proc, name):
    """Ends one process that this harness started: SIGTERM, then SIGKILL."""
    if proc is None or proc.poll() is not None:
        return
    try:
        proc.send_signal(signal.SIGTERM)
        proc.wait(timeout=5)
    except subprocess.TimeoutExpired:
        log(f"{name} (pid {proc.pid}) ignored SIGTERM; killing it")
        proc.kill()
        proc.wait(timeout=5)
    except ProcessLookupError:
        pass


def wait_until(predicate, timeout, what, interval=0.05):
    """Polls predicate() until it returns a true value; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


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


class Face:
    """Where the dial puts things in a client area of a given size.

    The window's outer size (client area plus window-manager frame) sets the
    scale: the client area runs from -1.1 to +1.1 times outer/5800 in both
    directions, the centre is the face centre, y grows upward, and the dial
    radius is 0.9 times outer height / 5800.
    """

    def __init__(self, client_w, client_h, frame_w, frame_h):
        self.cw, self.ch = client_w, client_h
        self.outer_w_twips = (client_w + frame_w) * TWIPS_PER_PIXEL
        self.outer_h_twips = (client_h + frame_h) * TWIPS_PER_PIXEL
        self.wk = self.outer_w_twips / START_TWIPS
        self.scale = self.outer_h_twips / START_TWIPS
        self.radius = 0.9 * self.scale
        self.cx, self.cy = client_w / 2, client_h / 2

    @property
    def large(self):
        return self.outer_w_twips > LARGE_TWIPS or self.outer_h_twips > LARGE_TWIPS

    def px(self, u, v):
        """Face units to client pixels."""
        return (self.cx + u * self.cw / (2.2 * self.wk),
                self.cy - v * self.ch / (2.2 * self.scale))

    def polar(self, degrees, r_units):
        """The point at r_units from the centre, degrees clockwise from 12."""
        a = math.radians(degrees)
        return self.px(math.sin(a) * r_units, math.cos(a) * r_units)

    def angle_of(self, x, y):
        """Clock angle in degrees (0..360, clockwise from 12) of a pixel."""
        u = (x - self.cx) * (2.2 * self.wk) / self.cw
        v = (self.cy - y) * (2.2 * self.scale) / self.ch
        return math.degrees(math.atan2(u, v)) % 360

    def r_of(self, x, y):
        u = (x - self.cx) * (2.2 * self.wk) / self.cw
        v = (self.cy - y) * (2.2 * self.scale) / self.ch
        return math.hypot(u, v)

    def ring(self, r_from, r_to):
        """Client pixels whose distance from the centre lies in a ring (units)."""
        out = []
        rx = r_to * self.cw / (2.2 * self.wk)
        ry = r_to * self.ch / (2.2 * self.scale)
        for y in range(max(0, int(self.cy - ry) - 1), min(self.ch, int(self.cy + ry) + 2)):
            for x in range(max(0, int(self.cx - rx) - 1), min(self.cw, int(self.cx + rx) + 2)):
                if r_from <= self.r_of(x, y) <= r_to:
                    out.append((x, y))
        return out

    # Controls placed in twips from the client's top-left corner.
    @staticmethod
    def twips_rect(left, top, width, height):
        t = TWIPS_PER_PIXEL
        return (left / t, top / t, width / t, height / t)

    def button_rect(self, which):
        """The two mode buttons: Left in twips, Top in face units."""
        _, _, w, h = self.twips_rect(120, 0, 855, 735)
        top8 = self.px(0, -0.8 * self.scale)[1]
        top = top8 if which == "clock" else top8 - h
        return (120 / TWIPS_PER_PIXEL, top, w, h)

    def button_centre(self, which):
        x, y, w, h = self.button_rect(which)
        return (x + w / 2, y + h / 2)


class ClockSession:
    """A private X server, optionally openbox, and one running tirpo-clock."""

    def __init__(self, app_path, wm, artefacts):
        self.app_path = os.path.abspath(app_path)
        self.wm = wm
        self.artefacts = artefacts
        self.procs = []               # (name, Popen), stopped in reverse order
        self.display = None
        self.wid = None
        self.shot_no = 0
        self.tmp = tempfile.mkdtemp(prefix="tirpo-e2e-")
        os.makedirs(artefacts, exist_ok=True)
        for old in os.listdir(artefacts):
            if old.endswith((".png", ".xwd", ".log")):
                os.remove(os.path.join(artefacts, old))

    # -- processes ---------------------------------------------------------

    def _env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env["QT_QPA_PLATFORM"] = "xcb"
        env["XDG_RUNTIME_DIR"] = self.tmp
        for k in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                  "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "WAYLAND_DISPLAY"):
            env.pop(k, None)
        return env

    def _spawn(self, name, argv, **kw):
        logf = open(os.path.join(self.artefacts, f"{name}.log"), "wb")
        proc = subprocess.Popen(argv, stdout=logf, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, preexec_fn=_die_with_parent, **kw)
        logf.close()
        self.procs.append((name, proc))
        log(f"started {name}, pid {proc.pid}")
        return proc

    def __enter__(self):
        try:
            self._start_x()
            if self.wm == "openbox":
                self._start_openbox()
            self._start_app()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for name, proc in reversed(self.procs):
            stop_pid(proc, name)
        self.procs.clear()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        try:
            self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                        pass_fds=(write_fd,))
        finally:
            os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 15
        os.set_blocking(read_fd, False)
        try:
            while not number.endswith(b"\n"):
                check(time.monotonic() < deadline, "Xvfb reported no display number")
                check(self.procs[-1][1].poll() is None, "Xvfb exited at start")
                try:
                    chunk = os.read(read_fd, 32)
                except BlockingIOError:
                    time.sleep(0.02)
                    continue
                check(chunk, "Xvfb closed its display pipe without a number")
                number += chunk
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()
        log(f"X display {self.display}")

    def _start_openbox(self):
        self._spawn("openbox", ["openbox", "--sm-disable"], env=self._env())

        def managed():
            out = self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check_rc=False)
            return "window id" in out
        wait_until(managed, 15, "openbox to manage the screen")

    def _start_app(self):
        self.app = self._spawn("tirpo-clock", [self.app_path], env=self._env(), cwd=self.tmp)
        out = wait_until(lambda: self._find_window(), 20, "the clock window")
        self.wid = out
        log(f"clock window {self.wid}")
        self.settle()

    def _find_window(self):
        check(self.app.poll() is None, f"tirpo-clock exited with {self.app.returncode}")
        out = self.x(["xdotool", "search", "--onlyvisible", "--class", "tirpo-clock"],
                     check_rc=False).split()
        for wid in out:
            if "tirpo" in self.title(wid):
                return wid
        return None

    def x(self, argv, check_rc=True, timeout=20):
        """Runs an X client on the private display and returns its stdout."""
        res = subprocess.run(argv, env=self._env(), capture_output=True, timeout=timeout)
        if check_rc and res.returncode != 0:
            raise Failure(f"{' '.join(argv)} failed ({res.returncode}): "
                          f"{res.stderr.decode(errors='replace').strip()}")
        return res.stdout.decode(errors="replace")

    def alive(self):
        check(self.app.poll() is None, f"tirpo-clock exited with {self.app.returncode}")

    # -- the window --------------------------------------------------------

    def title(self, wid=None):
        out = self.x(["xprop", "-id", wid or self.wid, "_NET_WM_NAME"], check_rc=False)
        if "=" not in out:
            return ""
        value = out.split("=", 1)[1].strip()
        if value.startswith('"') and value.endswith('"'):
            value = value[1:-1]
        return value.replace('\\"', '"')

    def wait_title(self, expected, timeout=5):
        try:
            wait_until(lambda: self.title() == expected, timeout, "the title")
        except Failure:
            raise Failure(f"window title is {self.title()!r}, expected {expected!r}")

    def client_geometry(self):
        """(x, y, width, height) of the client area in root coordinates."""
        out = self.x(["xwininfo", "-id", self.wid])
        vals = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    vals[key] = int(line.split(":")[1])
        return (vals["Absolute upper-left X"], vals["Absolute upper-left Y"],
                vals["Width"], vals["Height"])

    def frame_extents(self):
        """(left, right, top, bottom) of the window manager's frame, or zeros."""
        out = self.x(["xprop", "-id", self.wid, "_NET_FRAME_EXTENTS"], check_rc=False)
        if "=" not in out:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in out.split("=", 1)[1].split(","))

    def face(self):
        _, _, w, h = self.client_geometry()
        left, right, top, bottom = self.frame_extents()
        return Face(w, h, left + right, top + bottom)

    def settle(self, timeout=10):
        """Waits until the window's geometry and frame stop changing."""
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

    # -- input -------------------------------------------------------------

    def click(self, x, y, button=1):
        self.alive()
        self.x(["xdotool", "mousemove", "--window", self.wid, str(int(round(x))),
                str(int(round(y))), "click", str(button)])

    def click_button(self, which):
        x, y = self.face().button_centre(which)
        log(f"click {which} button at ({x:.0f}, {y:.0f})")
        self.click(x, y)

    def pick_step(self, step):
        """Opens the step list with its arrow and clicks the entry."""
        items = ["1", "5", "10", "15", "30", "60"]
        left, top, w, h = Face.twips_rect(960, 120, 1455, 345)
        before = set(self._visible_windows())
        self.click(left + w - 8, top + h / 2)

        def popup():
            new = [wid for wid in self._visible_windows() if wid not in before]
            return new[-1] if new else None
        pop = wait_until(popup, 5, "the step list to open")
        wait_until(lambda: self.x(["xwininfo", "-id", pop], check_rc=False).count("IsViewable"),
                   5, "the step list to be viewable")
        time.sleep(0.2)
        geo = self._geometry_of(pop)
        row = geo[3] / len(items)
        x = geo[0] + geo[2] / 2
        y = geo[1] + row * (items.index(step) + 0.5)
        log(f"pick step {step!r} at root ({x:.0f}, {y:.0f})")
        self.x(["xdotool", "mousemove", str(int(x)), str(int(y)), "click", "1"])
        wait_until(lambda: pop not in self._visible_windows(), 5, "the step list to close")

    def _visible_windows(self):
        return self.x(["xdotool", "search", "--onlyvisible", "--name", ""],
                      check_rc=False).split()

    def _geometry_of(self, wid):
        out = self.x(["xwininfo", "-id", wid])
        vals = {}
        for line in out.splitlines():
            k, _, v = line.strip().partition(":")
            vals[k] = v.strip()
        return (int(vals["Absolute upper-left X"]), int(vals["Absolute upper-left Y"]),
                int(vals["Width"]), int(vals["Height"]))

    def resize(self, w, h):
        log(f"resize client to {w}x{h}")
        self.x(["xdotool", "windowsize", self.wid, str(w), str(h)])
        wait_until(lambda: self.client_geometry()[2:] == (w, h), 10, f"client size {w}x{h}")
        self.settle()

    def park_pointer(self):
        """Moves the pointer off every control so no hover colour shows."""
        self.x(["xdotool", "mousemove", "1270", "1015"])

    # -- pictures ----------------------------------------------------------

    def shot(self, name):
        self.alive()
        self.shot_no += 1
        path = os.path.join(self.artefacts, f"{self.shot_no:02d}-{name}.png")
        self.x(["import", "-window", self.wid, path])
        return Image(path)

    def dump(self, name):
        """A quick window dump (xwd), left unconverted so that the moment it
        is taken can be timed closely; Image() reads it later."""
        self.alive()
        self.shot_no += 1
        path = os.path.join(self.artefacts, f"{self.shot_no:03d}-{name}.xwd")
        self.x(["xwd", "-silent", "-id", self.wid, "-out", path])
        return path

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
