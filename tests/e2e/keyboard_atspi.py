#!/usr/bin/python3
"""The whole clock from the keyboard, read back through the desktop's
accessibility bus (AT-SPI), as a screen reader user meets it.

A private D-Bus session bus is started next to the private X server; the
accessibility bus starts on it when first asked for, and the program joins
it. Keys are typed with xdotool (no pointer at all); what the program tells
assistive technology is read with pyatspi (Debian's python3-pyatspi, hence
/usr/bin/python3).

Cases:
  keyboard  Tab to 今何時 and press Space: it is the checked one of the two
            mode buttons; pick step 5 with the arrow keys, Tab to the face
            (named 時計の文字盤, its value range 60 to 779), Right three times:
            the face reads "12時15分"; Left: "12時10分"; Tab to the picture
            and Space gives the focus to the other picture; the face's step
            actions move the time too.
  walk      A second client walks the whole accessible tree over and over
            while the pictures toggle and the modes change, then the window
            is closed with the keyboard: the program neither crashes nor
            reports a sanitizer fault.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from clockdrive.face import TITLE_AUTO, TITLE_CLOCK, title_for_step
from clockdrive.process import Failure, _die_with_parent, check, log, stop_pid, wait_until
from clockdrive.runner import run
from clockdrive.session import ClockSession

FACE_NAME = "時計の文字盤"
SHOW_NUMERALS = "分の数字を表示する"
HIDE_NUMERALS = "分の数字を隠す"
ATSPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SANITIZER_MARKS = ("AddressSanitizer", "LeakSanitizer", "runtime error:", "UndefinedBehaviorSanitizer")


class SessionBus:
    """A private D-Bus session bus for the program and the reading client."""

    def __init__(self, artefacts):
        self.artefacts = artefacts
        self.proc = self.launcher = None

    def __enter__(self):
        # The accessibility bus keeps its socket in the runtime folder: one
        # of its own, so that sessions side by side do not meet.
        self.runtime = tempfile.mkdtemp(prefix="tirpo-atspi-")
        os.chmod(self.runtime, 0o700)
        os.environ["XDG_RUNTIME_DIR"] = self.runtime
        read_fd, write_fd = os.pipe()
        logf = open(os.path.join(self.artefacts, "dbus.log"), "wb")
        try:
            self.proc = subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", f"--print-address={write_fd}"],
                pass_fds=(write_fd,), stdout=logf, stderr=subprocess.STDOUT,
                stdin=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        finally:
            os.close(write_fd)
            logf.close()
        address = b""
        deadline = time.monotonic() + 10
        while not address.endswith(b"\n"):
            check(time.monotonic() < deadline, "dbus-daemon printed no address")
            chunk = os.read(read_fd, 512)
            check(chunk, "dbus-daemon closed its address pipe")
            address += chunk
        os.close(read_fd)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address.decode().strip()
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        # The program's bridge joins an accessibility bus that is already
        # there; nobody here runs a desktop that would switch it on.
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        log(f"session bus {os.environ['DBUS_SESSION_BUS_ADDRESS']} (dbus-daemon pid {self.proc.pid})")
        # Started here rather than by the bus, so that it is this script's
        # child and is stopped (and reaped) by it.
        logf = open(os.path.join(self.artefacts, "at-spi-bus.log"), "wb")
        self.launcher = subprocess.Popen([ATSPI_LAUNCHER, "--launch-immediately"], stdout=logf,
                                         stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                         preexec_fn=_die_with_parent)
        logf.close()
        return self

    def __exit__(self, *exc):
        stop_pid(self.launcher, "at-spi-bus-launcher")
        stop_pid(self.proc, "dbus-daemon")
        shutil.rmtree(self.runtime, ignore_errors=True)


# -- the accessible tree --------------------------------------------------------

def atspi():
    import pyatspi  # after the session bus is in the environment
    return pyatspi


def app_root():
    """The program's application object on the accessibility bus, or None."""
    for app in atspi().Registry.getDesktop(0):
        if app is not None and app.name == "tirpo-clock":
            return app
    return None


def descendants(obj):
    yield obj
    for child in obj:
        if child is not None:
            yield from descendants(child)


def find(root, role, name=None):
    for obj in descendants(root):
        if obj.getRole() == role and (name is None or obj.name == name):
            return obj
    return None


def focused(root):
    """(role name, name) of the deepest object that has the focus."""
    pa = atspi()
    found = None
    for obj in descendants(root):
        if obj.getState().contains(pa.STATE_FOCUSED):
            found = obj
    return (found.getRoleName(), found.name) if found else None


def do_action(obj, name):
    action = obj.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check(name in names, f"{obj.getRoleName()} {obj.name!r} offers {names}, not {name!r}")
    action.doAction(names.index(name))


