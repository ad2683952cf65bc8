"""The command line every case script of the real program shares:

    SCRIPT --app PATH --wm none|openbox --artefacts DIR [--budget S] CASE
    SCRIPT --site DIR [--page index.html|tirpo-clock.html] [--touch] --artefacts DIR CASE

With --app the case drives the X11 program under a private X server; with
--site it drives the web edition's page in headless Chromium (index.html
served over http, or the single file from file://), and with --touch on a
touch screen, where clicks are taps and right clicks holds (touch.py).
Checks that the tools are there, gives the case its session (or the
arguments alone, for a case that runs without one), stops it in time to
clean up before CTest's own timeout, and reports. Exit status 0 when every check holds, 1 when one
fails, 2 when tools are missing.
"""

import argparse
import signal
import sys
import time
import traceback

from clockdrive.process import Failure, log, missing_tools
from clockdrive.session import ClockSession


def _browser_session(case):
    from clockdrive.browser import BrowserSession
    return BrowserSession


def run(description, cases, without_session=(), extra_tools=lambda case: (),
        session_class=lambda case: ClockSession, also_missing=lambda: [], wm="none", budget=150,
        browser_class=_browser_session):
    """cases: {name: function(session)}; the functions named in
    without_session get the parsed arguments instead. also_missing() names
    what else a case needs that is not there."""
    ap = argparse.ArgumentParser(description=description)
    program = ap.add_mutually_exclusive_group(required=True)
    program.add_argument("--app", help="the X11 program")
    program.add_argument("--site", help="the web edition's site folder")
    ap.add_argument("--page", choices=("index.html", "tirpo-clock.html"), default="index.html",
                    help="with --site: the served page or the single file from file://")
    ap.add_argument("--touch", action="store_true",
                    help="with --site: a touch screen, a finger for the mouse")
    ap.add_argument("--wm", choices=("none", "openbox"), default=wm)
    ap.add_argument("--artefacts", required=True)
    ap.add_argument("--budget", type=int, default=budget, help="seconds before giving up")
    ap.add_argument("case", choices=sorted(cases))
    args = ap.parse_args()
    web = args.site is not None
    if args.touch and not web:
        ap.error("--touch goes with --site")
    variant = ("touch" if args.touch else "web" if args.page == "index.html" else "file") if web else args.wm
    alone = args.case in without_session
    if not alone:
        if web:
            from clockdrive.browser import BROWSER_TOOLS, missing_browser
            missing = missing_tools(tools=BROWSER_TOOLS) + missing_browser()
        else:
            missing = missing_tools((("openbox",) if args.wm == "openbox" else ()) +
                                    tuple(extra_tools(args.case))) + also_missing()
        if missing:
            print(f"missing tools: {' '.join(missing)} (scripts/install-deps installs them)",
                  file=sys.stderr)
            return 2
    start = time.monotonic()

    def out_of_time(*_):
        raise Failure(f"the case ran longer than {args.budget} s")
    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    signal.alarm(args.budget)
    try:
        if alone:
            cases[args.case](args)
        elif web:
            session_type = browser_class(args.case)
            if args.touch:
                from clockdrive.touch import TouchSession
                session_type = TouchSession
            with session_type(args.site, args.page, args.artefacts) as session:
                cases[args.case](session)
        else:
            with session_class(args.case)(args.app, args.wm, args.artefacts) as session:
                cases[args.case](session)
    except Failure as e:
        print(f"FAIL {args.case} ({variant}): {e}", file=sys.stderr)
        print(f"artefacts: {args.artefacts}", file=sys.stderr)
        return 1
    except Exception:
        traceback.print_exc()
        print(f"FAIL {args.case} ({variant}): error in the test itself", file=sys.stderr)
        return 1
    log(f"PASS {args.case} ({variant}) in {time.monotonic() - start:.1f} s")
    return 0
