#pragma once
// Measures label text with the real fonts, in twips.

#include <QFont>
#include <QString>

#include "window/text_measurer.h"

namespace tirpo {

class QtTextMeasurer final : public TextMeasurer {
 public:
  TextExtent measure(const FontSpec& font, std::string_view text) const override;
};

// Lines of a caption (split at CR LF or LF) as the labels draw them.
QStringList captionLines(std::string_view text);

}  // namespace tirpo