class Keyboard:
    """Keys typed into the focused window, nothing else."""

    def __init__(self, session):
        self.s = session

    def press(self, *keys):
        self.s.alive()
        for k in keys:
            log(f"key {k}")
            self.s.x(["xdotool", "key", "--clearmodifiers", k])
            time.sleep(0.15)


def wait_focus(root, role, name, what):
    try:
        return wait_until(lambda: focused(root) == (role, name), 10, what)
    except Failure:
        raise Failure(f"{what}: the focus is on {focused(root)}, expected {(role, name)}")


def reads(face):
    """The time the face reads: its text."""
    text = face.queryText()
    return text.getText(0, text.characterCount)


def wait_name(face, name, what):
    try:
        wait_until(lambda: reads(face) == name, 10, what)
    except Failure:
        raise Failure(f"{what}: the face reads {reads(face)!r}, expected {name!r}")


def checked(obj):
    return obj.getState().contains(atspi().STATE_CHECKED)


def start(s):
    """Waits for the program on the accessibility bus; gives the window the
    keyboard focus."""
    root = wait_until(app_root, 20, "the program on the accessibility bus")
    s.x(["xdotool", "windowactivate", "--sync", s.wid], check_rc=False)
    s.x(["xdotool", "windowfocus", "--sync", s.wid])
    wait_until(lambda: focused(root) is not None, 10, "a control with the keyboard focus")
    log(f"focus at start: {focused(root)}")
    return root


# -- cases ----------------------------------------------------------------------

def keyboard(s):
    pa = atspi()
    root = start(s)
    keys = Keyboard(s)
    wait_focus(root, "radio button", "時計", "the first stop")
    keys.press("Tab")
    wait_focus(root, "radio button", "今何時", "Tab to 今何時")
    clock_button = find(root, pa.ROLE_RADIO_BUTTON, "時計")
    manual_button = find(root, pa.ROLE_RADIO_BUTTON, "今何時")
    check(not checked(clock_button) and not checked(manual_button), "a mode button is checked before any mode")
    keys.press("space")
    s.wait_title(TITLE_AUTO)
    wait_until(lambda: checked(manual_button), 10, "今何時 checked")
    check(not checked(clock_button), "時計 still checked by hand")
    # 秒 is off in the manual clock: 分, 時, then the step list.
    keys.press("Tab", "Tab", "Tab")
    wait_until(lambda: focused(root) and focused(root)[0] in ("text", "combo box"), 10, "the step list")
    keys.press("Down", "Down")
    s.wait_title(title_for_step("5"))
    keys.press("Tab")
    face = find(root, pa.ROLE_SPIN_BUTTON)
    check(face is not None, "no spin button (the face) in the accessible tree")
    wait_focus(root, "spin button", FACE_NAME, "Tab to the face")
    wait_name(face, "12時0分", "the face by hand")
    value = face.queryValue()
    check((value.minimumValue, value.maximumValue, value.currentValue) == (60, 779, 720),
          f"the face's value {value.currentValue} in {value.minimumValue}..{value.maximumValue}")

    # (What a step paints is the end-to-end cases' to show.)
    keys.press("Right", "Right", "Right")
    wait_name(face, "12時15分", "three times Right")
    keys.press("Left")
    wait_name(face, "12時10分", "Left")

    # The picture: one more stop; Space presses it.
    keys.press("Tab")
    # (What the press does to the numerals is the widget tests' to show.)
    shown = [c.name for c in face]
    check(len(shown) == 1, f"the face offers {shown}")
    wait_focus(root, "push button", shown[0], "Tab to the picture")
    keys.press("space")
    other = SHOW_NUMERALS if shown[0] == HIDE_NUMERALS else HIDE_NUMERALS
    wait_focus(root, "push button", other, "Space on the picture")

    # Assistive technology steps the time with the face's own actions.
    do_action(face, "Increase")
    wait_name(face, "12時15分", "the Increase action")
    do_action(face, "Decrease")
    do_action(face, "Decrease")
    wait_name(face, "12時5分", "the Decrease action twice")
    s.alive()


