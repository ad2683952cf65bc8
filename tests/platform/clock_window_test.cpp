// Widget tests of the real clock window: it is shown offscreen, driven
// through its Qt widgets and face surface the way a user would drive it, and
// what it paints is read back pixel by pixel at the places the face geometry
// puts the hands, numerals and dots.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/window_frame.h"
#include "support/clock_rules.h"
#include "support/widget_test_base.h"

using tirpo::ClockWindow;
using tirpo::Control;
using tirpo::Form88;
using tirpo::Kind;
using tirpo::Line;
using namespace tirpo::test;
namespace rules = tirpo::rules;

namespace {

const QString kClockTitle = QString::fromUtf8(rules::kClockTitleText);
const QString kAutoTitle = QString::fromStdString(rules::kAutoTitleText);
QString stepTitle(int row) { return QString::fromStdString(rules::stepTitle(rules::kStepRows[row])); }

const QColor kYellow(255, 255, 0);
const QColor kLightGrey(192, 192, 192);

QLineEdit* editOf(ClockWindow& w) { return w.stepList()->lineEdit(); }

// Key presses go where the keyboard focus of an editable list sits: its line
// edit, which hands the arrow keys on to the list.
void pressKeys(ClockWindow& w, const QList<Qt::Key>& keys) {
  for (Qt::Key k : keys) QTest::keyClick(editOf(w), k);
}

// The argument that runs closeWithTypedText() in a child process.
constexpr char kCloseWithTypedText[] = "--close-with-typed-text";

QColor buttonFace(const QPushButton* b) { return b->palette().color(QPalette::Button); }
QColor styleButtonFace() { return QApplication::palette("QPushButton").color(QPalette::Button); }

}  // namespace

class ClockWindowTest : public tirpo::test::ClockWindowTestBase {
  Q_OBJECT

 private slots:
  void startUpWindow();
  void modeButtonColours_data();
  void modeButtonColours();
  void liveClockRendering();
  void manualClockRendering();
  void stepListKeyboardPick_data();
  void stepListKeyboardPick();
  void stepListPopupPick();
  void typingIntoStepList_data();
  void typingIntoStepList();
  void closingWithTypedTextInStepList();
  void pressesReachTheWindowsRouting_data();
  void pressesReachTheWindowsRouting();
  void resizeRightAfterShowIsKept();
};

void ClockWindowTest::startUpWindow() {
  ClockWindow& w = *window;

  QCOMPARE(w.windowTitle(), kClockTitle);
  QVERIFY(w.stepList()->isHidden());
  QCOMPARE(w.stepList()->currentText(), QStringLiteral("AUTO"));
  QCOMPARE(w.stepList()->currentIndex(), -1);
  QCOMPARE(w.stepList()->count(), 6);
  for (int i = 0; i < 6; ++i) QCOMPARE(w.stepList()->itemText(i), QString::fromUtf8(rules::kStepRows[i].item));

  QCOMPARE(w.manualButton()->text(), QStringLiteral("今何時"));
  QCOMPARE(w.clockButton()->text(), QStringLiteral("時計"));
  QVERIFY(w.manualButton()->isVisible() && w.clockButton()->isVisible());
  QCOMPARE(w.handFrame()->title(), QStringLiteral("針表示"));
  const QStringList boxes{"時", "分", "秒"};
  for (int i = 0; i < 3; ++i) {
    QCOMPARE(w.handBox(i)->text(), boxes[i]);
    QVERIFY2(w.handBox(i)->isChecked(), qPrintable(boxes[i]));
    QVERIFY(w.handBox(i)->isVisible());
  }
  QVERIFY(fiveMinuteBox(w) && fiveMinuteBox(w)->isHidden());

  // The start-up size in twips, square, with no window manager to add a frame.
  const double expected = tirpo::kStartSizeTwips / tpp();
  QVERIFY2(std::abs(w.width() - expected) <= 1, qPrintable(QString::number(w.width())));
  QVERIFY2(std::abs(w.height() - expected) <= 1, qPrintable(QString::number(w.height())));
  QCOMPARE(w.form().width(), tirpo::kStartSizeTwips);
  QCOMPARE(w.form().height(), tirpo::kStartSizeTwips);
  QCOMPARE(w.surface()->geometry(), w.rect());

  // The light-grey window with no hands on it yet: below the splash text,
  // where the hands will later turn, the face is bare.
  const QImage img = grabFace(w);
  for (QPointF p : {facePoint(w.form(), 0.3, -0.7), facePoint(w.form(), -0.3, -0.7), facePoint(w.form(), 0, -0.7)}) {
    QVERIFY(bareAt(w, p));
    QVERIFY2(near(pixel(img, p), kLightGrey, 0), qPrintable(describe(pixel(img, p))));
  }
}

