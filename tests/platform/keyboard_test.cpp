// The clock from the keyboard, on the real window shown offscreen: the tab
// chain ends with the face and its picture, a mouse press leaves the focus
// where it is, the arrow keys step the time as the mouse does, Space and
// Return press the picture, the focus ring shows on every background and
// covers nothing the face draws, and typing in the step list keeps the
// cursor where it is.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "platform/clock_window.h"
#include "platform/face_keyboard.h"
#include "platform/face_surface.h"
#include "support/widget_test_base.h"

using tirpo::ClockWindow;
using tirpo::Form88;
using namespace tirpo::test;

namespace {

// The shown window made the active one, as the user's click on it would.
void activate(ClockWindow& w) {
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Tab from wherever the focus is, as the user presses it.
void tab(bool back = false) {
  QWidget* at = QApplication::focusWidget();
  QVERIFY(at);
  QTest::keyClick(at, back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
}

// What has the keyboard focus, by name: a widget's accessible name or the
// button's text, "face", or "picture".
QString focusName(ClockWindow& w) {
  QWidget* f = QApplication::focusWidget();
  if (!f) return QStringLiteral("(none)");
  if (f == w.surface())
    return w.surface()->keyboard().focusedPicture() ? QStringLiteral("picture") : QStringLiteral("face");
  if (f == w.stepList() || f == w.stepList()->lineEdit()) return QStringLiteral("list");
  if (auto* b = qobject_cast<QAbstractButton*>(f)) return b->text();
  return f->metaObject()->className();
}

}  // namespace

class KeyboardTest : public ClockWindowTestBase {
  Q_OBJECT

 private slots:
  void tabChainEndsWithTheFaceAndItsPicture();
  void mousePressLeavesTheFocus();
  void arrowKeysStepLikeTheMouse_data();
  void arrowKeysStepLikeTheMouse();
  void spaceAndReturnPressThePicture();
  void focusRingShowsAndCoversNothing_data();
  void focusRingShowsAndCoversNothing();
  void typingInTheStepListKeepsTheCursor();
};

void KeyboardTest::tabChainEndsWithTheFaceAndItsPicture() {
  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->click();  // the list shows, the second hand's box is off
  w.clockButton()->setFocus(Qt::TabFocusReason);
  QStringList forward{focusName(w)};
  for (int i = 0; i < 7; ++i) {
    tab();
    forward << focusName(w);
  }
  QCOMPARE(forward, (QStringList{"時計", "今何時", "分", "時", "list", "face", "picture", "時計"}));
  QStringList back{focusName(w)};
  for (int i = 0; i < 3; ++i) {
    tab(true);
    back << focusName(w);
  }
  QCOMPARE(back, (QStringList{"時計", "picture", "face", "list"}));
}

void KeyboardTest::mousePressLeavesTheFocus() {
  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->setFocus(Qt::TabFocusReason);
  w.manualButton()->click();
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, bareFacePoint(w.form()).toPoint());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.manualButton()));
  QVERIFY(w.form().Timer4.enabled());  // the press itself went to the face
}

void KeyboardTest::arrowKeysStepLikeTheMouse_data() {
  QTest::addColumn<int>("step");          // list index, -1 for "AUTO"
  QTest::addColumn<QList<int>>("keys");   // Qt keys; negative: the key auto-repeated
  QTest::addColumn<QList<int>>("mouse");  // the same presses as mouse buttons
  QTest::addColumn<QString>("minutes");

  const int R = Qt::Key_Right, L = Qt::Key_Left, U = Qt::Key_Up, D = Qt::Key_Down;
  const int left = Qt::LeftButton, right = Qt::RightButton;
  QTest::newRow("5: R R R L") << 1 << QList<int>{R, R, R, L} << QList<int>{left, left, left, right} << "10";
  QTest::newRow("15: U D D") << 3 << QList<int>{U, D, D} << QList<int>{left, right, right} << "-15";
  QTest::newRow("1: held R") << 0 << QList<int>{R, -R, -R} << QList<int>{left, left, left} << "3";
  QTest::newRow("AUTO: held R starts once") << -1 << QList<int>{R, -R, -R} << QList<int>{left} << "";
  QTest::newRow("AUTO: R then L") << -1 << QList<int>{R, L, -L} << QList<int>{left, right} << "";
}

void KeyboardTest::arrowKeysStepLikeTheMouse() {
  QFETCH(int, step);
  QFETCH(QList<int>, keys);
  QFETCH(QList<int>, mouse);
  QFETCH(QString, minutes);

  ClockWindow& byKey = *window;
  ClockWindow byMouse(&clock);
  activate(byKey);
  for (ClockWindow* w : {&byKey, &byMouse}) {
    w->manualButton()->click();
    if (step >= 0) w->form().Combo1.pick(step);
  }
  byKey.surface()->setFocus(Qt::TabFocusReason);
  for (int k : keys) {
    QKeyEvent press(QEvent::KeyPress, std::abs(k), Qt::NoModifier, QString(), k < 0);
    QApplication::sendEvent(byKey.surface(), &press);
    QVERIFY(press.isAccepted());
  }
  for (int b : mouse)
    QTest::mouseClick(byMouse.surface(), Qt::MouseButton(b), {}, bareFacePoint(byMouse.form()).toPoint());

  const Form88& k = byKey.form();
  const Form88& m = byMouse.form();
  QCOMPARE(QString::fromStdString(k.Label1.caption()), minutes);
  QCOMPARE(k.Label1.caption(), m.Label1.caption());
  QCOMPARE(k.Label2.caption(), m.Label2.caption());
  QCOMPARE(k.Timer4.enabled(), m.Timer4.enabled());
  QCOMPARE(k.state.runForward, m.state.runForward);
  QCOMPARE(k.Hun.x2Twips(), m.Hun.x2Twips());
  QCOMPARE(k.Ji.y2Twips(), m.Ji.y2Twips());
}

