#include "web/canvas_text_measurer.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "view/pixel_geometry.h"

// The page's measuring canvas, made on first use, and the font last set on
// it (setting a font makes the browser parse it again, even the same one).
// clang-format off
EM_JS(double, tirpo_text_width, (const char* font, const char* text), {
  var m = Module.tirpoMeasure;
  if (!m) m = Module.tirpoMeasure = { g: document.createElement("canvas").getContext("2d"), font: "" };
  var css = UTF8ToString(font);
  if (m.font !== css) { m.g.font = css; m.font = css; }
  return m.g.measureText(UTF8ToString(text)).width;
});

// The font box's ascent and descent, or -1 for both where the browser gives
// no font metrics.
EM_JS(void, tirpo_font_box, (const char* font, double* box), {
  var m = Module.tirpoMeasure;
  if (!m) m = Module.tirpoMeasure = { g: document.createElement("canvas").getContext("2d"), font: "" };
  var css = UTF8ToString(font);
  if (m.font !== css) { m.g.font = css; m.font = css; }
  var t = m.g.measureText("時");
  var known = t.fontBoundingBoxAscent !== undefined && t.fontBoundingBoxDescent !== undefined;
  HEAPF64[box >> 3] = known ? t.fontBoundingBoxAscent : -1;
  HEAPF64[(box >> 3) + 1] = known ? t.fontBoundingBoxDescent : -1;
});
// clang-format on

namespace tirpo::web {

namespace {

// Enough for the captions of many window sizes.
constexpr std::size_t kMaxCachedWidths = 8192;

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

const std::string& CanvasTextMeasurer::css(const FontSpec& font) const {
  // A window uses a handful of fonts; the newest first.
  for (auto it = css_.rbegin(); it != css_.rend(); ++it)
    if (it->first == font) return it->second;
  if (css_.size() >= 64) css_.erase(css_.begin());
  css_.emplace_back(font, cssFont(font));
  return css_.back().second;
}

CanvasTextMeasurer::LineMetrics CanvasTextMeasurer::lineMetrics(const FontSpec& font) const {
  const std::string& css = this->css(font);
  if (const auto it = lines_.find(css); it != lines_.end()) return it->second;
  double box[2] = {-1, -1};
  tirpo_font_box(css.c_str(), box);
  LineMetrics l;
  if (box[0] >= 0 && box[1] >= 0) {
    l.ascent = box[0];
    l.height = box[0] + box[1];
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
  const std::string& css = this->css(font);
  auto& widths = widths_[css];
  if (const auto it = widths.find(line); it != widths.end()) return it->second;
  if (widthCount_ >= kMaxCachedWidths) {
    widths_.clear();
    widthCount_ = 0;
    return lineWidth(font, line);
  }
  const double w = tirpo_text_width(css.c_str(), line.c_str());
  widths.emplace(line, w);
  ++widthCount_;
  return w;
}

TextExtent CanvasTextMeasurer::measure(const FontSpec& font, std::string_view text) const {
  if (font.size <= 0) return {};
  const std::vector<std::string> lines = captionLines(text);
  double widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, lineWidth(font, line));
  const double height = lineMetrics(font).height * static_cast<double>(lines.size());
  return {widest * kTwipsPerCssPixel, height * kTwipsPerCssPixel};
}

}  // namespace tirpo::web
