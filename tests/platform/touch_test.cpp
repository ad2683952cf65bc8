// Widget tests of the clock by touch, with a touch screen made for the test:
// every finger on the face must leave the window just as the mouse press it
// stands for leaves a second window beside it (a tap a left press, a finger
// held in place a right press, a sliding or second finger nothing), and the
// other controls answer a tap as they answer a click.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointingDevice>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <sstream>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/face_touch.h"
#include "support/form_readings.h"
#include "support/widget_test_base.h"
#include "view/hold_ring.h"

using tirpo::ClockWindow;
using tirpo::FaceTouch;
using tirpo::Form88;
using tirpo::TouchPress;
using namespace tirpo::test;

namespace {

enum class Setup { Start, Step15, Auto, Live };
enum class Target { Bare, Picture, Numeral };
// Each finger gesture and the mouse buttons it stands for.
enum class Gesture { Tap, SlowTap, WobbleTap, Hold, Slide, TwoFingers };

QList<Qt::MouseButton> mouseFor(Gesture g) {
  switch (g) {
    case Gesture::Tap:
    case Gesture::SlowTap:
    case Gesture::WobbleTap:
      return {Qt::LeftButton};
    case Gesture::Hold:
      return {Qt::RightButton};
    default:
      return {};
  }
}

// The slop and the hold time in the surface's pixels and in milliseconds,
// with room to spare either side.
double slopPixels() { return TouchPress::kSlopTwips / tpp(); }
constexpr int kSlowTapMs = 250;
constexpr int kHoldWaitMs = 800;

void setUp(ClockWindow& w, Setup s) {
  switch (s) {
    case Setup::Start:
      break;
    case Setup::Step15:
      click(w.manualButton());
      for (int i = 0; i < 4; ++i) QTest::keyClick(w.stepList()->lineEdit(), Qt::Key_Down);
      QCOMPARE(w.stepList()->currentText(), QStringLiteral("15"));
      break;
    case Setup::Auto:
      click(w.manualButton());
      QCOMPARE(w.stepList()->currentText(), QStringLiteral("AUTO"));
      break;
    case Setup::Live:
      click(w.clockButton());
      w.form().Timer1_Timer();
      break;
  }
}

QPointF pointOf(const ClockWindow& w, Target t) {
  const Form88& f = const_cast<ClockWindow&>(w).form();
  switch (t) {
    case Target::Bare:
      return bareFacePoint(f);
    case Target::Picture:
      return pixelsOf((f.Image1.visible() ? f.Image1 : f.Image4).twips()).center();
    case Target::Numeral:
      return pixelsOf(f.Suuji[3].twips()).center();
  }
  return {};
}

// What the AUTO run is doing: the timer and the direction.
std::string runOf(const Form88& f) {
  return std::string("t4=") + (f.Timer4.enabled() ? "on" : "off") +
         (f.state.runForward == tirpo::True ? " forward" : "") + (f.state.runBackward == tirpo::True ? " back" : "");
}

int minutesOf(const Form88& f) { return f.Label1.caption().empty() ? 0 : std::stoi(f.Label1.caption()); }

}  // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(QList<Gesture>)

class TouchTest : public ClockWindowTestBase {
  Q_OBJECT

 protected slots:
  void init() override {
    ClockWindowTestBase::init();
    mouseWindow = std::make_unique<ClockWindow>(&clock);
    // Beside the other: a touch finds its window by where it lands.
    mouseWindow->move(window->frameGeometry().right() + 20, window->y());
    mouseWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(mouseWindow.get()));
  }
  void cleanup() override {
    mouseWindow.reset();
    ClockWindowTestBase::cleanup();
  }

 private slots:
  void fingersOnTheFace_data();
  void fingersOnTheFace();
  void holdIsShownAndLeavesNothing();
  void doubleClickIsTwoPresses();
  void touchpadFingersAreNotTouches();
  void controlsByTouch_data();
  void controlsByTouch();
  void stepListByTouch();

 private:
  // The touch on the face of the touch window; the mouse's equivalent on the
  // other window runs in between, while the finger of a hold is still down.
  void touch(Gesture g, QPointF p, const std::function<void()>& whileHeld);
  void compareWindows(bool running, const char* when);

  std::unique_ptr<ClockWindow> mouseWindow;
  // Deleted with the test, which also takes it off the window system's list.
  const std::unique_ptr<QPointingDevice> screenDevice{QTest::createTouchDevice()};
  QPointingDevice* const screen = screenDevice.get();
};

