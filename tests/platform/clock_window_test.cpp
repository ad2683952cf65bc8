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
  void tabOrderFollowsTabIndices();
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
  void pressesOnTheFace();
  void pressesBeforeAnyModeButton();
  void pictureTogglesMinuteNumerals();
  void handBoxHidesMinuteHand();
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
  QVERIFY(!w.form().Ji.visible() && !w.form().Hun.visible() && !w.form().Byou.visible());
}

void ClockWindowTest::tabOrderFollowsTabIndices() {
  ClockWindow& w = *window;

  // Command8 (5), Command12 (7), Check2 (8), Check3(2) (12), Check3(1) (13),
  // Check3(0) (14), Combo1 (15).
  const QList<QWidget*> expected{w.clockButton(), w.manualButton(), fiveMinuteBox(w), w.handBox(2),
                                 w.handBox(1),    w.handBox(0),     w.stepList()};
  QVERIFY(!expected.contains(nullptr));
  QList<QWidget*> seen;
  QWidget* cur = w.clockButton();
  for (int steps = 0; steps < 100; ++steps) {
    QWidget* probe = cur;
    // The list's line edit stands for the list itself.
    if (probe == editOf(w)) probe = w.stepList();
    if (expected.contains(probe) && !seen.contains(probe)) seen.append(probe);
    cur = cur->nextInFocusChain();
    if (cur == w.clockButton()) break;
  }
  QCOMPARE(seen, expected);
}

void ClockWindowTest::modeButtonColours_data() {
  QTest::addColumn<QStringList>("presses");
  QTest::addColumn<QString>("clockFace");  // "yellow", "grey" (192) or "style" (the style's button face)
  QTest::addColumn<QString>("manualFace");
  QTest::addColumn<int>("secondBox");  // -1 checked and enabled, 0 unchecked enabled, 1 unchecked disabled

  QTest::newRow("start") << QStringList{} << "grey"
                         << "grey" << -1;
  QTest::newRow("時計") << QStringList{"時計"} << "yellow"
                        << "style" << 0;
  QTest::newRow("今何時") << QStringList{"今何時"} << "grey"
                          << "yellow" << 1;
  QTest::newRow("今何時,時計") << QStringList{"今何時", "時計"} << "yellow"
                               << "style" << 0;
  QTest::newRow("時計,今何時") << QStringList{"時計", "今何時"} << "grey"
                               << "yellow" << 1;
  QTest::newRow("時計,時計") << QStringList{"時計", "時計"} << "yellow"
                             << "style" << 0;
}

void ClockWindowTest::modeButtonColours() {
  QFETCH(QStringList, presses);
  QFETCH(QString, clockFace);
  QFETCH(QString, manualFace);
  QFETCH(int, secondBox);

  ClockWindow& w = *window;
  for (const QString& p : presses) {
    QPushButton* b = p == QStringLiteral("時計") ? w.clockButton() : w.manualButton();
    click(b);
  }

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
  QCOMPARE(w.stepList()->isVisible(), presses.value(presses.size() - 1) == QStringLiteral("今何時"));
}

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

  QTest::newRow("Down: 1") << QList<Qt::Key>{Qt::Key_Down} << 0 << stepTitle(0);
  QTest::newRow("Down x7 Up: 30") << (QList<Qt::Key>(7, Qt::Key_Down) << Qt::Key_Up) << 4 << stepTitle(4);
  QTest::newRow("PageDown x2: 5") << QList<Qt::Key>(2, Qt::Key_PageDown) << 1 << stepTitle(1);
  QTest::newRow("Down x4: 15") << QList<Qt::Key>(4, Qt::Key_Down) << 3 << stepTitle(3);
  QTest::newRow("Down x6: 60") << QList<Qt::Key>(6, Qt::Key_Down) << 5 << stepTitle(5);
  QTest::newRow("Down x3 Up x2: 1") << (QList<Qt::Key>(3, Qt::Key_Down) << Qt::Key_Up << Qt::Key_Up) << 0
                                    << stepTitle(0);
  QTest::newRow("Down Up: 1") << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Up} << 0 << stepTitle(0);
  QTest::newRow("Down x2: 5") << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Down} << 1 << stepTitle(1);
  QTest::newRow("Down x3: 10") << QList<Qt::Key>(3, Qt::Key_Down) << 2 << stepTitle(2);
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
  QTest::addColumn<Qt::Key>("then");  // the key that ends the typing, or 0

  const auto none = static_cast<Qt::Key>(0);
  QTest::newRow("60") << "60" << none;
  QTest::newRow("60 Enter") << "60" << Qt::Key_Return;
  QTest::newRow("60 Tab") << "60" << Qt::Key_Tab;
  QTest::newRow("1 Enter") << "1" << Qt::Key_Return;
  QTest::newRow("7 Enter") << "7" << Qt::Key_Return;
  QTest::newRow("AUTO Enter") << "AUTO" << Qt::Key_Return;
  QTest::newRow("3") << "3" << none;
  QTest::newRow("3 Enter") << "3" << Qt::Key_Return;
  QTest::newRow("3 Tab") << "3" << Qt::Key_Tab;
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
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
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
  if (then != 0) QTest::keyClick(edit, then);

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

