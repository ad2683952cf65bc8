// Floor programs for the whole-program figures: the least a Qt 6 Widgets
// clock window costs on this machine. Same window size and the same font
// request as tirpo-clock, but nothing else: floor_label only shows one
// Japanese label, floor_tick also repaints the window once a second like
// a clock with a second hand. run.sh measures tirpo-clock against them.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#ifndef FLOOR_TITLE
#error "FLOOR_TITLE must name the window"
#endif

namespace {

// 5800 twips, the clock window's side; 1440 twips make one inch.
constexpr int kWindowTwips = 5800;
constexpr int kTwipsPerInch = 1440;

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);

  // The clock asks for "ＭＳ Ｐゴシック", which Debian does not ship; it is
  // mapped to the IPA proportional Gothic, with Noto CJK as second choice.
  const QString face = QStringLiteral("ＭＳ Ｐゴシック");
  QFont::insertSubstitutions(face, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
  QFont font(face);
  font.setPointSizeF(11.25);
  QApplication::setFont(font);

  QWidget window;
  window.setWindowTitle(QStringLiteral(FLOOR_TITLE));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("ちるぽ時計")), 0, Qt::AlignCenter);

  const int side = kWindowTwips * window.logicalDpiY() / kTwipsPerInch;
  window.resize(side, side);

#ifdef FLOOR_TICK
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, &window, qOverload<>(&QWidget::update));
  tick.start(1000);
#endif

  window.show();
  return app.exec();
}
