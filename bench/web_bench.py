#!/usr/bin/python3
"""Figures of the web edition in headless Chromium against two floor pages
(bench/web/floor.html: a canvas with one Japanese label; floor.html?tick: the
same repainting once a second), all in the same browser build and the same
run:

    bench/web_bench.py [-s SITE] [-n ROUNDS] [-t IDLE_SECONDS] [-o DIR]

  transfer      every file of the site as a server would send it, gzip -9
                or brotli, whichever is smaller (the font included), and the
                single file tirpo-clock.html the same way
  fcp_ms        navigation to the first contentful paint (Paint Timing)
  face_ms       navigation to the face's own first paint, as the module
                marks it (performance mark tirpo-face-painted)
  fcp_again_ms, face_again_ms
                the same on a return visit: the page loaded again in the
                same browser once the figures below are taken, as on a
                device that has opened the clock before (its service worker,
                the HTTP cache and the browser's compiled code in place)
  js_heap_mib   the page's JavaScript heap in use (Runtime.getHeapUsage),
  wasm_mib      its WebAssembly memory, SETTLE seconds after the load
  rss_mib       resident size of the page's renderer process
  cpu_ms_min    CPU of the renderer processes per minute over IDLE seconds,
  tree_ms_min   and of the whole Chromium process tree, in the live clock
                (時計 pressed), the AUTO run (今何時, then the face) and the
                floor pages

Every run starts a fresh Chromium with an empty profile; every round runs
each page once, in a rotating order, and the summary gives medians and the
min-max spread. Needs Debian's python3 (python3-selenium, python3-brotli).
It prints figures and never fails a build; a run that fails is reported and
left out.
"""

import argparse
import gzip
import json
import os
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
sys.path.insert(0, HERE)

from clockdrive.browser import CLOCK_READY, SERVED_PAGE, SINGLE_FILE, BrowserSession  # noqa: E402
from clockdrive.face import OWN_TITLES  # noqa: E402
from clockdrive.process import Failure, log  # noqa: E402
from drive import drive  # noqa: E402
from measure import rss_mib, schedstat_ns  # noqa: E402

SETTLE = 3.0

FLOOR_READY = "return document.readyState === 'complete'"

# label: (page, served, titles, ready, drive)
PAGES = {
    "tirpo-live": (SERVED_PAGE, True, OWN_TITLES, CLOCK_READY, "live"),
    "tirpo-auto": (SERVED_PAGE, True, OWN_TITLES, CLOCK_READY, "auto"),
    "tirpo-file-live": (SINGLE_FILE, False, OWN_TITLES, CLOCK_READY, "live"),
    "floor_label": ("floor.html", True, {"floor_label"}, FLOOR_READY, None),
    "floor_tick": ("floor.html?tick", True, {"floor_tick"}, FLOOR_READY, None),
}

FIGURES = ("fcp_ms", "face_ms", "fcp_again_ms", "face_again_ms", "js_heap_mib", "wasm_mib", "rss_mib", "cpu_ms_min", "tree_ms_min")

# (page, its figure, against, the floor's figure, "ratio" | "difference",
# the target it must meet)
TARGETS = [
    ("tirpo-live", "fcp_ms", "floor_label", "fcp_ms", "ratio", 1.5),
    ("tirpo-live", "face_ms", "floor_label", "fcp_ms", "ratio", 1.5),
    ("tirpo-live", "fcp_again_ms", "floor_label", "fcp_again_ms", "ratio", 1.5),
    ("tirpo-live", "face_again_ms", "floor_label", "fcp_again_ms", "ratio", 1.5),
    ("tirpo-live", "cpu_ms_min", "floor_tick", "cpu_ms_min", "ratio", 1.2),
    ("tirpo-live", "memory_mib", "floor_label", "memory_mib", "difference", 8.0),
    ("tirpo-auto", "cpu_ms_min", "floor_tick", "cpu_ms_min", "ratio", None),
]

