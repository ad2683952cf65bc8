#include "platform/face_accessible.h"

#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "platform/face_keyboard.h"
#include "platform/face_surface.h"
#include "window/accessible_clock.h"
#include "window/announce_pacing.h"

namespace tirpo {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString pictureName(const Image& image) {
  // The numerals picture shows them; the emblem hides them.
  return image.picture() == Picture::Emblem16 ? QStringLiteral("分の数字を表示する") : QStringLiteral("分の数字を隠す");
}

// One centre picture, pressable like a button. It has no object of its own,
// so it lives as long as the face's interface, which removes it; a screen
// reader that kept its id past that finds nothing.
class PictureAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  PictureAccessible(FaceSurface* face, Image& image) : face_(face), image_(image) {}

  bool isValid() const override { return !face_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return face_ ? face_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return face_ ? QAccessible::queryAccessibleInterface(face_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && face_ ? pictureName(image_) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!face_) return {};
    const QRectF r = face_->toPixels(image_.twips());
    return QRect(face_->mapToGlobal(r.topLeft().toPoint()), r.size().toSize());
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!face_) return s;
    s.invisible = !image_.visible();
    s.disabled = !image_.enabled();
    s.focusable = image_.visible() == True;
    s.focused = face_->keyboard().focusedPicture() == &image_;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (face_ && name == pressAction() && image_.visible()) image_.click();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  Image& image() const { return image_; }

 private:
  QPointer<FaceSurface> face_;
  Image& image_;
};

// The face is a spin button: stepped forward and back by a fixed step, by
// the arrow keys or its two actions, and read out as the time it shows. Its
// name says what it is; its text and its value text are that time; its
// numeric value is the time in minutes (see accessible_clock.h), read-only.
// (AT-SPI knows no clock; on a dial or slider a screen reader reads out only
// the bare number, on a spin button its text.) The step actions are offered
// only while a step can change what the face shows.
class FaceAccessible final : public QAccessibleWidget,
                             public QAccessibleValueInterface,
                             public QAccessibleTextInterface {
 public:
  explicit FaceAccessible(FaceSurface* face) : QAccessibleWidget(face, QAccessible::SpinBox), face_(face) {
    for (Image* image : {&face->form().Image1, &face->form().Image4}) {
      auto* picture = new PictureAccessible(face, *image);
      QAccessible::registerAccessibleInterface(picture);  // Qt owns it from here
      pictures_.push_back(picture);
    }
  }
  ~FaceAccessible() override {
    for (PictureAccessible* p : pictures_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(p));
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return qs(kFaceName);
    if (t == QAccessible::Value) return QString::fromStdString(faceValueText(face_->form()));
    if (t == QAccessible::Description) return QString::fromStdString(faceDescription(face_->form()));
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (face_->keyboard().focusedPicture()) s.focused = false;  // its picture has the focus
    s.readOnly = true;                                          // its value is set by stepping only
    return s;
  }
  QAccessibleInterface* focusChild() const override {
    if (const Image* focused = face_->keyboard().focusedPicture()) return pictureFor(*focused);
    return QAccessibleWidget::focusChild();
  }

  QStringList actionNames() const override {
    if (!faceStepsOffered(face_->form())) return QAccessibleWidget::actionNames();
    return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
  }
  QString localizedActionDescription(const QString& name) const override {
    if (name == increaseAction()) return QStringLiteral("時刻を進める");
    if (name == decreaseAction()) return QStringLiteral("時刻を戻す");
    return QAccessibleWidget::localizedActionDescription(name);
  }
  void doAction(const QString& name) override {
    const bool offered = faceStepsOffered(face_->form());
    if (name == increaseAction()) {
      if (offered) face_->form().StepForward(0);
    } else if (name == decreaseAction()) {
      if (offered) face_->form().StepBack(0);
    } else {
      QAccessibleWidget::doAction(name);
    }
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == increaseAction()) return {QStringLiteral("Right")};
    if (name == decreaseAction()) return {QStringLiteral("Left")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // The value: the time shown, in minutes, within the range of the mode;
  // 0 in a range of 0 to 0 while the face shows no time.
  QVariant currentValue() const override { return faceValue(face_->form()).value_or(0); }
  void setCurrentValue(const QVariant&) override {}  // read-only: set by stepping only
  QVariant maximumValue() const override {
    const auto range = faceValueRange(face_->form());
    return range ? range->maximum : 0;
  }
  QVariant minimumValue() const override {
    const auto range = faceValueRange(face_->form());
    return range ? range->minimum : 0;
  }
  QVariant minimumStepSize() const override { return 1; }

  // The text: the time shown, read-only.
  QString text(int start, int end) const override { return text(QAccessible::Value).mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(text(QAccessible::Value).size()); }
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

  PictureAccessible* pictureFor(const Image& image) const {
    for (PictureAccessible* p : pictures_)
      if (&p->image() == &image) return p;
    return nullptr;
  }

  int childCount() const override { return static_cast<int>(visiblePictures().size()); }
  QAccessibleInterface* child(int index) const override {
    const auto v = visiblePictures();
    return index >= 0 && index < static_cast<int>(v.size()) ? v[static_cast<std::size_t>(index)] : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto v = visiblePictures();
    for (std::size_t i = 0; i < v.size(); ++i)
      if (v[i] == child) return static_cast<int>(i);
    return -1;
  }

 private:
  std::vector<PictureAccessible*> visiblePictures() const {
    std::vector<PictureAccessible*> v;
    for (PictureAccessible* p : pictures_)
      if (p->image().visible()) v.push_back(p);
    return v;
  }

  FaceSurface* face_;
  std::vector<PictureAccessible*> pictures_;
};

QAccessibleInterface* faceFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("tirpo::FaceSurface") && object && object->isWidgetType())
    return new FaceAccessible(static_cast<FaceSurface*>(object));
  return nullptr;
}

}  // namespace

void installFaceAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(faceFactory);
}

namespace {

FaceAccessible* faceInterface(FaceSurface* face) {
  return dynamic_cast<FaceAccessible*>(QAccessible::queryAccessibleInterface(face));
}

// What the window says of itself when its mode changes: a notification, as
// a screen reader speaks one the moment it shows, whatever has the focus.
// It has no object of its own and belongs to the window, which it names as
// its parent; the teller that shows it removes it.
class ModeNotice final : public QAccessibleInterface {
 public:
  explicit ModeNotice(QWidget* window) : window_(window) {}

  bool isValid() const override { return !window_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return window_ ? window_->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return window_ ? QAccessible::queryAccessibleInterface(window_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? said_ : QString(); }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.invisible = said_.isEmpty();
    return s;
  }

  void say(const QString& text) {
    said_ = text;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
  }

 private:
  QPointer<QWidget> window_;
  QString said_;
};

// Tells, paced, once the current event is handled, the time on the face
// and a change of mode. It lives with the face, which finds it by its name.
constexpr char kTellerName[] = "tirpoTimeTeller";

class TimeTeller final : public QObject {
 public:
  explicit TimeTeller(FaceSurface* face) : QObject(face), face_(face) {
    setObjectName(QLatin1String(kTellerName));
    clock_.start();
    again_.setSingleShot(true);
    QObject::connect(&again_, &QTimer::timeout, this, [this] { check(); });
  }
  ~TimeTeller() override {
    if (notice_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(notice_));
  }
  static TimeTeller& of(FaceSurface* face) {
    if (auto* t = face->findChild<QObject*>(QLatin1String(kTellerName), Qt::FindDirectChildrenOnly))
      return *static_cast<TimeTeller*>(t);
    return *new TimeTeller(face);
  }

