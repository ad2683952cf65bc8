#pragma once
// The control types of the clock window. A setter whose change the window
// reacts to runs that reaction before it returns: a label's caption raises
// its Change every time it is set, a check box's value raises Click when it
// changes, a list pick raises the combo box's Click.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clock/colours.h"
#include "window/control.h"
#include "window/text_measurer.h"

namespace tirpo {

using Reaction = std::function<void()>;

// The largest font size a control accepts, in points.
inline constexpr float kMaxFontSize = 2048.0f;

class Label final : public Control {
 public:
  Label(std::string name, ObserverHub* hub, const Coordinates* coords, const TextMeasurer* measurer)
      : Control(Kind::Label, std::move(name), hub, coords), measurer_(measurer) {}

  const std::string& caption() const { return caption_; }
  void setCaption(std::string text) {
    caption_ = std::move(text);
    notify(Aspect::Text);
    fitToText();
    if (onChange) onChange();
  }
  Colour foreColor() const { return fore_; }
  void setForeColor(Colour c) { change(fore_, c, Aspect::Colour); }
  Colour backColor() const { return back_; }
  void setBackColor(Colour c) { change(back_, c, Aspect::Colour); }

  const FontSpec& font() const { return font_; }
  float fontSize() const { return font_.size; }
  // Fails (and changes nothing) for a size the font cannot take.
  [[nodiscard]] bool setFontSize(float points) {
    if (!(points >= 0 && points <= kMaxFontSize)) return false;
    if (font_.size != points) {
      font_.size = points;
      notify(Aspect::Font);
      fitToText();
    }
    return true;
  }
  void setFont(const FontSpec& f) {
    font_ = f;
    notify(Aspect::Font);
    fitToText();
  }

  // Centres the label on a point of its container, in the container's units:
  // Top = y + Height / 2, then Left = x - Width / 2, for the caption, font and
  // scale it has now. The size is measured when the position is next read,
  // so numerals that every layout places but nobody shows are never measured.
  void centreOn(double x, double y) {
    Centring c{x, y, caption_, font_, {}, true};
    if (const auto* scale = dynamic_cast<const UserScale*>(&coords())) c.scale = *scale, c.plain = false;
    centring_ = std::move(c);
    notify(Aspect::Geometry);
  }

  bool centred = false;
  Boolean autoSize = False;
  bool transparent = false;
  bool border = false;

  Reaction onChange;

 private:
  // An auto-sized label takes the size of its caption in its font. It is
  // measured when its size is next needed, so captions and sizes that are
  // replaced before anyone looks cost nothing.
  void fitToText() { measured_ = false; }
  void refreshExtent() const override {
    settlePlacement();
    if (measured_ || !autoSize || !measurer_) return;
    measured_ = true;
    const TextExtent e = measurer_->measure(font_, caption_);
    setExtentQuietly(e.width, e.height);
  }
  void settlePlacement() const override {
    if (!centring_) return;
    const Centring c = std::move(*centring_);
    centring_.reset();
    static const TwipCoordinates kPlain;
    const Coordinates& units = c.plain ? static_cast<const Coordinates&>(kPlain) : c.scale;
    TwipRect extent = placedRect();
    if (autoSize && measurer_) {
      const TextExtent e = measurer_->measure(c.font, c.caption);
      extent.width = e.width;
      extent.height = e.height;
      if (!measured_ && c.font == font_ && c.caption == caption_) {
        measured_ = true;  // the label's own size, for the same text
        setExtentQuietly(e.width, e.height);
      }
    }
    const auto height = static_cast<float>(units.toUserHeight(extent.height));
    const auto top = static_cast<float>(c.y + height / 2.0);
    const auto width = static_cast<float>(units.toUserWidth(extent.width));
    const auto left = static_cast<float>(c.x - width / 2.0);
    placeQuietly(units.toTwipsX(left), units.toTwipsY(top));
  }
  void forgetPlacement() override { centring_.reset(); }

  // A centring still to be worked out: the point and what the label was then.
  struct Centring {
    double x, y;
    std::string caption;
    FontSpec font;
    UserScale scale;
    bool plain;
  };
  mutable std::optional<Centring> centring_;
  mutable bool measured_ = false;
  std::string caption_;
  Colour fore_ = kSystemWindowText;
  Colour back_ = kSystemButtonFace;
  FontSpec font_;
  const TextMeasurer* measurer_;
};

class Line final : public Control {
 public:
  Line(std::string name, ObserverHub* hub, const Coordinates* coords)
      : Control(Kind::Line, std::move(name), hub, coords) {}

  float x1() const { return static_cast<float>(coords().toUserX(x1_)); }
  float y1() const { return static_cast<float>(coords().toUserY(y1_)); }
  float x2() const { return static_cast<float>(coords().toUserX(x2_)); }
  float y2() const { return static_cast<float>(coords().toUserY(y2_)); }
  void setX1(float v) { change(x1_, coords().toTwipsX(v), Aspect::Geometry); }
  void setY1(float v) { change(y1_, coords().toTwipsY(v), Aspect::Geometry); }
  void setX2(float v) { change(x2_, coords().toTwipsX(v), Aspect::Geometry); }
  void setY2(float v) { change(y2_, coords().toTwipsY(v), Aspect::Geometry); }
  void setTwipEnds(double x1, double y1, double x2, double y2) {
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    notify(Aspect::Geometry);
  }
  // End points in twips within the window (what the drawing side reads).
  double x1Twips() const { return x1_; }
  double y1Twips() const { return y1_; }
  double x2Twips() const { return x2_; }
  double y2Twips() const { return y2_; }

