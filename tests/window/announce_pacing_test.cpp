// When the face tells its time: every new reading at once, but while a held
// key repeats at most one each half second and while the AUTO run goes at
// most one a second, and a reading told is never told again.

#include <gtest/gtest.h>

#include "window/announce_pacing.h"

namespace tirpo {
namespace {

using Pace = AnnouncePacing::Pace;
constexpr Pace kEach = Pace::EachChange, kHeld = Pace::HeldKey, kRun = Pace::AutoRun;

TEST(AnnouncePacing, TellsEachNewReadingPacedWhileHeldOrRunning) {
  const struct {
    const char* reading;
    Pace pace;
    std::int64_t at;
    bool tell;
    std::int64_t askAgain;
  } steps[] = {
      {"12時0分", kEach, 0, true, 0},      // the first reading
      {"12時0分", kEach, 10, false, 0},    // the same again: nothing
      {"12時5分", kEach, 20, true, 0},     // a press: at once
      {"12時10分", kEach, 30, true, 0},    // presses in quick succession: each one
      {"12時11分", kRun, 40, false, 990},  // the run: not within a second of the last
      {"12時12分", kRun, 500, false, 530},
      {"12時20分", kRun, 1030, true, 0},  // a second after the last
      {"12時21分", kRun, 1130, false, 900},
      {"12時29分", kRun, 1900, false, 130},
      {"12時30分", kEach, 1950, true, 0},  // the run stops: at once
      {"12時30分", kEach, 2950, false, 0},
      // A held key: its first press at once, then each 500 ms at most while
      // it repeats (25 repeats a second), and the last time at the release.
      {"12時31分", kEach, 3000, true, 0},
      {"12時32分", kHeld, 3500, true, 0},  // the first repeat, half a second on
      {"12時33分", kHeld, 3540, false, 460},
      {"12時34分", kHeld, 3580, false, 420},
      {"12時45分", kHeld, 4000, true, 0},
      {"12時46分", kHeld, 4040, false, 460},
      {"12時47分", kEach, 4080, true, 0},  // let go: the time now shown
      {"12時47分", kEach, 4600, false, 0},
      // A held key during the run keeps the run's pace.
      {"12時50分", AnnouncePacing::paceFor(true, true), 4700, false, 380},
      {"12時51分", AnnouncePacing::paceFor(false, true), 4800, true, 0},  // held: half a second is enough
      {"12時52分", AnnouncePacing::paceFor(false, false), 4810, true, 0},
      {"3時15分", kEach, 60000, true, 0},  // the live clock's next minute
      {"3時15分", kEach, 61000, false, 0},
  };
  AnnouncePacing pacing;
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << s.reading << " at " << s.at);
    const AnnouncePacing::Verdict v = pacing.check(s.reading, s.pace, s.at);
    EXPECT_EQ(v.tell, s.tell);
    EXPECT_EQ(v.askAgainMs, s.askAgain);
  }
}

TEST(AnnouncePacing, TheFirstNewReadingIsToldWhenNothingWasToldLately) {
  for (const Pace pace : {kHeld, kRun}) {
    SCOPED_TRACE(static_cast<int>(pace));
    AnnouncePacing pacing;
    EXPECT_TRUE(pacing.check("12時0分", kEach, 0).tell);
    EXPECT_TRUE(pacing.check("12時1分", pace, 5000).tell);
    EXPECT_FALSE(pacing.check("12時2分", pace, 5100).tell);
    // A clock that went back tells at once rather than waiting for ever.
    EXPECT_TRUE(pacing.check("12時3分", pace, 4000).tell);
  }
  // The run's flag picks the run's pace.
  AnnouncePacing pacing;
  EXPECT_TRUE(pacing.check("12時0分", true, 0).tell);
  EXPECT_EQ(pacing.check("12時1分", true, 600).askAgainMs, 400);
  EXPECT_TRUE(pacing.check("12時2分", false, 700).tell);
}

// A change of mode is told once: pressing the button of the mode that is on
// tells nothing new.
TEST(AnnouncePacing, AModeIsToldOncePerChange) {
  const struct {
    const char* said;
    bool tell;
  } presses[] = {{"今何時。", true}, {"今何時。", false}, {"時計。", true}, {"時計。", false}, {"今何時。", true}};
  AnnouncePacing pacing;
  std::int64_t at = 0;
  for (const auto& p : presses) {
    SCOPED_TRACE(p.said);
    EXPECT_EQ(pacing.check(p.said, kEach, at += 100).tell, p.tell);
  }
}

}  // namespace
}  // namespace tirpo