void ClockWindowTest::modeButtonColours_data() {
  QTest::addColumn<QString>("mode");       // the mode button clicked, if any
  QTest::addColumn<QString>("clockFace");  // "yellow", "grey" (192) or "style" (the style's button face)
  QTest::addColumn<QString>("manualFace");
  QTest::addColumn<int>("secondBox");  // -1 checked and enabled, 0 unchecked enabled, 1 unchecked disabled

  QTest::newRow("start") << ""
                         << "grey"
                         << "grey" << -1;
  QTest::newRow("時計") << "時計"
                        << "yellow"
                        << "style" << 0;
  QTest::newRow("今何時") << "今何時"
                          << "grey"
                          << "yellow" << 1;
}

void ClockWindowTest::modeButtonColours() {
  QFETCH(QString, mode);
  QFETCH(QString, clockFace);
  QFETCH(QString, manualFace);
  QFETCH(int, secondBox);

  ClockWindow& w = *window;
  if (!mode.isEmpty()) click(mode == QStringLiteral("時計") ? w.clockButton() : w.manualButton());

  const auto expectedFace = [](const QString& name) {
    return name == "yellow" ? kYellow : name == "grey" ? kLightGrey : styleButtonFace();
  };
  QCOMPARE(buttonFace(w.clockButton()), expectedFace(clockFace));
  QCOMPARE(buttonFace(w.manualButton()), expectedFace(manualFace));

  // The face is drawn in that colour: Fusion shades it from top to bottom,
  // so a pixel near the foot of the button, beside the caption, is nearer to
  // it than to either of the other two button colours.
  for (QPushButton* b : {w.clockButton(), w.manualButton()}) {
    const QImage img = b->grab().toImage().scaled(b->size());
    const QString want = b == w.clockButton() ? clockFace : manualFace;
    const QColor got = img.pixelColor(5, b->height() - 5);
    const auto distance = [&](const QColor& c) {
      return std::hypot(got.red() - c.red(), got.green() - c.green(), got.blue() - c.blue());
    };
    QString nearest;
    for (const QString& name : {QStringLiteral("yellow"), QStringLiteral("grey"), QStringLiteral("style")})
      if (nearest.isEmpty() || distance(expectedFace(name)) < distance(expectedFace(nearest))) nearest = name;
    QVERIFY2(nearest == want,
             qPrintable(b->text() + ": drawn " + describe(got) + ", nearest to " + nearest + ", want " + want));
  }

  QCOMPARE(w.handBox(2)->isChecked(), secondBox == -1);
  QCOMPARE(w.handBox(2)->isEnabled(), secondBox != 1);
  QCOMPARE(w.handBox(0)->isChecked(), true);
  QCOMPARE(w.handBox(1)->isChecked(), true);
  QCOMPARE(w.stepList()->isVisible(), mode == QStringLiteral("今何時"));
}

