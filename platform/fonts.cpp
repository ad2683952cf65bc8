#include "platform/fonts.h"

#include <QGuiApplication>
#include <QScreen>

namespace tirpo {

void installFontSubstitutions() {
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                             {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
}

QFont toQFont(const FontSpec& font) {
  QFont f(QString::fromStdString(font.face));
  if (font.size > 0) f.setPointSizeF(font.size);
  f.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

double twipsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
  return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

}  // namespace tirpo
