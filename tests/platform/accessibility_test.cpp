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
#include "platform/face_surface.h"
#include "support/widget_test_base.h"

using tirpo::ClockWindow;
using tirpo::Form88;
using namespace tirpo::test;

namespace {

const QString kShowNumerals = QStringLiteral("分の数字を表示する");
const QString kHideNumerals = QStringLiteral("分の数字を隠す");
// What the face says while its hands show no time.
const QString kNoTime = QStringLiteral("時計の文字盤");

// Notifications, as a screen reader receives them: the bridge to the
// desktop's accessibility bus sends the new name along with a name change,
// read at the moment the notification is sent.
struct Captured {
  QObject* object;
  QAccessible::Event type;
  QString name;
  qint64 atMs;
  QAccessibleInterface* iface;
};
std::vector<Captured> captured;
QElapsedTimer sinceStart;

void captureUpdate(QAccessibleEvent* event) {
  QAccessibleInterface* iface = event->accessibleInterface();
  captured.push_back({event->object(), event->type(), iface ? iface->text(QAccessible::Name) : QString(),
                      sinceStart.elapsed(), iface});
}

// The name notifications about one object, in order.
std::vector<Captured> nameEventsFor(const QObject* object) {
  std::vector<Captured> out;
  for (const Captured& c : captured)
    if (c.object == object && c.type == QAccessible::NameChanged) out.push_back(c);
  return out;
}
// Each name notification of the face comes with a value notification: a
// screen reader speaks a focused spin button's text when its value changes.
std::size_t valueEventsFor(const QObject* object) {
  return static_cast<std::size_t>(std::count_if(captured.begin(), captured.end(), [object](const Captured& c) {
    return c.object == object && c.type == QAccessible::ValueChanged;
  }));
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
QString faceName(ClockWindow& w) { return nameOf(w.surface()); }

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
  void faceIsAClockWithPictures();
  void pictureNamesFollowTheNumerals_data();
  void pictureNamesFollowTheNumerals();
  void faceReadsTheTimeShown_data();
  void faceReadsTheTimeShown();
  void picturesGoWithTheirWindow();
  void faceActionsStepTheTime();
  void pictureFocusAndSwitchesAreTold();
  void theRunIsToldOnceASecond();
};

void AccessibilityTest::initTestCase() {
  sinceStart.start();
  QVERIFY2(activateAccessibility(), "notifications cannot be switched on");
}

void AccessibilityTest::controlsHaveNames_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<int>("role");
  QTest::addColumn<QString>("caption");  // what is written on it; its name must contain it

