// The clock face on a high-density screen. The same executable runs with
// QT_SCALE_FACTOR 1, 1.5 and 2: the window keeps its size in logical pixels
// and grows on the screen by the factor, the hands, numerals and pictures
// stand where the face geometry puts them, and text is drawn at the screen's
// density (sharp) rather than drawn small and enlarged (blurred).
//
// The run at factor 1 leaves its faces in the build folder's artefacts/ as
// the reference (face-1-<scene>.png); the runs at the other factors compare
// what they show with it, feature by feature. Each run also leaves a picture
// of its whole window there (hidpi-<factor>.png).

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <functional>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/fonts.h"
#include "support/fakes.h"

using tirpo::ClockWindow;
using tirpo::Control;
using tirpo::Form88;

namespace {

double scaleFactor() {
  bool ok = false;
  const double s = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
  return ok && s > 0 ? s : 1.0;
}
QString factorName() { return QString::number(scaleFactor()); }

// 5800 twips square at 96 logical dots per inch.
constexpr int kStartSize = 387;

double tpp() { return tirpo::twipsPerPixel(); }
QPointF facePoint(const Form88& f, double x, double y) {
  return {f.scale().toTwipsX(x) / tpp(), f.scale().toTwipsY(y) / tpp()};
}
QRectF pixelsOf(const tirpo::TwipRect& r) {
  return {r.left / tpp(), r.top / tpp(), r.width / tpp(), r.height / tpp()};
}
QPointF midpointOf(const tirpo::Line& l) {
  return QPointF((l.x1Twips() + l.x2Twips()) / 2, (l.y1Twips() + l.y2Twips()) / 2) / tpp();
}

const QColor kRed(255, 0, 0);
const QColor kCyan(0, 255, 255);
const QColor kDarkGreen(0, 128, 0);  // the live clock's face

using Predicate = std::function<bool(const QColor&)>;
bool redish(const QColor& c) { return c.red() >= 200 && c.green() <= 60 && c.blue() <= 60; }
bool cyanish(const QColor& c) { return c.red() <= 60 && c.green() >= 200 && c.blue() >= 200; }
bool faceGreen(const QColor& c) {
  return std::abs(c.red() - 0) <= 12 && std::abs(c.green() - 128) <= 12 && std::abs(c.blue() - 0) <= 12;
}

QString describe(const QColor& c) {
  return c.isValid() ? QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue())
                     : QStringLiteral("(outside)");
}

// An image with its density: logical positions are looked up in its pixels.
struct Shot {
  QImage image;
  double dpr;
  QRect pixels(const QRectF& logical) const {
    return QRectF(logical.topLeft() * dpr, logical.size() * dpr).toAlignedRect().intersected(image.rect());
  }
  QColor at(QPointF logical) const {
    const QPoint q(static_cast<int>(std::floor(logical.x() * dpr)), static_cast<int>(std::floor(logical.y() * dpr)));
    return image.valid(q) ? image.pixelColor(q) : QColor();
  }
};

// The face as the screen gets it, at the device's density.
Shot deviceShot(ClockWindow& w) {
  const QPixmap pm = w.surface()->grab();
  return {pm.toImage().convertToFormat(QImage::Format_RGB32), pm.devicePixelRatio()};
}
QString artefact(const QString& name) { return QStringLiteral(TIRPO_ARTEFACT_DIR "/") + name; }
QString faceFile(double factor, const QString& scene) {
  return artefact(QStringLiteral("face-%1-%2.png").arg(factor).arg(scene));
}
// The same scene as the run at factor 1 showed it; a null image when that
// run has not been made.
Shot referenceShot(const QString& scene) {
  QImage img(faceFile(1, scene));
  return {img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32), 1.0};
}

// How many pixels of one colour lie within a logical area.
int countOf(const Shot& s, const QRectF& logical, const Predicate& pred) {
  int n = 0;
  const QRect r = s.pixels(logical);
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (pred(s.image.pixelColor(x, y))) ++n;
  return n;
}

