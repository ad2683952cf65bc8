#pragma once
// The face from the keyboard and for screen readers. Over the canvas lies
// <div id="faceFocus" role="spinbutton">, the face's focus stop after the
// step list, named and valued after the time it shows ("3時15分"); after it
// <div id="facePicture" role="button">, the visible centre picture's stop.
// Arrows on the face press it (held keys repeat, but not with AUTO in the
// list), Space or Return press the picture, and the ring shows which has
// the focus (view/face_focus.h). <div id="announce" aria-live="polite">
// tells each step, the AUTO run at most once a second and once when it
// stops, the live clock once a minute (window/announce_pacing.h).

#include <emscripten/val.h>

#include <optional>
#include <string>

#include "view/face_focus.h"
#include "web/face_canvas.h"
#include "window/announce_pacing.h"
#include "window/form88.h"

namespace tirpo::web {

class FaceAccess {
 public:
  FaceAccess(Form88& form, FaceCanvas& canvas);
  // A control of the face changed.
  void controlChanged(const Control& control, Aspect aspect);
  // The face's size changed: the ring follows it.
  void resized() { updateRing(); }

 private:
  void keyDown(emscripten::val event, bool onPicture);
  void focusChanged();
  void updateRing();
  void updateNames();
  void checkSoon();
  void check();
  static void onCheck(void* self);

  Form88& form_;
  FaceCanvas& canvas_;
  FaceFocus focus_;
  bool faceFocused_ = false;  // either stop has the focus
  bool backwards_ = false;    // the last Tab went backwards
  AnnouncePacing pacing_;
  bool checkPending_ = false;
  long againTimeout_ = 0;
  bool againPending_ = false;
  std::string named_;
  // What the picture's stop was last written as: over which picture (none
  // when hidden) and where; nothing is written before the first update.
  struct PictureStop {
    const Image* picture = nullptr;
    PixelRect box;
    bool operator==(const PictureStop&) const = default;
  };
  std::optional<PictureStop> pictureStop_;
};

}  // namespace tirpo::web
