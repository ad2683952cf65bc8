#include "window/held_key.h"

namespace tirpo {

bool HeldKey::pressed(int key, bool marked, std::int64_t nowMs) {
  const bool soonAfterRelease = released_ && key == key_ && nowMs - releasedAtMs_ <= kRepeatGapMs;
  const bool repeat = marked || soonAfterRelease;
  released_ = false;
  key_ = key;
  held_ = repeat;
  return repeat;
}

std::int64_t HeldKey::released(int key, bool marked, std::int64_t nowMs) {
  if (marked) return 0;
  key_ = key;
  released_ = true;
  releasedAtMs_ = nowMs;
  return kRepeatGapMs;
}

bool HeldKey::letGo(std::int64_t nowMs) {
  if (!released_ || nowMs - releasedAtMs_ < kRepeatGapMs) return false;
  released_ = false;
  const bool wasHeld = held_;
  held_ = false;
  return wasHeld;
}

}  // namespace tirpo
