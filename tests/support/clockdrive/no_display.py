"""The program started where it cannot open a display: it must print one
line on stderr that says why (naming what the caller expects it to name),
nothing on stdout, and end within seconds with a failing status of its own,
neither killed by a signal nor leaving a core file.
"""

import os
import resource
import shutil
import signal
import subprocess
import tempfile
import time

from clockdrive.process import Failure, _die_with_parent, log, stop_pid


def unserved_display():
    """A display number with neither a socket, an abstract socket nor a lock."""
    try:
        with open("/proc/net/unix") as f:
            abstract = f.read()
    except OSError:
        abstract = ""
    for n in range(9917, 9999):
        if (not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock")
                and f"@/tmp/.X11-unix/X{n}" not in abstract):
            return f":{n}"
    raise Failure("no unused display number in :9917..:9998")


def _allow_core_dumps():
    """In the child before exec: a crash leaves a core file (with the kernel's
    usual pattern "core" in the working directory), so a crash cannot hide."""
    _die_with_parent()
    resource.setrlimit(resource.RLIMIT_CORE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))


def run_without_display(app, label, env, artefacts, wants, timeout=10):
    """Runs app once with the environment env, from an empty folder; appends
    its output to runs.log in artefacts. Returns what was wrong, each item
    starting with label; wants are the texts the stderr line must hold."""
    cwd = tempfile.mkdtemp(prefix="tirpo-nodisplay-")
    problems = []
    try:
        start = time.monotonic()
        proc = subprocess.Popen([app], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                preexec_fn=_allow_core_dumps)
        try:
            out, err = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            stop_pid(proc, "tirpo-clock")
            out, err = proc.communicate()
            problems.append(f"still running after {timeout} s; stopped it")
        took = time.monotonic() - start
        rc = proc.returncode
        err_text = err.decode(errors="replace")
        lines = err_text.splitlines()
        with open(os.path.join(artefacts, "runs.log"), "a") as f:
            f.write(f"== {label}\nexit {rc} after {took:.2f} s\n"
                    f"-- stdout --\n{out.decode(errors='replace')}-- stderr --\n{err_text}\n")
        log(f"{label}: exit {rc} after {took:.2f} s, stderr {lines!r}")
        if rc is not None and rc < 0:
            problems.append(f"killed by signal {-rc} ({signal.Signals(-rc).name})")
        elif rc == 0:
            problems.append("exit status 0 although no window could be shown")
        if len(lines) != 1 or not lines[0].strip():
            problems.append(f"{len(lines)} lines on stderr, expected exactly one: {lines!r}")
        else:
            absent = [w for w in wants if w not in lines[0]]
            if absent:
                problems.append(f"the line lacks {absent}: {lines[0]!r}")
        if out:
            problems.append(f"output on stdout: {out[:200]!r}")
        cores = [n for n in os.listdir(cwd) if n.startswith("core")]
        if cores:
            for n in cores:
                shutil.move(os.path.join(cwd, n), os.path.join(artefacts, f"{label}-{n}"))
            problems.append(f"left a core dump: {cores}")
    finally:
        shutil.rmtree(cwd, ignore_errors=True)
    return [f"{label}: {p}" for p in problems]