// How many pixels an edge of a glyph takes, on average, in the image's own
// pixels: along every row of the area, each change between the face colour
// and the glyph colour is one edge, and the pixels of neither colour between
// them are its width. Text drawn at the image's density has edges about one
// pixel wide whatever the density; text enlarged from a lower density has
// edges as wide as the enlargement.
double edgeWidth(const Shot& s, const QRectF& logical, const Predicate& glyph, const Predicate& back) {
  const QRect r = s.pixels(logical);
  int edges = 0, between = 0;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    int last = 0;  // 1 face, 2 glyph
    int run = 0;
    for (int x = r.left(); x <= r.right(); ++x) {
      const QColor c = s.image.pixelColor(x, y);
      const int now = glyph(c) ? 2 : back(c) ? 1 : 0;
      if (now == 0) {
        ++run;
        continue;
      }
      if (last != 0 && now != last) {
        ++edges;
        between += run;
      }
      last = now;
      run = 0;
    }
  }
  return edges > 0 ? double(between) / edges : -1;
}

// The reference enlarged to the device's density with smoothing: what a face
// drawn at density 1 and scaled up by the screen would look like.
Shot enlarged(const Shot& reference, double dpr) {
  const QSize size(qRound(reference.image.width() * dpr), qRound(reference.image.height() * dpr));
  return {reference.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), dpr};
}

void save(const QImage& image, const QString& path) {
  QDir().mkpath(QStringLiteral(TIRPO_ARTEFACT_DIR));
  QVERIFY2(image.save(path), qPrintable(path));
}

// The smallest rectangle, in logical pixels, around the pixels of a colour.
QRectF boundsOf(const Shot& s, const QRectF& logical, const Predicate& pred) {
  QRect b;
  const QRect r = s.pixels(logical);
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (pred(s.image.pixelColor(x, y))) b |= QRect(x, y, 1, 1);
  return QRectF(QPointF(b.topLeft()) / s.dpr, QSizeF(b.size()) / s.dpr);
}

// The window at the scene's size, showing the live clock.
void setUp(ClockWindow& w, tirpo::fakes::FakeClock& clock, int size);

// The live clock at 7:35: both hands point down to the left, and the
// numerals 3, 9 and 12 stand clear of them.
void liveAt735(ClockWindow& w, tirpo::fakes::FakeClock& clock) {
  clock.set(7, 35, 0);
  w.clockButton()->click();
  w.form().Timer1_Timer();
}

void setUp(ClockWindow& w, tirpo::fakes::FakeClock& clock, int size) {
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  if (size > 0) {
    w.resize(size, size);
    QTRY_COMPARE(w.surface()->size(), QSize(size, size));
  }
  liveAt735(w, clock);
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void windowGrowsByTheFactor();
  void faceFeaturesStayInPlace_data();
  void faceFeaturesStayInPlace();
  void textIsSharp_data();
  void textIsSharp();
  void screenshots();
};

void HiDpiTest::windowGrowsByTheFactor() {
  tirpo::fakes::FakeClock clock;
  ClockWindow w(&clock);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const double dpr = w.surface()->devicePixelRatioF();
  QCOMPARE(dpr, scaleFactor());
  // Twips are measured in logical pixels, so the window keeps its logical
  // size and covers the factor times more screen pixels.
  QCOMPARE(tpp(), 15.0);
  QVERIFY2(std::abs(w.width() - kStartSize) <= 1, qPrintable(QString::number(w.width())));
  QVERIFY2(std::abs(w.height() - kStartSize) <= 1, qPrintable(QString::number(w.height())));
  const QPixmap pm = w.surface()->grab();
  QCOMPARE(pm.devicePixelRatio(), dpr);
  QCOMPARE(pm.size(), (QSizeF(w.surface()->size()) * dpr).toSize());
  // The buttons stand where the window puts them, in logical pixels too.
  for (const auto& [button, control] : {std::pair{w.clockButton(), &w.form().Command8},
                                        std::pair{w.manualButton(), &w.form().Command12}}) {
    const QRectF want = pixelsOf(control->twips());
    const QRect got = button->geometry();
    QVERIFY2(std::abs(got.left() - want.left()) <= 1 && std::abs(got.top() - want.top()) <= 1 &&
                 std::abs(got.width() - want.width()) <= 1 && std::abs(got.height() - want.height()) <= 1,
             qPrintable(QStringLiteral("%1: %2,%3 %4x%5").arg(button->text()).arg(got.left()).arg(got.top()).arg(got.width()).arg(got.height())));
  }
}

void HiDpiTest::faceFeaturesStayInPlace_data() {
  QTest::addColumn<int>("size");  // logical client size; 0 leaves the start-up size
  QTest::addColumn<QString>("scene");
  QTest::newRow("start-up size") << 0 << "start";
  QTest::newRow("enlarged to 800") << 800 << "800";
}

