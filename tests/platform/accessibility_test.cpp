// What assistive technology reads from the clock window. Every control is
// looked up through QAccessible the way a screen reader finds it, and the
// notifications the window sends are captured with an update handler: the
// face must read out the time its hands show and say so whenever that time
// changes, and stay quiet when it does not.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "platform/clock_window.h"
#include "platform/face_accessible.h"
#include "platform/face_surface.h"
#include "support/widget_test_base.h"

using tirpo::ClockWindow;
using tirpo::Form88;
using namespace tirpo::test;

namespace {

const QString kShowNumerals = QStringLiteral("分の数字を表示する");
const QString kHideNumerals = QStringLiteral("分の数字を隠す");
// What the face is called, whatever it shows, and what it reads while its
// hands show no time.
const QString kFaceName = QStringLiteral("時計の文字盤");
const QString kNoTime = QStringLiteral("時刻なし");
const QString kStepListName = QStringLiteral("1回で動かす時間（分）");

// Notifications, as a screen reader receives them: the bridge to the
// desktop's accessibility bus sends the object, whose name, value text and
// states the screen reader reads at the moment the notification arrives.
struct Captured {
  QObject* object;
  QAccessible::Event type;
  QString name;
  QString value;
  qint64 atMs;
  QAccessibleInterface* iface;
};
std::vector<Captured> captured;
QElapsedTimer sinceStart;

void captureUpdate(QAccessibleEvent* event) {
  QAccessibleInterface* iface = event->accessibleInterface();
  captured.push_back({event->object(), event->type(), iface ? iface->text(QAccessible::Name) : QString(),
                      iface ? iface->text(QAccessible::Value) : QString(), sinceStart.elapsed(), iface});
}

// What the face told, in order: a screen reader speaks a focused spin
// button's text when its value changes.
std::vector<Captured> toldEventsFor(const QObject* object) {
  std::vector<Captured> out;
  for (const Captured& c : captured)
    if (c.object == object && c.type == QAccessible::ValueChanged) out.push_back(c);
  return out;
}
QStringList heardFrom(const std::vector<Captured>& events) {
  QStringList heard;
  for (const Captured& c : events) heard << QStringLiteral("\"%1\" at %2").arg(c.value).arg(c.atMs);
  return heard;
}

// Whatever the window queued for after the current event is delivered, as
// the event loop would; timers are left alone.
void finishEvent(ClockWindow& w) {
  QCoreApplication::sendPostedEvents(w.surface(), QEvent::MetaCall);
  QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall);
}

// A screen reader switches the notifications on; offscreen nobody does, so
// the test plays that part.
bool activateAccessibility() {
  QAccessible::installUpdateHandler(captureUpdate);
  if (QPlatformAccessibility* a = QGuiApplicationPrivate::platformIntegration()->accessibility()) a->setActive(true);
  return QAccessible::isActive();
}

QAccessibleInterface* ifaceOf(QObject* o) { return QAccessible::queryAccessibleInterface(o); }
QString nameOf(QObject* o) { return ifaceOf(o) ? ifaceOf(o)->text(QAccessible::Name) : QStringLiteral("(none)"); }
// What the face reads: the time it shows.
QString faceReads(ClockWindow& w) { return ifaceOf(w.surface())->text(QAccessible::Value); }

// The centre picture the face offers now (only the visible one is a child).
QAccessibleInterface* visiblePicture(ClockWindow& w) {
  QAccessibleInterface* face = ifaceOf(w.surface());
  return face && face->childCount() == 1 ? face->child(0) : nullptr;
}

