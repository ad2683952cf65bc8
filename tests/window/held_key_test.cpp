// Which presses repeat a held key: those the toolkit marks, and a press of
// the same key right after its release (X11's repeats, their marks lost);
// the hold ends once a release is not followed by a press in time.

#include <gtest/gtest.h>

#include "window/held_key.h"

namespace tirpo {
namespace {

constexpr int kRight = 39, kLeft = 37;

TEST(HeldKey, RepeatsAndTheRelease) {
  const struct {
    const char* what;
    char event;  // 'p' press, 'r' release, 'g' asked whether let go
    int key;
    bool marked;
    std::int64_t at;
    bool result;  // press: a repeat; release: asks again; asked: let go
    bool held;    // afterwards
  } events[] = {
      {"a first press", 'p', kRight, false, 0, false, false},
      {"the toolkit's marked repeat", 'p', kRight, true, 660, true, true},
      {"a marked release of a pair", 'r', kRight, true, 700, false, true},
      {"its press", 'p', kRight, true, 700, true, true},
      {"an unmarked release", 'r', kRight, false, 740, true, true},
      {"asked too soon", 'g', kRight, false, 741, false, true},
      {"its press, unmarked but at once", 'p', kRight, false, 742, true, true},
      {"asked after a press came", 'g', kRight, false, 800, false, true},
      {"the real release", 'r', kRight, false, 900, true, true},
      {"let go", 'g', kRight, false, 950, true, false},
      {"asked again", 'g', kRight, false, 1000, false, false},
      {"a new press a while later", 'p', kRight, false, 1100, false, false},
      {"released", 'r', kRight, false, 1180, true, false},
      {"not held: nothing let go", 'g', kRight, false, 1230, false, false},
      {"the same key tapped again at a hand's pace", 'p', kRight, false, 1300, false, false},
      {"released", 'r', kRight, false, 1380, true, false},
      {"another key at once is no repeat", 'p', kLeft, false, 1385, false, false},
  };
  HeldKey held;
  for (const auto& e : events) {
    SCOPED_TRACE(e.what);
    bool result = false;
    if (e.event == 'p') result = held.pressed(e.key, e.marked, e.at);
    if (e.event == 'r') result = held.released(e.key, e.marked, e.at) == HeldKey::kRepeatGapMs;
    if (e.event == 'g') result = held.letGo(e.at);
    EXPECT_EQ(result, e.result);
    EXPECT_EQ(held.held(), e.held);
  }
}

}  // namespace
}  // namespace tirpo
