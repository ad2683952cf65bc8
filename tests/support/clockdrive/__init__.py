"""clockdrive: the real tirpo-clock under a private X server, or its web
edition in headless Chromium, driven and read as a person would, for the
end-to-end tests, the robustness tests and the benchmarks.

  process   processes stopped by pid, the checks, a private Xvfb, an http server
  driver    what driving the clock takes on every edition, written once
  session   one running X11 clock: clicks, picks, resizes, titles, screenshots
  browser   the same for the web page in headless Chromium (DevTools protocol)
  touch     the web page on a touch screen: fingers, and taps and holds for clicks
  face      the clock's sizes, colours, titles, steps and dial geometry
  image     screenshots as RGB pixels
  reading   hands, numerals and dots read off a screenshot
  looks     what the face must look like in each mode
  xclient   the X requests the command-line tools lack (libX11 via ctypes)
  no_display  the program started where it cannot open a display
  runner    the command line of the case scripts

Put tests/support on PYTHONPATH to import it (CTest and bench/run.sh do).
"""