void TouchTest::touch(Gesture g, QPointF p, const std::function<void()>& whileHeld) {
  QWidget* face = window->surface();
  const QPoint at = p.toPoint();
  QTest::touchEvent(face, screen).press(0, at);
  switch (g) {
    case Gesture::Tap:
      break;
    case Gesture::SlowTap:
      QTest::qWait(kSlowTapMs);
      break;
    case Gesture::WobbleTap:
      QTest::touchEvent(face, screen).move(0, (p + QPointF(0.6, -0.6) * slopPixels()).toPoint());
      QTest::touchEvent(face, screen).move(0, (p + QPointF(-0.6, 0.6) * slopPixels()).toPoint());
      break;
    case Gesture::Hold:
      QTest::qWait(kHoldWaitMs);
      break;
    case Gesture::Slide:
      QTest::touchEvent(face, screen).move(0, (p + QPointF(2 * slopPixels(), 0)).toPoint());
      QTest::qWait(kHoldWaitMs);
      break;
    case Gesture::TwoFingers:
      QTest::touchEvent(face, screen).stationary(0).press(1, at + QPoint(60, 0));
      QTest::qWait(kHoldWaitMs);
      QTest::touchEvent(face, screen).stationary(0).release(1, at + QPoint(60, 0));
      break;
  }
  whileHeld();
  QTest::touchEvent(face, screen).release(0, at);
}

void TouchTest::compareWindows(bool running, const char* when) {
  const Form88 &byTouch = window->form(), &byMouse = mouseWindow->form();
  if (running) {
    // The runs go on by the clock, so they are compared by what they do.
    QVERIFY2(runOf(byTouch) == runOf(byMouse),
             qPrintable(QString::fromStdString(when + (": touch " + runOf(byTouch) + ", mouse " + runOf(byMouse)))));
    return;
  }
  const tirpo::Snapshot touchState = tirpo::snapshot(byTouch), mouseState = tirpo::snapshot(byMouse);
  const auto text = [](const tirpo::Snapshot& s) {
    std::ostringstream out;
    tirpo::PrintTo(s, &out);
    return out.str();
  };
  QVERIFY2(touchState == mouseState,
           qPrintable(QString::fromStdString(std::string(when) + "\nby touch:\n" + text(touchState) + "\nby mouse:\n" +
                                             text(mouseState))));
}

void TouchTest::fingersOnTheFace_data() {
  QTest::addColumn<Setup>("setup");
  QTest::addColumn<Target>("target");
  QTest::addColumn<QList<Gesture>>("gestures");
  using G = Gesture;
  QTest::newRow("tap steps forward") << Setup::Step15 << Target::Bare << QList<G>{G::Tap};
  QTest::newRow("slow tap steps forward") << Setup::Step15 << Target::Bare << QList<G>{G::SlowTap};
  QTest::newRow("tap that wobbles steps forward") << Setup::Step15 << Target::Bare << QList<G>{G::WobbleTap};
  QTest::newRow("taps then holds") << Setup::Step15 << Target::Bare << QList<G>{G::Tap, G::Tap, G::Hold, G::Hold};
  QTest::newRow("hold steps back below 12") << Setup::Step15 << Target::Bare << QList<G>{G::Hold};
  QTest::newRow("fast taps each step") << Setup::Step15 << Target::Bare << QList<G>{G::Tap, G::Tap, G::Tap, G::Tap};
  QTest::newRow("sliding finger presses nothing") << Setup::Step15 << Target::Bare << QList<G>{G::Tap, G::Slide};
  QTest::newRow("second finger presses nothing") << Setup::Step15 << Target::Bare << QList<G>{G::Tap, G::TwoFingers};
  QTest::newRow("numeral swallows tap and hold") << Setup::Step15 << Target::Numeral << QList<G>{G::Tap, G::Hold};
  QTest::newRow("picture tapped toggles the numerals once")
      << Setup::Step15 << Target::Picture << QList<G>{G::Tap, G::Hold, G::Tap, G::Tap};
  QTest::newRow("before a mode button: hour up and down")
      << Setup::Start << Target::Bare << QList<G>{G::Tap, G::Tap, G::Hold, G::Tap};
  QTest::newRow("live clock ignores tap and hold") << Setup::Live << Target::Bare << QList<G>{G::Tap, G::Hold};
  QTest::newRow("AUTO: tap starts forward, tap stops") << Setup::Auto << Target::Bare << QList<G>{G::Tap, G::Tap};
  QTest::newRow("AUTO: hold starts back, hold stops") << Setup::Auto << Target::Bare << QList<G>{G::Hold, G::Hold};
  QTest::newRow("AUTO: hold stops a forward run, hold runs back, tap stops")
      << Setup::Auto << Target::Bare << QList<G>{G::Tap, G::Hold, G::Hold, G::Tap};
  QTest::newRow("AUTO: sliding and second finger leave the run")
      << Setup::Auto << Target::Bare << QList<G>{G::Tap, G::Slide, G::TwoFingers, G::Tap};
}

