#include "window/announce_pacing.h"

namespace tirpo {

namespace {

std::int64_t gapFor(AnnouncePacing::Pace pace) {
  switch (pace) {
    case AnnouncePacing::Pace::HeldKey:
      return AnnouncePacing::kHeldGapMs;
    case AnnouncePacing::Pace::AutoRun:
      return AnnouncePacing::kRunGapMs;
    case AnnouncePacing::Pace::EachChange:
      break;
  }
  return 0;
}

}  // namespace

AnnouncePacing::Verdict AnnouncePacing::check(const std::string& reading, Pace pace, std::int64_t nowMs) {
  if (toldAny_ && reading == told_) return {};
  const std::int64_t gap = gapFor(pace);
  if (gap > 0 && toldAny_) {
    const std::int64_t since = nowMs - toldAtMs_;
    if (since >= 0 && since < gap) return {false, gap - since};
  }
  told_ = reading;
  toldAny_ = true;
  toldAtMs_ = nowMs;
  return {true, 0};
}

}  // namespace tirpo
