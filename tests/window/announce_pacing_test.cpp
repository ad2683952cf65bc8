// When the face tells its time: every new reading at once, but while the
// AUTO run goes at most one a second, and a reading told is never told again.

#include <gtest/gtest.h>

#include "window/announce_pacing.h"

namespace tirpo {
namespace {

TEST(AnnouncePacing, TellsEachNewReadingPacedDuringTheRun) {
  const struct {
    const char* reading;
    bool running;
    std::int64_t at;
    bool tell;
    std::int64_t askAgain;
  } steps[] = {
      {"12時0分", false, 0, true, 0},      // the first reading
      {"12時0分", false, 10, false, 0},    // the same again: nothing
      {"12時5分", false, 20, true, 0},     // a press: at once
      {"12時10分", false, 30, true, 0},    // presses in quick succession: each one
      {"12時11分", true, 40, false, 990},  // the run: not within a second of the last
      {"12時12分", true, 500, false, 530},  {"12時20分", true, 1030, true, 0},  // a second after the last
      {"12時21分", true, 1130, false, 900}, {"12時29分", true, 1900, false, 130},
      {"12時30分", false, 1950, true, 0},                                        // the run stops: at once
      {"12時30分", false, 2950, false, 0},  {"3時15分", false, 60000, true, 0},  // the live clock's next minute
      {"3時15分", false, 61000, false, 0},
  };
  AnnouncePacing pacing;
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << s.reading << " at " << s.at);
    const AnnouncePacing::Verdict v = pacing.check(s.reading, s.running, s.at);
    EXPECT_EQ(v.tell, s.tell);
    EXPECT_EQ(v.askAgainMs, s.askAgain);
  }
}

TEST(AnnouncePacing, TheRunsFirstNewReadingIsToldWhenNothingWasToldLately) {
  AnnouncePacing pacing;
  EXPECT_TRUE(pacing.check("12時0分", false, 0).tell);
  EXPECT_TRUE(pacing.check("12時1分", true, 5000).tell);
  EXPECT_FALSE(pacing.check("12時2分", true, 5100).tell);
  // A clock that went back tells at once rather than waiting for ever.
  EXPECT_TRUE(pacing.check("12時3分", true, 4000).tell);
}

}  // namespace
}  // namespace tirpo