  Colour borderColor() const { return colour_; }
  void setBorderColor(Colour c) { change(colour_, c, Aspect::Colour); }
  int borderWidth = 1;  // pixels

 private:
  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  Colour colour_ = kBlack;
};

enum class Picture { Emblem, Emblem16 };

class Image final : public Control {
 public:
  Image(std::string name, ObserverHub* hub, const Coordinates* coords, Picture picture)
      : Control(Kind::Image, std::move(name), hub, coords), picture_(picture) {}
  Picture picture() const { return picture_; }
  void click() {
    if (onClick) onClick();
  }
  Reaction onClick;

 private:
  Picture picture_;
};

class CheckBox final : public Control {
 public:
  CheckBox(std::string name, ObserverHub* hub, const Coordinates* coords)
      : Control(Kind::CheckBox, std::move(name), hub, coords) {}

  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { change(caption_, c, Aspect::Text); }
  int value() const { return value_; }  // 0 unchecked, 1 checked, 2 greyed
  void setValue(int v) {
    if (change(value_, v, Aspect::Value) && onClick) onClick();
  }
  // The user's click: a checked box clears, any other one checks.
  void toggle() { setValue(value_ == 1 ? 0 : 1); }
  Colour backColor() const { return back_; }
  void setBackColor(Colour c) { change(back_, c, Aspect::Colour); }
  Colour foreColor() const { return fore_; }
  void setForeColor(Colour c) { change(fore_, c, Aspect::Colour); }
  Reaction onClick;

 private:
  std::string caption_;
  int value_ = 0;
  Colour back_ = kSystemButtonFace;
  Colour fore_ = kSystemWindowText;
};

class ComboBox final : public Control {
 public:
  ComboBox(std::string name, ObserverHub* hub, const Coordinates* coords)
      : Control(Kind::ComboBox, std::move(name), hub, coords) {}

  const std::vector<std::string>& items() const { return items_; }
  void addItem(std::string item) {
    items_.push_back(std::move(item));
    notify(Aspect::List);
  }
  const std::string& text() const { return text_; }
  // The program sets the text; an exact item text selects that item.
  void setText(std::string t) { assignText(std::move(t)); }
  // The user types into the box: the text changes, no click is raised.
  void typeText(std::string t) { assignText(std::move(t)); }
  int listIndex() const { return listIndex_; }  // -1 when no item is selected
  // The user picks item i from the list; any index outside the list is ignored.
  void pick(int i) {
    if (i < 0 || i >= static_cast<int>(items_.size())) return;
    listIndex_ = i;
    text_ = items_[static_cast<std::size_t>(i)];
    notify(Aspect::Text);
    if (onClick) onClick();
  }
  Reaction onClick;

 private:
  void assignText(std::string t) {
    text_ = std::move(t);
    listIndex_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == text_) listIndex_ = static_cast<int>(i);
    notify(Aspect::Text);
  }
  std::vector<std::string> items_;
  std::string text_;
  int listIndex_ = -1;
};

class PushButton final : public Control {
 public:
  PushButton(std::string name, ObserverHub* hub, const Coordinates* coords)
      : Control(Kind::Button, std::move(name), hub, coords) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { change(caption_, c, Aspect::Text); }
  Colour backColor() const { return back_; }
  void setBackColor(Colour c) { change(back_, c, Aspect::Colour); }
  const FontSpec& font() const { return font_; }
  void setFont(const FontSpec& f) { change(font_, f, Aspect::Font); }
  void click() {
    if (onClick) onClick();
  }
  Reaction onClick;

 private:
  std::string caption_;
  Colour back_ = kSystemButtonFace;
  FontSpec font_;
};

class Frame final : public Control {
 public:
  Frame(std::string name, ObserverHub* hub, const Coordinates* coords)
      : Control(Kind::Frame, std::move(name), hub, coords) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { change(caption_, c, Aspect::Text); }
  Colour backColor() const { return back_; }
  void setBackColor(Colour c) { change(back_, c, Aspect::Colour); }
  Colour foreColor() const { return fore_; }
  void setForeColor(Colour c) { change(fore_, c, Aspect::Colour); }

 private:
  std::string caption_;
  Colour back_ = kSystemButtonFace;
  Colour fore_ = kSystemWindowText;
};

class Timer final : public Control {
 public:
  Timer(std::string name, ObserverHub* hub, const Coordinates* coords)
      : Control(Kind::Timer, std::move(name), hub, coords) {}
  int interval() const { return interval_; }  // milliseconds
  // Setting the interval restarts the countdown of a running timer.
  void setInterval(int ms) {
    interval_ = ms;
    notify(Aspect::Timing);
  }
  void fire() {
    if (onTimer) onTimer();
  }
  Reaction onTimer;

 private:
  int interval_ = 0;
};

}  // namespace tirpo
