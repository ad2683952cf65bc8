// The one line start-up prints when no platform can open a display: each
// situation a user meets, and what the line must tell them.

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "platform/display_check.h"

namespace {

using tirpo::DisplayFailure;
using tirpo::noDisplayLine;

const std::vector<std::string> kAll = {"wayland-egl", "minimal", "offscreen", "xcb", "wayland"};
const std::vector<std::string> kNoWayland = {"minimal", "offscreen", "xcb"};

struct Row {
  const char* what;
  DisplayFailure failure;
  std::vector<std::string> says;  // every one of these is in the line
  std::vector<std::string> neverSays;
};

// Test names carry the situation, not the bytes of the row.
void PrintTo(const Row& row, std::ostream* os) { *os << row.what; }

class NoDisplayLine : public ::testing::TestWithParam<Row> {};

TEST_P(NoDisplayLine, SaysWhatIsMissing) {
  const Row& row = GetParam();
  const std::string line = noDisplayLine(row.failure);
  EXPECT_EQ(line.find('\n'), std::string::npos) << line;
  EXPECT_EQ(line.rfind("tirpo-clock: cannot open a display (", 0), 0u) << line;
  for (const std::string& s : row.says) EXPECT_NE(line.find(s), std::string::npos) << "lacks '" << s << "': " << line;
  for (const std::string& s : row.neverSays)
    EXPECT_EQ(line.find(s), std::string::npos) << "says '" << s << "': " << line;
}

INSTANTIATE_TEST_SUITE_P(
    In, NoDisplayLine,
    ::testing::Values(Row{"nothing set",
                          {"", "", "", {{"xcb", true}}, kAll},
                          {"QT_QPA_PLATFORM not set, DISPLAY not set, WAYLAND_DISPLAY not set", "xcb: no X display"},
                          {"qt6-wayland", "installed:"}},
                      Row{"an X display nobody serves",
                          {"", ":77", "", {{"xcb", true}}, kAll},
                          {"DISPLAY=:77", "cannot connect to X display :77"},
                          {"qt6-wayland"}},
                      Row{"a Wayland session without qt6-wayland",
                          {"", "", "wayland-0", {{"wayland", false}, {"xcb", true}}, kNoWayland},
                          {"WAYLAND_DISPLAY=wayland-0", "wayland: the Wayland platform plugin is missing",
                           "install package qt6-wayland", "xcb: no X display (DISPLAY not set)"},
                          {"installed:"}},
                      Row{"X11 asked for in a Wayland session without qt6-wayland",
                          {"xcb", "", "wayland-0", {{"xcb", true}}, kNoWayland},
                          {"QT_QPA_PLATFORM=xcb", "xcb: no X display", "qt6-wayland"},
                          {}},
                      Row{"X11 asked for in a Wayland session with qt6-wayland",
                          {"xcb", "", "wayland-0", {{"xcb", true}}, kAll},
                          {"QT_QPA_PLATFORM=xcb", "xcb: no X display"},
                          {"qt6-wayland"}},
                      Row{"a compositor that is gone",
                          {"", "", "wayland-9", {{"wayland", true}, {"xcb", true}}, kAll},
                          {"wayland: cannot connect to Wayland display wayland-9", "xcb: no X display"},
                          {"qt6-wayland"}},
                      Row{"a Wayland session with no runtime folder",
                          {"", "", "wayland-0", {{"wayland", true}, {"xcb", true}}, kAll, true},
                          {"wayland: cannot connect to Wayland display wayland-0 (XDG_RUNTIME_DIR not set)"},
                          {"qt6-wayland"}},
                      Row{"wayland asked for, nothing set",
                          {"wayland", "", "", {{"wayland", true}}, kAll},
                          {"wayland: no Wayland compositor (WAYLAND_DISPLAY not set)"},
                          {"qt6-wayland"}},
                      Row{"a misspelt platform",
                          {"xbc", "", "", {{"xbc", false}}, kAll},
                          {"QT_QPA_PLATFORM=xbc",
                           "xbc: no such platform plugin (installed: wayland-egl, minimal, offscreen, xcb, wayland)"},
                          {}},
                      Row{"the X11 plugin itself missing",
                          {"", ":0", "", {{"xcb", false}}, {"offscreen"}},
                          {"xcb: the X11 platform plugin is missing, install package libqt6gui6"},
                          {}},
                      Row{"no attempt reported", {"", "", "", {}, {}}, {"no platform plugin could start"}, {}}),
    [](const ::testing::TestParamInfo<Row>& info) {
      std::string name;
      for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

}  // namespace