// One user action, written as a word: a button caption, "pick:N" for a step
// list entry, "left"/"right" presses on the bare face, "tick" of the live
// clock, "run" for a tick of the continuous run, "picture" for pressing the
// visible centre picture, "time:H:M:S" to set the computer's clock.
void perform(ClockWindow& w, tirpo::fakes::FakeClock& clock, const QString& action) {
  if (action == QStringLiteral("時計")) {
    click(w.clockButton());
  } else if (action == QStringLiteral("今何時")) {
    click(w.manualButton());
  } else if (action.startsWith(QStringLiteral("pick:"))) {
    const int i = w.stepList()->findText(action.mid(5));
    QVERIFY2(i >= 0, qPrintable(action));
    QVERIFY(w.stepList()->isVisible());
    // Arrow keys in the list, as a keyboard user picks.
    QLineEdit* edit = w.stepList()->lineEdit();
    while (w.stepList()->currentIndex() < i) QTest::keyClick(edit, Qt::Key_Down);
    while (w.stepList()->currentIndex() > i) QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(w.stepList()->currentIndex(), i);
  } else if (action == QStringLiteral("left") || action == QStringLiteral("right")) {
    const QPoint p = bareFacePoint(w.form()).toPoint();
    QCOMPARE(w.childAt(p), static_cast<QWidget*>(w.surface()));
    QTest::mouseClick(w.surface(), action == QStringLiteral("left") ? Qt::LeftButton : Qt::RightButton, {}, p);
  } else if (action == QStringLiteral("tick")) {
    w.form().Timer1_Timer();
  } else if (action == QStringLiteral("run")) {
    w.form().Timer4_Timer();
  } else if (action == QStringLiteral("picture")) {
    QAccessibleInterface* picture = visiblePicture(w);
    QVERIFY(picture);
    QAccessibleActionInterface* act = picture->actionInterface();
    QVERIFY(act);
    act->doAction(QAccessibleActionInterface::pressAction());
  } else if (action.startsWith(QStringLiteral("time:"))) {
    const QStringList hms = action.mid(5).split(u':');
    QCOMPARE(hms.size(), 3);
    clock.set(hms[0].toInt(), hms[1].toInt(), hms[2].toInt());
  } else {
    QFAIL(qPrintable(QStringLiteral("unknown action ") + action));
  }
}

}  // namespace

class AccessibilityTest : public ClockWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase();
  void controlsHaveNames_data();
  void controlsHaveNames();
  void checkBoxStateFollowsClicks();
  void stepListReadsItsText();
  void stepListIsNamedByItsLabel();
  void modeButtonsTellWhichIsOn_data();
  void modeButtonsTellWhichIsOn();
  void faceIsAClockWithPictures();
  void pictureNamesFollowTheNumerals();
  void faceReadsTheTimeShown_data();
  void faceReadsTheTimeShown();
  void picturesGoWithTheirWindow();
  void faceActionsStepTheTime();
  void pictureFocusAndSwitchesAreTold();
  void theRunIsToldOnceASecond();
  void aHeldKeyIsToldTwiceASecond();
};

void AccessibilityTest::initTestCase() {
  sinceStart.start();
  QVERIFY2(activateAccessibility(), "notifications cannot be switched on");
}

void AccessibilityTest::controlsHaveNames_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<int>("role");
  QTest::addColumn<QString>("caption");  // what is written on it; its name must contain it

  // The mode buttons are one choice of two.
  QTest::newRow("時計") << "clock" << int(QAccessible::RadioButton) << "時計";
  QTest::newRow("今何時") << "manual" << int(QAccessible::RadioButton) << "今何時";
  QTest::newRow("時") << "hand0" << int(QAccessible::CheckBox) << "時";
  QTest::newRow("分") << "hand1" << int(QAccessible::CheckBox) << "分";
  QTest::newRow("秒") << "hand2" << int(QAccessible::CheckBox) << "秒";
  QTest::newRow("５分きざみ") << "check2" << int(QAccessible::CheckBox) << "５分きざみ";
  QTest::newRow("針表示") << "frame" << int(QAccessible::Grouping) << "針表示";
  QTest::newRow("step list") << "combo" << int(QAccessible::ComboBox) << "";
}

