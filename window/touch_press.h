#pragma once
// What a finger on the face presses, the same on every platform. A tap (the
// finger lifted within the hold time without moving further than the slop)
// is a left press, made as it lifts. A finger held in place for the hold time
// is a right press, made at that moment while it is still down; its lift
// then does nothing. A finger that moves further than the slop presses
// nothing, and neither does a second finger on the face while one is down:
// nothing more is pressed until every finger has lifted. Taps count however
// fast they come; no tap waits to see whether another follows.
//
// The platform feeds the fingers in with a steady clock in milliseconds and
// positions in twips of the client area, and calls check() when asked to.

#include <cstdint>

namespace tirpo {

class TouchPress {
 public:
  static constexpr std::int64_t kHoldMs = 500;
  // How far a finger may wander and still tap or hold: about ten pixels.
  static constexpr double kSlopTwips = 150;
  // The hold is shown only once the finger has stayed this long, so that a
  // tap shows nothing.
  static constexpr std::int64_t kShowHoldAfterMs = 100;

  struct Verdict {
    // The press to make now: kLeftButton or kRightButton, at the place the
    // finger came down; 0 for none.
    int button = 0;
    double xTwips = 0, yTwips = 0;
    // While a hold is being counted: call check() after this many
    // milliseconds at the latest. 0 when nothing waits.
    std::int64_t askAgainMs = 0;
  };

  // A finger came down, moved, lifted, or the system took the touch away
  // (cancel: every finger is gone and nothing is pressed).
  Verdict down(int id, double xTwips, double yTwips, std::int64_t nowMs);
  Verdict move(int id, double xTwips, double yTwips, std::int64_t nowMs);
  Verdict up(int id, double xTwips, double yTwips, std::int64_t nowMs);
  Verdict cancel();
  // The time has come on (the hold may be reached).
  Verdict check(std::int64_t nowMs);

  // While a hold is being counted and shown: how far it has come, from 0
  // when it first shows to 1 when it presses; negative when nothing shows.
  double holdShown(std::int64_t nowMs) const;
  // Where the counted finger came down.
  double xTwips() const { return x_; }
  double yTwips() const { return y_; }
  // Fingers now on the face.
  int fingers() const { return fingers_; }

 private:
  enum class Phase { Idle, Counting, Done };
  Verdict waiting(std::int64_t nowMs) const;
  Verdict pressed(int button);

  Phase phase_ = Phase::Idle;
  int fingers_ = 0;
  int id_ = 0;
  double x_ = 0, y_ = 0;
  std::int64_t downAtMs_ = 0;
};

}  // namespace tirpo
