"""The web edition in headless Chromium, driven and read as a person would,
through the same methods as the X11 window (session.WindowDriver):
DevTools input events instead of xdotool, DevTools screenshots instead of X
dumps, the viewport's size instead of the window's, document.title instead
of the window title. The page is the window: its client area is the whole
viewport, 15 twips a CSS pixel, and it has no frame.

Chromium and chromedriver are Debian's; selenium comes from python3-selenium,
which only Debian's /usr/bin/python3 loads. index.html is served by Python's
http.server on 127.0.0.1 (a service worker needs a secure origin, which
127.0.0.1 is); the single file tirpo-clock.html opens from file://. The
browser's console is read all along: any error or warning the page logs
fails the run.
"""

import base64
import os
import re
import shutil
import tempfile
import time

from clockdrive.driver import Driver
from clockdrive.face import COMBO_TWIPS, OWN_TITLES, START_TWIPS, STEPS, TWIPS_PER_PIXEL, Face
from clockdrive.image import Image
from clockdrive.process import Failure, Processes, _die_with_parent, check, log, wait_until

BROWSER_TOOLS = ("chromium", "chromedriver", "convert")

SERVED_PAGE = "index.html"
SINGLE_FILE = "tirpo-clock.html"

# The viewport at start: what the window asks for, 5800 twips, in whole pixels.
START_PIXELS = -(-START_TWIPS // TWIPS_PER_PIXEL)

# X11's button numbers, which the scenarios use, as DevTools names them, with
# the bit each holds in a MouseEvent's buttons.
BUTTONS = {1: ("left", 1), 2: ("middle", 4), 3: ("right", 2)}
MODIFIERS = {"alt": 1, "ctrl": 2, "meta": 4, "shift": 8}

# Keys as DevTools sends them: (key, code, Windows virtual key code, text).
KEYS = {
    "Tab": ("Tab", "Tab", 9, ""),
    "Return": ("Enter", "Enter", 13, "\r"),
    "space": (" ", "Space", 32, " "),
    "Left": ("ArrowLeft", "ArrowLeft", 37, ""),
    "Up": ("ArrowUp", "ArrowUp", 38, ""),
    "Right": ("ArrowRight", "ArrowRight", 39, ""),
    "Down": ("ArrowDown", "ArrowDown", 40, ""),
}

# What tells that the clock has started: the module has made its controls.
CLOCK_READY = "return !!document.getElementById('Command8')"

# Console entries that fail a run.
BAD_LEVELS = ("SEVERE", "WARNING")

_VISIBLE_OPTIONS = """
return [...document.querySelectorAll('[role=option]')].filter(e => {
  const r = e.getBoundingClientRect(), st = getComputedStyle(e);
  return r.width > 0 && r.height > 0 && st.visibility !== 'hidden';
}).map(e => {
  const r = e.getBoundingClientRect();
  return [e.textContent.trim(), r.x, r.y, r.width, r.height];
});
"""


def missing_browser():
    """What the browser runs need beyond the tools: selenium in this python."""
    try:
        import selenium.webdriver  # noqa: F401
    except ImportError:
        return ["python3-selenium (run with /usr/bin/python3)"]
    return []


class BrowserSession(Driver):
    """Headless Chromium with the web edition open in one tab.

    site: the folder of the built site; page: SERVED_PAGE (over http) or
    SINGLE_FILE (from file://), or another page of the folder (served unless
    served=False) that shows one of titles once the script ready returns
    true. wm names the variant in messages ("web" or "file"), as the X11
    session names its window manager.
    """

    mobile = False          # a phone's or tablet's viewport, which pinches and scrolls

    def __init__(self, site, page, artefacts, served=None, titles=OWN_TITLES,
                 ready=CLOCK_READY, width=START_PIXELS, height=START_PIXELS):
        super().__init__(artefacts)
        self.site = os.path.abspath(site)
        self.page = page
        self.served = page != SINGLE_FILE if served is None else served
        self.titles = titles
        self.ready = ready
        self.wm = "web" if self.served else "file"
        self.viewport = (width, height)
        self.scale = 1.0                 # device pixels per CSS pixel
        self.processes = Processes(artefacts)
        self.tmp = tempfile.mkdtemp(prefix="tirpo-web-")
        self.driver = None
        self.server = None
        self.port = None
        self.console = []                # every console entry, in order
        self.bad = []                    # the errors and warnings among them
        for old in os.listdir(artefacts):
            if old.endswith((".png", ".log")):
                os.remove(os.path.join(artefacts, old))

    # -- processes ---------------------------------------------------------

    def __enter__(self):
        try:
            if self.served:
                self.start_server()
            self._start_browser()
            self.open()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, exc_type, *exc):
        try:
            if self.driver is not None:
                self.read_console()
        finally:
            self.close()
        if exc_type is None:
            self.check_console()

    def close(self):
        if self.driver is not None:
            service = self.driver.service
            try:
                self.driver.quit()
            except Exception as e:     # a crashed browser: stop its driver anyway
                log(f"chromium did not quit cleanly: {e}")
            stop_process = getattr(service, "process", None)
            if stop_process is not None and stop_process.poll() is None:
                stop_process.terminate()
                stop_process.wait(timeout=5)
            self.driver = None
        self.processes.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def start_server(self):
        self.server, self.port = self.processes.start_http_server(self.site)

    def stop_server(self):
        """Stops the http server, as when the network is gone."""
        log("stopping the http server")
        self.processes.stop(self.server)
        self.server = None

    def url(self):
        if self.served:
            return f"http://127.0.0.1:{self.port}/{self.page}"
        return "file://" + os.path.join(self.site, self.page)

    def _start_browser(self):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        path = os.path.join(self.site, self.page)
        check(os.path.isfile(path.split("?")[0]), f"{path} does not exist: build the web edition first "
              "(cmake --preset web && cmake --build --preset web)")
        opts = webdriver.ChromeOptions()
        opts.binary_location = shutil.which("chromium")
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                    "--force-device-scale-factor=1", "--font-render-hinting=none",
                    "--no-first-run", "--no-default-browser-check", "--lang=ja",
                    f"--user-data-dir={os.path.join(self.tmp, 'profile')}",
                    f"--window-size={max(self.viewport[0], 500)},{max(self.viewport[1], 500)}"):
            opts.add_argument(arg)
        opts.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = Service(shutil.which("chromedriver"),
                          log_path=os.path.join(self.artefacts, "chromedriver.log"),
                          popen_kw={"preexec_fn": _die_with_parent})
        self.driver = webdriver.Chrome(service=service, options=opts)
        log(f"chromium started; chromedriver pid {service.process.pid}")
        self.set_viewport(*self.viewport)

    def open(self, timeout=20):
        """Navigates to the page and waits until it shows one of its titles."""
        log(f"open {self.url()}")
        self.driver.get(self.url())
        self.wait_loaded(timeout)

    def reload(self, timeout=20):
        log("reload")
        self.driver.refresh()
        self.wait_loaded(timeout)

    def wait_loaded(self, timeout=20):
        try:
            wait_until(lambda: self.title() in self.titles and self.js(self.ready),
                       timeout, "the page to load and start", interval=0.1)
        except Failure:
            self.read_console()
            raise Failure(f"the page did not load: title {self.title()!r}; console: "
                          f"{self.console[-5:]}")
        self.settle()

    def renderer_pids(self):
        """The pids of Chromium's page renderers (this one tab's, and a spare
        one Chromium may keep; not its own interface's), found in the
        driver's process tree, and the whole tree."""
        root = self.driver.service.process.pid
        children, kinds = {}, {}
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open(f"/proc/{pid}/stat") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    cmd = f.read()    # the children rewrite theirs as one string
            except OSError:
                continue
            children.setdefault(ppid, []).append(int(pid))
            kind = re.search(rb"--type=([\w-]+)", cmd)
            kinds[int(pid)] = ("ui" if b"--top-chrome-webui" in cmd else
                               kind.group(1).decode() if kind else "browser")
        tree, todo = [], [root]
        while todo:
            pid = todo.pop()
            tree.append(pid)
            todo.extend(children.get(pid, []))
        return [p for p in tree if kinds.get(p) == "renderer"], tree

    # -- the page ----------------------------------------------------------

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def read_console(self):
        """Moves what the console logged since the last call into
        self.console; returns the new errors and warnings."""
        new = self.driver.get_log("browser")
        bad = [e for e in new if e.get("level") in BAD_LEVELS]
        if new:
            with open(os.path.join(self.artefacts, "console.log"), "a") as f:
                for e in new:
                    f.write(f"{e.get('level')} {e.get('source')} {e.get('message')}\n")
        self.console.extend(new)
        self.bad.extend(bad)
        return bad

    def check_console(self):
        check(not self.bad, f"the page logged {len(self.bad)} error(s) or warning(s): " +
              "; ".join(f"{e.get('level')}: {e.get('message')}" for e in self.bad[:5]))

    def alive(self):
        try:
            self.read_console()
        except Exception as e:
            raise Failure(f"the browser does not answer: {e}")
        self.check_console()

    def title(self):
        return self.driver.title

    def client_geometry(self):
        w, h = self.js("return [innerWidth, innerHeight]")
        return (0, 0, w, h)

    def frame_extents(self):
        return (0, 0, 0, 0)

    def set_viewport(self, w, h, scale=None):
        """The viewport in CSS pixels, and its device pixel ratio (a zoom)."""
        if scale is not None:
            self.scale = scale
        self.viewport = (w, h)
        self.cdp("Emulation.setDeviceMetricsOverride", width=w, height=h,
                 deviceScaleFactor=self.scale, mobile=self.mobile)

    def element_rect(self, element_id):
        """(x, y, width, height) of the element with this id, or None when it
        is missing or not shown."""
        return self.js("""
            const e = document.getElementById(arguments[0]);
            if (!e) return null;
            const r = e.getBoundingClientRect(), st = getComputedStyle(e);
            if (r.width === 0 || st.display === 'none' || st.visibility === 'hidden')
              return null;
            return [r.x, r.y, r.width, r.height];""", element_id)

    # -- input -------------------------------------------------------------

    def mouse(self, kind, x, y, button=None, buttons=0, modifiers=0, count=1):
        params = dict(type=kind, x=float(x), y=float(y), modifiers=modifiers, buttons=buttons)
        if button is not None:
            params.update(button=button, clickCount=count)
        self.cdp("Input.dispatchMouseEvent", **params)

    def click(self, x, y, button=1, modifiers=()):
        """A press and release of one mouse button at (x, y) CSS pixels of
        the client area; button in X11's numbers (1 left, 2 middle, 3 right),
        modifiers among "shift", "ctrl", "alt", "meta"."""
        self.alive()
        name, bit = BUTTONS[button]
        mods = sum(MODIFIERS[m] for m in modifiers)
        self.mouse("mouseMoved", x, y, modifiers=mods)
        self.mouse("mousePressed", x, y, name, bit, mods)
        self.mouse("mouseReleased", x, y, name, 0, mods)

    def double_click(self, x, y, button=1):
        """Two clicks of one button, the second counted as a double click."""
        self.alive()
        name, bit = BUTTONS[button]
        self.mouse("mouseMoved", x, y)
        for count in (1, 2):
            self.mouse("mousePressed", x, y, name, bit, count=count)
            self.mouse("mouseReleased", x, y, name, 0, count=count)

    def press(self, key, modifiers=()):
        """A key pressed and released, by its X11 name (Tab, Return, space,
        Left, Up, Right, Down)."""
        self.alive()
        name, code, vk, text = KEYS[key]
        mods = sum(MODIFIERS[m] for m in modifiers)
        common = dict(key=name, code=code, windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk,
                      modifiers=mods)
        self.cdp("Input.dispatchKeyEvent", type="keyDown" if text else "rawKeyDown",
                 text=text, **common)
        self.cdp("Input.dispatchKeyEvent", type="keyUp", **common)

    def pick_step(self, step):
        """Opens the step list with its arrow and clicks the entry."""
        left, top, w, h = Face.twips_rect(*COMBO_TWIPS)
        self.click(left + w - 8, top + h / 2)
        opts = wait_until(lambda: self.js(_VISIBLE_OPTIONS), 5, "the step list to open")
        texts = tuple(o[0] for o in opts)
        check(texts == STEPS, f"the open step list shows {texts}, expected {STEPS}")
        _, x, y, ow, oh = opts[STEPS.index(step)]
        log(f"pick step {step!r} at ({x + ow / 2:.0f}, {y + oh / 2:.0f})")
        self.click(x + ow / 2, y + oh / 2)
        wait_until(lambda: not self.js(_VISIBLE_OPTIONS), 5, "the step list to close")

    def resize(self, w, h, scale=None):
        log(f"resize viewport to {w}x{h}" + (f" at {scale:g} device pixels a pixel"
                                             if scale else ""))
        self.set_viewport(w, h, scale)
        wait_until(lambda: self.client_geometry()[2:] == (w, h), 10, f"client size {w}x{h}")
        self.settle()

    def park_pointer(self):
        """Moves the pointer onto the bare corner of the face, off every
        control, so no hover colour shows."""
        w, h = self.viewport
        self.mouse("mouseMoved", max(0, w - 2), max(0, h - 2))

    # -- pictures ----------------------------------------------------------

    def capture(self, path):
        data = self.cdp("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
        return path

    def shot(self, name):
        self.alive()
        return Image(self.capture(self.next_shot_path(name)))

    def dump(self, name):
        """A screenshot kept as it comes (PNG), so that the moment it is taken
        can be timed closely; Image() reads it later."""
        self.alive()
        return self.capture(self.next_shot_path(name, digits=3))