void AccessibilityTest::controlsHaveNames() {
  QFETCH(QString, control);
  QFETCH(int, role);
  QFETCH(QString, caption);

  ClockWindow& w = *window;
  QWidget* widget = control == "clock"    ? static_cast<QWidget*>(w.clockButton())
                    : control == "manual" ? w.manualButton()
                    : control == "hand0"  ? w.handBox(0)
                    : control == "hand1"  ? w.handBox(1)
                    : control == "hand2"  ? w.handBox(2)
                    : control == "check2" ? fiveMinuteBox(w)
                    : control == "frame"  ? static_cast<QWidget*>(w.handFrame())
                                          : w.stepList();
  QVERIFY(widget);
  QAccessibleInterface* iface = ifaceOf(widget);
  QVERIFY(iface && iface->isValid());
  QCOMPARE(int(iface->role()), role);
  const QString name = iface->text(QAccessible::Name);
  QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control));
  // What is spoken includes what is seen, so a user who hears it can find it.
  QVERIFY2(name.contains(caption), qPrintable(QStringLiteral("name \"%1\" lacks \"%2\"").arg(name, caption)));

  // The hand boxes are reached through their frame.
  if (control.startsWith("hand")) {
    QAccessibleInterface* parent = iface->parent();
    QVERIFY(parent);
    QCOMPARE(parent->object(), static_cast<QObject*>(w.handFrame()));
    QCOMPARE(parent->text(QAccessible::Name), QStringLiteral("針表示"));
  }
  // Every control is part of the window's tree.
  QAccessibleInterface* up = iface;
  while (up && up->object() != &w) up = up->parent();
  QVERIFY2(up, "the control is not below the window");
}

void AccessibilityTest::checkBoxStateFollowsClicks() {
  ClockWindow& w = *window;
  // The three hand boxes are told apart by their names alone.
  QSet<QString> names;
  for (int i = 0; i < 3; ++i) names.insert(nameOf(w.handBox(i)));
  QCOMPARE(names.size(), 3);

  for (int i = 0; i < 3; ++i) {
    QAccessibleInterface* box = ifaceOf(w.handBox(i));
    QVERIFY(box->state().checkable);
    QVERIFY(box->state().checked);
    clickCheckBox(w.handBox(i));
    QVERIFY(!w.handBox(i)->isChecked());
    QVERIFY2(!ifaceOf(w.handBox(i))->state().checked, qPrintable(nameOf(w.handBox(i))));
    clickCheckBox(w.handBox(i));
    QVERIFY(ifaceOf(w.handBox(i))->state().checked);
  }
  // In the manual clock the second hand's box is unticked and cannot be used.
  w.manualButton()->click();
  QAccessibleInterface* seconds = ifaceOf(w.handBox(2));
  QVERIFY(!seconds->state().checked);
  QVERIFY(seconds->state().disabled);
}

void AccessibilityTest::stepListReadsItsText() {
  ClockWindow& w = *window;
  QAccessibleInterface* combo = ifaceOf(w.stepList());
  QVERIFY(combo->state().invisible);  // hidden until the manual clock
  w.manualButton()->click();
  QVERIFY(!ifaceOf(w.stepList())->state().invisible);
  QCOMPARE(ifaceOf(w.stepList())->text(QAccessible::Value), QStringLiteral("AUTO"));
  perform(w, clock, QStringLiteral("pick:15"));
  QCOMPARE(ifaceOf(w.stepList())->text(QAccessible::Value), QStringLiteral("15"));
  QVERIFY(!ifaceOf(w.stepList())->text(QAccessible::Name).isEmpty());
}

// A screen reader on Linux speaks a combo box's name only from the label
// whose buddy it is (Qt gives the combo box its text as its name there):
// that label names the list, and takes no room on the screen, so the window
// shows what it always showed.
void AccessibilityTest::stepListIsNamedByItsLabel() {
  ClockWindow& w = *window;
  w.manualButton()->click();
  QAccessibleInterface* list = ifaceOf(w.stepList());
  QStringList labels;
  for (const auto& [label, relation] : list->relations(QAccessible::Label)) {
    labels << label->text(QAccessible::Name);
    QVERIFY(!label->state().invisible);
    QVERIFY2(label->rect().isEmpty(), "the list's label takes room on the screen");
  }
  QCOMPARE(labels, QStringList{kStepListName});
  const QString description = list->text(QAccessible::Description);
  QVERIFY2(description.contains(QStringLiteral("分")) && description.contains(QStringLiteral("AUTO")),
           qPrintable(description));
}

