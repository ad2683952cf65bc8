#pragma once
// Text measured by the browser with the window's fonts, on a canvas of its
// own: the width of the widest line and the font's line height (its ascent
// and descent) times the number of lines, in twips. Every width and every
// font's metrics are asked of the browser once and kept, so a layout, and
// a paint that centres a caption, costs no call for a text seen before.

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "window/text_measurer.h"

namespace tirpo::web {

// The CSS font the page shows a window font in: the window's face first,
// then the subset of IPAPGothic the page ships.
std::string cssFont(const FontSpec& font);
// Points to CSS pixels (a CSS pixel is a 96-dpi pixel).
double pointsToPixels(double points);
// The lines of a caption (split at CR LF).
std::vector<std::string> captionLines(std::string_view text);

class CanvasTextMeasurer final : public TextMeasurer {
 public:
  TextExtent measure(const FontSpec& font, std::string_view text) const override;
  // The ascent and the line height of a font, in CSS pixels.
  struct LineMetrics {
    double ascent = 0, height = 0;
  };
  LineMetrics lineMetrics(const FontSpec& font) const;
  // The width of one line in CSS pixels.
  double lineWidth(const FontSpec& font, const std::string& line) const;
  // cssFont(font), written once for each font.
  const std::string& css(const FontSpec& font) const;

 private:
  mutable std::vector<std::pair<FontSpec, std::string>> css_;
  // Widths and metrics by CSS font; dropped whole when they grow past
  // what many window sizes need.
  mutable std::unordered_map<std::string, std::unordered_map<std::string, double>> widths_;
  mutable std::size_t widthCount_ = 0;
  mutable std::unordered_map<std::string, LineMetrics> lines_;
};

}  // namespace tirpo::web
