// What the face repaints: after each handler only the places whose look
// changed, in a few rectangles, and what ends up on the screen is what a
// paint of the whole face would show.

#include <QApplication>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <vector>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/fonts.h"
#include "support/widget_test_base.h"

using tirpo::ClockWindow;
using tirpo::FaceSurface;
using tirpo::Form88;
using tirpo::Line;

namespace {

// Records the region of every paint the face gets.
class PaintLog final : public QObject {
 public:
  explicit PaintLog(QWidget* face) { face->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) regions.push_back(static_cast<QPaintEvent*>(e)->region());
    return false;
  }
  std::vector<QRegion> regions;
};

// Runs the event loop until the comparisons and repaints that a handler
// queued are all done.
void settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// A hand's area on the face in pixels: where it is drawn, caps included.
QRect handArea(const Line& l) {
  const double tpp = tirpo::twipsPerPixel();
  const double pad = l.borderWidth / 2.0 + 2;
  return QRectF(QPointF(l.x1Twips() / tpp, l.y1Twips() / tpp), QPointF(l.x2Twips() / tpp, l.y2Twips() / tpp))
      .normalized()
      .adjusted(-pad, -pad, pad, pad)
      .toAlignedRect();
}

// What the window system was last given of the face, against what a paint
// of the whole face gives now.
int pixelsDifferingFromWholePaint(ClockWindow& w) {
  const QImage shown = w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
  const QImage whole = w.surface()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (shown.size() != whole.size()) return -1;
  int differing = 0;
  for (int y = 0; y < whole.height(); ++y)
    for (int x = 0; x < whole.width(); ++x)
      if (w.childAt(x, y) == w.surface() && shown.pixel(x, y) != whole.pixel(x, y)) ++differing;
  return differing;
}

struct Window {
  tirpo::fakes::FakeClock clock;
  ClockWindow w{&clock};
  Form88& f = w.form();
  Window() {
    clock.set(10, 8, 30);
    w.resize(387, 387);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) qFatal("the window is not shown");
    settle();
  }
  // One second of the live clock.
  void tick() {
    clock.advance(1);
    f.Timer1.fire();
    settle();
  }
};

}  // namespace

class RepaintTest : public QObject {
  Q_OBJECT
 private slots:
  void liveTickRepaintsTheMovedHandsOnly_data();
  void liveTickRepaintsTheMovedHandsOnly();
  void unchangedLookCostsNoPaint();
  void autoTicksAndPressesLeaveTheScreenAsAWholePaint();
};

void RepaintTest::liveTickRepaintsTheMovedHandsOnly_data() {
  QTest::addColumn<bool>("hourAndMinuteShown");
  QTest::newRow("second hand only") << false;
  QTest::newRow("all three hands") << true;
}

void RepaintTest::liveTickRepaintsTheMovedHandsOnly() {
  QFETCH(bool, hourAndMinuteShown);
  Window win;
  win.w.clockButton()->click();
  win.f.Check3[2].setValue(1);  // the second hand on
  win.f.Check3[0].setValue(hourAndMinuteShown ? 1 : 0);
  win.f.Check3[1].setValue(hourAndMinuteShown ? 1 : 0);
  win.tick();
  for (int second = 0; second < 20; ++second) {
    std::vector<QRect> before;
    for (const Line* hand : {&win.f.Byou, &win.f.Hun, &win.f.Ji})
      if (hand->visible()) before.push_back(handArea(*hand));
    PaintLog log(win.w.surface());
    win.tick();
    QCOMPARE(log.regions.size(), std::size_t{1});
    const QRegion& painted = log.regions.front();
    QVERIFY2(painted.rectCount() <= FaceSurface::kMostRepaintRects,
             qPrintable(QString::number(painted.rectCount()) + " " + QDebug::toString(painted)));
    QVERIFY(!QRegion(win.w.surface()->rect()).subtracted(painted).isEmpty());
    QRegion hands;
    for (const Line* hand : {&win.f.Byou, &win.f.Hun, &win.f.Ji})
      if (hand->visible()) hands += handArea(*hand);
    for (const QRect& r : before) hands += r;
    // Where the window's own widgets lie over the face nothing is painted.
    for (const QWidget* child : win.w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (child != win.w.surface() && child->isVisible()) hands -= child->geometry();
    // Everything the hands covered before and cover now is repainted.
    QCOMPARE(hands.subtracted(painted), QRegion());
    if (!hourAndMinuteShown) {
      // The second hand's two places in at most one rectangle each: what is
      // repainted beyond them is bounded by their joint bounds.
      QCOMPARE(painted.subtracted(QRegion(hands.boundingRect())), QRegion());
    }
  }
  QCOMPARE(pixelsDifferingFromWholePaint(win.w), 0);
}

// Controls that end a handler where they started are not repainted: with
// every hand hidden a live tick within one minute changes nothing on the
// face: the clock values are hidden and the highlights stay on the same
// hour and minute.
void RepaintTest::unchangedLookCostsNoPaint() {
  Window win;
  win.w.clockButton()->click();
  for (int i = 0; i < tirpo::kHandBoxCount; ++i) win.f.Check3[i].setValue(0);
  win.tick();
  PaintLog log(win.w.surface());
  for (int second = 0; second < 5; ++second) win.tick();
  QCOMPARE(log.regions.size(), std::size_t{0});
}

// Partial repaints after ticks that move the hour sector and the minute
// numeral, a picture click and a resize add up to what one paint of the
// whole face shows.
void RepaintTest::autoTicksAndPressesLeaveTheScreenAsAWholePaint() {
  Window win;
  win.w.manualButton()->click();
  settle();
  win.f.Image1.click();  // the minute numerals on, so their highlight shows
  settle();
  win.f.Form_MouseDown(tirpo::kLeftButton, 0, 0, 0);  // starts the AUTO run
  for (int i = 0; i < 75; ++i) {
    win.f.Timer4_Timer();
    settle();
  }
  QCOMPARE(win.f.Label2.caption(), std::string("1"));
  QCOMPARE(pixelsDifferingFromWholePaint(win.w), 0);
  win.w.resize(420, 400);
  settle();
  for (int i = 0; i < 3; ++i) {
    win.f.Form_MouseDown(tirpo::kRightButton, 0, 0, 0);
    win.f.Timer4_Timer();
    settle();
  }
  QCOMPARE(pixelsDifferingFromWholePaint(win.w), 0);
}

TIRPO_WIDGET_TEST_MAIN(RepaintTest)

#include "repaint_test.moc"
