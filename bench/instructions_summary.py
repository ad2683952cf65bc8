#!/usr/bin/env python3
"""Summary of a bench/instructions.sh results folder.

Each run NAME left callgrind dumps NAME.cg.1, NAME.cg.2, ... (one per
repaint, the counts since the dump before) and NAME.pressed (how many dumps
there were when the press hook was done). Start-up is dump 1; a tick is the
median of the dumps after the first SKIP that follow the press.

usage: instructions_summary.py RESULTS [SKIP]
"""
import glob
import json
import os
import re
import statistics
import sys


def instructions(path):
    """The Ir total of one callgrind dump."""
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.match(r"(?:totals|summary):\s+(\d+)", line)
            if m:
                return int(m.group(1))
    raise SystemExit("no totals in " + path)


def dumps(results, name):
    files = glob.glob(os.path.join(results, name + ".cg.*"))
    numbered = sorted((int(f.rsplit(".", 1)[1]), f) for f in files if f.rsplit(".", 1)[1].isdigit())
    return [instructions(f) for _, f in numbered]


def pressed(results, name):
    try:
        with open(os.path.join(results, name + ".pressed"), encoding="utf-8") as f:
            return int(f.read().strip() or 0)
    except FileNotFoundError:
        return 0


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    results = sys.argv[1]
    skip = int(sys.argv[2]) if len(sys.argv) == 3 else 2
    figures = {}
    lines = []

    def startup(name):
        d = dumps(results, name)
        if d:
            figures[name + ".startup"] = d[0]
            lines.append("%-26s %12d" % ("start-up " + name, d[0]))

    def tick(name, what):
        d = dumps(results, name)[pressed(results, name) + skip:]
        if not d:
            lines.append("%-26s %12s" % (what + " " + name, "no ticks"))
            return
        figures[name + ".tick"] = statistics.median(d)
        lines.append("%-26s %12d   (n=%d, %d..%d)" % (what + " " + name, statistics.median(d),
                                                       len(d), min(d), max(d)))

    lines.append("instructions (callgrind Ir, client process)")
    startup("floor_label")
    startup("tirpo_live")
    startup("tirpo_auto")
    tick("floor_tick", "tick")
    tick("tirpo_live", "live tick")
    tick("tirpo_auto", "AUTO tick")

    def ratio(a, b, text):
        if a in figures and b in figures:
            figures["ratio " + text] = figures[a] / figures[b]
            lines.append("%-44s x%.2f" % (text, figures[a] / figures[b]))

    lines.append("")
    ratio("tirpo_live.startup", "floor_label.startup", "start-up tirpo-clock / floor_label")
    ratio("tirpo_live.tick", "floor_tick.tick", "live tick tirpo-clock / floor_tick")
    ratio("tirpo_auto.tick", "floor_tick.tick", "AUTO tick tirpo-clock / floor_tick")
    print("\n".join(lines))
    with open(os.path.join(results, "summary.json"), "w", encoding="utf-8") as f:
        json.dump(figures, f, indent=1)


if __name__ == "__main__":
    main()
