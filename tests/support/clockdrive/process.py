"""Processes of a test run and the checks on them: every process is
started with its output in a log file and stopped by its pid, also when a
check fails or the run itself is killed; a private Xvfb reports its own
display number.
"""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import time

TOOLS = ("Xvfb", "xdotool", "xprop", "xwininfo", "xwd", "import", "convert")


class Failure(Exception):
    """A check on the running program did not hold."""


def check(cond, message):
    if not cond:
        raise Failure(message)


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def missing_tools(extra=(), tools=TOOLS):
    return [t for t in tuple(tools) + tuple(extra) if shutil.which(t) is None]


_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    """Runs in each child before exec: the kernel sends it SIGTERM should the
    test run itself be killed (a CTest timeout), so nothing is left behind."""
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def stop_pid(proc, name):
    """Ends one process that this run started: SIGTERM, then SIGKILL."""
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


class Processes:
    """The processes one run starts, each logging to NAME.log in a folder;
    close() stops them by pid in reverse order."""

    def __init__(self, log_dir):
        self.log_dir = log_dir
        self.procs = []               # (name, Popen)
        os.makedirs(log_dir, exist_ok=True)

    def spawn(self, name, argv, **kw):
        logf = open(os.path.join(self.log_dir, f"{name}.log"), "wb")
        proc = subprocess.Popen(argv, stdout=logf, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, preexec_fn=_die_with_parent, **kw)
        logf.close()
        self.procs.append((name, proc))
        log(f"started {name}, pid {proc.pid}")
        return proc

    def stop(self, proc):
        """Stops one of the processes and forgets it."""
        for entry in list(self.procs):
            if entry[1] is proc:
                stop_pid(proc, entry[0])
                self.procs.remove(entry)

    def close(self):
        for name, proc in reversed(self.procs):
            stop_pid(proc, name)
        self.procs.clear()

    def start_xvfb(self, screen="1280x1024x24"):
        """Starts a private Xvfb and returns its display (":N"), which Xvfb
        picks itself and reports through -displayfd."""
        read_fd, write_fd = os.pipe()
        try:
            xvfb = self.spawn("xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                       screen, "-nolisten", "tcp", "-noreset"],
                              pass_fds=(write_fd,))
        finally:
            os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 15
        os.set_blocking(read_fd, False)
        try:
            while not number.endswith(b"\n"):
                check(time.monotonic() < deadline, "Xvfb reported no display number")
                check(xvfb.poll() is None, "Xvfb exited at start")
                try:
                    chunk = os.read(read_fd, 32)
                except BlockingIOError:
                    time.sleep(0.02)
                    continue
                check(chunk, "Xvfb closed its display pipe without a number")
                number += chunk
        finally:
            os.close(read_fd)
        display = ":" + number.decode().strip()
        log(f"X display {display}")
        return display

    def start_http_server(self, directory):
        """Serves a folder on 127.0.0.1 with Python's http.server on a port
        the server picks itself and reports in its log; returns the server's
        Popen and the port."""
        path = os.path.join(self.log_dir, "http-server.log")
        server = self.spawn("http-server", [sys.executable, "-u", "-m", "http.server", "0",
                                            "--bind", "127.0.0.1", "--directory", directory])

        def port():
            check(server.poll() is None, f"http.server exited at start (see {path})")
            with open(path, errors="replace") as f:
                found = re.search(r"port (\d+)", f.read())
            return found and int(found.group(1))
        number = wait_until(port, 15, "http.server to report its port")
        log(f"serving {directory} on 127.0.0.1:{number}")
        return server, number