void AccessibilityTest::modeButtonsTellWhichIsOn_data() {
  QTest::addColumn<QStringList>("actions");
  QTest::addColumn<QString>("on");    // the button checked afterwards, "" for none
  QTest::addColumn<QString>("told");  // what the window said of the last change of mode, "" for nothing
  // The buttons' state notifications: one for each button that changed
  // colour (at start both are light grey, the colour 今何時 gives 時計).
  QTest::addColumn<int>("stateEvents");
  QTest::addColumn<int>("notices");  // how many times a change of mode was said

  QTest::newRow("at start") << QStringList{} << ""
                            << "" << 0 << 0;
  QTest::newRow("時計") << QStringList{"時計"} << "時計"
                        << "時計。" << 2 << 1;
  QTest::newRow("今何時") << QStringList{"今何時"} << "今何時"
                          << "今何時。" << 1 << 1;
  QTest::newRow("時計, 今何時") << QStringList{"時計", "今何時"} << "今何時"
                                << "今何時。" << 4 << 2;
  QTest::newRow("今何時, 時計") << QStringList{"今何時", "時計"} << "時計"
                                << "時計。" << 3 << 2;
  // Pressed again in its own mode, the button changes nothing and is told once.
  QTest::newRow("時計 twice") << QStringList{"時計", "時計"} << "時計"
                              << "時計。" << 2 << 1;
  QTest::newRow("今何時 twice") << QStringList{"今何時", "今何時"} << "今何時"
                                << "今何時。" << 1 << 1;
  QTest::newRow("pick and press") << QStringList{"今何時", "pick:5", "left"} << "今何時"
                                  << "今何時。" << 1 << 1;
}