def walk(s):
    pa = atspi()
    root = start(s)
    keys = Keyboard(s)
    walker = subprocess.Popen([sys.executable, "-B", os.path.abspath(__file__), "--walker"],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
    try:
        clock_button = find(root, pa.ROLE_RADIO_BUTTON, "時計")
        manual_button = find(root, pa.ROLE_RADIO_BUTTON, "今何時")
        face = find(root, pa.ROLE_SPIN_BUTTON)
        check(None not in (clock_button, manual_button, face), "buttons or the face missing")
        for round_no in range(6):
            log(f"round {round_no}")
            do_action(manual_button, "Press")
            s.wait_title(TITLE_AUTO)
            do_action(face, "Increase")  # the run starts
            for _ in range(3):
                picture = next(iter(face), None)
                check(picture is not None, "the face offers no picture")
                do_action(picture, "Press")
                time.sleep(0.2)
            do_action(face, "Increase")  # and stops
            do_action(clock_button, "Press")
            s.wait_title(TITLE_CLOCK)
            picture = next(iter(face), None)
            if picture is not None:
                do_action(picture, "Press")
            time.sleep(0.3)
            s.alive()
    finally:
        walker.send_signal(signal.SIGTERM)
        out = walker.communicate(timeout=30)[0].decode(errors="replace")
    log(f"walker: {out.strip().splitlines()[-1] if out.strip() else '(no output)'}")
    check(walker.returncode == 0, f"the walking client failed ({walker.returncode}):\n{out[-2000:]}")
    # Closed with the keyboard, while the walking client's objects are still
    # known to the bus.
    # The window manager may drop a key press on a busy machine: press again
    # while the program is still there.
    for attempt in range(3):
        if s.app.poll() is not None:
            break
        keys.press("alt+F4")
        try:
            s.app.wait(timeout=10)
        except subprocess.TimeoutExpired:
            log(f"still running {10 * (attempt + 1)} s after Alt+F4")
    if s.app.poll() is None:
        raise Failure("the program did not end after Alt+F4, pressed three times")
    check(s.app.returncode == 0, f"the program ended with {s.app.returncode}")


def read_bounds(obj, pa):
    obj.queryComponent().getExtents(pa.DESKTOP_COORDS)


def read_actions(obj, pa):
    action = obj.queryAction()
    [(action.getName(i), action.getDescription(i)) for i in range(action.nActions)]


def read_text(obj, pa):
    text = obj.queryText()
    text.getText(0, text.characterCount)


def read_value(obj, pa):
    value = obj.queryValue()
    value.currentValue, value.minimumValue, value.maximumValue


def walker_main():
    """Walks the program's whole accessible tree until SIGTERM; every object's
    role, name, states, bounds, children, actions, text and value are read."""
    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(1))
    pa = atspi()
    walks = objects = vanished = 0
    while not stop:
        root = app_root()
        if root is None:
            time.sleep(0.05)
            continue
        try:
            for obj in descendants(root):
                obj.getRoleName(), obj.name, obj.description, obj.getState().getStates()
                obj.getIndexInParent()
                for query in (read_bounds, read_actions, read_text, read_value):
                    try:
                        query(obj, pa)
                    except NotImplementedError:  # the object does not offer it
                        pass
                objects += 1
            walks += 1
        except Exception as e:  # an object went away while being read
            vanished += 1
            if vanished <= 3:
                print(f"object vanished mid-walk: {type(e).__name__}: {e}", flush=True)
    print(f"{walks} walks, {objects} objects read, {vanished} walks cut short", flush=True)
    return 0 if walks > 0 else 1


CASES = {"keyboard": keyboard, "walk": walk}


class AtspiSession(ClockSession):
    """The clock on a private session bus, with its accessibility bus up
    before the program starts; at the end the program's log must hold no
    sanitizer report (crashes are what is looked for, not leaks)."""

    def __enter__(self):
        self.bus = SessionBus(self.artefacts)
        self.bus.__enter__()
        try:
            atspi().Registry.getDesktop(0)  # starts the accessibility bus
            return super().__enter__()
        except BaseException:
            self.bus.__exit__(None, None, None)
            raise

    def __exit__(self, *exc):
        try:
            with open(os.path.join(self.artefacts, "tirpo-clock.log"), errors="replace") as f:
                app_log = f.read()
            marks = [m for m in SANITIZER_MARKS if m in app_log]
            if marks:
                raise Failure(f"sanitizer report in the program's log: {marks}\n{app_log[-3000:]}")
        finally:
            super().__exit__(*exc)
            self.bus.__exit__(*exc)


def missing_atspi():
    missing = [] if os.access(ATSPI_LAUNCHER, os.X_OK) else ["at-spi2-core"]
    try:
        atspi()
    except ImportError:
        missing.append("python3-pyatspi")
    return missing


def main():
    if "--walker" in sys.argv:
        return walker_main()
    os.environ["ASAN_OPTIONS"] = os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    return run(__doc__.splitlines()[0], CASES, extra_tools=lambda case: ("dbus-daemon",),
               session_class=lambda case: AtspiSession, also_missing=missing_atspi,
               wm="openbox", budget=240)


if __name__ == "__main__":
    sys.exit(main())
