"""A few X requests that the command-line tools do not offer, via libX11.

The robustness cases need three things that xdotool and xprop cannot do:
ask the program's event loop for an answer (the _NET_WM_PING protocol, which
Qt answers from its event loop, so a reply shows the program is responsive),
ask the window to close the way a window manager's close button does
(WM_DELETE_WINDOW, so the program leaves its event loop and exits normally),
and read the PRIMARY selection (what the step list's text field holds after
select-all).  The benchmark needs one more: the moment a window is mapped,
as the X server reports it to a client watching the root window.  Standard
library only: ctypes over libX11.so.6.
"""

import ctypes
import ctypes.util
import time

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")

_Display = ctypes.c_void_p
_Window = ctypes.c_ulong
_Atom = ctypes.c_ulong

MAP_NOTIFY = 19
CLIENT_MESSAGE = 33
SELECTION_NOTIFY = 31
STRUCTURE_NOTIFY_MASK = 1 << 17
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
PROPERTY_CHANGE_MASK = 1 << 22


class _ClientMessageData(ctypes.Union):
    _fields_ = [("b", ctypes.c_char * 20), ("s", ctypes.c_short * 10), ("l", ctypes.c_long * 5)]


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", _Display), ("window", _Window), ("message_type", _Atom),
                ("format", ctypes.c_int), ("data", _ClientMessageData)]


class _XSelectionEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", _Display), ("requestor", _Window), ("selection", _Atom),
                ("target", _Atom), ("property", _Atom), ("time", ctypes.c_ulong)]


class _XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", _Display), ("event", _Window), ("window", _Window),
                ("override_redirect", ctypes.c_int)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", _XClientMessageEvent),
                ("xselection", _XSelectionEvent), ("xmap", _XMapEvent),
                ("pad", ctypes.c_long * 24)]


_x11.XOpenDisplay.restype = _Display
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [_Display]
_x11.XDefaultRootWindow.restype = _Window
_x11.XDefaultRootWindow.argtypes = [_Display]
_x11.XInternAtom.restype = _Atom
_x11.XInternAtom.argtypes = [_Display, ctypes.c_char_p, ctypes.c_int]
_x11.XSelectInput.argtypes = [_Display, _Window, ctypes.c_long]
_x11.XSendEvent.argtypes = [_Display, _Window, ctypes.c_int, ctypes.c_long,
                            ctypes.POINTER(_XEvent)]
_x11.XFlush.argtypes = [_Display]
_x11.XPending.argtypes = [_Display]
_x11.XNextEvent.argtypes = [_Display, ctypes.POINTER(_XEvent)]
_x11.XCreateSimpleWindow.restype = _Window
_x11.XCreateSimpleWindow.argtypes = [_Display, _Window, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_uint,
                                     ctypes.c_ulong, ctypes.c_ulong]
_x11.XConvertSelection.argtypes = [_Display, _Atom, _Atom, _Atom, _Window, ctypes.c_ulong]
_x11.XGetWindowProperty.argtypes = [
    _Display, _Window, _Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int, _Atom,
    ctypes.POINTER(_Atom), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
_x11.XFree.argtypes = [ctypes.c_void_p]


class XClient:
    """One connection to the test's X server."""

    def __init__(self, display):
        self.dpy = _x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open X display {display}")
        self.root = _x11.XDefaultRootWindow(self.dpy)
        # Qt sends its ping reply to the root window.
        _x11.XSelectInput(self.dpy, self.root, STRUCTURE_NOTIFY_MASK | SUBSTRUCTURE_NOTIFY_MASK)
        self.own = _x11.XCreateSimpleWindow(self.dpy, self.root, 0, 0, 1, 1, 0, 0, 0)
        _x11.XFlush(self.dpy)
        self._stamp = 1000
        self.mapped = {}              # window id -> time.monotonic() of its first MapNotify

    def close(self):
        if self.dpy:
            _x11.XCloseDisplay(self.dpy)
            self.dpy = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def atom(self, name):
        return _x11.XInternAtom(self.dpy, name.encode(), 0)

    def _protocol_message(self, wid, protocol, stamp):
        ev = _XEvent()
        ev.xclient.type = CLIENT_MESSAGE
        ev.xclient.window = wid
        ev.xclient.message_type = self.atom("WM_PROTOCOLS")
        ev.xclient.format = 32
        ev.xclient.data.l[0] = self.atom(protocol)
        ev.xclient.data.l[1] = stamp
        ev.xclient.data.l[2] = wid
        _x11.XSendEvent(self.dpy, wid, 0, 0, ctypes.byref(ev))
        _x11.XFlush(self.dpy)

    def _next_event(self, deadline, interval=0.005):
        ev = _XEvent()
        while time.monotonic() < deadline:
            if _x11.XPending(self.dpy):
                _x11.XNextEvent(self.dpy, ctypes.byref(ev))
                if ev.type == MAP_NOTIFY:
                    self.mapped.setdefault(ev.xmap.window, time.monotonic())
                return ev
            time.sleep(interval)
        return None

    def watch_maps(self, seconds):
        """Takes in the events of the next few seconds (at most), noting when
        each window is first mapped; returns the windows newly mapped."""
        before = set(self.mapped)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and set(self.mapped) == before:
            self._next_event(min(deadline, time.monotonic() + 0.05), interval=0.001)
        return set(self.mapped) - before

    def ping(self, wid, timeout):
        """Seconds until the program answers _NET_WM_PING, or None."""
        wid = int(wid)
        self._stamp += 1
        stamp = self._stamp
        ping = self.atom("_NET_WM_PING")
        start = time.monotonic()
        self._protocol_message(wid, "_NET_WM_PING", stamp)
        deadline = start + timeout
        while True:
            ev = self._next_event(deadline)
            if ev is None:
                return None
            c = ev.xclient
            if (ev.type == CLIENT_MESSAGE and c.data.l[0] == ping and c.data.l[1] == stamp
                    and c.data.l[2] == wid):
                return time.monotonic() - start

    def request_close(self, wid):
        """What a window manager's close button sends: WM_DELETE_WINDOW."""
        self._protocol_message(int(wid), "WM_DELETE_WINDOW", 0)

    def primary_text(self, timeout=5):
        """The text of the PRIMARY selection as UTF-8, or None if nobody owns it."""
        prop = self.atom("TIRPO_TEST_SELECTION")
        _x11.XConvertSelection(self.dpy, self.atom("PRIMARY"), self.atom("UTF8_STRING"), prop,
                               self.own, 0)
        _x11.XFlush(self.dpy)
        deadline = time.monotonic() + timeout
        while True:
            ev = self._next_event(deadline)
            if ev is None:
                raise RuntimeError("no answer to the PRIMARY selection request")
            if ev.type == SELECTION_NOTIFY and ev.xselection.requestor == self.own:
                break
        if ev.xselection.property == 0:
            return None
        actual_type, fmt = _Atom(), ctypes.c_int()
        nitems, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        _x11.XGetWindowProperty(self.dpy, self.own, prop, 0, 1 << 20, 1, 0,
                                ctypes.byref(actual_type), ctypes.byref(fmt),
                                ctypes.byref(nitems), ctypes.byref(after), ctypes.byref(data))
        if not data.value:
            return ""
        raw = ctypes.string_at(data.value, nitems.value * max(1, fmt.value // 8))
        _x11.XFree(data)
        return raw.decode("utf-8", errors="replace")
