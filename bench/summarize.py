#!/usr/bin/env python3
"""Summary of a bench/run.sh results folder.

Reads RESULTS/json/rNN-LABEL.json (one measure.py JSON line each; NN is
the round) and prints per program/scenario the median and the min-max
spread of the samples, then the ratios between tirpo-clock and the floor
programs and xclock. A ratio is the ratio of the medians; in brackets
goes the range of the per-round ratios, where each round compares the
runs that ran side by side in that round. Writes the same text to
RESULTS/summary.txt and the figures to RESULTS/summary.json.

usage: summarize.py RESULTS
"""
import glob
import json
import os
import re
import statistics
import sys

ORDER = ["tirpo-live", "tirpo-auto", "floor_label", "floor_tick", "xclock"]

# figure key -> (column title, format); "cpu_total_ms_min" is computed here.
FIGURES = [
    ("map_ms", "map ms", "%.1f"),
    ("rss_mib", "RSS MiB", "%.2f"),
    ("idle_cpu_ns_ms_min", "CPU prog ms/min", "%.1f"),
    ("xvfb_idle_cpu_ms_min", "CPU Xvfb ms/min", "%.1f"),
    ("cpu_total_ms_min", "CPU prog+X ms/min", "%.1f"),
]

# (numerator, denominator, figure, "ratio" or "difference")
COMPARISONS = [
    ("tirpo-live", "floor_label", "map_ms", "ratio"),
    ("tirpo-live", "floor_label", "rss_mib", "difference"),
    ("tirpo-auto", "floor_label", "map_ms", "ratio"),
    ("tirpo-auto", "floor_label", "rss_mib", "difference"),
    ("tirpo-live", "floor_tick", "cpu_total_ms_min", "ratio"),
    ("tirpo-live", "xclock", "map_ms", "ratio"),
    ("tirpo-live", "xclock", "rss_mib", "ratio"),
    ("tirpo-live", "xclock", "idle_cpu_ns_ms_min", "ratio"),
    ("tirpo-live", "xclock", "xvfb_idle_cpu_ms_min", "ratio"),
    ("tirpo-live", "xclock", "cpu_total_ms_min", "ratio"),
    ("tirpo-auto", "xclock", "map_ms", "ratio"),
    ("tirpo-auto", "xclock", "rss_mib", "ratio"),
    ("tirpo-auto", "xclock", "cpu_total_ms_min", "ratio"),
]

FILE_NAME = re.compile(r"^r(\d+)-(.+)\.json$")


def load(folder):
    """{label: {"rounds": {round: [sample, ...]}, "errors": [...]}} and
    the settings of the first record."""
    runs, settings = {}, None
    for path in sorted(glob.glob(os.path.join(folder, "json", "r*.json"))):
        m = FILE_NAME.match(os.path.basename(path))
        if not m:
            continue
        rnd, label = int(m.group(1)), m.group(2)
        entry = runs.setdefault(label, {"rounds": {}, "errors": []})
        text = open(path, encoding="utf-8").read().strip()
        if not text:
            entry["errors"].append("round %d: measure.py wrote no result" % rnd)
            continue
        record = json.loads(text.splitlines()[-1])
        settings = settings or record
        samples = record.get("samples", [])
        for s in samples:
            if "idle_cpu_ns_ms_min" in s and "xvfb_idle_cpu_ms_min" in s:
                s["cpu_total_ms_min"] = s["idle_cpu_ns_ms_min"] + s["xvfb_idle_cpu_ms_min"]
        entry["rounds"].setdefault(rnd, []).extend(samples)
        entry["errors"].extend("round %d: %s" % (rnd, e) for e in record.get("errors", []))
    return runs, settings


def values(entry, key, rnd=None):
    rounds = entry["rounds"].values() if rnd is None else [entry["rounds"].get(rnd, [])]
    return [s[key] for samples in rounds for s in samples if s.get(key) is not None]


def spread(vals):
    return {"median": statistics.median(vals), "min": min(vals), "max": max(vals), "n": len(vals)}


def compare(a, b, how):
    if how == "difference":
        return a - b
    return a / b if b > 0 else None


