#include "platform/clock_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "platform/colours.h"
#include "platform/emblem.h"
#include "platform/face_accessible.h"
#include "platform/face_surface.h"
#include "platform/focus_ring.h"
#include "platform/fonts.h"
#include "platform/full_screen.h"
#include "platform/window_accessible.h"
#include "platform/window_frame.h"
#include "view/pixel_geometry.h"

namespace tirpo {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Back and text colours of a windowed control; a button's face is its back
// colour.
void setColours(QWidget* w, Colour back, std::optional<Colour> fore) {
  QPalette pal = w->palette();
  const QColor b = toQColor(back, w);
  pal.setColor(QPalette::Window, b);
  pal.setColor(QPalette::Button, b);
  if (fore) {
    const QColor f = toQColor(*fore, w);
    pal.setColor(QPalette::WindowText, f);
    pal.setColor(QPalette::ButtonText, f);
  }
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

}  // namespace

ClockWindow::ClockWindow(const SystemClock* clock) {
  form_ = std::make_unique<Form88>(measurer_, clock ? *clock : static_cast<const SystemClock&>(localClock_));
  setWindowTitle(qs(form_->caption()));
  setFont(toQFont(form_->font()));
  surface_ = new FaceSurface(*form_, this);
  installWindowAccessibility();
  {
    // A line edit lays its text out once in the application's font before it
    // takes its parent's, which would load a font nothing shows. While the
    // widgets are made the window's font stands in; the popups made later (the
    // step list's, a line edit's menu) get the application's own font back.
    const QFont applicationFont = QApplication::font();
    QApplication::setFont(font());
    createWidgets();
    QApplication::setFont(applicationFont);
  }
  timer1_ = std::make_unique<TimerDriver>(form_->Timer1, true);
  timer4_ = std::make_unique<TimerDriver>(form_->Timer4, false);
  form_->setObserver(this);
  syncAll();
  applyTabOrder();
  form_->Form_Load();
  timer1_->sync();
  timer4_->sync();
  frameWatch_ = new FrameWatch(*this, [this] { syncGeometry(); });
  fullScreen_ = new FullScreen(this);
}

ClockWindow::~ClockWindow() {
  // The model goes before the child widgets; nothing they signal while
  // being torn down may reach it.
  delete frameWatch_;
  frameWatch_ = nullptr;
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  form_->setObserver(nullptr);
  // The face reads the model whenever it is painted or asked about, and
  // closing the window asks about it (assistive technology hears that it is
  // hidden): it goes while the model is still there.
  delete surface_;
  surface_ = nullptr;
}

void ClockWindow::createWidgets() {
  Form88& f = *form_;
  combo_ = new QComboBox(this);
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setCompleter(nullptr);  // typed text is never completed into a pick
  for (const std::string& item : f.Combo1.items()) combo_->addItem(qs(item));
  combo_->setCurrentIndex(-1);
  connect(combo_, &QComboBox::activated, this, [this](int i) { form_->Combo1.pick(i); });
  connect(combo_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& t) { form_->Combo1.typeText(t.toStdString()); });

  frame_ = new QGroupBox(this);
  for (int i = 0; i < 3; ++i) {
    auto* box = new QCheckBox(frame_);
    check3_[static_cast<std::size_t>(i)] = box;
    connect(box, &QCheckBox::clicked, this, [this, i] { form_->Check3[i].toggle(); });
  }
  check2_ = new QCheckBox(this);
  connect(check2_, &QCheckBox::clicked, this, [this] { form_->Check2.toggle(); });
  command12_ = new QPushButton(this);
  connect(command12_, &QPushButton::clicked, this, [this] { form_->Command12.click(); });
  command8_ = new QPushButton(this);
  connect(command8_, &QPushButton::clicked, this, [this] { form_->Command8.click(); });
  markModeButton(command8_);
  markModeButton(command12_);
  nameWidgets();
  ringFocus();
}