void AccessibilityTest::modeButtonsTellWhichIsOn() {
  QFETCH(QStringList, actions);
  QFETCH(QString, on);
  QFETCH(QString, told);
  QFETCH(int, stateEvents);
  QFETCH(int, notices);

  ClockWindow& w = *window;
  finishEvent(w);
  captured.clear();
  for (const QString& a : actions) {
    perform(w, clock, a);
    if (QTest::currentTestFailed()) return;
    finishEvent(w);
  }
  QAccessibleInterface* clockButton = ifaceOf(w.clockButton());
  QAccessibleInterface* manualButton = ifaceOf(w.manualButton());
  QVERIFY(clockButton->state().checkable && manualButton->state().checkable);
  QCOMPARE(clockButton->state().checked, on == "時計");
  QCOMPARE(manualButton->state().checked, on == "今何時");
  // The yellow button is the one on.
  QCOMPARE(w.form().Command8.backColor() == tirpo::kYellow, on == "時計");
  QCOMPARE(w.form().Command12.backColor() == tirpo::kYellow, on == "今何時");
  // Each button still presses like a button.
  QVERIFY(clockButton->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

  int states = 0;
  QStringList said;
  for (const Captured& c : captured) {
    if (c.type == QAccessible::StateChanged && (c.object == w.clockButton() || c.object == w.manualButton())) ++states;
    if (c.type == QAccessible::ObjectShow && c.iface && c.iface->role() == QAccessible::Notification) said << c.name;
  }
  QCOMPARE(states, stateEvents);
  // Each change of mode is said once, with what the face now does.
  QCOMPARE(said.size(), notices);
  if (!told.isEmpty()) {
    QVERIFY2(said.last().startsWith(told), qPrintable(said.join(" / ")));
    QVERIFY(said.last().size() > told.size());
    QCOMPARE(tirpo::modeNotice(w.surface())->text(QAccessible::Name), said.last());
  }
}

void AccessibilityTest::faceIsAClockWithPictures() {
  ClockWindow& w = *window;
  QAccessibleInterface* face = ifaceOf(w.surface());
  QVERIFY(face && face->isValid());
  // A spin button, which AT-SPI knows (a clock arrives there as "unknown"),
  // stepped by its actions; its text and value follow the time shown.
  QCOMPARE(face->role(), QAccessible::SpinBox);
  QVERIFY(face->state().focusable);
  QVERIFY(face->textInterface() && face->valueInterface());
  QCOMPARE(face->text(QAccessible::Name), kFaceName);
  QCOMPARE(face->text(QAccessible::Value), kNoTime);
  // Before a mode it says what to press first, and offers no step actions:
  // they would change nothing that is shown.
  const QString first = face->text(QAccessible::Description);
  QVERIFY2(first.contains(QStringLiteral("時計")) && first.contains(QStringLiteral("今何時")), qPrintable(first));
  QVERIFY(!face->actionInterface()->actionNames().contains(QAccessibleActionInterface::increaseAction()));
  QVERIFY(!face->actionInterface()->actionNames().contains(QAccessibleActionInterface::decreaseAction()));

  // The face is one of the window's children.
  QAccessibleInterface* window = ifaceOf(&w);
  QVERIFY(window);
  QVERIFY(window->indexOfChild(face) >= 0);
  QCOMPARE(face->parent()->object(), static_cast<QObject*>(&w));

  w.manualButton()->click();
  const Form88& f = w.form();
  QVERIFY(f.Image4.visible() && !f.Image1.visible());
  QCOMPARE(face->childCount(), 1);
  QAccessibleInterface* picture = face->child(0);
  QVERIFY(picture && picture->isValid());
  QCOMPARE(picture->role(), QAccessible::Button);
  QCOMPARE(picture->parent(), face);
  QCOMPARE(face->indexOfChild(picture), 0);
  QVERIFY(!picture->state().invisible);
  QVERIFY(picture->actionInterface());
  QVERIFY(picture->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

  // It lies where the picture is drawn, at the centre of the dial, and a
  // screen reader exploring the face by position finds it there.
  const QRect r = picture->rect();
  const QRectF drawn = pixelsOf(f.Image4.twips());
  const QPoint drawnTopLeft = w.surface()->mapToGlobal(drawn.topLeft().toPoint());
  QVERIFY2(
      (r.topLeft() - drawnTopLeft).manhattanLength() <= 2,
      qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(r.x()).arg(r.y()).arg(drawnTopLeft.x()).arg(drawnTopLeft.y())));
  QVERIFY(std::abs(r.width() - drawn.width()) <= 2 && std::abs(r.height() - drawn.height()) <= 2);
  const QPoint centre = w.surface()->mapToGlobal(facePoint(f, 0, 0).toPoint());
  QVERIFY(r.contains(centre));
  QVERIFY(face->rect().contains(r));
  QCOMPARE(face->childAt(centre.x(), centre.y()), picture);
}

// The accessible press; what a mouse press on the picture does is the
// window tests' to show.
void AccessibilityTest::pictureNamesFollowTheNumerals() {
  ClockWindow& w = *window;
  w.manualButton()->click();
  const Form88& f = w.form();

  const auto press = [&] { visiblePicture(w)->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); };
  // What the one picture offered says a press will do, as the minute
  // numerals go and come back.
  QVERIFY(f.Suuji2[10].visible());
  QVERIFY(visiblePicture(w));
  QCOMPARE(visiblePicture(w)->text(QAccessible::Name), kHideNumerals);
  press();
  QVERIFY(!f.Suuji2[10].visible());
  QVERIFY(visiblePicture(w));
  QCOMPARE(visiblePicture(w)->text(QAccessible::Name), kShowNumerals);
  press();
  QVERIFY(f.Suuji2[10].visible());
  QCOMPARE(visiblePicture(w)->text(QAccessible::Name), kHideNumerals);
}