// The live clock at 3 o'clock as the toolkit paints it, and its hands
// hidden and shown by the real check boxes.
void ClockWindowTest::liveClockRendering() {
  ClockWindow& w = *window;
  liveAt(3, 0, 0);
  const Form88& f = w.form();
  QCOMPARE(QString::fromStdString(f.Label7.caption()), QStringLiteral("3"));

  const QImage img = grabFace(w);
  const QPointF bare = bareFacePoint(f);
  QVERIFY(bareAt(w, bare));
  QCOMPARE(pixel(img, bare), QColor(0, 128, 0));

  // Hour hand to 3 o'clock, minute hand straight up.
  QVERIFY(f.Ji.x2Twips() > f.Ji.x1Twips());
  QVERIFY(f.Hun.y2Twips() < f.Hun.y1Twips());
  QVERIFY2(near(pixel(img, midpointOf(f.Ji)), QColor(255, 0, 0)), qPrintable(describe(pixel(img, midpointOf(f.Ji)))));
  QVERIFY2(near(pixel(img, midpointOf(f.Hun)), QColor(0, 255, 255)),
           qPrintable(describe(pixel(img, midpointOf(f.Hun)))));
  // The second hand's box is cleared by the 時計 button, so it is not drawn:
  // just beyond the minute hand's tip, where only the second hand reaches,
  // the face is bare.
  const QPointF beyondMinute = facePoint(f, 0, 0.95 * f.state.radius());
  QVERIFY2(!greenish(pixel(img, beyondMinute)) || near(pixel(img, beyondMinute), QColor(0, 128, 0), 0),
           qPrintable(describe(pixel(img, beyondMinute))));

  // Hour numerals are red glyphs within their labels (6, 9, 12: the dots
  // under them are not highlighted at hour 3).
  for (int i : {6, 9, 12}) {
    const QRectF r = pixelsOf(f.Suuji[i].twips());
    QVERIFY(!r.isEmpty());
    QVERIFY2(countPixels(img, r, redish) >= 8, qPrintable(QStringLiteral("numeral %1").arg(i)));
  }
  // Hour 3 highlights the five dots from the 3 o'clock mark on in red; the
  // dots before and after them stay yellow. Each dot's glyph is looked for
  // in a small box around the point of the dial where it stands.
  const double radius = f.state.radius();
  const auto dotBox = [&](int i) {
    const double a = i * 6 * M_PI / 180;
    return QRectF(facePoint(f, std::sin(a) * radius, std::cos(a) * radius) - QPointF(4, 4), QSizeF(8, 8));
  };
  for (int i : {16, 17, 18, 19}) {
    QVERIFY2(countPixels(img, dotBox(i), redish) >= 3, qPrintable(QStringLiteral("dot %1").arg(i)));
    QVERIFY(pixelsOf(f.dot[i].twips()).contains(dotBox(i).center()));
  }
  for (int i : {13, 14, 21, 33}) {
    QVERIFY2(countPixels(img, dotBox(i), redish) == 0, qPrintable(QStringLiteral("dot %1").arg(i)));
    QVERIFY2(countPixels(img, dotBox(i), yellowish) >= 3, qPrintable(QStringLiteral("dot %1").arg(i)));
  }

  // The 分 box hides the minute hand alone and brings it back; the 時 box
  // hides the hour hand alone.
  const QPointF minuteMid = midpointOf(f.Hun), hourMid = midpointOf(f.Ji);
  const QColor cyan(0, 255, 255), red(255, 0, 0), face(0, 128, 0);
  const struct {
    int box;
    bool checked;
    QColor minute, hour;
  } clicks[] = {{1, false, face, red}, {1, true, cyan, red}, {0, false, cyan, face}};
  for (const auto& c : clicks) {
    clickCheckBox(w.handBox(c.box));
    QCOMPARE(w.handBox(c.box)->isChecked(), c.checked);
    const QImage shown = grabFace(w);
    QVERIFY2(near(pixel(shown, minuteMid), c.minute, 0), qPrintable(describe(pixel(shown, minuteMid))));
    QVERIFY2(near(pixel(shown, hourMid), c.hour), qPrintable(describe(pixel(shown, hourMid))));
  }
}

void ClockWindowTest::manualClockRendering() {
  ClockWindow& w = *window;
  liveAt(3, 0, 0);
  w.manualButton()->click();
  const Form88& f = w.form();

  const QImage img = grabFace(w);
  const QPointF bare = bareFacePoint(f);
  QVERIFY(bareAt(w, bare));
  QCOMPARE(pixel(img, bare), QColor(128, 128, 128));
  // Both hands back at 12; the minute hand, drawn over the hour hand, is green.
  QVERIFY(std::abs(f.Ji.x2Twips() - f.Ji.x1Twips()) < 1 && f.Ji.y2Twips() < f.Ji.y1Twips());
  QVERIFY2(near(pixel(img, midpointOf(f.Hun)), QColor(0, 255, 0)), qPrintable(describe(pixel(img, midpointOf(f.Hun)))));
  // Where the hour hand lay at 3 o'clock the face is bare again.
  const QPointF oldHour = facePoint(f, 0.3 * f.state.radius(), 0);
  QVERIFY(bareAt(w, oldHour));
  QCOMPARE(pixel(img, oldHour), QColor(128, 128, 128));
  QVERIFY(w.stepList()->isVisible());
  QCOMPARE(w.windowTitle(), kAutoTitle);
}

void ClockWindowTest::stepListKeyboardPick_data() {
  QTest::addColumn<QList<Qt::Key>>("keys");
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("title");

  // From no pick to the first entry, past the last one and back up, and by
  // the page.
  QTest::newRow("Down: 1") << QList<Qt::Key>{Qt::Key_Down} << 0 << stepTitle(0);
  QTest::newRow("Down x7 Up: 30") << (QList<Qt::Key>(7, Qt::Key_Down) << Qt::Key_Up) << 4 << stepTitle(4);
  QTest::newRow("PageDown x2: 5") << QList<Qt::Key>(2, Qt::Key_PageDown) << 1 << stepTitle(1);
}

