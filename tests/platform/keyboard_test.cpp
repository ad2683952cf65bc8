// The clock from the keyboard, on the real window shown offscreen: the tab
// chain ends with the face and its picture, a mouse press leaves the focus
// where it is, the arrow keys step the time as the mouse does, Space and
// Return press the picture, the focus ring shows on every background and
// covers nothing the face draws, and typing in the step list keeps the
// cursor where it is.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
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
  void tabChainEndsWithTheFaceAndItsPicture_data();
  void tabChainEndsWithTheFaceAndItsPicture();
  void mousePressLeavesTheFocus();
  void arrowKeysReachTheFace_data();
  void arrowKeysReachTheFace();
  void spaceAndReturnPressThePicture();
  void focusRingShowsAndCoversNothing_data();
  void focusRingShowsAndCoversNothing();
  void everyControlWearsTheSameRing_data();
  void everyControlWearsTheSameRing();
  void typingInTheStepListKeepsTheCursor();
};

// The controls in the order of their tab indices, then the face and its
// picture; the list only where it shows, 秒 only where it can be used.
void KeyboardTest::tabChainEndsWithTheFaceAndItsPicture_data() {
  QTest::addColumn<QString>("mode");
  QTest::addColumn<QStringList>("forward");
  QTest::newRow("時計") << "時計" << QStringList{"時計", "今何時", "秒", "分", "時", "face", "picture", "時計"};
  QTest::newRow("今何時") << "今何時" << QStringList{"時計", "今何時", "分", "時", "list", "face", "picture", "時計"};
}

void KeyboardTest::tabChainEndsWithTheFaceAndItsPicture() {
  QFETCH(QString, mode);
  QFETCH(QStringList, forward);
  ClockWindow& w = *window;
  activate(w);
  (mode == "時計" ? w.clockButton() : w.manualButton())->click();
  w.clockButton()->setFocus(Qt::TabFocusReason);
  QStringList went{focusName(w)};
  for (int i = 1; i < forward.size(); ++i) {
    tab();
    went << focusName(w);
  }
  QCOMPARE(went, forward);
  QStringList back{focusName(w)};
  for (int i = 0; i < 3; ++i) {
    tab(true);
    back << focusName(w);
  }
  QCOMPARE(back, (QStringList{forward[0], forward[forward.size() - 2], forward[forward.size() - 3],
                              forward[forward.size() - 4]}));
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

// What each sequence does to the clock is the window model's (its key
// tests); here: the toolkit's keys reach it as the face's keys, and a held
// key's repeats reach it as repeats, also where X11 sends them as releases
// and presses that are not marked as repeats (a key held with "AUTO" in the
// list starts the run once: repeats that each pressed would stop it again).
void KeyboardTest::arrowKeysReachTheFace_data() {
  QTest::addColumn<int>("step");         // list index, -1 for "AUTO"
  QTest::addColumn<QList<int>>("keys");  // Qt keys; negative: the key repeated while held
  QTest::addColumn<bool>("marked");      // the toolkit marks the repeats (else: a release and press each)
  QTest::addColumn<QString>("minutes");
  QTest::addColumn<bool>("running");

  const int R = Qt::Key_Right, L = Qt::Key_Left, U = Qt::Key_Up, D = Qt::Key_Down;
  QTest::newRow("5: R U L D R") << 1 << QList<int>{R, U, L, D, R} << true << "5" << true;
  QTest::newRow("1: held R, marked") << 0 << QList<int>{R, -R, -R} << true << "3" << true;
  QTest::newRow("AUTO: held R, marked") << -1 << QList<int>{R, -R, -R, -R} << true << "" << true;
  QTest::newRow("AUTO: held R, unmarked") << -1 << QList<int>{R, -R, -R, -R} << false << "" << true;
}

void KeyboardTest::arrowKeysReachTheFace() {
  QFETCH(int, step);
  QFETCH(QList<int>, keys);
  QFETCH(bool, marked);
  QFETCH(QString, minutes);
  QFETCH(bool, running);

  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->click();
  if (step >= 0) w.form().Combo1.pick(step);
  w.surface()->setFocus(Qt::TabFocusReason);
  const auto send = [&](QEvent::Type type, int key, bool repeat) {
    QKeyEvent e(type, key, Qt::NoModifier, QString(), repeat);
    QApplication::sendEvent(w.surface(), &e);
    return e.isAccepted();
  };
  for (int k : keys) {
    if (k < 0 && !marked) send(QEvent::KeyRelease, -k, false);
    QVERIFY(send(QEvent::KeyPress, std::abs(k), k < 0 && marked));
  }
  QCOMPARE(QString::fromStdString(w.form().Label1.caption()), minutes);
  QCOMPARE(bool(w.form().Timer4.enabled()), running);
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

void KeyboardTest::everyControlWearsTheSameRing_data() {
  QTest::addColumn<QString>("mode");
  QTest::addColumn<QString>("control");
  // Light grey at start, green in the live clock (where 時計 is yellow),
  // dark grey by hand (where 今何時 is yellow and the step list shows).
  for (const char* mode : {"start", "時計", "今何時"})
    for (const char* control : {"時計", "今何時", "分"})
      QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(mode, control))) << mode << control;
  QTest::newRow("今何時, list") << "今何時"
                                << "list";
}

