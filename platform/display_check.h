#pragma once
// Start-up without a display: one clear line instead of the toolkit's abort.

namespace tirpo {

// Installs a message handler that turns the toolkit's fatal start-up
// failure (no display to open) into one line on stderr and exit code 2.
// Returns a handle to restore the previous handler once the application
// object exists.
void guardDisplayStartup();
void endDisplayStartupGuard();

}  // namespace tirpo
