#pragma once
// When the face tells assistive technology what it shows. A screen reader
// speaks every notification, each one cutting off the last, so: one for
// each press; while a held key repeats its press, at most one each half
// second, and the time it stops at as soon as the key is let go; while the
// AUTO run moves the clock ten minutes a second, at most one a second, and
// the time it stops at as soon as it stops. A text already told is never
// told again (the live clock's reading changes once a minute, and pressing
// a mode button of the mode that is on tells nothing new).

#include <cstdint>
#include <string>

namespace tirpo {

class AnnouncePacing {
 public:
  // How often a changing text may be told.
  enum class Pace {
    EachChange,  // every new text at once
    HeldKey,     // a key held down repeats its press
    AutoRun,     // the AUTO run is going
  };
  static constexpr std::int64_t kHeldGapMs = 500;
  static constexpr std::int64_t kRunGapMs = 1000;

  struct Verdict {
    bool tell = false;
    // When nothing is told now although the text changed: ask again after
    // this many milliseconds.
    std::int64_t askAgainMs = 0;
  };

  // The text to tell is `reading` at `nowMs` (a steady clock), changing at
  // `pace`. A verdict to tell counts as told.
  Verdict check(const std::string& reading, Pace pace, std::int64_t nowMs);
  // The same, with the pace of the run while `running`, else of each change.
  Verdict check(const std::string& reading, bool running, std::int64_t nowMs) {
    return check(reading, running ? Pace::AutoRun : Pace::EachChange, nowMs);
  }

  // The pace for the face: the run outpaces a held key (whose repeats the
  // run ignores).
  static Pace paceFor(bool running, bool keyHeld) {
    return running ? Pace::AutoRun : keyHeld ? Pace::HeldKey : Pace::EachChange;
  }

 private:
  std::string told_;
  bool toldAny_ = false;
  std::int64_t toldAtMs_ = 0;
};

}  // namespace tirpo
