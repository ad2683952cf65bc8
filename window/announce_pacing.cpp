#include "window/announce_pacing.h"

namespace tirpo {

AnnouncePacing::Verdict AnnouncePacing::check(const std::string& reading, bool running, std::int64_t nowMs) {
  if (toldAny_ && reading == told_) return {};
  if (running && toldAny_) {
    const std::int64_t since = nowMs - toldAtMs_;
    if (since >= 0 && since < kRunGapMs) return {false, kRunGapMs - since};
  }
  told_ = reading;
  toldAny_ = true;
  toldAtMs_ = nowMs;
  return {true, 0};
}

}  // namespace tirpo