_WASM_MEMORY = """
const seen = [window.Module, window.tirpo, window.TirpoClock].filter(m => m);
for (const m of seen) {
  if (m.HEAPU8) return m.HEAPU8.buffer.byteLength;
  if (m.wasmMemory) return m.wasmMemory.buffer.byteLength;
  if (m.asm && m.asm.memory) return m.asm.memory.buffer.byteLength;
}
if (window.wasmMemory) return window.wasmMemory.buffer.byteLength;
return 0;
"""


def compressed(path):
    """{"raw", "gzip", "br", "sent"} bytes of one file; sent is the smallest."""
    import brotli
    with open(path, "rb") as f:
        data = f.read()
    sizes = {"raw": len(data), "gzip": len(gzip.compress(data, 9, mtime=0)),
             "br": len(brotli.compress(data, quality=11))}
    sizes["sent"] = min(sizes.values())
    return sizes


def transfer(site):
    """The site's files (all but the single file) and the single file."""
    files = {}
    for folder, _, names in os.walk(site):
        for name in names:
            path = os.path.join(folder, name)
            files[os.path.relpath(path, site)] = compressed(path)
    single = files.pop(SINGLE_FILE, None)
    total = {k: sum(v[k] for v in files.values()) for k in ("raw", "gzip", "br", "sent")}
    return files, total, single


def serving_folder(site, tmp):
    """One folder with the site and the floor page, served from one origin."""
    folder = os.path.join(tmp, "served")
    os.makedirs(folder)
    if os.path.isdir(site):
        for name in os.listdir(site):
            os.symlink(os.path.join(site, name), os.path.join(folder, name))
    os.symlink(os.path.join(HERE, "web", "floor.html"), os.path.join(folder, "floor.html"))
    return folder


def cpu_ns(pids):
    return sum(schedstat_ns(p) for p in pids)


def first_paints(s):
    """(first contentful paint, the face's own mark, every mark) of the
    page now open."""
    fcp = s.js("const e = performance.getEntriesByName('first-contentful-paint')[0];"
               "return e ? e.startTime : null")
    marks = s.js("return performance.getEntriesByType('mark').map(m => [m.name, m.startTime])")
    return fcp, dict(marks or []).get("tirpo-face-painted"), marks


def run_once(label, folder, idle, artefacts):
    page, served, titles, ready, mode = PAGES[label]
    with BrowserSession(folder, page, artefacts, served=served, titles=titles,
                        ready=ready) as s:
        if mode:
            drive(s, mode)
        sample = {}
        sample["fcp_ms"], sample["face_ms"], marks = first_paints(s)
        if marks:
            sample["marks"] = marks
        time.sleep(SETTLE)
        heap = s.cdp("Runtime.getHeapUsage")
        sample["js_heap_mib"] = heap["usedSize"] / 2**20
        sample["wasm_mib"] = s.js(_WASM_MEMORY) / 2**20
        renderers, tree = s.renderer_pids()
        sample["rss_mib"] = max(rss_mib(p) for p in renderers)
        r0, a0, t0 = cpu_ns(renderers), cpu_ns(tree), time.monotonic()
        time.sleep(idle)
        r1, a1, t1 = cpu_ns(renderers), cpu_ns(tree), time.monotonic()
        per_min = 60 / (t1 - t0) / 1e6
        sample["cpu_ms_min"] = (r1 - r0) * per_min
        sample["tree_ms_min"] = (a1 - a0) * per_min
        s.alive()
        s.open()  # a new visit, not a reload: no revalidation forced
        sample["fcp_again_ms"], sample["face_again_ms"], _ = first_paints(s)
        return sample


def spread(values):
    values = [v for v in values if v is not None]
    if not values:
        return None, None, None
    return statistics.median(values), min(values), max(values)


