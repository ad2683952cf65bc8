"""The command line every case script of the real program shares:

    SCRIPT --app PATH --wm none|openbox --artefacts DIR [--budget S] CASE

Checks that the X tools are there, gives the case its X session (or the
arguments alone, for a case that runs without one), stops it in time to
clean up before CTest's own timeout, and reports.  Exit status 0 when every
check holds, 1 when one fails, 2 when tools are missing.
"""

import argparse
import signal
import sys
import time
import traceback

from clockdrive.process import Failure, log, missing_tools
from clockdrive.session import ClockSession


def run(description, cases, without_session=(), extra_tools=lambda case: (),
        session_class=lambda case: ClockSession, also_missing=lambda: [], wm="none", budget=150):
    """cases: {name: function(session)}; the functions named in
    without_session get the parsed arguments instead. also_missing() names
    what else a case needs that is not there."""
    ap = argparse.ArgumentParser(description=description)
    ap.add_argument("--app", required=True)
    ap.add_argument("--wm", choices=("none", "openbox"), default=wm)
    ap.add_argument("--artefacts", required=True)
    ap.add_argument("--budget", type=int, default=budget, help="seconds before giving up")
    ap.add_argument("case", choices=sorted(cases))
    args = ap.parse_args()
    alone = args.case in without_session
    if not alone:
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
        else:
            with session_class(args.case)(args.app, args.wm, args.artefacts) as session:
                cases[args.case](session)
    except Failure as e:
        print(f"FAIL {args.case} ({args.wm}): {e}", file=sys.stderr)
        print(f"artefacts: {args.artefacts}", file=sys.stderr)
        return 1
    except Exception:
        traceback.print_exc()
        print(f"FAIL {args.case} ({args.wm}): error in the test itself", file=sys.stderr)
        return 1
    log(f"PASS {args.case} ({args.wm}) in {time.monotonic() - start:.1f} s")
    return 0