  // A handler that writes one clock value often writes more before it
  // returns (the hour, then the minute; a mode button clears them before it
  // switches the mode), and the face reads out a half-done time in between.
  // So the face is read once the handler is done; assistive technology reads
  // the value text along with the notification.
  void checkSoon() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        face_,
        [this] {
          pending_ = false;
          check();
        },
        Qt::QueuedConnection);
  }

  ModeNotice* notice() const { return notice_; }

 private:
  void check() {
    if (!QAccessible::isActive()) return;
    FaceAccessible* iface = faceInterface(face_);
    if (!iface) return;
    const std::int64_t now = clock_.elapsed();
    // A change of mode first: the time after it is the new mode's.
    if (const auto said = modeAnnouncement(face_->form());
        said && modePacing_.check(*said, AnnouncePacing::Pace::EachChange, now).tell) {
      if (!notice_) {
        notice_ = new ModeNotice(face_->window());
        QAccessible::registerAccessibleInterface(notice_);  // Qt owns it from here
      }
      notice_->say(QString::fromStdString(*said));
    }
    const auto pace = AnnouncePacing::paceFor(face_->form().autoRunGoing(), face_->keyboard().keyHeld());
    const AnnouncePacing::Verdict v = pacing_.check(iface->text(QAccessible::Value).toStdString(), pace, now);
    if (v.tell) {
      again_.stop();
      // What a screen reader speaks for a focused spin button.
      QAccessibleValueChangeEvent valueChanged(face_, iface->currentValue());
      QAccessible::updateAccessibility(&valueChanged);
    } else if (v.askAgainMs > 0 && !again_.isActive()) {
      again_.start(static_cast<int>(v.askAgainMs));
    }
  }

  FaceSurface* face_;
  AnnouncePacing pacing_;
  AnnouncePacing modePacing_;
  ModeNotice* notice_ = nullptr;
  QElapsedTimer clock_;
  QTimer again_;
  bool pending_ = false;
};

void pictureShownOrHidden(FaceSurface* face, const Image& image) {
  if (!QAccessible::isActive()) return;
  FaceAccessible* iface = faceInterface(face);
  PictureAccessible* picture = iface ? iface->pictureFor(image) : nullptr;
  if (!picture) return;
  QAccessibleEvent event(picture, image.visible() ? QAccessible::ObjectShow : QAccessible::ObjectHide);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

void tellAssistiveTechnology(FaceSurface* face, const Control& control, Aspect aspect) {
  if (!QAccessible::isActive()) return;  // nobody listens
  const Form88& f = face->form();
  // The clock values behind the hands (a press that stops the AUTO run
  // writes only the hour).
  if (aspect == Aspect::Text &&
      (&control == &f.Label1 || &control == &f.Label2 || &control == &f.Label7 || &control == &f.Label8))
    TimeTeller::of(face).checkSoon();
  if (aspect == Aspect::Visible && (&control == &f.Image1 || &control == &f.Image4))
    pictureShownOrHidden(face, static_cast<const Image&>(control));
}

void tellModeChange(FaceSurface* face) {
  if (QAccessible::isActive()) TimeTeller::of(face).checkSoon();
}

void tellKeyLetGo(FaceSurface* face) {
  if (QAccessible::isActive()) TimeTeller::of(face).checkSoon();
}

QAccessibleInterface* modeNotice(FaceSurface* face) {
  auto* t = face->findChild<QObject*>(QLatin1String(kTellerName), Qt::FindDirectChildrenOnly);
  return t ? static_cast<TimeTeller*>(t)->notice() : nullptr;
}

void tellFocus(FaceSurface* face) {
  const QPointer<FaceSurface> guard(face);
  QMetaObject::invokeMethod(
      face,
      [guard] {
        if (!guard || !guard->hasFocus() || !QAccessible::isActive()) return;
        FaceAccessible* iface = faceInterface(guard);
        if (!iface) return;
        const Image* picture = guard->keyboard().focusedPicture();
        QAccessibleInterface* focused =
            picture ? static_cast<QAccessibleInterface*>(iface->pictureFor(*picture)) : iface;
        if (!focused) return;
        QAccessibleEvent event(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
      },
      Qt::QueuedConnection);
}

}  // namespace tirpo
