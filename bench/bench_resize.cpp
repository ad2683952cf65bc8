// A live resize of the real window: the layout of the face for the new size
// and a full repaint of it, at a window 2160 pixels high (offscreen).
// Every iteration takes a new height, as a live resize does.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "platform/clock_window.h"
#include "platform/face_surface.h"
#include "platform/fonts.h"

namespace {

enum Part { kBoth, kLayoutOnly, kPaintOnly };

void run(benchmark::State& state, Part part) {
  tirpo::ClockWindow window;
  window.show();
  QCoreApplication::processEvents();  // mapped, with its frame
  window.form().Command8_Click();     // the live clock, as a child would use it
  const int height = static_cast<int>(state.range(0));
  window.resize(height, height);
  for (int i = 0; i < 100 && window.surface()->height() != height; ++i) QCoreApplication::processEvents();
  QImage canvas(height + 16, height + 16, QImage::Format_ARGB32_Premultiplied);
  int step = 0;
  for (auto _ : state) {
    if (part != kPaintOnly) {
      // A new size every time, as while the user drags the window's edge.
      const int h = height - (++step % 50);
      window.resize(h, h);  // lays the face out for the new size
    }
    if (part != kLayoutOnly) {
      QPainter painter(&canvas);
      window.surface()->render(&painter);
    }
  }
  state.counters["surface_px"] = window.surface()->height();
}

// The floor: what resizing a bare window of the same size costs Qt itself.
void BM_BareWindowResize(benchmark::State& state) {
  QWidget window;
  const int height = static_cast<int>(state.range(0));
  window.resize(height, height);
  window.show();
  int step = 0;
  for (auto _ : state) {
    const int h = height - (++step % 50);
    window.resize(h, h);
  }
}
BENCHMARK(BM_BareWindowResize)->Arg(2160)->Unit(benchmark::kMillisecond);

// The floor of painting: a bare window of the same size filling its
// background, which every window pays for each full repaint.
void BM_BareWindowPaint(benchmark::State& state) {
  QWidget window;
  window.setAutoFillBackground(true);
  const int height = static_cast<int>(state.range(0));
  window.resize(height, height);
  window.show();
  QImage canvas(height + 16, height + 16, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&canvas);
    window.render(&painter);
  }
  state.counters["surface_px"] = window.height();
}
BENCHMARK(BM_BareWindowPaint)->Arg(2160)->Unit(benchmark::kMillisecond);

void BM_ResizeLayoutAndPaint(benchmark::State& state) { run(state, kBoth); }
void BM_ResizeLayoutOnly(benchmark::State& state) { run(state, kLayoutOnly); }
void BM_PaintOnly(benchmark::State& state) { run(state, kPaintOnly); }
BENCHMARK(BM_ResizeLayoutAndPaint)->Arg(540)->Arg(1080)->Arg(2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResizeLayoutOnly)->Arg(2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOnly)->Arg(2160)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  tirpo::installFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