// Whatever has the keyboard focus wears the face's ring: a white band
// outside a black one, all round the control, which otherwise keeps its
// look (a mode button its colour). A mouse press gives no ring.
void KeyboardTest::everyControlWearsTheSameRing() {
  QFETCH(QString, mode);
  QFETCH(QString, control);
  ClockWindow& w = *window;
  activate(w);
  if (mode == "時計") w.clockButton()->click();
  if (mode == "今何時") w.manualButton()->click();
  QWidget* c = control == "時計"     ? static_cast<QWidget*>(w.clockButton())
               : control == "今何時" ? w.manualButton()
               : control == "分"     ? static_cast<QWidget*>(w.handBox(1))
                                     : w.stepList();
  QVERIFY(c->isVisible());
  // Grabbed as the screen shows it, in logical pixels.
  const auto look = [c] {
    QImage img = c->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return img.scaled(c->size());
  };
  const QImage plain = look();
  // Tab round to it, as the user does (only a real Tab makes the focus the
  // keyboard's).
  w.clockButton()->setFocus(Qt::OtherFocusReason);
  tab();
  for (int i = 0; i < 12 && !c->hasFocus(); ++i) tab();
  QVERIFY(c->hasFocus());
  const QImage ringed = look();

  // Along each edge, through its middle: white on the outer band, black on
  // the inner one.
  const int cw = ringed.width(), ch = ringed.height();
  const QList<QPoint> outer{{0, ch / 2}, {1, ch / 2}, {cw - 1, ch / 2}, {cw / 2, 0}, {cw / 2, ch - 2}};
  const QList<QPoint> inner{{2, ch / 2}, {3, ch / 2}, {cw - 3, ch / 2}, {cw / 2, 3}, {cw / 2, ch - 4}};
  for (const QPoint& p : outer)
    QVERIFY2(ringed.pixel(p) == qRgb(255, 255, 255),
             qPrintable(QStringLiteral("%1,%2 %3").arg(p.x()).arg(p.y()).arg(describe(QColor(ringed.pixel(p))))));
  for (const QPoint& p : inner)
    QVERIFY2(ringed.pixel(p) == qRgb(0, 0, 0),
             qPrintable(QStringLiteral("%1,%2 %3").arg(p.x()).arg(p.y()).arg(describe(QColor(ringed.pixel(p))))));
  // Inside the ring the control looks as it did (the list's field selects
  // its text when tabbed to, as every field does).
  if (control != "list") {
    const QRect within = ringed.rect().adjusted(6, 6, -6, -6);
    int differ = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
      for (int x = within.left(); x <= within.right(); ++x) differ += plain.pixel(x, y) != ringed.pixel(x, y);
    QVERIFY2(differ * 20 < within.width() * within.height(),
             qPrintable(QStringLiteral("%1 pixels differ").arg(differ)));
  }

  // Focus given by the mouse shows no ring.
  if (control == "list") {
    w.clockButton()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(w.stepList()->lineEdit(), Qt::LeftButton);
    QVERIFY(c->hasFocus());
    const QImage clicked = look();
    QVERIFY(clicked.pixel(outer[0]) != qRgb(255, 255, 255) || clicked.pixel(inner[0]) != qRgb(0, 0, 0));
  }
}

void KeyboardTest::typingInTheStepListKeepsTheCursor() {
  ClockWindow& w = *window;
  activate(w);
  w.manualButton()->click();
  QLineEdit* edit = w.stepList()->lineEdit();
  edit->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, QStringLiteral("15"));
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClicks(edit, QStringLiteral("02"));
  QCOMPARE(edit->text(), QStringLiteral("1025"));
  QCOMPARE(edit->cursorPosition(), 3);
  // The text is the list's, no entry picked (what typing leaves of the
  // clock is the step list tests' to show).
  QCOMPARE(w.form().Combo1.text(), std::string("1025"));
  QCOMPARE(w.form().Combo1.listIndex(), -1);
  edit->clearFocus();
}

TIRPO_WIDGET_TEST_MAIN(KeyboardTest)

#include "keyboard_test.moc"
