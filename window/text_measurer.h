#pragma once
// Measuring text for labels that size themselves to their caption.

#include <string>
#include <string_view>

namespace tirpo {

struct FontSpec {
  std::string face = "ＭＳ Ｐゴシック";
  float size = 11.25f;  // points
  int weight = 400;
  int charset = 128;
  bool operator==(const FontSpec&) const = default;
};

struct TextExtent {
  double width = 0;   // twips
  double height = 0;  // twips
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Extent of the text as an auto-sized label shows it (lines split at CR LF).
  virtual TextExtent measure(const FontSpec& font, std::string_view text) const = 0;
};

}  // namespace tirpo