void AccessibilityTest::faceReadsTheTimeShown_data() {
  QTest::addColumn<QStringList>("before");  // actions that set the scene
  QTest::addColumn<QString>("action");      // the action watched
  QTest::addColumn<QString>("name");        // what the face reads afterwards
  QTest::addColumn<bool>("changes");        // the face reads something else than before

  // What the face reads for a time is the window model's; here each way the
  // time shown changes, or does not, is told, or not: a mode button, a
  // press of each button, a pick, the picture, the run, the live clock's
  // tick within a minute and into the next, a press it ignores.
  QTest::newRow("今何時 from start") << QStringList{} << "今何時"
                                     << "12時0分" << true;
  QTest::newRow("今何時, 15, left") << QStringList{"今何時", "pick:15"} << "left"
                                    << "12時15分" << true;
  QTest::newRow("pick changes no time") << QStringList{"今何時", "pick:15", "left"} << "pick:5"
                                        << "12時15分" << false;
  QTest::newRow("picture changes no time") << QStringList{"今何時", "pick:15", "left"} << "picture"
                                           << "12時15分" << false;
  QTest::newRow("AUTO press only starts") << QStringList{"今何時"} << "left"
                                          << "12時0分" << false;
  QTest::newRow("AUTO run tick") << QStringList{"今何時", "left"} << "run"
                                 << "12時1分" << true;
  // The live clock reads the computer's hours, 0 to 23.
  QTest::newRow("live: first tick") << QStringList{"time:3:15:00", "時計"} << "tick"
                                    << "3時15分" << true;
  QTest::newRow("live: same minute") << QStringList{"time:3:15:00", "時計", "tick", "time:3:15:40"} << "tick"
                                     << "3時15分" << false;
  QTest::newRow("live: next minute") << QStringList{"time:3:15:59", "時計", "tick", "time:3:16:00"} << "tick"
                                     << "3時16分" << true;
  QTest::newRow("live: press ignored") << QStringList{"time:3:15:00", "時計", "tick"} << "left"
                                       << "3時15分" << false;
  // 時計 clears the live clock's values, so until its next tick the face reads
  // no time, as it does before the first one.
  QTest::newRow("live: 時計 again") << QStringList{"time:3:15:00", "時計", "tick"} << "時計" << kNoTime << true;
  QTest::newRow("before any button: press") << QStringList{} << "left" << kNoTime << false;
}

void AccessibilityTest::faceReadsTheTimeShown() {
  QFETCH(QStringList, before);
  QFETCH(QString, action);
  QFETCH(QString, name);
  QFETCH(bool, changes);

  ClockWindow& w = *window;
  for (const QString& a : before) {
    perform(w, clock, a);
    if (QTest::currentTestFailed()) return;
  }
  finishEvent(w);
  const QString was = faceReads(w);
  captured.clear();
  perform(w, clock, action);
  if (QTest::currentTestFailed()) return;
  finishEvent(w);
  const QString now = faceReads(w);
  QCOMPARE(now, name);
  QCOMPARE(now != was, changes);
  // The name says what the face is, never the time (a screen reader would
  // say it twice); the value text and the text read the time.
  QAccessibleInterface* face = ifaceOf(w.surface());
  QCOMPARE(face->text(QAccessible::Name), kFaceName);
  QCOMPARE(face->textInterface()->text(0, face->textInterface()->characterCount()), now);
  QAccessibleValueInterface* value = face->valueInterface();
  if (now != kNoTime) {
    const auto shown = w.form().timeShown();
    QVERIFY(shown);
    const int minutes = shown->hour * 60 + shown->minute;
    QCOMPARE(value->currentValue().toInt(), minutes);
    // The range is the one the values keep to: hours 1..12 by hand, 0..23 live.
    const bool byHand = w.form().state.stepMode == tirpo::True;
    QCOMPARE(value->minimumValue().toInt(), byHand ? 60 : 0);
    QCOMPARE(value->maximumValue().toInt(), byHand ? 779 : 1439);
    // A value written by an assistive tool is refused: the face is read-only.
    QVERIFY(face->state().readOnly);
    value->setCurrentValue(minutes == 60 ? 61 : 60);
    finishEvent(w);
    QCOMPARE(faceReads(w), now);
  } else {
    QCOMPARE(value->minimumValue().toInt(), 0);
    QCOMPARE(value->maximumValue().toInt(), 0);
  }

  std::vector<Captured> events = toldEventsFor(w.surface());
  const QStringList heard = heardFrom(events);
  if (changes && w.form().autoRunGoing()) {
    // The run started within the last second: its time is told with the
    // next second (by then the run has moved it on).
    QVERIFY2(events.empty(), "the run's time was told within a second of the last");
    QTRY_VERIFY_WITH_TIMEOUT(!toldEventsFor(w.surface()).empty(), 5000);
    events = toldEventsFor(w.surface());
    QCOMPARE(events.size(), std::size_t{1});
    QVERIFY(events.back().value != was);
    return;
  }
  if (changes) {
    QVERIFY2(!events.empty(),
             qPrintable(QStringLiteral("the face went from \"%1\" to \"%2\" without a notification").arg(was, now)));
    // The screen reader is left with the time now shown, and hears nothing
    // else on the way.
    QVERIFY2(
        events.back().value == now,
        qPrintable(QStringLiteral("the face reads \"%1\" but the notifications said: %2").arg(now, heard.join(", "))));
    QVERIFY2(events.size() == 1, qPrintable(QStringLiteral("notified: %1").arg(heard.join(", "))));
  } else {
    QVERIFY2(events.empty(), qPrintable(QStringLiteral("%1 notification(s) (%2) while the face kept reading \"%3\"")
                                            .arg(events.size())
                                            .arg(heard.join(", "), now)));
  }
}