void HiDpiTest::faceFeaturesStayInPlace() {
  QFETCH(int, size);
  QFETCH(QString, scene);
  tirpo::fakes::FakeClock clock;
  ClockWindow w(&clock);
  setUp(w, clock, size);
  if (QTest::currentTestFailed()) return;
  const Form88& f = w.form();
  const Shot device = deviceShot(w);
  QCOMPARE(device.dpr, scaleFactor());
  save(device.image, faceFile(scaleFactor(), scene));
  const double radius = f.state.radius();
  const QPointF centre = facePoint(f, 0, 0);

  // Single pixels where the geometry puts the hands, and the bare face.
  struct Spot {
    const char* what;
    QPointF at;
    Predicate colour;
  };
  const Spot spots[] = {
      {"hour hand", midpointOf(f.Ji), redish},
      {"minute hand", midpointOf(f.Hun), cyanish},
      {"bare face", facePoint(f, 0.5 * radius * std::sqrt(0.5), -0.5 * radius * std::sqrt(0.5)), faceGreen},
  };
  QVERIFY(f.Ji.x2() < 0 && f.Ji.y2() < 0 && f.Hun.x2() < 0 && f.Hun.y2() < 0);
  for (const Spot& s : spots)
    QVERIFY2(s.colour(device.at(s.at)),
             qPrintable(QStringLiteral("%1 at density %2: %3").arg(s.what).arg(device.dpr).arg(describe(device.at(s.at)))));

  // Each numeral is drawn inside the box the layout gives it; numeral 3
  // stands right of the centre, at its height. (7 and 8 are left out: the
  // dots of the hour's sector between them are red as well.)
  const QRectF numeral3 = pixelsOf(f.Suuji[3].twips());
  QVERIFY(numeral3.left() > centre.x() && numeral3.top() < centre.y() && numeral3.bottom() > centre.y());
  for (int i : {1, 2, 3, 4, 5, 6, 9, 10, 11, 12}) {
    const QRectF box = pixelsOf(f.Suuji[i].twips());
    const QRectF glyph = boundsOf(device, box.adjusted(-4, -4, 4, 4), redish);
    QVERIFY2(!glyph.isEmpty() && box.adjusted(-1, -1, 1, 1).contains(glyph),
             qPrintable(QStringLiteral("numeral %1 drawn at %2,%3 %4x%5, its box %6,%7 %8x%9")
                            .arg(i).arg(glyph.x()).arg(glyph.y()).arg(glyph.width()).arg(glyph.height())
                            .arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    // Centred in its box on the line the font's metrics give, at this density.
    const QFontMetricsF fm(tirpo::toQFont(f.Suuji[i].font()));
    const QString text = QString::fromStdString(f.Suuji[i].caption());
    const QPointF ideal = fm.tightBoundingRect(text)
                              .translated(box.left() + (box.width() - fm.horizontalAdvance(text)) / 2, box.top() + fm.ascent())
                              .center();
    const QPointF off = glyph.center() - ideal;
    QVERIFY2(std::hypot(off.x(), off.y()) <= 1.0,
             qPrintable(QStringLiteral("numeral %1 is %2,%3 px off").arg(i).arg(off.x()).arg(off.y())));
  }
  // The centre picture is centred on the dial.
  const auto notFace = [](const QColor& c) { return !faceGreen(c); };
  const Control& picture = f.Image1.visible() ? static_cast<const Control&>(f.Image1) : f.Image4;
  QVERIFY(picture.visible());
  const QRectF pictureBox = pixelsOf(picture.twips());
  const QPointF pictureMiddle = boundsOf(device, pictureBox, notFace).center();
  QVERIFY2(std::hypot(pictureMiddle.x() - centre.x(), pictureMiddle.y() - centre.y()) <= 1.5,
           qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(pictureMiddle.x()).arg(pictureMiddle.y()).arg(centre.x()).arg(centre.y())));

  if (scaleFactor() == 1.0) return;  // this run is the reference
  const Shot reference = referenceShot(scene);
  if (reference.image.isNull()) QSKIP("no reference: run the test at factor 1 first");
  QCOMPARE(reference.image.size(), w.surface()->size());
  // Glyphs and the picture: their pixels cover the factor squared times as
  // many device pixels, around the same logical point. The font's ascent is
  // a whole number of device pixels, so a line of text may sit up to a
  // logical pixel higher or lower than at density 1.
  struct Feature {
    QString what;
    QRectF box;
    Predicate colour;
  };
  std::vector<Feature> features{{QStringLiteral("centre picture"), pictureBox, notFace}};
  for (int i : {3, 6, 9, 12}) features.push_back({QStringLiteral("numeral %1").arg(i), pixelsOf(f.Suuji[i].twips()), redish});
  for (const Feature& ft : features) {
    const int ref = countOf(reference, ft.box, ft.colour);
    const int dev = countOf(device, ft.box, ft.colour);
    const QString what = QStringLiteral("%1 (%2 px at 1, %3 px at %4)").arg(ft.what).arg(ref).arg(dev).arg(device.dpr);
    QVERIFY2(ref >= 8, qPrintable(what));
    // Thin strokes lose more of their full-colour pixels at density 1.
    const double areaRatio = dev / (ref * device.dpr * device.dpr);
    QVERIFY2(areaRatio > 0.7 && areaRatio < 1.5, qPrintable(what + QStringLiteral(": ratio %1").arg(areaRatio)));
    const QPointF shift = boundsOf(device, ft.box, ft.colour).center() - boundsOf(reference, ft.box, ft.colour).center();
    QVERIFY2(std::abs(shift.x()) <= 0.75 && std::abs(shift.y()) <= 1.5,
             qPrintable(what + QStringLiteral(": moved by %1,%2 logical px").arg(shift.x()).arg(shift.y())));
  }
  for (const Spot& s : spots) QVERIFY2(s.colour(reference.at(s.at)), s.what);
}

void HiDpiTest::textIsSharp_data() {
  QTest::addColumn<int>("size");
  QTest::addColumn<QString>("scene");
  // At 800 and a high density the numerals are well over the toolkit's
  // usual limit for cached glyphs, which the program raises.
  QTest::newRow("start-up size") << 0 << "start";
  QTest::newRow("enlarged to 800") << 800 << "800";
}

void HiDpiTest::textIsSharp() {
  QFETCH(int, size);
  QFETCH(QString, scene);
  if (scaleFactor() == 1.0) QSKIP("the reference density itself");
  tirpo::fakes::FakeClock clock;
  ClockWindow w(&clock);
  setUp(w, clock, size);
  if (QTest::currentTestFailed()) return;
  const Form88& f = w.form();
  const Shot device = deviceShot(w);
  const Shot reference = referenceShot(scene);
  if (reference.image.isNull()) QSKIP("no reference: run the test at factor 1 first");
  const Shot blurred = enlarged(reference, device.dpr);

  double deviceSum = 0, referenceSum = 0, blurredSum = 0;
  for (int i : {3, 6, 9, 12}) {
    const QRectF box = pixelsOf(f.Suuji[i].twips());
    const double d = edgeWidth(device, box, redish, faceGreen);
    const double r = edgeWidth(reference, box, redish, faceGreen);
    const double b = edgeWidth(blurred, box, redish, faceGreen);
    QVERIFY2(d >= 0 && r >= 0 && b >= 0, qPrintable(QStringLiteral("numeral %1 has no edges").arg(i)));
    qInfo("numeral %d: edges %.2f px wide at density %.2g, %.2f at 1, %.2f when enlarged", i, d, device.dpr, r, b);
    deviceSum += d;
    referenceSum += r;
    blurredSum += b;
  }
  const double deviceEdge = deviceSum / 4, referenceEdge = referenceSum / 4, blurredEdge = blurredSum / 4;
  // Drawn at the device's density: edges as narrow, in its own pixels, as
  // at density 1.
  QVERIFY2(deviceEdge <= std::max(1.5, 1.3 * referenceEdge),
           qPrintable(QStringLiteral("edges %1 px wide at density %2, %3 at 1").arg(deviceEdge).arg(device.dpr).arg(referenceEdge)));
  // And the measure tells the difference: the enlarged face's edges are wider.
  QVERIFY2(blurredEdge > 1.4 * deviceEdge,
           qPrintable(QStringLiteral("enlarged %1 vs drawn %2").arg(blurredEdge).arg(deviceEdge)));
}

void HiDpiTest::screenshots() {
  tirpo::fakes::FakeClock clock;
  ClockWindow w(&clock);
  setUp(w, clock, 0);
  if (QTest::currentTestFailed()) return;
  // The whole window, buttons and frame included.
  const QPixmap pm = w.grab();
  QCOMPARE(pm.size(), (QSizeF(w.size()) * scaleFactor()).toSize());
  save(pm.toImage(), artefact(QStringLiteral("hidpi-%1.png").arg(factorName())));
}

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  tirpo::installFontSubstitutions();
  HiDpiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "hidpi_test.moc"