void ClockWindowTest::pressesOnTheFace() {
  ClockWindow& w = *window;
  click(w.manualButton());
  pressKeys(w, QList<Qt::Key>(4, Qt::Key_Down));  // picks "15"
  QCOMPARE(w.stepList()->currentText(), QStringLiteral("15"));
  const Form88& f = w.form();
  const double radius = f.state.radius();
  QVERIFY(radius > 0);
  auto label1 = [&] { return QString::fromStdString(f.Label1.caption()); };

  const QPointF bare = bareFacePoint(f);
  QVERIFY(bareAt(w, bare));
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, bare.toPoint());
  QCOMPARE(label1(), QStringLiteral("15"));
  QCOMPARE(QString::fromStdString(f.Label2.caption()), QStringLiteral("0"));
  QVERIFY(std::abs(f.Hun.x2() - 0.9 * radius) < 1e-4);
  QVERIFY(std::abs(f.Hun.y2()) < 1e-4);
  // And the green minute hand is painted towards 3 o'clock.
  QImage img = grabFace(w);
  QVERIFY2(near(pixel(img, facePoint(f, 0.45 * radius, 0)), QColor(0, 255, 0)),
           qPrintable(describe(pixel(img, facePoint(f, 0.45 * radius, 0)))));

  QTest::mouseClick(w.surface(), Qt::RightButton, {}, bare.toPoint());
  QCOMPARE(label1(), QStringLiteral("0"));
  QVERIFY(std::abs(f.Hun.x2()) < 1e-4);
  QVERIFY(std::abs(f.Hun.y2() - 0.9 * radius) < 1e-4);
  QTest::mouseClick(w.surface(), Qt::RightButton, {}, bare.toPoint());
  QCOMPARE(label1(), QStringLiteral("-15"));

  // Presses on a hand still reach the face: lines take no presses.
  const QPointF onMinuteHand = midpointOf(f.Hun);
  QCOMPARE(w.childAt(onMinuteHand.toPoint()), static_cast<QWidget*>(w.surface()));
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, onMinuteHand.toPoint());
  QCOMPARE(label1(), QStringLiteral("0"));

  // Presses on a visible numeral, dot or the centre picture do not step.
  struct Target {
    const char* what;
    const Control* control;
  };
  const Control* picture = f.Image1.visible() ? static_cast<const Control*>(&f.Image1) : &f.Image4;
  for (const Target& t :
       {Target{"numeral 3", &f.Suuji[3]}, Target{"numeral 7", &f.Suuji[7]}, Target{"numeral 10", &f.Suuji[10]},
        Target{"dot 40", &f.dot[40]}, Target{"minute numeral 25", &f.Suuji2[25]}}) {
    QVERIFY2(t.control->visible(), t.what);
    const QPointF p = pixelsOf(t.control->twips()).center();
    QCOMPARE(w.childAt(p.toPoint()), static_cast<QWidget*>(w.surface()));
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
      QTest::mouseClick(w.surface(), b, {}, p.toPoint());
      QVERIFY2(label1() == QStringLiteral("0"), t.what);
    }
  }
  QVERIFY(picture->visible());
  const QPointF centre = pixelsOf(picture->twips()).center();
  QTest::mouseClick(w.surface(), Qt::RightButton, {}, centre.toPoint());
  QCOMPARE(label1(), QStringLiteral("0"));
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, centre.toPoint());
  QCOMPARE(label1(), QStringLiteral("0"));

  // The bare face still steps afterwards.
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, bare.toPoint());
  QCOMPARE(label1(), QStringLiteral("15"));
}