def comparison(runs, num, den, key, how):
    """Figure of num against den: of the medians, and per round."""
    if num not in runs or den not in runs:
        return None
    a, b = values(runs[num], key), values(runs[den], key)
    if not a or not b:
        return None
    per_round = []
    for rnd in sorted(set(runs[num]["rounds"]) & set(runs[den]["rounds"])):
        ra, rb = values(runs[num], key, rnd), values(runs[den], key, rnd)
        if ra and rb:
            v = compare(statistics.median(ra), statistics.median(rb), how)
            if v is not None:
                per_round.append(v)
    return {"value": compare(statistics.median(a), statistics.median(b), how),
            "rounds": per_round}


def show_comparison(c, how):
    if c is None or c["value"] is None:
        return "n/a (denominator is 0)" if c else "n/a"
    fmt = "%+.2f MiB" if how == "difference" else "x%.2f"
    text = fmt % c["value"]
    if len(c["rounds"]) > 1:
        text += "  [" + (fmt % min(c["rounds"])) + " .. " + (fmt % max(c["rounds"])) + "]"
    return text


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    folder = sys.argv[1]
    runs, settings = load(folder)
    if not runs:
        sys.exit("summarize.py: no results in %s/json" % folder)
    labels = [l for l in ORDER if l in runs] + sorted(set(runs) - set(ORDER))

    out = []
    host = settings.get("host", {})
    n_rounds = max(r for e in runs.values() for r in e["rounds"]) if any(
        e["rounds"] for e in runs.values()) else 0
    out.append("Whole-program figures: %d round(s), %s run(s) per program and round, "
               "settle %g s, idle %g s, Xvfb %s"
               % (n_rounds, settings.get("reps"), settings.get("settle_s"),
                  settings.get("idle_s"), settings.get("screen")))
    out.append("host: %s, %s CPUs, kernel %s" % (host.get("cpu", "?"), host.get("cpus", "?"),
                                                 host.get("kernel", "?")))
    out.append("CPU figures are schedstat CPU-ms per minute of idle time after the "
               "memory sample; cells give median (min-max).")
    out.append("")
    width = 22
    out.append("%-13s %3s " % ("program", "n") + "".join("%*s" % (width, t) for _, t, _ in FIGURES)
               + "  busy%max")
    table = {}
    for label in labels:
        entry = runs[label]
        row = {}
        cells = []
        for key, _, fmt in FIGURES:
            vals = values(entry, key)
            if vals:
                row[key] = spread(vals)
                cell = (fmt % row[key]["median"]) + " (" + (fmt % row[key]["min"]) + "-" + \
                    (fmt % row[key]["max"]) + ")"
            else:
                cell = "-"
            cells.append("%*s" % (width, cell))
        busy = values(entry, "host_busy_idle_pct") + values(entry, "host_busy_start_pct")
        n = len(values(entry, "map_ms"))
        out.append("%-13s %3d " % (label, n) + "".join(cells)
                   + ("  %7.1f" % max(busy) if busy else "        -"))
        table[label] = row
    out.append("")
    out.append("tirpo-clock against the floors and xclock (ratio of medians, "
               "[range of per-round ratios]):")
    names = dict((k, t) for k, t, _ in FIGURES)
    compared = {}
    for num, den, key, how in COMPARISONS:
        if num not in runs or den not in runs:
            continue
        c = comparison(runs, num, den, key, how)
        what = ("%s difference" if how == "difference" else "%s ratio") % names[key]
        out.append("  %-26s %-24s %s" % ("%s / %s" % (num, den), what, show_comparison(c, how)))
        compared["%s/%s %s %s" % (num, den, key, how)] = c
    if not compared:
        out.append("  (none: tirpo-clock or its counterparts were not measured)")
    errors = [(label, e) for label in labels for e in runs[label]["errors"]]
    if errors:
        out.append("")
        out.append("errors (%d):" % len(errors))
        out.extend("  %s: %s" % le for le in errors)

    text = "\n".join(out) + "\n"
    sys.stdout.write(text)
    with open(os.path.join(folder, "summary.txt"), "w", encoding="utf-8") as f:
        f.write(text)
    with open(os.path.join(folder, "summary.json"), "w", encoding="utf-8") as f:
        json.dump({"programs": table, "comparisons": compared,
                   "errors": ["%s: %s" % le for le in errors]}, f, indent=1)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
