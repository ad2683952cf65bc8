#include "platform/window_accessible.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "platform/clock_window.h"
#include "window/accessible_clock.h"

namespace tirpo {

namespace {

constexpr char kModeButtonName[] = "tirpoModeButton";

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A mode button: a radio button, checked while it is the yellow one, that
// is pressed like any button. (A checkable push button would reach AT-SPI as
// a check box, and the two buttons are one choice of two.)
class ModeButtonAccessible final : public QAccessibleWidget {
 public:
  explicit ModeButtonAccessible(QPushButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && button()->accessibleName().isEmpty()) return button()->text();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    const PushButton* model = modelButton();
    s.checked = model && modeButtonOn(*model);
    return s;
  }
  QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
  void doAction(const QString& name) override {
    if (name == pressAction())
      button()->click();
    else
      QAccessibleWidget::doAction(name);
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == pressAction()) return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 private:
  QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
  const PushButton* modelButton() const {
    auto* window = qobject_cast<ClockWindow*>(button()->parentWidget());
    if (!window) return nullptr;
    if (window->clockButton() == button()) return &window->form().Command8;
    if (window->manualButton() == button()) return &window->form().Command12;
    return nullptr;
  }
};

QAccessibleInterface* modeButtonFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("QPushButton") && object && object->objectName() == QLatin1String(kModeButtonName))
    return new ModeButtonAccessible(static_cast<QPushButton*>(object));
  return nullptr;
}

}  // namespace

void installWindowAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(modeButtonFactory);
}

void markModeButton(QPushButton* button) {
  button->setObjectName(QLatin1String(kModeButtonName));
  // An interface Qt made for it before it was marked would be a plain
  // button's: it goes, and the next one asked for is a mode button's.
  if (QAccessible::isActive()) {
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(button);
        made && made->role() != QAccessible::RadioButton)
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  }
}

void tellModeButtonState(QPushButton* button) {
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(button, changed);
  QAccessible::updateAccessibility(&event);
}

void nameStepList(QWidget* window, QComboBox* list) {
  auto* label = new QLabel(qs(kStepListName), window);
  label->setBuddy(list);
  // Shown, so that it is part of the accessible tree, but with no room on
  // the screen: the window's visible texts stay as they are.
  label->setGeometry(0, 0, 0, 0);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  list->setAccessibleName(qs(kStepListName));
  list->setAccessibleDescription(qs(kStepListDescription));
}

}  // namespace tirpo
