// Widget tests of full screen: F11 turns it on and off, the window
// manager's own full screen lays the face out the same, and while no title
// bar shows, the window's title is shown beside the face, clear of the
// face, the buttons and the boxes, following every change of the title.

#include <qpa/qwindowsysteminterface.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/full_screen.h"
#include "support/form_readings.h"
#include "support/widget_test_base.h"
#include "view/title_help.h"

using tirpo::ClockWindow;
using tirpo::Form88;
using namespace tirpo::test;

namespace {

const QLabel& helpOf(const ClockWindow& w) { return *w.fullScreen().titleHelp(); }

// Every place the help must leave free: the windowed controls shown, and
// each numeral's, dot's and picture's place on the face, shown or not.
QString whatItCovers(ClockWindow& w) {
  const QRect help = helpOf(w).geometry();
  QStringList covered;
  for (const QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (c != w.surface() && c != &helpOf(w) && c->isVisible() && c->geometry().intersects(help))
      covered << c->metaObject()->className() + QStringLiteral(" ") + c->accessibleName();
  const Form88& f = w.form();
  for (const auto* array : {&f.Suuji2, &f.Suuji, &f.dot})
    for (int i = 1; const tirpo::Label* l = array->at(i); ++i)
      if (pixelsOf(l->twips()).intersects(help)) covered << QString::fromStdString(l->name()) + QString::number(i);
  for (const tirpo::Image* image : {&f.Image1, &f.Image4})
    if (pixelsOf(image->twips()).intersects(help)) covered << QString::fromStdString(image->name());
  return covered.join(QStringLiteral(", "));
}

void pressF11(ClockWindow& w) { QTest::keyClick(&w, Qt::Key_F11); }

}  // namespace

class FullScreenTest : public ClockWindowTestBase {
  Q_OBJECT

 private slots:
  void f11TurnsFullScreenOnAndOff();
  void windowManagersFullScreenIsTheSame();
  void titleShownBesideTheFace_data();
  void titleShownBesideTheFace();
  void nothingShownWithATitleBar();
};

void FullScreenTest::f11TurnsFullScreenOnAndOff() {
  ClockWindow& w = *window;
  const QSize normal = w.size();
  QVERIFY(helpOf(w).isHidden());
  pressF11(w);
  QTRY_VERIFY(w.isFullScreen());
  const QRect screen = w.screen()->geometry();
  QTRY_COMPARE(w.size(), screen.size());
  // The face follows the screen's height.
  QCOMPARE(w.form().height(), static_cast<float>(screen.height() * tpp()));
  QCOMPARE(w.form().state.dialScale, w.form().height() / 5800.0f);
  QCOMPARE(w.surface()->geometry(), w.rect());
  QTRY_VERIFY(helpOf(w).isVisible());
  QCOMPARE(helpOf(w).text(), w.windowTitle());

  pressF11(w);
  QTRY_VERIFY(!w.isFullScreen());
  QTRY_VERIFY(helpOf(w).isHidden());
  QTRY_COMPARE(w.size(), normal);
}

// The window manager makes the window full screen itself: its new state and
// size arrive as they would from the window system.
void FullScreenTest::windowManagersFullScreenIsTheSame() {
  ClockWindow& w = *window;
  pressF11(w);
  QTRY_VERIFY(w.isFullScreen());
  QTRY_VERIFY(helpOf(w).isVisible());
  QCoreApplication::processEvents();
  const tirpo::Snapshot byF11 = tirpo::snapshot(w.form());
  const QRect helpByF11 = helpOf(w).geometry();

  window = std::make_unique<ClockWindow>(&clock);
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  ClockWindow& other = *window;
  QWindow* handle = other.windowHandle();
  QWindowSystemInterface::handleWindowStateChanged<QWindowSystemInterface::SynchronousDelivery>(
      handle, Qt::WindowFullScreen, Qt::WindowNoState);
  QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(handle,
                                                                                            other.screen()->geometry());
  QTRY_VERIFY(other.isFullScreen());
  QTRY_VERIFY(helpOf(other).isVisible());
  QCoreApplication::processEvents();
  QVERIFY(tirpo::snapshot(other.form()) == byF11);
  QCOMPARE(helpOf(other).geometry(), helpByF11);
}

void FullScreenTest::titleShownBesideTheFace_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::newRow("start") << QStringList{};
  QTest::newRow("時計") << QStringList{"時計"};
  QTest::newRow("今何時") << QStringList{"今何時"};
  QTest::newRow("今何時, 60") << QStringList{"今何時", "60"};
  QTest::newRow("今何時, 1, 時計, 今何時") << QStringList{"今何時", "1", "時計", "今何時"};
  QTest::newRow("今何時, picture") << QStringList{"今何時", "picture"};
}

// In full screen the title shows beside the face and follows each change.
void FullScreenTest::titleShownBesideTheFace() {
  QFETCH(QStringList, steps);
  ClockWindow& w = *window;
  pressF11(w);
  QTRY_VERIFY(w.isFullScreen());
  QTRY_VERIFY(helpOf(w).isVisible());
  for (const QString& step : steps) {
    if (step == QStringLiteral("時計")) {
      click(w.clockButton());
    } else if (step == QStringLiteral("今何時")) {
      click(w.manualButton());
    } else if (step == QStringLiteral("picture")) {
      const Form88& f = w.form();
      QTest::mouseClick(w.surface(), Qt::LeftButton, {},
                        pixelsOf((f.Image1.visible() ? f.Image1 : f.Image4).twips()).center().toPoint());
    } else {
      const int row = w.stepList()->findText(step);
      QVERIFY(row >= 0);
      w.stepList()->setCurrentIndex(row);
      emit w.stepList()->activated(row);
    }
    QTRY_COMPARE(helpOf(w).text(), QString::fromStdString(w.form().caption()));
  }
  QCOMPARE(w.windowTitle(), QString::fromStdString(w.form().caption()));
  QVERIFY(helpOf(w).isVisible());
  QVERIFY2(whatItCovers(w).isEmpty(), qPrintable("the title covers " + whatItCovers(w)));
  // Inside the window, and wide enough for a few characters on a line.
  QVERIFY(w.rect().contains(helpOf(w).geometry()));
  QVERIFY(helpOf(w).width() >= tirpo::kTitleHelpNarrowestInChars * helpOf(w).font().pixelSize());
  // The whole text shows: the label is as tall as its wrapped text.
  QVERIFY(helpOf(w).height() >= helpOf(w).heightForWidth(helpOf(w).width()));
  // And it is painted: light text on the dark band.
  const QImage img = w.grab(helpOf(w).geometry()).toImage();
  QVERIFY(countPixels(img, img.rect(), [](const QColor& c) { return c.lightness() > 200; }) > 20);
}

void FullScreenTest::nothingShownWithATitleBar() {
  ClockWindow& w = *window;
  for (QPushButton* b : {w.manualButton(), w.clockButton(), w.manualButton()}) {
    click(b);
    QCoreApplication::processEvents();
    QVERIFY(helpOf(w).isHidden());
  }
  w.resize(1200, 500);  // wide, with room beside the face
  QCoreApplication::processEvents();
  QVERIFY(helpOf(w).isHidden());
}

TIRPO_WIDGET_TEST_MAIN(FullScreenTest)

#include "full_screen_test.moc"