void ClockWindowTest::pressesBeforeAnyModeButton() {
  // Before either button the dots and hour numerals are hidden: a press where
  // numeral 3 will stand lands on the face and counts the hour up.
  ClockWindow& w = *window;
  const Form88& f = w.form();
  QVERIFY(!f.Suuji[3].visible());
  // The inner half of the numeral's box, clear of the minute numerals outside it.
  const QRectF numeral3 = pixelsOf(f.Suuji[3].twips());
  const QPointF p(numeral3.left() + numeral3.width() / 4, numeral3.center().y());
  QVERIFY(bareAt(w, p));
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, p.toPoint());
  QCOMPARE(QString::fromStdString(f.Label2.caption()), QStringLiteral("1"));
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, p.toPoint());
  QCOMPARE(QString::fromStdString(f.Label2.caption()), QStringLiteral("2"));
  QTest::mouseClick(w.surface(), Qt::RightButton, {}, p.toPoint());
  QCOMPARE(QString::fromStdString(f.Label2.caption()), QStringLiteral("1"));

  // In the live clock no press changes anything.
  w.clockButton()->click();
  const QPointF bare = bareFacePoint(f);
  QVERIFY(bareAt(w, bare));
  const float hunX = f.Hun.x2(), hunY = f.Hun.y2();
  for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseClick(w.surface(), b, {}, bare.toPoint());
    QCOMPARE(QString::fromStdString(f.Label2.caption()), QStringLiteral("1"));
    QCOMPARE(QString::fromStdString(f.Label1.caption()), QString());
    QCOMPARE(f.Hun.x2(), hunX);
    QCOMPARE(f.Hun.y2(), hunY);
    QVERIFY(f.Timer1.enabled());
  }
}

void ClockWindowTest::pictureTogglesMinuteNumerals() {
  ClockWindow& w = *window;
  w.manualButton()->click();
  const Form88& f = w.form();
  // Start-up shows the minute numerals with Image4, the picture that hides them.
  QVERIFY(f.Image4.visible() && !f.Image1.visible());
  QVERIFY(f.Suuji2[10].visible());
  const QRectF numeral10 = pixelsOf(f.Suuji2[10].twips());
  QVERIFY(countPixels(grabFace(w), numeral10, greenish) >= 5);

  const QPointF centre = facePoint(f, 0, 0);
  QVERIFY(pixelsOf(f.Image4.twips()).contains(centre));
  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, centre.toPoint());
  QVERIFY(!f.Image4.visible() && f.Image1.visible());
  for (int i = 1; i <= tirpo::kMinuteNumeralCount; ++i) QVERIFY(!f.Suuji2[i].visible());
  QCOMPARE(countPixels(grabFace(w), numeral10, greenish), 0);
  QCOMPARE(QString::fromStdString(f.Label1.caption()), QString());

  QTest::mouseClick(w.surface(), Qt::LeftButton, {}, centre.toPoint());
  QVERIFY(f.Image4.visible() && !f.Image1.visible());
  for (int i = 1; i <= tirpo::kMinuteNumeralCount; ++i) QVERIFY(f.Suuji2[i].visible());
  QVERIFY(countPixels(grabFace(w), numeral10, greenish) >= 5);
  QCOMPARE(QString::fromStdString(f.Label1.caption()), QString());
}

void ClockWindowTest::handBoxHidesMinuteHand() {
  ClockWindow& w = *window;
  liveAt(3, 0, 0);
  const Form88& f = w.form();
  const QPointF minuteMid = midpointOf(f.Hun);
  const QPointF hourMid = midpointOf(f.Ji);
  QVERIFY(near(pixel(grabFace(w), minuteMid), QColor(0, 255, 255)));

  clickCheckBox(w.handBox(1));
  QVERIFY(!w.handBox(1)->isChecked());
  QVERIFY(!f.Hun.visible());
  QVERIFY(f.Ji.visible());
  QImage img = grabFace(w);
  QVERIFY2(!near(pixel(img, minuteMid), QColor(0, 255, 255), 60), qPrintable(describe(pixel(img, minuteMid))));
  QCOMPARE(pixel(img, minuteMid), QColor(0, 128, 0));
  QVERIFY(near(pixel(img, hourMid), QColor(255, 0, 0)));

  clickCheckBox(w.handBox(1));
  QVERIFY(w.handBox(1)->isChecked());
  QVERIFY(f.Hun.visible());
  QVERIFY(near(pixel(grabFace(w), minuteMid), QColor(0, 255, 255)));

  // The hour box hides the hour hand alone.
  clickCheckBox(w.handBox(0));
  img = grabFace(w);
  QVERIFY(!f.Ji.visible() && f.Hun.visible());
  QCOMPARE(pixel(img, hourMid), QColor(0, 128, 0));
  QVERIFY(near(pixel(img, minuteMid), QColor(0, 255, 255)));
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
