#pragma once
// Stand-ins for the services the clock window is handed, for tests that run
// without a toolkit.
//
// FakeMeasurer gives every font fixed metrics, so layout results can be worked
// out by hand. A text is split into lines at CR LF; a line's length is its
// number of UTF-8 code points (a full-width character counts as one). Then
//   width  = longest line's code points x font size x 10 twips
//   height = number of lines            x font size x 20 twips
// An empty text is one empty line: width 0, height size x 20.
//
// FakeClock hands out a settable time of day. It can also move on by a fixed
// number of seconds after every reading, which shows whether the window reads
// it once or several times per update.
//
// CaptionLog is an observer that records every caption written to a label,
// in order, so tests can follow the intermediate values a handler writes.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "window/control.h"
#include "window/controls.h"
#include "window/system_clock.h"
#include "window/text_measurer.h"

namespace tirpo::fakes {

inline constexpr double kTwipsPerPointWide = 10;  // per code point
inline constexpr double kTwipsPerPointHigh = 20;  // per line

// Number of UTF-8 code points: every byte that is not a continuation byte.
inline std::size_t codePoints(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

class FakeMeasurer final : public TextMeasurer {
 public:
  TextExtent measure(const FontSpec& font, std::string_view text) const override {
    ++calls;
    std::size_t lines = 1, longest = 0;
    for (;;) {
      const std::size_t end = text.find("\r\n");
      longest = std::max(longest, codePoints(text.substr(0, end)));
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 2);
      ++lines;
    }
    return {static_cast<double>(longest) * font.size * kTwipsPerPointWide,
            static_cast<double>(lines) * font.size * kTwipsPerPointHigh};
  }
  // The extent the rule above gives, for expectations in tests.
  static TextExtent expected(float size, std::size_t longestLine, std::size_t lines = 1) {
    return {static_cast<double>(longestLine) * size * kTwipsPerPointWide,
            static_cast<double>(lines) * size * kTwipsPerPointHigh};
  }
  mutable int calls = 0;
};

class FakeClock final : public SystemClock {
 public:
  TimeOfDay now() const override {
    ++reads;
    const TimeOfDay t = time;
    if (secondsPerRead != 0) advance(secondsPerRead);
    return t;
  }
  void set(int hour, int minute, int second) { time = {hour, minute, second}; }
  // Moves the time on by whole seconds, wrapping at midnight.
  void advance(int seconds) const {
    int s = ((time.hour * 60 + time.minute) * 60 + time.second + seconds) % 86400;
    if (s < 0) s += 86400;
    time = {s / 3600, s / 60 % 60, s % 60};
  }

  mutable TimeOfDay time{};
  int secondsPerRead = 0;  // 0: the time stands still between readings
  mutable int reads = 0;
};

class CaptionLog final : public ControlObserver {
 public:
  struct Write {
    std::string name;
    int index;
    std::string caption;
  };
  void controlChanged(Control& control, Aspect aspect) override {
    if (aspect == Aspect::Text && control.kind() == Kind::Label)
      writes.push_back({control.name(), control.index(), static_cast<Label&>(control).caption()});
  }
  void controlLoaded(Control&) override {}
  void windowChanged(Aspect) override {}

  // The captions written to one label, in order.
  std::vector<std::string> of(std::string_view name) const {
    std::vector<std::string> out;
    for (const Write& w : writes)
      if (w.name == name) out.push_back(w.caption);
    return out;
  }
  void clear() { writes.clear(); }

  std::vector<Write> writes;
};

}  // namespace tirpo::fakes
