// tirpo-clock: an analog teaching clock for children.

#include <QApplication>

#include "platform/clock_window.h"
#include "platform/display_check.h"
#include "platform/fonts.h"

int main(int argc, char* argv[]) {
  tirpo::guardDisplayStartup();
  QApplication app(argc, argv);
  tirpo::endDisplayStartupGuard();
  QApplication::setApplicationName(QStringLiteral("tirpo-clock"));
  QApplication::setDesktopFileName(QStringLiteral("jp.rupeska.TirpoClock"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  tirpo::installFontSubstitutions();

  tirpo::ClockWindow window;
  window.show();
  return QApplication::exec();
}
