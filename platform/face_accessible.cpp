#include "platform/face_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QVariant>
#include <vector>

#include "platform/face_surface.h"

namespace tirpo {

namespace {

QString pictureName(const Image& image) {
  // The numerals picture shows them; the emblem hides them.
  return image.picture() == Picture::Emblem16 ? QStringLiteral("分の数字を表示する")
                                              : QStringLiteral("分の数字を隠す");
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

class FaceAccessible final : public QAccessibleWidget {
 public:
  explicit FaceAccessible(FaceSurface* face) : QAccessibleWidget(face, QAccessible::Clock), face_(face) {
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
    if (t == QAccessible::Name || t == QAccessible::Value) {
      if (const auto shown = face_->form().timeShown())
        return QString::fromStdString(timeText(*shown));
      return t == QAccessible::Name ? QStringLiteral("時計の文字盤") : QString();
    }
    if (t == QAccessible::Description) return QStringLiteral("アナログ時計の文字盤");
    return QAccessibleWidget::text(t);
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
constexpr char kPendingProperty[] = "tirpoTimeCheckPending";
constexpr char kToldProperty[] = "tirpoTimeTold";
}  // namespace

// A handler that writes one clock value often writes more before it returns
// (the hour, then the minute; a mode button clears them before it switches
// the mode), and the face reads out a half-done time in between. So the face
// is read once the handler is done, and a notification goes out only when
// what it reads differs from what was last told: assistive technology takes
// the name along with the notification.
void announceFaceTime(FaceSurface* face) {
  if (!QAccessible::isActive() || face->property(kPendingProperty).toBool()) return;
  face->setProperty(kPendingProperty, true);
  QMetaObject::invokeMethod(
      face,
      [face] {
        face->setProperty(kPendingProperty, false);
        if (!QAccessible::isActive()) return;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(face);
        if (!iface) return;
        const QString name = iface->text(QAccessible::Name);
        const QVariant told = face->property(kToldProperty);
        if (told.isValid() && told.toString() == name) return;
        face->setProperty(kToldProperty, name);
        QAccessibleEvent nameChanged(face, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
      },
      Qt::QueuedConnection);
}

}  // namespace tirpo
