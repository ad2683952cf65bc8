#pragma once
// The clock window: its whole control set, its variables, and every event
// handler. Nothing here knows the toolkit: the drawing side watches the
// controls through an observer, measures text and reads the clock through
// the services handed in, and calls the handlers when events arrive.

#include <memory>
#include <string>
#include <vector>

#include "clock/colours.h"
#include "clock/face_sizes.h"
#include "clock/state.h"
#include "clock/time_text.h"
#include "window/control_array.h"
#include "window/controls.h"
#include "window/system_clock.h"
#include "window/text_measurer.h"

namespace tirpo {

// Mouse buttons and shift keys as the press handler receives them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;
// Keys on the face as its key handler receives them.
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

// The mode the face is in, as the press handler tells them apart: the
// manual clock by its flag stepMode, the live clock by the yellow of the
// 時計 button (its flag liveClock stays True after 時計 then 今何時),
// start-up by neither.
enum class FaceMode { StartUp, LiveClock, Manual };

class Form88 {
  // Declared first: the controls below are made with pointers to these.
  const TextMeasurer& measurer_;
  const SystemClock& clock_;
  ObserverHub hub_;
  UserScale scale_;
  TwipCoordinates frameCoords_;

 public:
  Form88(const TextMeasurer& measurer, const SystemClock& clock);
  Form88(const Form88&) = delete;
  Form88& operator=(const Form88&) = delete;

  // --- the window itself -------------------------------------------------
  const std::string& caption() const { return caption_; }
  void setCaption(std::string_view title);
  Colour backColor() const { return backColor_; }
  void setBackColor(Colour c);
  const FontSpec& font() const { return font_; }

  // Outer size in twips. Setting either one raises Form_Resize when the
  // size changes.
  float width() const { return static_cast<float>(outerW_); }
  float height() const { return static_cast<float>(outerH_); }
  void setWidth(float twips);
  void setHeight(float twips);
  // The frame around the client area (title bar and borders), in twips.
  double frameWidth() const { return frameW_; }
  double frameHeight() const { return frameH_; }
  // The window system reports a new outer size and frame; raises Form_Resize
  // when the outer size or the client area changed.
  void windowResized(double outerW, double outerH, double frameW, double frameH);
  double clientWidth() const { return scale_.clientWidth(); }
  double clientHeight() const { return scale_.clientHeight(); }
  const UserScale& scale() const { return scale_; }
  void setScale(double left, double top, double right, double bottom);

  // Windowless controls in drawing order: the design's in creation order,
  // then every element loaded at run time in loading order.
  const std::vector<Control*>& paintOrder() const { return paintOrder_; }
  // Windowed controls in creation order.
  std::vector<Control*> windowedControls() const;
  // The topmost visible label or picture under a point (twips in the client
  // area), or nullptr for the bare surface.
  Control* controlAt(double xTwips, double yTwips) const;
  // A press on the client area, routed as the window does: to a picture's
  // click, swallowed by a label, or to Form_MouseDown. Returns true when it
  // went to the surface.
  bool pressAt(int button, int shift, double xTwips, double yTwips);

  void setObserver(ControlObserver* observer) { hub_.target = observer; }

  // The time the hands show, as the clock values hold it; none while the
  // face shows no time (before a mode button, or before the live clock's
  // first tick).
  std::optional<ShownTime> timeShown() const;

  // --- window variables ---------------------------------------------------
  ClockState state;

  // --- controls, in creation order -----------------------------------------
  ComboBox Combo1;
  Frame Frame1;
  ControlArray<CheckBox> Check3;
  CheckBox Check2;
  Timer Timer4;
  PushButton Command12;
  PushButton Command8;
  Timer Timer1;
  ControlArray<Label> dot;
  ControlArray<Label> Suuji2;
  ControlArray<Label> Suuji;
  Image Image1;
  Image Image4;
  Label Label5;
  Line Byou;
  Line Ji;
  Line Hun;
  Label Label8;
  Label Label7;
  Label Label2;
  Label Label1;

  // --- event handlers, in the order the program meets them -----------------
  void Form_Load();
  void Form_Resize();
  void Form_MouseDown(int button, int shift, float x, float y);
  void Timer4_Timer();
  void Timer1_Timer();
  void Command8_Click();
  void Command12_Click();
  void Combo1_Click();
  void Check3_Click(int index);
  void Label1_Change();
  void Label8_Change();
  void Label2_Change();
  void Label7_Change();
  void Image1_Click();
  void Image4_Click();

  // --- the face's presses, whichever way they come ---------------------------
  // A forward press is what a left press on the bare face does, a back press
  // what a right press does. A mouse press, a key on the face and an
  // assistive tool's action all press through these two, so they always
  // agree. Shift carries the shift keys as for a mouse press.
  void StepForward(int shift);
  void StepBack(int shift);
  // A key pressed while the face has the keyboard focus: Right or Up is a
  // forward press, Left or Down a back press. A key held down repeats its
  // press, except while the step list shows "AUTO": there a press starts or
  // stops the run, so only the first press of a held key counts. Returns
  // whether the key is one of the face's.
  bool Face_KeyDown(int keyCode, int shift, bool autoRepeat);
  // The AUTO run is moving the time.
  bool autoRunGoing() const;
  // The one place the mode is worked out from the flags and the button.
  FaceMode faceMode() const;

  // --- face procedures ------------------------------------------------------
  void ResetFace();
  void ShowFace();
  void ShowSystemTime();
  void ShowStepHelp();

 private:
  template <typename T>
  std::unique_ptr<T> make(const char* name, int index);
  void wireEvents();
  Label* loadElement(ControlArray<Label>& array, int i);
  bool layoutDial();
  void placeHand(Line& hand, double factor, double angleDeg);
  void placeHandsFromMinutes();
  void pressFace(int button);
  void highlightMinute(const Label& source, Colour base);
  void highlightHourSector(const Label& source);
  void applyOuterSize(double w, double h);

  std::string caption_;
  Colour backColor_;
  FontSpec font_;
  double outerW_ = 0, outerH_ = 0;
  double frameW_ = 0, frameH_ = 0;
  std::vector<Control*> paintOrder_;
};

}  // namespace tirpo
