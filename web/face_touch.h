#pragma once
// The face under a finger or a pen. Their pointers on the face go to the
// touch rule (window/touch_press.h) with the page's steady clock, and every
// press it makes goes to the window's one entry for presses, at the place
// the finger came down: a tap is a left press, a finger held in place a
// right press, a sliding or second finger nothing. While a hold is counted,
// the ring of view/hold_ring.h fills around the finger on
// <canvas id="holdRing">, which lies over the face and under the controls
// and lets every touch through; it is hidden as soon as the press is made
// or the finger lifts or slides, and the face under it was never touched.

#include <emscripten/val.h>

#include <cstdint>
#include <optional>

#include "view/hold_ring.h"
#include "window/form88.h"
#include "window/touch_press.h"

namespace tirpo::web {

class FaceTouch {
 public:
  explicit FaceTouch(Form88& form);
  ~FaceTouch();
  FaceTouch(const FaceTouch&) = delete;
  FaceTouch& operator=(const FaceTouch&) = delete;

  // A finger's or pen's pointer event on the face.
  void down(const emscripten::val& event);
  void move(const emscripten::val& event);
  void up(const emscripten::val& event);
  // The browser took the touch away.
  void cancel();

 private:
  void act(const TouchPress::Verdict& v);
  void showHold();
  void draw(const HoldRing& ring);
  static void onTime(void* self);

  Form88& form_;
  TouchPress rule_;
  emscripten::val ring_, context_;
  std::optional<HoldRing> shown_;
  long timeout_ = 0;
  bool timing_ = false;
};

}  // namespace tirpo::web
