"""clockdrive: the real tirpo-clock under a private X server, driven and read
as a person would, for the end-to-end tests, the robustness tests and the
whole-program benchmark.

  process   processes stopped by pid, the checks, a private Xvfb
  session   one running clock: clicks, picks, resizes, titles, screenshots
  face      the clock's sizes, colours, titles, steps and dial geometry
  image     screenshots as RGB pixels
  reading   hands, numerals and dots read off a screenshot
  looks     what the face must look like in each mode
  xclient   the X requests the command-line tools lack (libX11 via ctypes)
  runner    the command line of the case scripts

Put tests/support on PYTHONPATH to import it (CTest and bench/run.sh do).
"""
