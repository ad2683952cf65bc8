// The clock face on a high-density screen. The same executable runs with
// QT_SCALE_FACTOR 1, 1.5 and 2: the window keeps its size in logical pixels
// and grows on the screen by the factor, the hands, numerals and pictures
// stand where the face geometry puts them, and text is drawn at the screen's
// density (sharp) rather than drawn small and enlarged (blurred).
//
// Every run first draws the reference faces at factor 1 in a child process
// of its own (reference-for-<factor>-<scene>.png in the build folder's
// artefacts/); the runs at the other factors compare what they show with
// them, feature by feature. Each run also leaves its faces and a picture of
// its whole window there (face-<factor>-<scene>.png, hidpi-<factor>.png).

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <functional>

#include <QProcess>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/fonts.h"
#include "support/widget_test_base.h"

using tirpo::ClockWindow;
using tirpo::Control;
using tirpo::Form88;
using namespace tirpo::test;

namespace {

double scaleFactor() {
  bool ok = false;
  const double s = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
  return ok && s > 0 ? s : 1.0;
}
QString factorName() { return QString::number(scaleFactor()); }

// 5800 twips square at 96 logical dots per inch.
constexpr int kStartSize = 387;

// Full colours only, so that areas compare across densities.
bool deepRed(const QColor& c) { return c.red() >= 200 && c.green() <= 60 && c.blue() <= 60; }
bool deepCyan(const QColor& c) { return c.red() <= 60 && c.green() >= 200 && c.blue() >= 200; }
bool faceGreen(const QColor& c) {
  return std::abs(c.red() - 0) <= 12 && std::abs(c.green() - 128) <= 12 && std::abs(c.blue() - 0) <= 12;
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
// The same scene at factor 1, as the child process of this run drew it
// (each run has its own, as the runs at the three factors go side by side);
// a null image when it did not.
QString referenceFile(const QString& forFactor, const QString& scene) {
  return artefact(QStringLiteral("reference-for-%1-%2.png").arg(forFactor, scene));
}
QString referenceFile(const QString& scene) { return referenceFile(factorName(), scene); }
Shot referenceShot(const QString& scene) {
  QImage img(referenceFile(scene));
  return {img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32), 1.0};
}

// How many pixels of one colour lie within a logical area.
int countOf(const Shot& s, const QRectF& logical, const Predicate& pred) {
  return countPixels(s.image, s.pixels(logical), pred);
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

// The scenes every run draws: the client size (0 keeps the start-up size)
// and the name of its face files.
struct Scene {
  int size;
  const char* name;
};
constexpr Scene kScenes[] = {{0, "start"}, {800, "800"}};

// The window at the scene's size, showing the live clock at 7:35: both
// hands point down to the left, and the numerals 3, 9 and 12 stand clear of
// them. False when the window does not come up at that size.
bool showScene(ClockWindow& w, tirpo::fakes::FakeClock& clock, int size) {
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) return false;
  if (size > 0) {
    w.resize(size, size);
    if (!QTest::qWaitFor([&] { return w.surface()->size() == QSize(size, size); })) return false;
  }
  clock.set(7, 35, 0);
  w.clockButton()->click();
  w.form().Timer1_Timer();
  return true;
}

// The argument that makes a run draw the reference faces and stop.
constexpr char kMakeReferences[] = "--make-references";

// The child process: every scene's face at its density (1), saved as the
// reference of the run at forFactor.
int makeReferences(const QString& forFactor) {
  QDir().mkpath(QStringLiteral(TIRPO_ARTEFACT_DIR));
  for (const Scene& scene : kScenes) {
    tirpo::fakes::FakeClock clock;
    ClockWindow w(&clock);
    if (!showScene(w, clock, scene.size)) return 2;
    if (!deviceShot(w).image.save(referenceFile(forFactor, QString::fromLatin1(scene.name)))) return 3;
  }
  return 0;
}

}  // namespace

class HiDpiTest : public ClockWindowTestBase {
  Q_OBJECT

 private slots:
  void initTestCase();
  void windowGrowsByTheFactor();
  void faceFeaturesStayInPlace_data();
  void faceFeaturesStayInPlace();
  void screenshots();
};

