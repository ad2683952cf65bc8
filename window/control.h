#pragma once
// The base of every control on the clock window: a name, an index within its
// array, visibility, enabled state, tab index and a position kept in twips.
// Every change is reported to the window's observer (the drawing side).

#include <functional>
#include <string>

#include "clock/boolean.h"
#include "window/coordinates.h"

namespace tirpo {

class Control;

enum class Aspect { Geometry, Visible, Colour, Text, Font, Enabled, Value, List, Timing };

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void controlChanged(Control& control, Aspect aspect) = 0;
  virtual void controlLoaded(Control& control) = 0;
  virtual void windowChanged(Aspect aspect) = 0;
};

// One observer slot shared by the window and all its controls, so that
// copies loaded later report to whoever watches the window.
struct ObserverHub {
  ControlObserver* target = nullptr;
};

enum class Kind { Label, Line, Image, CheckBox, ComboBox, Button, Frame, Timer };

struct TwipRect {
  double left = 0, top = 0, width = 0, height = 0;
  bool contains(double x, double y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

class Control {
 public:
  Control(Kind kind, std::string name, ObserverHub* hub, const Coordinates* coords)
      : kind_(kind), name_(std::move(name)), hub_(hub), coords_(coords) {}
  virtual ~Control() = default;
  Control(const Control&) = default;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1 outside an array
  void setIndex(int i) { index_ = i; }

  Boolean visible() const { return visible_; }
  void setVisible(Boolean v) { change(visible_, v, Aspect::Visible); }
  Boolean enabled() const { return enabled_; }
  void setEnabled(Boolean e) { change(enabled_, e, Aspect::Enabled); }
  int tabIndex() const { return tabIndex_; }
  void setTabIndex(int t) { tabIndex_ = t; }

  // Position in the container's coordinate system, as Singles.
  float left() const { return static_cast<float>(coords_->toUserX(twips().left)); }
  float top() const { return static_cast<float>(coords_->toUserY(twips().top)); }
  float width() const { return static_cast<float>(coords_->toUserWidth(twips().width)); }
  float height() const { return static_cast<float>(coords_->toUserHeight(twips().height)); }
  void setLeft(float x) {
    settlePlacement();
    moveTo(coords_->toTwipsX(x), rect_.top);
  }
  void setTop(float y) {
    settlePlacement();
    moveTo(rect_.left, coords_->toTwipsY(y));
  }

  // Position in twips within the container (what the drawing side reads).
  const TwipRect& twips() const {
    refreshExtent();
    return rect_;
  }
  void setTwips(const TwipRect& r) {
    forgetPlacement();
    rect_ = r;
    notify(Aspect::Geometry);
  }

 protected:
  template <typename T>
  bool change(T& field, const T& value, Aspect aspect) {
    if (field == value) return false;
    field = value;
    notify(aspect);
    return true;
  }
  void notify(Aspect aspect) {
    if (hub_ && hub_->target) hub_->target->controlChanged(*this, aspect);
  }
  // A control whose size follows its content brings it up to date here,
  // before its position is read.
  virtual void refreshExtent() const {}
  // A control placed by its size works its place out here, before it moves.
  virtual void settlePlacement() const {}
  // A new place given outright replaces one still to be worked out.
  virtual void forgetPlacement() {}
  void setExtentQuietly(double w, double h) const {
    rect_.width = w;
    rect_.height = h;
  }
  const TwipRect& placedRect() const { return rect_; }  // as it stands, nothing worked out
  void placeQuietly(double leftTwips, double topTwips) const {
    rect_.left = leftTwips;
    rect_.top = topTwips;
  }
  const Coordinates& coords() const { return *coords_; }

 private:
  void moveTo(double leftTwips, double topTwips) {
    settlePlacement();
    if (rect_.left == leftTwips && rect_.top == topTwips) return;
    rect_.left = leftTwips;
    rect_.top = topTwips;
    notify(Aspect::Geometry);
  }

  Kind kind_;
  std::string name_;
  int index_ = -1;
  Boolean visible_ = True;
  Boolean enabled_ = True;
  int tabIndex_ = -1;
  mutable TwipRect rect_;
  ObserverHub* hub_;
  const Coordinates* coords_;
};

}  // namespace tirpo