void AccessibilityTest::picturesGoWithTheirWindow() {
  // A screen reader keeps the ids of what it has met; once the window is
  // gone, an id of one of its pictures must lead nowhere.
  std::vector<QAccessible::Id> ids;
  window->manualButton()->click();
  for (int i = 0; i < 2; ++i) {
    QAccessibleInterface* picture = visiblePicture(*window);
    QVERIFY(picture);
    ids.push_back(QAccessible::uniqueId(picture));
    QVERIFY(QAccessible::accessibleInterface(ids.back()) == picture);
    perform(*window, clock, QStringLiteral("picture"));
  }
  window.reset();
  for (QAccessible::Id id : ids) {
    QAccessibleInterface* stale = QAccessible::accessibleInterface(id);
    QVERIFY2(!stale || !stale->isValid(), "a picture of a closed window still answers");
  }
}

void AccessibilityTest::faceActionsStepTheTime() {
  ClockWindow& w = *window;
  perform(w, clock, QStringLiteral("今何時"));
  perform(w, clock, QStringLiteral("pick:5"));
  QAccessibleActionInterface* actions = ifaceOf(w.surface())->actionInterface();
  QVERIFY(actions);
  const QString forward = QAccessibleActionInterface::increaseAction();
  const QString back = QAccessibleActionInterface::decreaseAction();
  QVERIFY(actions->actionNames().contains(forward) && actions->actionNames().contains(back));
  QVERIFY(!actions->localizedActionDescription(forward).isEmpty());
  for (int i = 0; i < 3; ++i) actions->doAction(forward);
  QCOMPARE(faceReads(w), QStringLiteral("12時15分"));
  actions->doAction(back);
  QCOMPARE(faceReads(w), QStringLiteral("12時10分"));
  // The live clock ignores presses: the actions are not offered, and one
  // asked for all the same changes nothing.
  perform(w, clock, QStringLiteral("time:3:15:00"));
  perform(w, clock, QStringLiteral("時計"));
  perform(w, clock, QStringLiteral("tick"));
  QVERIFY(!actions->actionNames().contains(forward) && !actions->actionNames().contains(back));
  actions->doAction(forward);
  actions->doAction(back);
  QCOMPARE(faceReads(w), QStringLiteral("3時15分"));
}

void AccessibilityTest::pictureFocusAndSwitchesAreTold() {
  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->click();
  finishEvent(w);
  w.stepList()->setFocus(Qt::TabFocusReason);
  captured.clear();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // the face
  QTest::keyClick(w.surface(), Qt::Key_Tab);                  // its picture
  finishEvent(w);
  const auto focusNames = [] {
    QStringList names;
    for (const Captured& c : captured)
      if (c.type == QAccessible::Focus) names << c.name;
    return names;
  };
  QCOMPARE(focusNames(), (QStringList{kFaceName, kHideNumerals}));
  QVERIFY(visiblePicture(w)->state().focused);
  QVERIFY(!ifaceOf(w.surface())->state().focused);
  QCOMPARE(ifaceOf(w.surface())->focusChild(), visiblePicture(w));

  captured.clear();
  QTest::keyClick(w.surface(), Qt::Key_Space);
  finishEvent(w);
  QStringList told;
  for (const Captured& c : captured) {
    if (c.type == QAccessible::ObjectShow) told << "show " + c.name;
    if (c.type == QAccessible::ObjectHide) told << "hide " + c.name;
    if (c.type == QAccessible::Focus) told << "focus " + c.name;
  }
  QCOMPARE(told, (QStringList{"show " + kShowNumerals, "hide " + kHideNumerals, "focus " + kShowNumerals}));
}