  QTest::newRow("時計") << "clock" << int(QAccessible::Button) << "時計";
  QTest::newRow("今何時") << "manual" << int(QAccessible::Button) << "今何時";
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

void AccessibilityTest::faceIsAClockWithPictures() {
  ClockWindow& w = *window;
  QAccessibleInterface* face = ifaceOf(w.surface());
  QVERIFY(face && face->isValid());
  // A spin button, which AT-SPI knows (a clock arrives there as "unknown"),
  // stepped by its actions; its text and value follow the time shown.
  QCOMPARE(face->role(), QAccessible::SpinBox);
  QVERIFY(face->state().focusable);
  QVERIFY(face->textInterface() && face->valueInterface());
  QCOMPARE(face->text(QAccessible::Name), kNoTime);
  QVERIFY(!face->text(QAccessible::Description).isEmpty());

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

void AccessibilityTest::pictureNamesFollowTheNumerals_data() {
  QTest::addColumn<QString>("how");  // "action": the accessible press; "mouse": a press on the picture
  QTest::newRow("accessible press") << "action";
  QTest::newRow("mouse press") << "mouse";
}

void AccessibilityTest::pictureNamesFollowTheNumerals() {
  QFETCH(QString, how);
  ClockWindow& w = *window;
  w.manualButton()->click();
  const Form88& f = w.form();

  const auto press = [&] {
    if (how == "action") {
      visiblePicture(w)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
      QTest::mouseClick(w.surface(), Qt::LeftButton, {}, facePoint(f, 0, 0).toPoint());
    }
  };
  // Each row: whether the minute numerals are shown, and what the one
  // picture offered says a press will do.
  for (int round = 0; round < 2; ++round) {
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
}

void AccessibilityTest::faceReadsTheTimeShown_data() {
  QTest::addColumn<QStringList>("before");  // actions that set the scene
  QTest::addColumn<QString>("action");      // the action watched
  QTest::addColumn<QString>("name");        // what the face reads afterwards
  QTest::addColumn<bool>("changes");        // the face reads something else than before

  // The manual clock counts minutes after 12 o'clock.
  QTest::newRow("今何時 from start") << QStringList{} << "今何時"
                                     << "12時0分" << true;
  QTest::newRow("今何時, 15, left") << QStringList{"今何時", "pick:15"} << "left"
                                    << "12時15分" << true;
  QTest::newRow("今何時, 15, left, right") << QStringList{"今何時", "pick:15", "left"} << "right"
                                           << "12時0分" << true;
  QTest::newRow("before 12: right twice") << QStringList{"今何時", "pick:15", "right"} << "right"
                                          << "11時30分" << true;
  QTest::newRow("60 x13: 1 o'clock again") << (QStringList{"今何時", "pick:60"} << QStringList(12, "left")) << "left"
                                           << "1時0分" << true;
  QTest::newRow("pick changes no time") << QStringList{"今何時", "pick:15", "left"} << "pick:5"
                                        << "12時15分" << false;
  QTest::newRow("picture changes no time") << QStringList{"今何時", "pick:15", "left"} << "picture"
                                           << "12時15分" << false;
  QTest::newRow("AUTO press only starts") << QStringList{"今何時"} << "left"
                                          << "12時0分" << false;
  QTest::newRow("AUTO run tick") << QStringList{"今何時", "left"} << "run"
                                 << "12時1分" << true;
  QTest::newRow("AUTO backward tick") << QStringList{"今何時", "right"} << "run"
                                      << "11時59分" << true;
  QTest::newRow("今何時 again clears") << QStringList{"今何時", "pick:15", "left"} << "今何時"
                                       << "12時0分" << true;
  // The live clock reads the computer's hours, 0 to 23.
  QTest::newRow("live: first tick") << QStringList{"time:3:15:00", "時計"} << "tick"
                                    << "3時15分" << true;
  QTest::newRow("live: afternoon") << QStringList{"time:15:30:20", "時計"} << "tick"
                                   << "15時30分" << true;
  QTest::newRow("live: midnight") << QStringList{"time:0:00:00", "時計"} << "tick"
                                  << "0時0分" << true;
  QTest::newRow("live: same minute") << QStringList{"time:3:15:00", "時計", "tick", "time:3:15:40"} << "tick"
                                     << "3時15分" << false;
  QTest::newRow("live: next minute") << QStringList{"time:3:15:59", "時計", "tick", "time:3:16:00"} << "tick"
                                     << "3時16分" << true;
  QTest::newRow("live: next hour") << QStringList{"time:9:59:59", "時計", "tick", "time:10:00:00"} << "tick"
                                   << "10時0分" << true;
  QTest::newRow("live: press ignored") << QStringList{"time:3:15:00", "時計", "tick"} << "left"
                                       << "3時15分" << false;
  // 時計 clears the live clock's values, so until its next tick the face reads
  // no time, as it does before the first one.
  QTest::newRow("live: 時計 again") << QStringList{"time:3:15:00", "時計", "tick"} << "時計" << kNoTime << true;
  QTest::newRow("live then 今何時") << QStringList{"time:3:15:00", "時計", "tick"} << "今何時"
                                    << "12時0分" << true;
  // Until the live clock's first tick its hands show no time.
  QTest::newRow("manual then 時計") << QStringList{"今何時", "pick:15", "left"} << "時計" << kNoTime << true;
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
  const QString was = faceName(w);
  captured.clear();
  perform(w, clock, action);
  if (QTest::currentTestFailed()) return;
  finishEvent(w);
  const QString now = faceName(w);
  QCOMPARE(now, name);
  QCOMPARE(now != was, changes);
  // Name, value text and text read the same time.
  if (now != kNoTime) {
    QAccessibleInterface* face = ifaceOf(w.surface());
    QCOMPARE(face->text(QAccessible::Value), now);
    QCOMPARE(face->textInterface()->text(0, face->textInterface()->characterCount()), now);
    const auto shown = w.form().timeShown();
    QVERIFY(shown);
    QCOMPARE(face->valueInterface()->currentValue().toInt(), shown->hour * 60 + shown->minute);
  }

  QStringList heard;
  std::vector<Captured> events = nameEventsFor(w.surface());
  QCOMPARE(valueEventsFor(w.surface()), events.size());
  for (const Captured& c : events) heard << c.name;
  if (changes && w.form().autoRunGoing()) {
    // The run started within the last second: its time is told with the
    // next second (by then the run has moved it on).
    QVERIFY2(events.empty(), "the run's time was told within a second of the last");
    QTRY_VERIFY_WITH_TIMEOUT(!nameEventsFor(w.surface()).empty(), 5000);
    events = nameEventsFor(w.surface());
    QCOMPARE(events.size(), std::size_t{1});
    QVERIFY(events.back().name != was);
    return;
  }
  if (changes) {
    QVERIFY2(!events.empty(),
             qPrintable(QStringLiteral("the face went from \"%1\" to \"%2\" without a notification").arg(was, now)));
    // The screen reader is left with the time now shown, and hears nothing
    // else on the way.
    QVERIFY2(
        events.back().name == now,
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
  QCOMPARE(faceName(w), QStringLiteral("12時15分"));
  actions->doAction(back);
  QCOMPARE(faceName(w), QStringLiteral("12時10分"));
  // In the live clock the actions, like the presses, change nothing.
  perform(w, clock, QStringLiteral("time:3:15:00"));
  perform(w, clock, QStringLiteral("時計"));
  perform(w, clock, QStringLiteral("tick"));
  actions->doAction(forward);
  actions->doAction(back);
  QCOMPARE(faceName(w), QStringLiteral("3時15分"));
}

void AccessibilityTest::pictureFocusAndSwitchesAreTold() {
  ClockWindow& w = *window;
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
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
  QCOMPARE(focusNames(), (QStringList{QStringLiteral("12時0分"), kHideNumerals}));
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
  const std::vector<Captured> events = nameEventsFor(w.surface());
  QStringList heard;
  for (const Captured& c : events) heard << QStringLiteral("%1 at %2").arg(c.name).arg(c.atMs);
  QVERIFY2(events.size() >= 2, qPrintable(heard.join(", ")));
  QVERIFY2(static_cast<qint64>(events.size()) <= ranMs / 1000 + 2, qPrintable(heard.join(", ")));
  for (std::size_t i = 2; i < events.size(); ++i)  // the last one, at the stop, may come sooner
    QVERIFY2(events[i - 1].atMs - events[i - 2].atMs >= 990, qPrintable(heard.join(", ")));
  QCOMPARE(events.back().name, faceName(w));
}

TIRPO_WIDGET_TEST_MAIN(AccessibilityTest)

#include "accessibility_test.moc"
