#!/usr/bin/env python3
"""Whole-program figures of one X11 program, each run under its own Xvfb.

    measure.py --label LABEL --name REGEX [options] -- COMMAND [ARG...]

Per run, with no window manager:

  map_ms    from just before COMMAND is started until the X server maps its
            window: a client watching the root window notes every MapNotify
            as it arrives; the window is the one xdotool finds with
            --onlyvisible --name REGEX, and its first map counts.
  rss_mib   VmRSS of COMMAND --settle seconds after the start (or right after
            the window is mapped and driven, when that comes later).
  idle_cpu_ns_ms_min, xvfb_idle_cpu_ms_min
            CPU of COMMAND (all its threads) and of the Xvfb in the -t
            seconds after that sample, from /proc/PID/task/*/schedstat, as
            CPU-ms per minute.
  host_busy_idle_pct
            how busy all CPUs of the machine were meanwhile (100 = all).

--drive live|auto puts tirpo-clock into the state measured once its window
is mapped, and checks that it got there: "live" presses 時計 (the face turns
green), "auto" presses 今何時 and then the face, starting the AUTO run (the
hands move). A press that missed fails the run rather than measure the wrong
screen.

Prints a line per run and appends one JSON line with every sample to
--json-out; exit status 1 when a run failed.
"""

import argparse
import glob
import json
import os
import platform
import statistics
import subprocess
import sys
import time

from clockdrive.process import Failure, Processes, check, log, wait_until
from clockdrive.session import WindowDriver
from clockdrive.xclient import XClient
from drive import drive


def schedstat_ns(pid):
    """CPU time of every thread of a process so far, in nanoseconds."""
    total = 0
    for path in glob.glob(f"/proc/{pid}/task/*/schedstat"):
        try:
            with open(path) as f:
                total += int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass                                  # a thread that just ended
    return total


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    raise Failure(f"no VmRSS for pid {pid}")


def host_ticks():
    """(busy, total) jiffies of all CPUs together."""
    with open("/proc/stat") as f:
        fields = [int(v) for v in f.readline().split()[1:]]
    idle = fields[3] + (fields[4] if len(fields) > 4 else 0)
    return sum(fields) - idle, sum(fields)


def host_info():
    cpu = "?"
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next((l.split(":", 1)[1].strip() for l in f if l.startswith("model name")), "?")
    except OSError:
        pass
    return {"cpu": cpu, "cpus": os.cpu_count(), "kernel": platform.release()}


def find_window(procs, xc, proc, name, env, timeout=30):
    """The program's window and the time of its first map."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        check(proc.poll() is None, f"the program exited with {proc.returncode} before its window mapped")
        xc.watch_maps(0.5)
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                               env=env, capture_output=True, text=True, timeout=10).stdout.split()
        for wid in found:
            if int(wid) in xc.mapped:
                return wid, xc.mapped[int(wid)]
    raise Failure(f"no window named {name!r} mapped within {timeout} s")


def run_once(args, command, log_dir):
    procs = Processes(log_dir)
    xc = None
    try:
        display = procs.start_xvfb(args.screen)
        xvfb = procs.procs[-1][1]
        env = dict(os.environ, DISPLAY=display)
        env.pop("WAYLAND_DISPLAY", None)
        xc = XClient(display)
        started = time.monotonic()
        proc = procs.spawn(args.label, command, env=env)
        wid, mapped = find_window(procs, xc, proc, args.name, env)
        sample = {"map_ms": (mapped - started) * 1000}
        if args.drive:
            drive(WindowDriver(display, wid, log_dir, app=proc), args.drive)
        wait_until(lambda: time.monotonic() >= started + args.settle, args.settle + 1, "the settle time",
                   interval=0.02)
        check(proc.poll() is None, f"the program exited with {proc.returncode}")
        sample["rss_mib"] = rss_mib(proc.pid)
        cpu0, x0, host0 = schedstat_ns(proc.pid), schedstat_ns(xvfb.pid), host_ticks()
        t0 = time.monotonic()
        time.sleep(args.idle)
        cpu1, x1, host1 = schedstat_ns(proc.pid), schedstat_ns(xvfb.pid), host_ticks()
        minutes = (time.monotonic() - t0) / 60
        check(proc.poll() is None, f"the program exited with {proc.returncode} while idle")
        if args.idle > 0:
            sample["idle_cpu_ns_ms_min"] = (cpu1 - cpu0) / 1e6 / minutes
            sample["xvfb_idle_cpu_ms_min"] = (x1 - x0) / 1e6 / minutes
            busy, total = host1[0] - host0[0], host1[1] - host0[1]
            sample["host_busy_idle_pct"] = 100.0 * busy / total if total else 0.0
        return sample
    finally:
        if xc:
            xc.close()
        procs.close()


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--label", required=True)
    ap.add_argument("--name", required=True, help="xdotool regex of the window name")
    ap.add_argument("--drive", choices=("live", "auto"))
    ap.add_argument("-r", "--reps", type=int, default=1, help="measured runs")
    ap.add_argument("-w", "--warmup", type=int, default=1, help="unmeasured runs first")
    ap.add_argument("-t", "--idle", type=float, default=30, help="idle seconds measured")
    ap.add_argument("--settle", type=float, default=3, help="seconds from start to the sample")
    ap.add_argument("--screen", default="1280x1024x24")
    ap.add_argument("--json-out")
    ap.add_argument("--log-dir", default=None)
    ap.add_argument("command", nargs=argparse.REMAINDER)
    args = ap.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        ap.error("no COMMAND given")
    log_dir = args.log_dir or os.path.join("/tmp", f"measure-{args.label}-{os.getpid()}")

    samples, errors = [], []
    for i in range(args.warmup + args.reps):
        measured = i >= args.warmup
        try:
            sample = run_once(args, command, os.path.join(log_dir, f"run{i + 1}"))
        except (Failure, OSError, subprocess.SubprocessError) as e:
            errors.append(str(e))
            log(f"{args.label}: run {i + 1} failed: {e}")
            continue
        if measured:
            samples.append(sample)
        log(f"{args.label}: {'run' if measured else 'warm-up'} {i + 1}: " +
            ", ".join(f"{k} {v:.2f}" for k, v in sample.items()))
    record = {"label": args.label, "reps": args.reps, "warmup": args.warmup,
              "settle_s": args.settle, "idle_s": args.idle, "screen": args.screen,
              "host": host_info(), "samples": samples, "errors": errors,
              "median": {k: statistics.median(s[k] for s in samples)
                         for k in (samples[0] if samples else {})}}
    line = json.dumps(record, separators=(",", ":"), ensure_ascii=False)
    print(line)
    if args.json_out:
        with open(args.json_out, "a", encoding="utf-8") as f:
            f.write(line + "\n")
    return 1 if errors or not samples else 0


if __name__ == "__main__":
    sys.exit(main())