void ClockWindowTest::stepListKeyboardPick() {
  QFETCH(QList<Qt::Key>, keys);
  QFETCH(int, index);
  QFETCH(QString, title);

  ClockWindow& w = *window;
  w.manualButton()->click();
  QCOMPARE(w.windowTitle(), kAutoTitle);
  QVERIFY(w.stepList()->isVisible());
  QCOMPARE(w.form().state.stepIndex, 0.0f);

  pressKeys(w, keys);
  QCOMPARE(w.form().state.stepIndex, static_cast<float>(index));
  QCOMPARE(w.windowTitle(), title);
  QCOMPARE(w.stepList()->currentIndex(), index);
  QCOMPARE(QString::fromStdString(w.form().Combo1.text()), w.stepList()->itemText(index));
  QCOMPARE(w.stepList()->count(), 6);

  // 時計 writes "AUTO" back but keeps the position picked.
  w.clockButton()->click();
  QCOMPARE(w.stepList()->currentText(), QStringLiteral("AUTO"));
  QCOMPARE(w.form().state.stepIndex, static_cast<float>(index));
  QCOMPARE(w.windowTitle(), kClockTitle);
}

void ClockWindowTest::stepListPopupPick() {
  ClockWindow& w = *window;
  w.manualButton()->click();

  for (const auto& [row, title] : {std::pair{5, stepTitle(5)}, std::pair{0, stepTitle(0)}}) {
    QComboBox* combo = w.stepList();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // a release right after opening is ignored
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QVERIFY(!item.isEmpty());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(w.form().state.stepIndex, static_cast<float>(row));
    QCOMPARE(w.windowTitle(), title);
    QCOMPARE(combo->count(), 6);
  }
}

void ClockWindowTest::typingIntoStepList_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<Qt::Key>("then");  // the key that ends the typing

  // An entry's text, the start of one or two ("1", "3"), no entry's text,
  // and "AUTO", ended by Enter or by Tab. (Typing alone shows in the row
  // that Enter ends.)
  QTest::newRow("60 Enter") << "60" << Qt::Key_Return;
  QTest::newRow("1 Enter") << "1" << Qt::Key_Return;
  QTest::newRow("3 Enter") << "3" << Qt::Key_Return;
  QTest::newRow("3 Tab") << "3" << Qt::Key_Tab;
  QTest::newRow("7 Enter") << "7" << Qt::Key_Return;
  QTest::newRow("AUTO Enter") << "AUTO" << Qt::Key_Return;
}

void ClockWindowTest::typingIntoStepList() {
  QFETCH(QString, typed);
  QFETCH(Qt::Key, then);

  ClockWindow& w = *window;
  w.manualButton()->click();
  pressKeys(w, {Qt::Key_Down, Qt::Key_Down});  // picks "5"
  QCOMPARE(w.form().state.stepIndex, 1.0f);
  const QString title = stepTitle(1);
  QCOMPARE(w.windowTitle(), title);

  // The user clicks into the box, so the keyboard focus is there.
  QLineEdit* edit = editOf(w);
  activate(w);
  QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
  QTRY_VERIFY(edit->hasFocus());
  // Whatever happens below, the focus leaves the box while the window still
  // stands (closing a window with the focus in a typed box is checked on its
  // own, in closingWithTypedTextInStepList).
  struct FocusOut {
    QLineEdit* edit;
    ~FocusOut() { edit->clearFocus(); }
  } focusOut{edit};

  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, typed);
  QCOMPARE(edit->text().left(typed.size()), typed);
  QTest::keyClick(edit, then);

  const auto unchanged = [&](const char* when) {
    QVERIFY2(w.form().state.stepIndex == 1.0f, when);
    QVERIFY2(w.windowTitle() == title, when);
    QVERIFY2(w.stepList()->count() == 6, when);
    // What the box shows is the text the window holds.
    QVERIFY2(w.stepList()->currentText() == QString::fromStdString(w.form().Combo1.text()),
             qPrintable(QStringLiteral("%1: the box shows \"%2\", the window holds \"%3\"")
                            .arg(when, w.stepList()->currentText(), QString::fromStdString(w.form().Combo1.text()))));
  };
  unchanged("after typing");
  if (QTest::currentTestFailed()) return;
  // The focus leaves the box (the user clicks elsewhere).
  edit->clearFocus();
  QTRY_VERIFY(!edit->hasFocus());
  unchanged("after the focus left the box");
}

void ClockWindowTest::closingWithTypedTextInStepList() {
  // Run in a process of its own: a fault here ends the process.
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kCloseWithTypedText)});
  QVERIFY(child.waitForFinished(60000));
  QVERIFY2(child.exitStatus() == QProcess::NormalExit,
           qPrintable("the window crashed while closing: " +
                      QString::fromLocal8Bit(child.readAllStandardError()).right(400)));
  QCOMPARE(child.exitCode(), 0);
}

