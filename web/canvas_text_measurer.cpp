#include "web/canvas_text_measurer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "view/pixel_geometry.h"

namespace tirpo::web {

using emscripten::val;

namespace {

// Enough for the captions of many window sizes; dropped whole when full.
constexpr std::size_t kMaxCachedExtents = 8192;

}  // namespace

double pointsToPixels(double points) { return points * 96.0 / 72.0; }

std::string cssFont(const FontSpec& font) {
  char size[32];
  std::snprintf(size, sizeof size, "%.4fpx ", pointsToPixels(font.size));
  return std::string(font.weight >= 700 ? "bold " : "") + size + "\"" + font.face + "\", \"Tirpo Gothic\", sans-serif";
}

std::vector<std::string> captionLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) break;
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

CanvasTextMeasurer::CanvasTextMeasurer()
    : context_(val::global("document")
                   .call<val>("createElement", std::string("canvas"))
                   .call<val>("getContext", std::string("2d"))) {}

void CanvasTextMeasurer::useFont(const std::string& css) const {
  if (css == fontSet_) return;
  context_.set("font", css);
  fontSet_ = css;
}

CanvasTextMeasurer::LineMetrics CanvasTextMeasurer::lineMetrics(const FontSpec& font) const {
  const std::string css = cssFont(font);
  if (const auto it = lines_.find(css); it != lines_.end()) return it->second;
  useFont(css);
  const val m = context_.call<val>("measureText", std::string("時"));
  LineMetrics l;
  const val ascent = m["fontBoundingBoxAscent"], descent = m["fontBoundingBoxDescent"];
  if (!ascent.isUndefined() && !descent.isUndefined()) {
    l.ascent = ascent.as<double>();
    l.height = l.ascent + descent.as<double>();
  } else {
    // Browsers without font metrics: IPAPGothic's own proportions.
    const double px = pointsToPixels(font.size);
    l.ascent = px * 0.88;
    l.height = px * 1.0;
  }
  lines_.emplace(css, l);
  return l;
}

double CanvasTextMeasurer::lineWidth(const FontSpec& font, const std::string& line) const {
  useFont(cssFont(font));
  return context_.call<val>("measureText", line)["width"].as<double>();
}

TextExtent CanvasTextMeasurer::measure(const FontSpec& font, std::string_view text) const {
  if (font.size <= 0) return {};
  std::string key = cssFont(font);
  key += '\x1e';
  key += text;
  if (const auto it = extents_.find(key); it != extents_.end()) return it->second;
  if (extents_.size() >= kMaxCachedExtents) extents_.clear();
  const std::vector<std::string> lines = captionLines(text);
  double widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, lineWidth(font, line));
  const double height = lineMetrics(font).height * static_cast<double>(lines.size());
  const TextExtent e{widest * kTwipsPerCssPixel, height * kTwipsPerCssPixel};
  extents_.emplace(std::move(key), e);
  return e;
}

}  // namespace tirpo::web