// Every control that takes the focus wears the window's one focus ring.
void ClockWindow::ringFocus() {
  auto* style = new FocusRingStyle;
  style->setParent(this);
  for (QWidget* w : std::initializer_list<QWidget*>{combo_, check2_, command12_, command8_}) w->setStyle(style);
  for (QCheckBox* box : check3_) box->setStyle(style);
  combo_->lineEdit()->setStyle(style);
}

// Names for assistive technology: what each control is for.
void ClockWindow::nameWidgets() {
  command8_->setAccessibleDescription(QStringLiteral("いまの時刻を表示する時計にする"));
  command12_->setAccessibleDescription(QStringLiteral("クリックで時刻を合わせる時計にする"));
  nameStepList(this, combo_);
  check3_[0]->setAccessibleName(QStringLiteral("時針を表示"));
  check3_[1]->setAccessibleName(QStringLiteral("分針を表示"));
  check3_[2]->setAccessibleName(QStringLiteral("秒針を表示"));
  check2_->setAccessibleName(QStringLiteral("５分きざみ"));
}

QWidget* ClockWindow::widgetFor(const Control& c) const {
  const Form88& f = *form_;
  if (&c == &f.Combo1) return combo_;
  if (&c == &f.Frame1) return frame_;
  if (&c == &f.Check2) return check2_;
  if (&c == &f.Command12) return command12_;
  if (&c == &f.Command8) return command8_;
  for (int i = 0; i < 3; ++i)
    if (&c == f.Check3.at(i)) return check3_[static_cast<std::size_t>(i)];
  return nullptr;
}

