#include "support/widget_test_base.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "platform/face_surface.h"
#include "platform/fonts.h"

namespace tirpo::test {

namespace {
double distanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF d = b - a;
  const double len2 = QPointF::dotProduct(d, d);
  const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0.0;
  const QPointF q = a + t * d - p;
  return std::hypot(q.x(), q.y());
}
}  // namespace

double tpp() { return twipsPerPixel(); }

QPointF pixelsOf(double xTwips, double yTwips) { return {xTwips / tpp(), yTwips / tpp()}; }
QRectF pixelsOf(const TwipRect& r) { return {r.left / tpp(), r.top / tpp(), r.width / tpp(), r.height / tpp()}; }
QPointF facePoint(const Form88& f, double x, double y) {
  return pixelsOf(f.scale().toTwipsX(x), f.scale().toTwipsY(y));
}
QPointF midpointOf(const Line& l) { return pixelsOf((l.x1Twips() + l.x2Twips()) / 2, (l.y1Twips() + l.y2Twips()) / 2); }
QPointF bareFacePoint(const Form88& f) {
  const double r = 0.5 * f.state.radius();
  return facePoint(f, r * std::sqrt(0.5), r * std::sqrt(0.5));
}

QImage grabFace(ClockWindow& w) {
  QImage img = w.surface()->grab().toImage();
  if (img.devicePixelRatio() != 1.0)
    img = img.scaled(w.surface()->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return img;
}

QColor pixel(const QImage& img, QPointF p) {
  const QPoint q(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
  return img.valid(q) ? img.pixelColor(q) : QColor();
}

bool near(const QColor& a, const QColor& b, int tolerance) {
  return a.isValid() && std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

int countPixels(const QImage& img, const QRectF& area, const Predicate& pred) {
  int n = 0;
  const QRect r = area.toAlignedRect().intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (pred(img.pixelColor(x, y))) ++n;
  return n;
}

QString describe(const QColor& c) {
  return c.isValid() ? QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue())
                     : QStringLiteral("(outside)");
}

bool redish(const QColor& c) { return c.red() >= 170 && c.green() <= 100 && c.blue() <= 100; }
bool yellowish(const QColor& c) { return c.red() >= 170 && c.green() >= 170 && c.blue() <= 100; }
bool greenish(const QColor& c) { return c.green() >= 170 && c.red() <= 100 && c.blue() <= 100; }
bool cyanish(const QColor& c) { return c.red() <= 100 && c.green() >= 170 && c.blue() >= 170; }

bool bareAt(ClockWindow& w, QPointF p) {
  if (w.childAt(p.toPoint()) != w.surface()) return false;
  for (const Control* c : w.form().paintOrder()) {
    if (!c->visible()) continue;
    if (c->kind() == Kind::Line) {
      const auto& l = static_cast<const Line&>(*c);
      if (distanceToSegment(p, pixelsOf(l.x1Twips(), l.y1Twips()), pixelsOf(l.x2Twips(), l.y2Twips())) <
          l.borderWidth / 2.0 + 3)
        return false;
    } else if (pixelsOf(c->twips()).adjusted(-3, -3, 3, 3).contains(p)) {
      return false;
    }
  }
  return true;
}

void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }

void clickCheckBox(QCheckBox* box) {
  QStyleOptionButton opt;
  opt.initFrom(box);
  opt.text = box->text();
  const QRect r = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &opt, box);
  QTest::mouseClick(box, Qt::LeftButton, {}, r.center());
}

QCheckBox* fiveMinuteBox(ClockWindow& w) {
  for (QCheckBox* b : w.findChildren<QCheckBox*>())
    if (b->text() == QStringLiteral("５分きざみ")) return b;
  return nullptr;
}

void activate(ClockWindow& w) {
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

void ClockWindowTestBase::init() {
  clock = fakes::FakeClock{};
  window = std::make_unique<ClockWindow>(&clock);
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void ClockWindowTestBase::cleanup() { window.reset(); }

void ClockWindowTestBase::liveAt(int hour, int minute, int second) {
  clock.set(hour, minute, second);
  window->clockButton()->click();
  window->form().Timer1_Timer();
}

int widgetTestMain(int argc, char* argv[], const std::function<int()>& run) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  installFontSubstitutions();
  return run();
}

}  // namespace tirpo::test
