#pragma once
// Measures label text with the real fonts, in twips.

#include <QFont>
#include <QString>
#include <memory>
#include <string>
#include <unordered_map>

#include "window/text_measurer.h"

namespace tirpo {

// Every layout measures the same few dozen captions again, so extents are
// kept per font and caption; the metrics of each font are kept too.
class QtTextMeasurer final : public TextMeasurer {
 public:
  QtTextMeasurer();
  ~QtTextMeasurer() override;
  TextExtent measure(const FontSpec& font, std::string_view text) const override;

 private:
  TextExtent measureUncached(const FontSpec& font, std::string_view text) const;
  struct Metrics;
  const Metrics& metricsFor(const FontSpec& font) const;

  mutable std::unordered_map<std::string, TextExtent> extents_;
  mutable std::unordered_map<std::string, std::unique_ptr<Metrics>> metrics_;
};

// Lines of a caption (split at CR LF or LF) as the labels draw them.
QStringList captionLines(std::string_view text);

}  // namespace tirpo
