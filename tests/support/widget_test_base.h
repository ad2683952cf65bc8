#pragma once
// The fixture of the widget tests, after the shared GUI test base of larger
// Qt programs: each test function gets a fresh clock window on a fake
// system clock, shown and exposed (init), and loses it afterwards
// (cleanup). Around it: where a point of the face lies in the surface's
// pixels, the face read back as an image, pixel colours and counts, and the
// clicks a user makes on the window's widgets.

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

#include "platform/clock_window.h"
#include "support/fakes.h"

class QCheckBox;
class QAbstractButton;

namespace tirpo::test {

// --- face geometry in pixels ------------------------------------------------

// Twips per logical pixel of the screen.
double tpp();
// Twips within the client area to the surface's logical pixels.
QPointF pixelsOf(double xTwips, double yTwips);
QRectF pixelsOf(const TwipRect& r);
// A point of the face (dial units, y up) in the surface's pixels.
QPointF facePoint(const Form88& f, double x, double y);
QPointF midpointOf(const Line& l);
// Inside the dial, between the 1 and 2 o'clock numerals, halfway out:
// nothing is drawn there.
QPointF bareFacePoint(const Form88& f);

// --- pixels -----------------------------------------------------------------

using Predicate = std::function<bool(const QColor&)>;

// The face as painted, in logical pixels whatever the device pixel ratio.
QImage grabFace(ClockWindow& w);
// The pixel under a logical point; an invalid colour outside the image.
QColor pixel(const QImage& img, QPointF p);
bool near(const QColor& a, const QColor& b, int tolerance = 10);
int countPixels(const QImage& img, const QRectF& area, const Predicate& pred);
QString describe(const QColor& c);
// Strong colours as the face paints them, anti-aliased edges aside.
bool redish(const QColor& c);
bool yellowish(const QColor& c);
bool greenish(const QColor& c);
bool cyanish(const QColor& c);

// Nothing visible is painted near the point and no widget lies over it: a
// press there lands on the bare face, and its pixel shows the background.
bool bareAt(ClockWindow& w, QPointF p);

// --- the user's clicks --------------------------------------------------------

void click(QAbstractButton* button);
// A click on the box itself, not on its caption.
void clickCheckBox(QCheckBox* box);
// The five-minute box, which the window keeps hidden.
QCheckBox* fiveMinuteBox(ClockWindow& w);
// The shown window made the active one, as the user's click on it would.
void activate(ClockWindow& w);

// --- the fixture ----------------------------------------------------------------

class ClockWindowTestBase : public QObject {
  Q_OBJECT

 protected slots:
  virtual void init();
  virtual void cleanup();

 protected:
  // The live clock at a time of day, after its first tick.
  void liveAt(int hour, int minute, int second);

  fakes::FakeClock clock;
  std::unique_ptr<ClockWindow> window;
};

// Runs a widget test the way every one of them runs: offscreen unless a
// platform is named, the Fusion style (the window's colours are checked
// against it), and the clock's font substitutions.
int widgetTestMain(int argc, char* argv[], const std::function<int()>& run);

}  // namespace tirpo::test

#define TIRPO_WIDGET_TEST_MAIN(TestClass)                \
  int main(int argc, char* argv[]) {                     \
    return tirpo::test::widgetTestMain(argc, argv, [&] { \
      TestClass test;                                    \
      return QTest::qExec(&test, argc, argv);            \
    });                                                  \
  }
