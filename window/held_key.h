#pragma once
// Which key presses repeat a key held down. The toolkit marks its repeats,
// but not always: on X11 a held key repeats as a release and a press at the
// same moment, and the mark is lost where the two are not read together
// (the accessibility bridge holds every key event back until the screen
// reader has seen it). So a press of the same key that comes right after
// its release counts as a repeat too, and a release counts as the key let
// go only once no press has followed it for that long. No hand lets a key
// go and presses it again as quickly.

#include <cstdint>

namespace tirpo {

class HeldKey {
 public:
  static constexpr std::int64_t kRepeatGapMs = 50;

  // A press of `key` at `nowMs` (a steady clock), `marked` as a repeat by
  // the toolkit or not: returns whether it repeats a held key.
  bool pressed(int key, bool marked, std::int64_t nowMs);
  // A release: returns after how many milliseconds to ask letGo (0 for a
  // release the toolkit marked as part of a repeat).
  std::int64_t released(int key, bool marked, std::int64_t nowMs);
  // Asked after a release: whether a key that was held has now been let go
  // (no press followed the release in time).
  bool letGo(std::int64_t nowMs);
  // A key is held down and repeating.
  bool held() const { return held_; }
  // The focus went elsewhere: no key is held for this receiver any more.
  void reset() { *this = HeldKey(); }

 private:
  int key_ = 0;
  bool held_ = false;
  bool released_ = false;
  std::int64_t releasedAtMs_ = 0;
};

}  // namespace tirpo
