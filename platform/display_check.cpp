#include "platform/display_check.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace tirpo {

namespace {

QtMessageHandler previous = nullptr;

void startupHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "tirpo-clock: cannot open a display%s%s%s\n",
                 display && *display ? " (DISPLAY=" : " (DISPLAY is not set",
                 display && *display ? display : "", ")");
    std::fflush(stderr);
    _exit(2);
  }
  // The platform's own complaints about the missing display are summed up
  // by the line above; other messages pass on.
  if (message.contains(QLatin1String("could not connect to display")) ||
      message.contains(QLatin1String("platform plugin")))
    return;
  if (previous) previous(type, context, message);
  else std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

void guardDisplayStartup() { previous = qInstallMessageHandler(startupHandler); }

void endDisplayStartupGuard() { qInstallMessageHandler(previous); }

}  // namespace tirpo