// The reference faces, drawn afresh at factor 1 by a child process, so that
// no run compares with faces an older build left behind.
void HiDpiTest::initTestCase() {
  for (const Scene& scene : kScenes) QFile::remove(referenceFile(QString::fromLatin1(scene.name)));
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kMakeReferences), factorName()});
  QVERIFY(child.waitForFinished(60000));
  QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
           qPrintable("the reference faces were not drawn: " +
                      QString::fromLocal8Bit(child.readAllStandardError()).right(400)));
}

void HiDpiTest::windowGrowsByTheFactor() {
  ClockWindow& w = *window;
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
  for (const auto& [button, control] :
       {std::pair{w.clockButton(), &w.form().Command8}, std::pair{w.manualButton(), &w.form().Command12}}) {
    const QRectF want = pixelsOf(control->twips());
    const QRect got = button->geometry();
    QVERIFY2(std::abs(got.left() - want.left()) <= 1 && std::abs(got.top() - want.top()) <= 1 &&
                 std::abs(got.width() - want.width()) <= 1 && std::abs(got.height() - want.height()) <= 1,
             qPrintable(QStringLiteral("%1: %2,%3 %4x%5")
                            .arg(button->text())
                            .arg(got.left())
                            .arg(got.top())
                            .arg(got.width())
                            .arg(got.height())));
  }
}

void HiDpiTest::faceFeaturesStayInPlace_data() {
  QTest::addColumn<int>("size");  // logical client size; 0 leaves the start-up size
  QTest::addColumn<QString>("scene");
  for (const Scene& scene : kScenes) QTest::newRow(scene.name) << scene.size << QString::fromLatin1(scene.name);
}

