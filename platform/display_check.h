#pragma once
// Start-up without a display: one line that says what was tried and what is
// missing, instead of the toolkit's abort.

#include <string>
#include <vector>

namespace tirpo {

// One platform the toolkit tried to start, in the order it tried them.
struct PlatformTry {
  std::string name;         // "xcb", "wayland", ...
  bool installed = true;    // false: no such platform plugin on this system
};

// What start-up knew when no platform could open a display.
struct DisplayFailure {
  // The environment it read; an unset variable is empty.
  std::string qpaPlatform, display, waylandDisplay;
  std::vector<PlatformTry> tried;
  std::vector<std::string> available;  // platform plugins installed
};

// The one stderr line, without its newline: the three variables as they
// were, and for each platform tried what it lacked, naming the Debian
// package to install where a plugin is missing.
std::string noDisplayLine(const DisplayFailure& failure);

// Installs a message handler for the construction of the application
// object: it collects the toolkit's complaints about platforms that did not
// start and, when none did, prints noDisplayLine and exits with status 2.
void guardDisplayStartup();
// Restores the previous handler once the application object exists.
void endDisplayStartupGuard();

}  // namespace tirpo
