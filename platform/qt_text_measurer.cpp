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

namespace {

// Enough for the captions of many window sizes; dropped whole when full so a
// long live resize cannot grow it without bound.
constexpr std::size_t kMaxCachedExtents = 8192;

std::string fontKey(const FontSpec& font) {
  return font.face + '\x1f' + std::to_string(font.size) + '\x1f' + std::to_string(font.weight);
}

}  // namespace

struct QtTextMeasurer::Metrics {
  explicit Metrics(const QFont& f) : metrics(f) {}
  QFontMetricsF metrics;
};

QtTextMeasurer::QtTextMeasurer() = default;
QtTextMeasurer::~QtTextMeasurer() = default;

const QtTextMeasurer::Metrics& QtTextMeasurer::metricsFor(const FontSpec& font) const {
  auto& slot = metrics_[fontKey(font)];
  if (!slot) slot = std::make_unique<Metrics>(toQFont(font));
  return *slot;
}

TextExtent QtTextMeasurer::measure(const FontSpec& font, std::string_view text) const {
  if (font.size <= 0) return {};
  std::string key = fontKey(font);
  key += '\x1e';
  key += text;
  if (const auto it = extents_.find(key); it != extents_.end()) return it->second;
  if (extents_.size() >= kMaxCachedExtents) {
    extents_.clear();
    metrics_.clear();
  }
  const TextExtent e = measureUncached(font, text);
  extents_.emplace(std::move(key), e);
  return e;
}

TextExtent QtTextMeasurer::measureUncached(const FontSpec& font, std::string_view text) const {
  const QFontMetricsF& metrics = metricsFor(font).metrics;
  const QStringList lines = captionLines(text);
  double widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  const double tpp = twipsPerPixel();
  return {widest * tpp, metrics.height() * static_cast<double>(lines.size()) * tpp};
}

}  // namespace tirpo
