#pragma once
// When the face tells assistive technology the time it shows. A screen
// reader speaks every notification, so: one for each press, but while the
// AUTO run moves the clock ten minutes a second, at most one a second, and
// the time it stops at as soon as it stops. A time already told is never
// told again (the live clock's reading changes once a minute).

#include <cstdint>
#include <string>

namespace tirpo {

class AnnouncePacing {
 public:
  static constexpr std::int64_t kRunGapMs = 1000;

  struct Verdict {
    bool tell = false;
    // When nothing is told now although the time changed: ask again after
    // this many milliseconds.
    std::int64_t askAgainMs = 0;
  };

  // The face reads `reading` at `nowMs` (a steady clock); `running` says
  // whether the AUTO run is going. A verdict to tell counts as told.
  Verdict check(const std::string& reading, bool running, std::int64_t nowMs);

 private:
  std::string told_;
  bool toldAny_ = false;
  std::int64_t toldAtMs_ = 0;
};

}  // namespace tirpo
