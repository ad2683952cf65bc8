"""A private X server with one running tirpo-clock, driven as a person would.

Everything here uses the Python standard library plus the X tools that the
install script installs: Xvfb, openbox (optional), xdotool, xprop, xwininfo
and ImageMagick's import and convert.  Every process started is stopped by
its pid, also when a check fails.
"""

import os
import shutil
import subprocess
import tempfile
import time

from clockdrive.driver import Driver
from clockdrive.face import COMBO_TWIPS, STEPS, Face
from clockdrive.image import Image
from clockdrive.process import Failure, Processes, check, log, wait_until


class WindowDriver(Driver):
    """The clock window on a running X display, driven and read as a person
    would: clicks, step picks, resizes, its title, geometry and screenshots
    (kept in artefacts, numbered in the order taken)."""

    has_frame = True
    has_dump = True

    def __init__(self, display, wid, artefacts, app=None):
        super().__init__(artefacts)
        self.display = display
        self.wid = wid
        self.app = app                # the program's Popen, to notice its end

    def _env(self):
        return dict(os.environ, DISPLAY=self.display)

    def x(self, argv, check_rc=True, timeout=20):
        """Runs an X client on the private display and returns its stdout."""
        res = subprocess.run(argv, env=self._env(), capture_output=True, timeout=timeout)
        if check_rc and res.returncode != 0:
            raise Failure(f"{' '.join(argv)} failed ({res.returncode}): "
                          f"{res.stderr.decode(errors='replace').strip()}")
        return res.stdout.decode(errors="replace")

    def alive(self):
        if self.app is not None:
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

    # -- input -------------------------------------------------------------

    def click(self, x, y, button=1):
        self.alive()
        self.x(["xdotool", "mousemove", "--window", self.wid, str(int(round(x))),
                str(int(round(y))), "click", str(button)])

    def pick_step(self, step):
        """Opens the step list with its arrow and clicks the entry."""
        left, top, w, h = Face.twips_rect(*COMBO_TWIPS)
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
        row = geo[3] / len(STEPS)
        x = geo[0] + geo[2] / 2
        y = geo[1] + row * (STEPS.index(step) + 0.5)
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
        path = self.next_shot_path(name)
        self.x(["import", "-window", self.wid, path])
        return Image(path)

    def dump(self, name):
        """A quick window dump (xwd), left unconverted so that the moment it
        is taken can be timed closely; Image() reads it later."""
        self.alive()
        path = self.next_shot_path(name, "xwd", digits=3)
        self.x(["xwd", "-silent", "-id", self.wid, "-out", path])
        return path

class ClockSession(WindowDriver):
    """A private X server, optionally openbox, and one running tirpo-clock."""

    def __init__(self, app_path, wm, artefacts):
        super().__init__(None, None, artefacts)
        self.app_path = os.path.abspath(app_path)
        self.wm = wm
        self.processes = Processes(artefacts)
        self.tmp = tempfile.mkdtemp(prefix="tirpo-e2e-")
        os.makedirs(artefacts, exist_ok=True)
        for old in os.listdir(artefacts):
            if old.endswith((".png", ".xwd", ".log")):
                os.remove(os.path.join(artefacts, old))

    # -- processes ---------------------------------------------------------

    def _env(self):
        env = super()._env()
        env["QT_QPA_PLATFORM"] = "xcb"
        env["XDG_RUNTIME_DIR"] = self.tmp
        for k in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                  "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "WAYLAND_DISPLAY"):
            env.pop(k, None)
        return env

    def _spawn(self, name, argv, **kw):
        return self.processes.spawn(name, argv, **kw)

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
        self.processes.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def _start_x(self):
        self.display = self.processes.start_xvfb()

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