void ClockWindow::syncWidget(const Control& c) {
  QWidget* w = widgetFor(c);
  if (!w) return;
  const double tpp = twipsPerPixel();
  const TwipRect& r = c.twips();
  w->setGeometry(QRectF(r.left / tpp, r.top / tpp, r.width / tpp, r.height / tpp).toRect());
  w->setEnabled(c.enabled() == True);
  switch (c.kind()) {
    case Kind::ComboBox: {
      const auto& combo = static_cast<const ComboBox&>(c);
      // Selecting another item (or none) rewrites the field; typing goes on
      // where the cursor was when the text is still what was typed.
      QLineEdit* edit = combo_->lineEdit();
      const QString typed = edit->text();
      const int cursor = edit->cursorPosition();
      if (combo_->currentIndex() != combo.listIndex()) combo_->setCurrentIndex(combo.listIndex());
      if (combo_->currentText() != qs(combo.text())) combo_->setEditText(qs(combo.text()));
      if (edit->text() == typed && edit->cursorPosition() != cursor) edit->setCursorPosition(cursor);
      break;
    }
    case Kind::Frame: {
      const auto& frame = static_cast<const Frame&>(c);
      frame_->setTitle(qs(frame.caption()));
      setColours(frame_, frame.backColor(), frame.foreColor());
      break;
    }
    case Kind::CheckBox: {
      const auto& box = static_cast<const CheckBox&>(c);
      auto* q = static_cast<QCheckBox*>(w);
      q->setText(qs(box.caption()));
      q->setTristate(box.value() == 2);
      q->setCheckState(box.value() == 1 ? Qt::Checked : box.value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
      setColours(q, box.backColor(), box.foreColor());
      break;
    }
    case Kind::Button: {
      const auto& button = static_cast<const PushButton&>(c);
      auto* q = static_cast<QPushButton*>(w);
      q->setText(qs(button.caption()));
      q->setFont(toQFont(button.font()));
      setColours(q, button.backColor(), std::nullopt);
      break;
    }
    default:
      break;
  }
  w->setVisible(c.visible() == True);
}

// The widgets take their design state; the face needs nothing before its
// first paint, which draws it whole.
void ClockWindow::syncAll() {
  for (Control* c : form_->windowedControls()) syncWidget(*c);
  windowChanged(Aspect::Colour);
}

void ClockWindow::applyTabOrder() {
  std::vector<Control*> order = form_->windowedControls();
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
  QWidget* previous = nullptr;
  for (Control* c : order) {
    QWidget* w = widgetFor(*c);
    if (!w || c == &form_->Frame1) continue;  // a frame takes no focus itself
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
  // The face (and its picture) close the chain.
  if (previous) setTabOrder(previous, surface_);
}

void ClockWindow::controlChanged(Control& control, Aspect aspect) {
  if (control.kind() == Kind::Timer) {
    if (&control == &form_->Timer1 && timer1_) timer1_->sync();
    if (&control == &form_->Timer4 && timer4_) timer4_->sync();
    return;
  }
  switch (control.kind()) {
    case Kind::Label:
    case Kind::Line:
    case Kind::Image:
      surface_->controlChanged(control, aspect);
      return;
    default:
      syncWidget(control);
      if (control.kind() == Kind::Button && aspect == Aspect::Colour) {
        // The yellow button is the mode.
        tellModeButtonState(static_cast<QPushButton*>(widgetFor(control)));
        tellModeChange(surface_);
      }
      return;
  }
}

void ClockWindow::controlLoaded(Control& control) { surface_->controlChanged(control, Aspect::Geometry); }

void ClockWindow::windowChanged(Aspect aspect) {
  switch (aspect) {
    case Aspect::Text:
      setWindowTitle(qs(form_->caption()));
      break;
    case Aspect::Colour: {
      QPalette pal = palette();
      pal.setColor(QPalette::Window, toQColor(form_->backColor(), this));
      setPalette(pal);
      surface_->update();
      break;
    }
    case Aspect::Geometry:
      sizeAsked_ = true;
      resize(clientPixelsFor(form_->width(), form_->height()));
      break;
    default:
      break;
  }
}

QSize ClockWindow::clientPixelsFor(double outerW, double outerH) const {
  const double tpp = twipsPerPixel();
  return {tirpo::clientPixelsFor(outerW, frameExtra_.width(), tpp),
          tirpo::clientPixelsFor(outerH, frameExtra_.height(), tpp)};
}

// Keeps the model's outer size and the real window in step. The outer size
// is the client area plus the frame the platform really draws (see
// drawnFrame), the same rule at start-up and on every resize. A frame that
// becomes known once the window is up takes its room from the client area,
// so the outer size stays what the window asked for.
void ClockWindow::syncGeometry() {
  if (!surface_) return;
  surface_->setGeometry(rect());
  const double tpp = twipsPerPixel();
  // A hidden window keeps the frame it was last shown with.
  QSize extra = isWindow() ? frameExtra_ : QSize(0, 0);
  if (isWindow() && isVisible()) {
    const QMargins frame = drawnFrame(*this);
    extra = QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
  }
  if (extra != frameExtra_) {
    // Only while the client area is still the one the window asked for: a
    // size the user gave at the same moment is kept below, and so is one the
    // window manager gave (the frame coming back as full screen ends, before
    // the size from before it).
    const bool ours = sizeAsked_ && size() == clientPixelsFor(form_->width(), form_->height());
    frameExtra_ = extra;
    if (ours) {
      form_->windowResized(form_->width(), form_->height(), extra.width() * tpp, extra.height() * tpp);
      const QSize want = clientPixelsFor(form_->width(), form_->height());
      if (size() != want) resize(want);
      return;
    }
  }
  if (size() == clientPixelsFor(form_->width(), form_->height())) return;  // our own size
  sizeAsked_ = false;
  form_->windowResized((width() + frameExtra_.width()) * tpp, (height() + frameExtra_.height()) * tpp,
                       frameExtra_.width() * tpp, frameExtra_.height() * tpp);
}

void ClockWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  syncGeometry();
}

void ClockWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  syncGeometry();
}

void ClockWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  form_->Form_Resize();  // the window lays its face out again when first shown
  // The icon's pixels are decoded and go to the window manager once the face
  // is on the screen.
  connect(
      surface_, &FaceSurface::firstPainted, this, [this] { setWindowIcon(windowEmblem()); }, Qt::SingleShotConnection);
}

}  // namespace tirpo