def summarize(runs, sizes):
    lines = []
    files, total, single = sizes
    if total["raw"]:
        lines.append("Transfer size (bytes; sent = the smaller of gzip -9 and brotli, or raw):")
        for name, v in sorted(files.items()):
            lines.append(f"  {name:32s} raw {v['raw']:9d}  gzip {v['gzip']:8d}  "
                         f"br {v['br']:8d}  sent {v['sent']:8d}")
        lines.append(f"  {'site (all but the single file)':32s} raw {total['raw']:9d}  "
                     f"gzip {total['gzip']:8d}  br {total['br']:8d}  sent {total['sent']:8d}"
                     f"  = {total['sent'] / 1024:.1f} KiB (target 250 KB)")
        if single:
            lines.append(f"  {SINGLE_FILE:32s} raw {single['raw']:9d}  gzip {single['gzip']:8d}"
                         f"  br {single['br']:8d}  sent {single['sent']:8d}"
                         f"  = {single['sent'] / 1024:.1f} KiB (target 400 KB)")
    else:
        lines.append("Transfer size: the site is not built")
    lines.append("")
    lines.append(f"{'page':16s}" + "".join(f"{f:>22s}" for f in FIGURES) + "   runs")
    medians = {}
    for label in PAGES:
        samples = runs.get(label, [])
        if not samples:
            continue
        for s in samples:
            s["memory_mib"] = s["js_heap_mib"] + s["wasm_mib"]
        row = f"{label:16s}"
        for fig in FIGURES + ("memory_mib",):
            med, lo, hi = spread([s.get(fig) for s in samples])
            medians[(label, fig)] = med
            if fig in FIGURES:
                row += (f"{med:10.1f} [{lo:.1f}-{hi:.1f}]".rjust(22) if med is not None
                        else "n/a".rjust(22))
        lines.append(row + f"   {len(samples)}")
    lines.append("")
    for page, fig, floor, floor_fig, kind, target in TARGETS:
        a, b = medians.get((page, fig)), medians.get((floor, floor_fig))
        if a is None or b is None:
            continue
        if kind == "ratio":
            value, text = a / b if b else float("inf"), f"{a / b:.2f} x" if b else "inf"
        else:
            value, text = a - b, f"{a - b:+.2f} MiB"
        verdict = "" if target is None else (" meets" if value <= target else " MISSES") + \
            f" the target {target:g}" + (" x" if kind == "ratio" else " MiB")
        against = fig if floor_fig == fig else f"{fig} / {floor_fig}"
        lines.append(f"{page} / {floor} {against}: {text}{verdict}")
    return "\n".join(lines), medians


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("-s", "--site", default=os.path.join(ROOT, "build", "web", "site"))
    ap.add_argument("-n", "--rounds", type=int, default=3)
    ap.add_argument("-t", "--idle", type=float, default=30.0)
    ap.add_argument("-o", "--out", default=None)
    ap.add_argument("-x", "--skip", action="append", default=[], choices=sorted(PAGES))
    args = ap.parse_args()
    out = args.out or os.path.join(ROOT, "build", "web-bench-results",
                                   time.strftime("%Y%m%d-%H%M%S"))
    os.makedirs(out, exist_ok=True)
    site = os.path.abspath(args.site)
    built = os.path.isfile(os.path.join(site, SERVED_PAGE))
    labels = [l for l in PAGES if l not in args.skip and (built or not l.startswith("tirpo"))]
    if not built:
        log(f"{site} holds no {SERVED_PAGE}: the floor pages alone "
            "(cmake --preset web && cmake --build --preset web builds the site)")
    sizes = transfer(site) if built else ({}, {"raw": 0}, None)
    tmp = tempfile.mkdtemp(prefix="tirpo-web-bench-")
    folder = serving_folder(site, tmp)
    runs = {}
    with open(os.path.join(out, "runs.jsonl"), "w") as record:
        for rnd in range(args.rounds):
            order = labels[rnd % len(labels):] + labels[:rnd % len(labels)]
            for label in order:
                try:
                    sample = run_once(label, folder, args.idle,
                                      os.path.join(out, f"r{rnd:02d}-{label}"))
                except Failure as e:
                    log(f"round {rnd} {label}: FAILED: {e}")
                    continue
                log(f"round {rnd} {label}: " + ", ".join(
                    f"{k} {v:.1f}" for k, v in sample.items() if isinstance(v, float)))
                runs.setdefault(label, []).append(sample)
                record.write(json.dumps(dict(sample, label=label, round=rnd)) + "\n")
    text, _ = summarize(runs, sizes)
    print("\n" + text)
    with open(os.path.join(out, "summary.txt"), "w") as f:
        f.write(text + "\n")
    log(f"results in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
