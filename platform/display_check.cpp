#include "platform/display_check.h"

#include <unistd.h>
#include <QRegularExpression>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tirpo {

namespace {

bool isWayland(const std::string& platform) { return platform.rfind("wayland", 0) == 0; }

std::string variable(const char* name, const std::string& value) {
  return value.empty() ? std::string(name) + " not set" : std::string(name) + "=" + value;
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : separator) + p;
  return out;
}

const char kWaylandMissing[] = "the Wayland platform plugin is missing, install package qt6-wayland";

// What one platform that did not start lacked.
std::string whyNot(const PlatformTry& t, const DisplayFailure& f) {
  if (isWayland(t.name)) {
    if (!t.installed) return kWaylandMissing;
    std::string why = f.waylandDisplay.empty() ? "no Wayland compositor (WAYLAND_DISPLAY not set)"
                                               : "cannot connect to Wayland display " + f.waylandDisplay;
    return f.runtimeDirMissing ? why + " (XDG_RUNTIME_DIR not set)" : why;
  }
  if (t.name == "xcb") {
    if (!t.installed) return "the X11 platform plugin is missing, install package libqt6gui6";
    return f.display.empty() ? "no X display (DISPLAY not set)" : "cannot connect to X display " + f.display;
  }
  if (!t.installed) return "no such platform plugin (installed: " + joined(f.available, ", ") + ")";
  return "did not start";
}

}  // namespace

std::string noDisplayLine(const DisplayFailure& f) {
  std::vector<std::string> reasons;
  bool waylandTried = false;
  for (const PlatformTry& t : f.tried) {
    waylandTried = waylandTried || isWayland(t.name);
    reasons.push_back(t.name + ": " + whyNot(t, f));
  }
  // A Wayland session the toolkit did not even try, because its plugin is
  // not there to be tried.
  const bool waylandInstalled = std::any_of(f.available.begin(), f.available.end(), isWayland);
  if (!f.waylandDisplay.empty() && !waylandTried && !waylandInstalled) reasons.emplace_back(kWaylandMissing);
  if (reasons.empty()) reasons.emplace_back("no platform plugin could start");
  return "tirpo-clock: cannot open a display (" + variable("QT_QPA_PLATFORM", f.qpaPlatform) + ", " +
         variable("DISPLAY", f.display) + ", " + variable("WAYLAND_DISPLAY", f.waylandDisplay) +
         "): " + joined(reasons, "; ");
}

namespace {

QtMessageHandler previous = nullptr;
DisplayFailure failure;
int realStderr = -1;            // stderr while it is held back
std::FILE* heldBack = nullptr;  // what was written to it meanwhile

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Reads one of the toolkit's start-up messages; true when it is about a
// platform that did not start (and so is summed up by the final line).
bool collect(const QString& message) {
  static const QRegularExpression tried(QStringLiteral("^Could not (find|load) the Qt platform plugin \"([^\"]*)\""));
  static const QRegularExpression available(QStringLiteral("Available platform plugins are: ([^\\n]*)\\."));
  if (const auto m = tried.match(message); m.hasMatch()) {
    failure.tried.push_back({m.captured(2).toStdString(), m.captured(1) == QLatin1String("load")});
    return true;
  }
  if (const auto m = available.match(message); m.hasMatch()) {
    failure.available.clear();
    for (const QString& name : m.captured(1).split(QStringLiteral(", "), Qt::SkipEmptyParts))
      failure.available.push_back(name.trimmed().toStdString());
  }
  return message.contains(QLatin1String("could not connect to display")) ||
         message.startsWith(QLatin1String("Failed to create wl_display")) ||
         message.contains(QLatin1String("platform plugin"));
}

std::string heldBackText() {
  std::string text;
  if (!heldBack) return text;
  std::fflush(stderr);
  std::rewind(heldBack);
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, heldBack)) > 0;) text.append(buf, n);
  return text;
}

void writeAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

void startupHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool aboutPlatform = collect(message);
  if (type == QtFatalMsg) {
    failure.qpaPlatform = env("QT_QPA_PLATFORM");
    failure.display = env("DISPLAY");
    failure.waylandDisplay = env("WAYLAND_DISPLAY");
    // The display libraries' own lines are summed up by this one.
    failure.runtimeDirMissing = heldBackText().find("XDG_RUNTIME_DIR") != std::string::npos;
    writeAll(realStderr >= 0 ? realStderr : 2, noDisplayLine(failure) + "\n");
    _exit(2);
  }
  if (aboutPlatform) return;
  if (previous)
    previous(type, context, message);
  else
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

void guardDisplayStartup() {
  previous = qInstallMessageHandler(startupHandler);
  std::fflush(stderr);
  heldBack = std::tmpfile();
  if (!heldBack) return;  // then the libraries' lines go out as they come
  realStderr = ::dup(2);
  if (realStderr < 0 || ::dup2(::fileno(heldBack), 2) < 0) {
    std::fclose(heldBack);
    heldBack = nullptr;
  }
}

void endDisplayStartupGuard() {
  qInstallMessageHandler(previous);
  if (!heldBack) return;
  const std::string text = heldBackText();
  ::dup2(realStderr, 2);
  ::close(realStderr);
  realStderr = -1;
  std::fclose(heldBack);
  heldBack = nullptr;
  writeAll(2, text);
}

}  // namespace tirpo