void KeyboardTest::spaceAndReturnPressThePicture() {
  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->click();
  const Form88& f = w.form();
  w.surface()->setFocus(Qt::BacktabFocusReason);  // arriving backwards: the picture first
  QCOMPARE(focusName(w), QStringLiteral("picture"));
  QVERIFY(f.Suuji2[30].visible());
  for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
    const tirpo::Boolean shown = f.Suuji2[30].visible();
    QTest::keyClick(w.surface(), key);
    QVERIFY(f.Suuji2[30].visible() != shown);
    QCOMPARE(f.Image1.visible(), shown);  // the other picture keeps the stop
    QCOMPARE(focusName(w), QStringLiteral("picture"));
  }
  // On the face itself Space is not a press.
  tab(true);
  QCOMPARE(focusName(w), QStringLiteral("face"));
  const tirpo::Boolean shown = f.Suuji2[30].visible();
  QTest::keyClick(w.surface(), Qt::Key_Space);
  QCOMPARE(f.Suuji2[30].visible(), shown);
  QVERIFY(!f.Timer4.enabled());
}

void KeyboardTest::focusRingShowsAndCoversNothing_data() {
  QTest::addColumn<QString>("mode");
  QTest::addColumn<bool>("picture");
  for (const char* mode : {"start", "時計", "今何時"}) {
    QTest::newRow(qPrintable(QStringLiteral("%1, face").arg(mode))) << mode << false;
    QTest::newRow(qPrintable(QStringLiteral("%1, picture").arg(mode))) << mode << true;
  }
}

// The ring is white around black, so one of the two stands out on the light
// grey, the green and the grey face. It is painted first: every pixel it
// changes was the face's bare background, or the soft edge of something
// drawn on it, never the ink of a numeral, dot, hand or picture.
void KeyboardTest::focusRingShowsAndCoversNothing() {
  QFETCH(QString, mode);
  QFETCH(bool, picture);
  ClockWindow& w = *window;
  clock.set(10, 8, 30);
  activate(w);
  w.resize(700, 700);  // large enough for the minute numerals
  if (mode == "時計") w.clockButton()->click();
  if (mode == "今何時") w.manualButton()->click();
  w.form().Timer1_Timer();
  QVERIFY(w.form().Image1.visible() || w.form().Image4.visible() || !picture);
  w.clockButton()->setFocus(Qt::OtherFocusReason);
  const QImage plain = grabFace(w).convertToFormat(QImage::Format_RGB32);
  w.surface()->setFocus(picture ? Qt::BacktabFocusReason : Qt::TabFocusReason);
  QCOMPARE(focusName(w), picture ? QStringLiteral("picture") : QStringLiteral("face"));
  const QImage ring = grabFace(w).convertToFormat(QImage::Format_RGB32);
  QCOMPARE(ring.size(), plain.size());

  const QRgb background = plain.pixel(plain.width() / 2, plain.height() - 12);
  const QList<QRgb> ink{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(0, 192, 0)};
  int changed = 0, white = 0, black = 0, overInk = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb before = plain.pixel(x, y), after = ring.pixel(x, y);
      if (before == after) continue;
      ++changed;
      white += after == qRgb(255, 255, 255);
      black += after == qRgb(0, 0, 0);
      overInk += ink.contains(before);
    }
  QVERIFY2(white > 50 && black > 50,
           qPrintable(QStringLiteral("%1 white, %2 black of %3 changed pixels").arg(white).arg(black).arg(changed)));
  QVERIFY2(overInk == 0, qPrintable(QStringLiteral("the ring covers %1 pixels of ink").arg(overInk)));
  QVERIFY(background != qRgb(255, 255, 255) && background != qRgb(0, 0, 0));
}

void KeyboardTest::typingInTheStepListKeepsTheCursor() {
  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->click();
  const QString title = w.windowTitle();
  QLineEdit* edit = w.stepList()->lineEdit();
  edit->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, QStringLiteral("15"));
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClicks(edit, QStringLiteral("02"));
  QCOMPARE(edit->text(), QStringLiteral("1025"));
  QCOMPARE(edit->cursorPosition(), 3);
  // What typing does to the clock stays: the text is the list's, no step is picked.
  QCOMPARE(w.form().Combo1.text(), std::string("1025"));
  QCOMPARE(w.form().Combo1.listIndex(), -1);
  QCOMPARE(w.form().state.stepIndex, 0.0f);
  QCOMPARE(w.windowTitle(), title);
  edit->clearFocus();
}

TIRPO_WIDGET_TEST_MAIN(KeyboardTest)

#include "keyboard_test.moc"