void TouchTest::fingersOnTheFace() {
  QFETCH(Setup, setup);
  QFETCH(Target, target);
  QFETCH(QList<Gesture>, gestures);

  setUp(*window, setup);
  setUp(*mouseWindow, setup);
  compareWindows(setup == Setup::Auto, "before any touch");
  const Form88& f = window->form();
  for (qsizetype i = 0; i < gestures.size(); ++i) {
    const Gesture g = gestures[i];
    const QByteArray when = "gesture " + QByteArray::number(i);
    const QPointF p = pointOf(*window, target);
    if (target == Target::Bare && (setup == Setup::Step15 || setup == Setup::Live)) QVERIFY(bareAt(*window, p));
    const tirpo::Snapshot before = tirpo::snapshot(f);
    const auto mouse = [&] {
      for (Qt::MouseButton b : mouseFor(g))
        QTest::mouseClick(mouseWindow->surface(), b, {}, pointOf(*mouseWindow, target).toPoint());
    };
    if (g == Gesture::Hold) {
      // Pressed while the finger is still down, and the lift adds nothing.
      touch(g, p, [&] {
        mouse();
        compareWindows(setup == Setup::Auto, (when + ", finger still down").constData());
      });
    } else {
      touch(g, p, [] {});
      mouse();
    }
    compareWindows(setup == Setup::Auto, when.constData());
    if (QTest::currentTestFailed()) return;
    if (setup != Setup::Auto && mouseFor(g).isEmpty()) QVERIFY(tirpo::snapshot(f) == before);
    if (setup == Setup::Auto && f.Timer4.enabled()) {
      // The run goes the way the press sent it.
      const int from = minutesOf(f);
      const int way = f.state.runForward == tirpo::True ? 1 : -1;
      QTRY_VERIFY2((minutesOf(f) - from) * way >= 3, qPrintable(QString::number(minutesOf(f))));
    }
  }
}

// The ring fills around a held finger, where it is, and the face shows
// nothing of it once the press is made and the finger lifts.
void TouchTest::holdIsShownAndLeavesNothing() {
  ClockWindow& w = *window;
  setUp(w, Setup::Live);  // presses change nothing: the face stays as it was
  const QPointF p = bareFacePoint(w.form());
  QVERIFY(bareAt(w, p));
  const QImage before = w.grab().toImage();
  const FaceTouch& touch = w.surface()->touch();
  QVERIFY(!touch.holdRing());

  QElapsedTimer held;
  held.start();
  QTest::touchEvent(w.surface(), screen).press(0, p.toPoint());
  QVERIFY(!touch.holdRing());  // a tap shows nothing
  QTRY_VERIFY(touch.holdRing());
  const qint64 shownAfter = held.elapsed();
  QVERIFY2(shownAfter >= TouchPress::kShowHoldAfterMs, qPrintable(QString::number(shownAfter)));
  const QWidget* ring = touch.holdRing();
  const QPointF ringCentre = QRectF(ring->geometry()).center();
  QVERIFY2((ringCentre - p).manhattanLength() <= 2,
           qPrintable(QStringLiteral("%1,%2").arg(ringCentre.x()).arg(ringCentre.y())));
  // The ring's band is drawn over the face at its radius.
  const QImage shown = w.grab().toImage();
  const QPoint onBand = (p + QPointF(-tirpo::kHoldRingRadius, 0)).toPoint();
  QVERIFY2(shown.pixelColor(onBand) != before.pixelColor(onBand), qPrintable(describe(shown.pixelColor(onBand))));
  // Gone once the hold is made, while the finger is down.
  QTRY_VERIFY(!touch.holdRing());
  QVERIFY2(held.elapsed() >= TouchPress::kHoldMs, qPrintable(QString::number(held.elapsed())));
  QTest::touchEvent(w.surface(), screen).release(0, p.toPoint());
  QCoreApplication::processEvents();
  QCOMPARE(w.grab().toImage(), before);

  // A finger that slides takes its ring with it at once.
  QTest::touchEvent(w.surface(), screen).press(0, p.toPoint());
  QTRY_VERIFY(touch.holdRing());
  QTest::touchEvent(w.surface(), screen).move(0, (p + QPointF(2 * slopPixels(), 0)).toPoint());
  QVERIFY(!touch.holdRing());
  QTest::touchEvent(w.surface(), screen).release(0, (p + QPointF(2 * slopPixels(), 0)).toPoint());
  QCoreApplication::processEvents();
  QCOMPARE(w.grab().toImage(), before);
}

