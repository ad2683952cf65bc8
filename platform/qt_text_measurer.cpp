#include "platform/qt_text_measurer.h"

#include <QFontMetricsF>
#include <QRegularExpression>

#include "platform/fonts.h"

namespace tirpo {

QStringList captionLines(std::string_view text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s.split(QLatin1Char('\n'));
}

TextExtent QtTextMeasurer::measure(const FontSpec& font, std::string_view text) const {
  if (font.size <= 0) return {};
  const QFontMetricsF metrics(toQFont(font));
  const QStringList lines = captionLines(text);
  double widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  const double tpp = twipsPerPixel();
  return {widest * tpp, metrics.height() * static_cast<double>(lines.size()) * tpp};
}

}  // namespace tirpo
