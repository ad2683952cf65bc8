// tirpo-clock: an analog teaching clock for children.

#include <QApplication>
#include <QIcon>

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

  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/emblem/%1.png").arg(size));
  QApplication::setWindowIcon(icon);

  tirpo::ClockWindow window;
  window.show();
  return QApplication::exec();
}
