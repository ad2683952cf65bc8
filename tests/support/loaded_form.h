#pragma once
// The fixture of the window model tests: a clock window created on fake
// services and loaded, with the user's actions as one-line calls.

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/form_readings.h"
#include "window/form88.h"

namespace tirpo {

// A loaded window of its own on fake services, for table rows that each
// start from a fresh window.
struct OwnForm {
  OwnForm() { f.Form_Load(); }
  fakes::FakeMeasurer measurer;
  fakes::FakeClock clock;
  Form88 f{measurer, clock};
};

class LoadedForm : public ::testing::Test {
 protected:
  void SetUp() override { f.Form_Load(); }

  // Switches to the manual clock, with the list item at listIndex picked
  // (none for -1, leaving "AUTO").
  void manual(int listIndex = -1) {
    f.Command12_Click();
    if (listIndex >= 0) f.Combo1.pick(listIndex);
  }
  void live(int h, int m, int s) {
    f.Command8_Click();
    clock.set(h, m, s);
    f.Timer1_Timer();
  }
  void press(int button) { f.Form_MouseDown(button, 0, 0, 0); }
  // Sets the manual clock's minute count and hour labels.
  void setMinutes(const char* label1, const char* label2) {
    f.Label1.setCaption(label1);
    f.Label2.setCaption(label2);
  }

  fakes::FakeMeasurer measurer;
  fakes::FakeClock clock;
  Form88 f{measurer, clock};
};

}  // namespace tirpo
