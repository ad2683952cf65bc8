#pragma once
// The time a face shows, read out as text ("3時15分").

#include <optional>
#include <string>
#include <string_view>

namespace tirpo {

struct ShownTime {
  int hour;    // as the clock gives it: 0..23 live, 1..12 by hand
  int minute;  // 0..59
};

// The time a manual minute count (minutes after 12 o'clock, any sign)
// shows: hours 1..12 and minutes 0..59. An empty count is 12 o'clock;
// none for a caption that is not a number.
std::optional<ShownTime> manualTimeFor(std::string_view minutesCaption);

std::string timeText(const ShownTime& t);

}  // namespace tirpo
