#pragma once
// Start-up without a display: one line that says what was tried and what is
// missing, instead of the toolkit's abort.

#include <string>
#include <vector>

namespace tirpo {

// One platform the toolkit tried to start, in the order it tried them.
struct PlatformTry {
  std::string name;       // "xcb", "wayland", ...
  bool installed = true;  // false: no such platform plugin on this system
};

// What start-up knew when no platform could open a display.
struct DisplayFailure {
  // The environment it read; an unset variable is empty.
  std::string qpaPlatform, display, waylandDisplay;
  std::vector<PlatformTry> tried;
  std::vector<std::string> available;  // platform plugins installed
  bool runtimeDirMissing = false;      // Wayland found no XDG_RUNTIME_DIR to look in
};

// The one stderr line, without its newline: the three variables as they
// were, and for each platform tried what it lacked, naming the Debian
// package to install where a plugin is missing.
std::string noDisplayLine(const DisplayFailure& failure);

// Guards the construction of the application object: a message handler
// collects the toolkit's complaints about platforms that did not start, and
// stderr is held back meanwhile, since the display libraries also write to
// it directly. When no platform starts, noDisplayLine alone is printed and
// the program exits with status 2.
void guardDisplayStartup();
// Once the application object exists: restores the previous handler and
// stderr, and passes on whatever was held back.
void endDisplayStartupGuard();

}  // namespace tirpo