// A double click is two presses, as two clicks are.
void TouchTest::doubleClickIsTwoPresses() {
  setUp(*window, Setup::Step15);
  setUp(*mouseWindow, Setup::Step15);
  for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
    const QPoint p = pointOf(*window, Target::Bare).toPoint();
    // Through the window system, which makes the double click.
    QTest::mouseDClick(window->windowHandle(), b, {}, window->surface()->mapTo(window.get(), p));
    for (int i = 0; i < 2; ++i) QTest::mouseClick(mouseWindow->surface(), b, {}, p);
    compareWindows(false, b == Qt::LeftButton ? "left" : "right");
  }
  QCOMPARE(window->form().Label1.caption(), std::string("0"));
}

// A touchpad's fingers move the pointer and its taps arrive as the system's
// own clicks (two fingers: a right click); they are no touches on the face.
void TouchTest::touchpadFingersAreNotTouches() {
  setUp(*window, Setup::Step15);
  const tirpo::Snapshot before = tirpo::snapshot(window->form());
  // Deleted at the end, which also takes it off the window system's list.
  const std::unique_ptr<QPointingDevice> pad(QTest::createTouchDevice(QInputDevice::DeviceType::TouchPad));
  const QPoint p = pointOf(*window, Target::Bare).toPoint();
  for (int hold : {0, kHoldWaitMs}) {
    QTest::touchEvent(window->surface(), pad.get()).press(0, p);
    QTest::qWait(hold);
    QTest::touchEvent(window->surface(), pad.get()).release(0, p);
  }
  QCOMPARE(window->form().Label1.caption(), std::string());
  QVERIFY(tirpo::snapshot(window->form()) == before);
}

void TouchTest::controlsByTouch_data() {
  QTest::addColumn<int>("control");  // 0 今何時, 1 時計, 2..4 the hand boxes
  QTest::newRow("今何時") << 0;
  QTest::newRow("時計") << 1;
  QTest::newRow("時") << 2;
  QTest::newRow("分") << 3;
  QTest::newRow("秒") << 4;
}

// A tap on a button or a box does what a click does.
void TouchTest::controlsByTouch() {
  QFETCH(int, control);
  const auto widgetOf = [&](ClockWindow& w) -> QAbstractButton* {
    if (control == 0) return w.manualButton();
    if (control == 1) return w.clockButton();
    return w.handBox(control - 2);
  };
  if (control >= 2) {
    // The second hand's box is enabled in the live clock.
    setUp(*window, Setup::Live);
    setUp(*mouseWindow, Setup::Live);
  }
  const tirpo::Snapshot before = tirpo::snapshot(window->form());
  for (int round = 0; round < 2; ++round) {
    QAbstractButton* b = widgetOf(*window);
    QPoint at = b->rect().center();
    if (auto* box = qobject_cast<QCheckBox*>(b)) {
      clickCheckBox(qobject_cast<QCheckBox*>(widgetOf(*mouseWindow)));
      at = QPoint(box->height() / 2, box->height() / 2);
    } else {
      click(widgetOf(*mouseWindow));
    }
    QTest::touchEvent(window.get(), screen).press(0, b->mapTo(window.get(), at));
    QTest::touchEvent(window.get(), screen).release(0, b->mapTo(window.get(), at));
    compareWindows(false, "after a tap");
    if (round == 0) QVERIFY(!(tirpo::snapshot(window->form()) == before));
  }
}

// The step list opens with a tap and a tap on an entry picks it.
void TouchTest::stepListByTouch() {
  ClockWindow& w = *window;
  setUp(w, Setup::Auto);
  QComboBox* combo = w.stepList();
  // The arrow at the right end opens the list; the text field takes typing.
  const QPoint arrow = combo->mapTo(&w, QPoint(combo->width() - 6, combo->height() / 2));
  QTest::touchEvent(&w, screen).press(0, arrow);
  QTest::touchEvent(&w, screen).release(0, arrow);
  QAbstractItemView* view = combo->view();
  QTRY_VERIFY(view->isVisible());
  QTest::qWait(QApplication::doubleClickInterval() + 50);  // a release right after opening is ignored
  const QRect item = view->visualRect(view->model()->index(5, 0));
  QWidget* popup = view->window();
  const QPoint at = view->viewport()->mapTo(popup, item.center());
  QTest::touchEvent(popup, screen).press(0, at);
  QTest::touchEvent(popup, screen).release(0, at);
  QTRY_VERIFY(!view->isVisible());
  QCOMPARE(w.form().state.stepIndex, 5.0f);
  QCOMPARE(w.windowTitle(), QString::fromStdString(tirpo::rules::stepTitle(tirpo::rules::kStepRows[5])));
}

TIRPO_WIDGET_TEST_MAIN(TouchTest)

#include "touch_test.moc"
