#include "window/form88.h"
#include "clock/face_sizes.h"

#include <algorithm>

#include "clock/face_sizes.h"
#include "clock/step_table.h"

namespace tirpo {

namespace {

constexpr Colour kDesignGrey = kLightGrey;
const std::string kSplashText = "ちるぽ時計\r\n　拡大して使ってね\r\n\r\n\r\n\r\nRUPESKA工房";

FontSpec fontOfSize(float points) {
  FontSpec f;
  f.size = points;
  return f;
}

void setDesignRect(Control& c, double l, double t, double w, double h) { c.setTwips({l, t, w, h}); }

// A template label of one of the dial arrays: hidden, centred, auto-sized,
// on a transparent background.
std::unique_ptr<Label> dialTemplate(const char* name, ObserverHub* hub, const Coordinates* coords,
                                    const TextMeasurer* measurer, const char* text, Colour fore, float points,
                                    TwipRect rect, int tab) {
  auto l = std::make_unique<Label>(name, hub, coords, measurer);
  l->setCaption(text);
  l->setForeColor(fore);
  l->setFont(fontOfSize(points));
  l->setTwips(rect);
  l->setVisible(False);
  l->centred = l->transparent = true;
  l->autoSize = True;
  l->setTabIndex(tab);
  return l;
}

std::unique_ptr<CheckBox> handBox(const char* text, double top, int tab, ObserverHub* hub, const Coordinates* coords) {
  auto c = std::make_unique<CheckBox>("Check3", hub, coords);
  c->setCaption(text);
  c->setTwips({120, top, 615, 255});
  c->setBackColor(kDesignGrey);
  c->setForeColor(kYellow);
  c->setValue(1);
  c->setTabIndex(tab);
  return c;
}

}  // namespace

Form88::Form88(const TextMeasurer& measurer, const SystemClock& clock)
    : measurer_(measurer),
      clock_(clock),
      Combo1("Combo1", &hub_, &scale_),
      Frame1("Frame1", &hub_, &scale_),
      Check3(handBox("時", 240, 14, &hub_, &frameCoords_)),
      Check2("Check2", &hub_, &scale_),
      Timer4("Timer4", &hub_, &scale_),
      Command12("Command12", &hub_, &scale_),
      Command8("Command8", &hub_, &scale_),
      Timer1("Timer1", &hub_, &scale_),
      dot(dialTemplate("dot", &hub_, &scale_, &measurer, "・", kBlack, 18, {2040, 1440, 195, 360}, 1)),
      Suuji2(dialTemplate("Suuji2", &hub_, &scale_, &measurer, "1", kCyan, 18, {1680, 1320, 195, 360}, 2)),
      Suuji(dialTemplate("Suuji", &hub_, &scale_, &measurer, "1", kRed, 21.75f, {1320, 1320, 255, 435}, 0)),
      Image1("Image1", &hub_, &scale_, Picture::Emblem16),
      Image4("Image4", &hub_, &scale_, Picture::Emblem),
      Label5("Label5", &hub_, &scale_, &measurer),
      Byou("Byou", &hub_, &scale_),
      Ji("Ji", &hub_, &scale_),
      Hun("Hun", &hub_, &scale_),
      Label8("Label8", &hub_, &scale_, &measurer),
      Label7("Label7", &hub_, &scale_, &measurer),
      Label2("Label2", &hub_, &scale_, &measurer),
      Label1("Label1", &hub_, &scale_, &measurer),
      caption_(kClockTitle),
      backColor_(kDesignGrey) {
  // The client area the window is designed with; its frame is unknown
  // until the window system reports it.
  outerW_ = 6495;
  outerH_ = 5445;
  scale_.setClient(outerW_, outerH_);

  Combo1.setText(std::string(kAutoText));
  for (const Step& s : kSteps) Combo1.addItem(std::string(s.item));
  setDesignRect(Combo1, 960, 120, 1455, 345);
  Combo1.setVisible(False);
  Combo1.setTabIndex(15);

  Frame1.setCaption("針表示");
  setDesignRect(Frame1, 0, 0, 900, 1095);
  Frame1.setBackColor(kDesignGrey);
  Frame1.setForeColor(kYellow);
  Frame1.setTabIndex(11);
  Check3.load(1);
  Check3.load(2);
  for (const auto& [i, text, top, tab] : {std::tuple{1, "分", 480.0, 13}, std::tuple{2, "秒", 720.0, 12}}) {
    CheckBox& c = Check3[i];
    c.setCaption(text);
    c.setTwips({120, top, 615, 255});
    c.setTabIndex(tab);
    c.setVisible(True);
  }

  Check2.setCaption("５分きざみ");
  setDesignRect(Check2, 960, 120, 1335, 375);
  Check2.setBackColor(kDesignGrey);
  Check2.setForeColor(kYellow);
  Check2.setVisible(False);
  Check2.setTabIndex(8);

  Timer4.setInterval(10);
  Timer4.setEnabled(False);

  Command12.setCaption("今何時");
  setDesignRect(Command12, 120, 2640, 855, 735);
  Command12.setBackColor(kDesignGrey);
  Command12.setFont(font_);
  Command12.setTabIndex(7);

  Command8.setCaption("時計");
  setDesignRect(Command8, 120, 4320, 855, 735);
  Command8.setBackColor(kDesignGrey);
  Command8.setFont(fontOfSize(9));
  Command8.setTabIndex(5);

  Timer1.setInterval(1000);
  Timer1.setEnabled(True);

  setDesignRect(Image1, 2400, 2520, 480, 480);
  Image1.setVisible(False);
  setDesignRect(Image4, 3120, 2520, 480, 480);

  Label5.setCaption(kSplashText);
  setDesignRect(Label5, 4485, 1080, 2325, 1710);
  Label5.setForeColor(kWhite);
  Label5.setFont(fontOfSize(14.25f));
  Label5.centred = Label5.transparent = true;
  Label5.autoSize = True;
  Label5.setTabIndex(6);

  for (auto [line, y, colour, width] : {std::tuple{&Byou, 2280.0, kHandGreen, 3}, std::tuple{&Ji, 2400.0, kRed, 12},
                                        std::tuple{&Hun, 2520.0, kCyan, 8}}) {
    line->setTwipEnds(1920, y, line == &Byou ? 2160 : 2280, y);
    line->setBorderColor(colour);
    line->borderWidth = width;
    line->setVisible(False);
  }

  for (auto [label, text, rect, size, tab] : {std::tuple{&Label8, "Label8", TwipRect{1800, 480, 855, 615}, 11.25f, 10},
                                              std::tuple{&Label7, "Label7", TwipRect{960, 480, 855, 615}, 11.25f, 9},
                                              std::tuple{&Label2, "", TwipRect{120, 1800, 615, 495}, 9.0f, 4},
                                              std::tuple{&Label1, "", TwipRect{120, 1200, 615, 495}, 9.0f, 3}}) {
    label->setCaption(text);
    label->setTwips(rect);
    label->setFont(fontOfSize(size));
    label->border = label == &Label2 || label == &Label1;
    label->setVisible(False);
    label->setTabIndex(tab);
  }

  for (Control* c : std::initializer_list<Control*>{&dot[0], &Suuji2[0], &Suuji[0], &Image1, &Image4, &Label5, &Byou,
                                                    &Ji, &Hun, &Label8, &Label7, &Label2, &Label1})
    paintOrder_.push_back(c);

  wireEvents();
}

void Form88::wireEvents() {
  Timer4.onTimer = [this] { Timer4_Timer(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Command8.onClick = [this] { Command8_Click(); };
  Command12.onClick = [this] { Command12_Click(); };
  Combo1.onClick = [this] { Combo1_Click(); };
  for (int i = 0; i < kHandBoxCount; ++i) Check3[i].onClick = [this, i] { Check3_Click(i); };
  Label1.onChange = [this] { Label1_Change(); };
  Label8.onChange = [this] { Label8_Change(); };
  Label2.onChange = [this] { Label2_Change(); };
  Label7.onChange = [this] { Label7_Change(); };
  Image1.onClick = [this] { Image1_Click(); };
  Image4.onClick = [this] { Image4_Click(); };
}

Label* Form88::loadElement(ControlArray<Label>& array, int i) {
  Label* l = array.load(i);
  if (!l) return nullptr;
  paintOrder_.push_back(l);
  if (hub_.target) hub_.target->controlLoaded(*l);
  return l;
}

std::vector<Control*> Form88::windowedControls() const {
  auto* self = const_cast<Form88*>(this);
  return {&self->Combo1,    &self->Frame1, &self->Check3[0], &self->Check3[1],
          &self->Check3[2], &self->Check2, &self->Command12, &self->Command8};
}

void Form88::setCaption(std::string_view title) {
  if (caption_ == title) return;
  caption_ = std::string(title);
  if (hub_.target) hub_.target->windowChanged(Aspect::Text);
}

void Form88::setBackColor(Colour c) {
  if (backColor_ == c) return;
  backColor_ = c;
  if (hub_.target) hub_.target->windowChanged(Aspect::Colour);
}

void Form88::setScale(double left, double top, double right, double bottom) {
  scale_.setScale(left, top, right, bottom);
}

void Form88::setWidth(float twips) { applyOuterSize(twips, outerH_); }
void Form88::setHeight(float twips) { applyOuterSize(outerW_, twips); }

void Form88::applyOuterSize(double w, double h) {
  w = std::max(0.0, w);
  h = std::max(0.0, h);
  if (w == outerW_ && h == outerH_) return;
  outerW_ = w;
  outerH_ = h;
  scale_.setClient(std::max(0.0, w - frameW_), std::max(0.0, h - frameH_));
  if (hub_.target) hub_.target->windowChanged(Aspect::Geometry);
  Form_Resize();
}

void Form88::windowResized(double outerW, double outerH, double frameW, double frameH) {
  const double clientW = std::max(0.0, outerW - frameW), clientH = std::max(0.0, outerH - frameH);
  if (outerW == outerW_ && outerH == outerH_ && clientW == scale_.clientWidth() && clientH == scale_.clientHeight())
    return;
  outerW_ = outerW;
  outerH_ = outerH;
  frameW_ = frameW;
  frameH_ = frameH;
  scale_.setClient(clientW, clientH);
  Form_Resize();
}

Control* Form88::controlAt(double xTwips, double yTwips) const {
  for (auto it = paintOrder_.rbegin(); it != paintOrder_.rend(); ++it) {
    Control* c = *it;
    if (c->kind() == Kind::Line || !c->visible()) continue;
    if (c->twips().contains(xTwips, yTwips)) return c;
  }
  return nullptr;
}

bool Form88::pressAt(int button, int shift, double xTwips, double yTwips) {
  if (Control* c = controlAt(xTwips, yTwips)) {
    if (c->kind() == Kind::Image && button == kLeftButton) static_cast<Image*>(c)->click();
    return false;
  }
  Form_MouseDown(button, shift, static_cast<float>(scale_.toUserX(xTwips)), static_cast<float>(scale_.toUserY(yTwips)));
  return true;
}

}  // namespace tirpo
