#pragma once
// The window's windowed controls as HTML elements over the face, each with
// the control's name as its id: the frame Frame1 with the boxes Check3_0..2,
// the box Check2, the push buttons Command12 and Command8, and the step list
// Combo1: an editable text with a drop-down button whose list of six
// options opens in the page (opened by a finger it leaves the focus where
// it was, so a tablet brings up no keyboard). Each is placed at its twip
// rectangle / 15 in CSS pixels and hidden while its control is invisible;
// the user's clicks, picks and typing go to the control.

#include <emscripten/val.h>

#include <string>

#include "window/form88.h"

namespace tirpo::web {

class WindowedControls {
 public:
  explicit WindowedControls(Form88& form);
  // Shows a windowed control as it now stands.
  void sync(const Control& control);
  void syncAll();

 private:
  void createStepList();
  void createBox(CheckBox& box, const std::string& id, emscripten::val parent);
  void createButton(PushButton& button, const std::string& id);
  void openList(bool open);
  void moveInList(int by);
  emscripten::val elementFor(const Control& control) const;

  Form88& form_;
  emscripten::val root_;
  bool listOpen_ = false;
  bool openedByFinger_ = false;  // the list's arrow was last pressed by a finger or pen
  int listCurrent_ = -1;
};

// The element id of a windowed control: its name, with an array element's
// index after an underscore ("Check3_0").
std::string elementId(const Control& control);

}  // namespace tirpo::web