// Where a press goes is the window model's rule (its press table); here a
// real mouse press on the face reaches that routing with its button and its
// place: on the bare face it steps, on a numeral or dot it is swallowed, on
// the picture it switches the minute numerals, which the face repaints.
void ClockWindowTest::pressesReachTheWindowsRouting_data() {
  QTest::addColumn<QString>("target");
  QTest::addColumn<Qt::MouseButton>("button");
  QTest::addColumn<QString>("minutes");     // Label1 afterwards, by the step 15
  QTest::addColumn<bool>("numeralsShown");  // the minute numerals afterwards

  QTest::newRow("bare face, left") << "bare" << Qt::LeftButton << "15" << true;
  QTest::newRow("bare face, right") << "bare" << Qt::RightButton << "-15" << true;
  QTest::newRow("hour numeral 3, left") << "numeral" << Qt::LeftButton << "" << true;
  QTest::newRow("dot 40, right") << "dot" << Qt::RightButton << "" << true;
  QTest::newRow("picture, left") << "picture" << Qt::LeftButton << "" << false;
}

void ClockWindowTest::pressesReachTheWindowsRouting() {
  QFETCH(QString, target);
  QFETCH(Qt::MouseButton, button);
  QFETCH(QString, minutes);
  QFETCH(bool, numeralsShown);

  ClockWindow& w = *window;
  click(w.manualButton());
  w.form().Combo1.pick(3);
  const Form88& f = w.form();
  const Control* on = &f.Image4;
  if (target == "numeral") on = &f.Suuji[3];
  if (target == "dot") on = &f.dot[40];
  QVERIFY(on->visible());
  const QPointF p = target == "bare" ? bareFacePoint(f) : pixelsOf(on->twips()).center();
  QVERIFY(target != "bare" || bareAt(w, p));
  QCOMPARE(w.childAt(p.toPoint()), static_cast<QWidget*>(w.surface()));
  const QRectF numeral10 = pixelsOf(f.Suuji2[10].twips());

  QTest::mouseClick(w.surface(), button, {}, p.toPoint());
  QCOMPARE(QString::fromStdString(f.Label1.caption()), minutes);
  QCOMPARE(bool(f.Suuji2[10].visible()), numeralsShown);
  const int green = countPixels(grabFace(w), numeral10, greenish);
  QVERIFY2(numeralsShown ? green >= 5 : green == 0, qPrintable(QString::number(green)));
}

// The first resize that reaches the window may be the one that also reveals
// its frame; the size the user gave wins over the size asked at start-up,
// and the face is laid out for it.
void ClockWindowTest::resizeRightAfterShowIsKept() {
  ClockWindow& w = *window;
  w.resize(600, 450);
  QCoreApplication::processEvents();
  QCOMPARE(w.size(), QSize(600, 450));
  QCOMPARE(w.surface()->geometry(), w.rect());
  const QMargins drawn = tirpo::drawnFrame(w);
  const QSize frame(drawn.left() + drawn.right(), drawn.top() + drawn.bottom());
  QCOMPARE(w.form().width(), static_cast<float>((600 + frame.width()) * tpp()));
  QCOMPARE(w.form().height(), static_cast<float>((450 + frame.height()) * tpp()));
  w.resize(500, 700);
  QCOMPARE(w.form().height(), static_cast<float>((700 + frame.height()) * tpp()));
}

// The user types "3" into the step list and closes the window with the
// keyboard focus still in the list.
int closeWithTypedText() {
  tirpo::fakes::FakeClock clock;
  auto w = std::make_unique<ClockWindow>(&clock);
  w->show();
  if (!QTest::qWaitForWindowExposed(w.get())) return 2;
  w->manualButton()->click();
  w->activateWindow();
  if (!QTest::qWaitForWindowActive(w.get())) return 3;
  QLineEdit* edit = editOf(*w);
  QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
  if (!QTest::qWaitFor([&] { return edit->hasFocus(); })) return 4;
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, QStringLiteral("3"));
  w.reset();
  return 0;
}

int main(int argc, char* argv[]) {
  return tirpo::test::widgetTestMain(argc, argv, [&] {
    if (argc == 2 && qstrcmp(argv[1], kCloseWithTypedText) == 0) return closeWithTypedText();
    ClockWindowTest test;
    return QTest::qExec(&test, argc, argv);
  });
}

#include "clock_window_test.moc"