// The hands, numerals and picture stand where the face geometry puts them,
// the text is drawn at the screen's density (at 800 and a high density the
// numerals are well over the toolkit's usual limit for cached glyphs, which
// the program raises), and every feature covers the factor squared times the
// device pixels it covers at density 1.
void HiDpiTest::faceFeaturesStayInPlace() {
  QFETCH(int, size);
  QFETCH(QString, scene);
  ClockWindow& w = *window;
  QVERIFY(showScene(w, clock, size));
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
      {"hour hand", midpointOf(f.Ji), deepRed},
      {"minute hand", midpointOf(f.Hun), deepCyan},
      {"bare face", facePoint(f, 0.5 * radius * std::sqrt(0.5), -0.5 * radius * std::sqrt(0.5)), faceGreen},
  };
  QVERIFY(f.Ji.x2() < 0 && f.Ji.y2() < 0 && f.Hun.x2() < 0 && f.Hun.y2() < 0);
  for (const Spot& s : spots)
    QVERIFY2(
        s.colour(device.at(s.at)),
        qPrintable(QStringLiteral("%1 at density %2: %3").arg(s.what).arg(device.dpr).arg(describe(device.at(s.at)))));

  // Each numeral is drawn inside the box the layout gives it; numeral 3
  // stands right of the centre, at its height. (7 and 8 are left out: the
  // dots of the hour's sector between them are red as well.)
  const QRectF numeral3 = pixelsOf(f.Suuji[3].twips());
  QVERIFY(numeral3.left() > centre.x() && numeral3.top() < centre.y() && numeral3.bottom() > centre.y());
  for (int i : {1, 2, 3, 4, 5, 6, 9, 10, 11, 12}) {
    const QRectF box = pixelsOf(f.Suuji[i].twips());
    const QRectF glyph = boundsOf(device, box.adjusted(-4, -4, 4, 4), deepRed);
    QVERIFY2(!glyph.isEmpty() && box.adjusted(-1, -1, 1, 1).contains(glyph),
             qPrintable(QStringLiteral("numeral %1 drawn at %2,%3 %4x%5, its box %6,%7 %8x%9")
                            .arg(i)
                            .arg(glyph.x())
                            .arg(glyph.y())
                            .arg(glyph.width())
                            .arg(glyph.height())
                            .arg(box.x())
                            .arg(box.y())
                            .arg(box.width())
                            .arg(box.height())));
    // Centred in its box on the line the font's metrics give, at this density.
    const QFontMetricsF fm(tirpo::toQFont(f.Suuji[i].font()));
    const QString text = QString::fromStdString(f.Suuji[i].caption());
    const QPointF ideal =
        fm.tightBoundingRect(text)
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
           qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                          .arg(pictureMiddle.x())
                          .arg(pictureMiddle.y())
                          .arg(centre.x())
                          .arg(centre.y())));

  // Text drawn at the device's density is sharp. At factor 1 the run is
  // its own reference, and the enlarged face is enlarged twice over: the
  // measure must still tell it from drawn text.
  const bool atReference = scaleFactor() == 1.0;
  const Shot reference = atReference ? device : referenceShot(scene);
  QVERIFY2(!reference.image.isNull(), qPrintable("no reference face " + referenceFile(scene)));
  QCOMPARE(reference.image.size(), atReference ? device.image.size() : w.surface()->size());
  const Shot blurred = enlarged(reference, atReference ? 2.0 : device.dpr);

  double deviceSum = 0, referenceSum = 0, blurredSum = 0;
  for (int i : {3, 6, 9, 12}) {
    const QRectF box = pixelsOf(f.Suuji[i].twips());
    const double d = edgeWidth(device, box, deepRed, faceGreen);
    const double r = edgeWidth(reference, box, deepRed, faceGreen);
    const double b = edgeWidth(blurred, box, deepRed, faceGreen);
    QVERIFY2(d >= 0 && r >= 0 && b >= 0, qPrintable(QStringLiteral("numeral %1 has no edges").arg(i)));
    qInfo("numeral %d: edges %.2f px wide at density %.2g, %.2f at 1, %.2f when enlarged", i, d, device.dpr, r, b);
    deviceSum += d;
    referenceSum += r;
    blurredSum += b;
  }
  const double deviceEdge = deviceSum / 4, referenceEdge = referenceSum / 4, blurredEdge = blurredSum / 4;
  // Drawn at the device's density: edges as narrow, in its own pixels, as
  // at density 1.
  if (!atReference)
    QVERIFY2(deviceEdge <= std::max(1.5, 1.3 * referenceEdge),
             qPrintable(QStringLiteral("edges %1 px wide at density %2, %3 at 1")
                            .arg(deviceEdge)
                            .arg(device.dpr)
                            .arg(referenceEdge)));
  // And the measure tells the difference: the enlarged face's edges are wider.
  QVERIFY2(blurredEdge > 1.4 * deviceEdge,
           qPrintable(QStringLiteral("enlarged %1 vs drawn %2").arg(blurredEdge).arg(deviceEdge)));

  if (atReference) return;  // nothing more to compare
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
  for (int i : {3, 6, 9, 12})
    features.push_back({QStringLiteral("numeral %1").arg(i), pixelsOf(f.Suuji[i].twips()), deepRed});
  for (const Feature& ft : features) {
    const int ref = countOf(reference, ft.box, ft.colour);
    const int dev = countOf(device, ft.box, ft.colour);
    const QString what = QStringLiteral("%1 (%2 px at 1, %3 px at %4)").arg(ft.what).arg(ref).arg(dev).arg(device.dpr);
    QVERIFY2(ref >= 8, qPrintable(what));
    // Thin strokes lose more of their full-colour pixels at density 1.
    const double areaRatio = dev / (ref * device.dpr * device.dpr);
    QVERIFY2(areaRatio > 0.7 && areaRatio < 1.5, qPrintable(what + QStringLiteral(": ratio %1").arg(areaRatio)));
    const QPointF shift =
        boundsOf(device, ft.box, ft.colour).center() - boundsOf(reference, ft.box, ft.colour).center();
    QVERIFY2(std::abs(shift.x()) <= 0.75 && std::abs(shift.y()) <= 1.5,
             qPrintable(what + QStringLiteral(": moved by %1,%2 logical px").arg(shift.x()).arg(shift.y())));
  }
  for (const Spot& s : spots) QVERIFY2(s.colour(reference.at(s.at)), s.what);
}

void HiDpiTest::screenshots() {
  ClockWindow& w = *window;
  QVERIFY(showScene(w, clock, 0));
  // The whole window, buttons and frame included.
  const QPixmap pm = w.grab();
  QCOMPARE(pm.size(), (QSizeF(w.size()) * scaleFactor()).toSize());
  save(pm.toImage(), artefact(QStringLiteral("hidpi-%1.png").arg(factorName())));
}

int main(int argc, char* argv[]) {
  return tirpo::test::widgetTestMain(argc, argv, [&] {
    if (argc == 3 && qstrcmp(argv[1], kMakeReferences) == 0) return makeReferences(QString::fromLocal8Bit(argv[2]));
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
  });
}

#include "hidpi_test.moc"