// While the run moves the clock ten minutes a second, the face is told at
// most once a second, and the time it stops at as soon as it stops.
void AccessibilityTest::theRunIsToldOnceASecond() {
  ClockWindow& w = *window;
  perform(w, clock, QStringLiteral("今何時"));
  finishEvent(w);
  QAccessibleActionInterface* actions = ifaceOf(w.surface())->actionInterface();
  captured.clear();
  QElapsedTimer run;
  run.start();
  actions->doAction(QAccessibleActionInterface::increaseAction());
  QVERIFY(w.form().autoRunGoing());
  QTest::qWait(2600);
  actions->doAction(QAccessibleActionInterface::increaseAction());
  const qint64 ranMs = run.elapsed();
  QVERIFY(!w.form().Timer4.enabled());
  finishEvent(w);
  const std::vector<Captured> events = toldEventsFor(w.surface());
  const QStringList heard = heardFrom(events);
  QVERIFY2(events.size() >= 2, qPrintable(heard.join(", ")));
  QVERIFY2(static_cast<qint64>(events.size()) <= ranMs / 1000 + 2, qPrintable(heard.join(", ")));
  for (std::size_t i = 2; i < events.size(); ++i)  // the last one, at the stop, may come sooner
    QVERIFY2(events[i - 1].atMs - events[i - 2].atMs >= 990, qPrintable(heard.join(", ")));
  QCOMPARE(events.back().value, faceReads(w));
}

// A held arrow key repeats its press some 25 times a second; the face tells
// the time at most about twice a second while it does, and the time it
// stops at as soon as the key is let go.
void AccessibilityTest::aHeldKeyIsToldTwiceASecond() {
  ClockWindow& w = *window;
  perform(w, clock, QStringLiteral("今何時"));
  perform(w, clock, QStringLiteral("pick:1"));
  activate(w);
  w.surface()->setFocus(Qt::TabFocusReason);
  finishEvent(w);
  captured.clear();
  const auto key = [&](QEvent::Type type, bool repeat) {
    QKeyEvent e(type, Qt::Key_Right, Qt::NoModifier, QString(), repeat);
    QApplication::sendEvent(w.surface(), &e);
  };
  QElapsedTimer held;
  held.start();
  key(QEvent::KeyPress, false);
  int presses = 1;
  while (held.elapsed() < 1600) {
    QTest::qWait(40);
    key(QEvent::KeyRelease, true);  // the toolkit's repeats come in pairs
    key(QEvent::KeyPress, true);
    ++presses;
  }
  const qint64 letGo = sinceStart.elapsed();
  key(QEvent::KeyRelease, false);
  // Let go once no repeat follows the release.
  QTRY_VERIFY_WITH_TIMEOUT(!toldEventsFor(w.surface()).empty() &&
                               toldEventsFor(w.surface()).back().value == QStringLiteral("12時%1分").arg(presses),
                           1000);
  const QString last = QStringLiteral("12時%1分").arg(presses);
  QCOMPARE(faceReads(w), last);

  const std::vector<Captured> events = toldEventsFor(w.surface());
  const QStringList heard = heardFrom(events);
  // The first press at once, then one each half second: four in 1.6 s at
  // most, and the one at the release.
  QVERIFY2(events.size() >= 3 && events.size() <= 5, qPrintable(heard.join(", ")));
  for (std::size_t i = 1; i + 1 < events.size(); ++i)
    QVERIFY2(events[i].atMs - events[i - 1].atMs >= 490, qPrintable(heard.join(", ")));
  QCOMPARE(events.front().value, QStringLiteral("12時1分"));
  QCOMPARE(events.back().value, last);
  QVERIFY2(events.back().atMs - letGo < 200, qPrintable(heard.join(", ")));
}

TIRPO_WIDGET_TEST_MAIN(AccessibilityTest)

#include "accessibility_test.moc"
