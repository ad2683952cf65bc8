// Micro-benchmarks of the window model's hot paths: the layout that runs on
// every resize, the live clock's one-second tick, the AUTO run's tick, and
// one press in the manual mode. Text is measured by the test fake, so the
// figures are the model's own cost, without the toolkit.

#include <benchmark/benchmark.h>

#include "support/fakes.h"
#include "window/form88.h"

namespace {

using tirpo::Form88;
using tirpo::fakes::FakeClock;
using tirpo::fakes::FakeMeasurer;

struct Window {
  FakeMeasurer measurer;
  FakeClock clock;
  Form88 form{measurer, clock};
  Window() { form.Form_Load(); }
};

void BM_Resize(benchmark::State& state) {
  Window w;
  w.form.Command8_Click();
  const double size = 5800.0 * static_cast<double>(state.range(0));
  w.form.windowResized(size, size, 0, 0);
  for (auto _ : state) w.form.Form_Resize();
}
BENCHMARK(BM_Resize)->Arg(1)->Arg(2)->Arg(5);

void BM_LiveTick(benchmark::State& state) {
  Window w;
  w.form.Command8_Click();
  w.clock.secondsPerRead = 1;  // every tick sees the next second
  for (auto _ : state) w.form.Timer1_Timer();
}
BENCHMARK(BM_LiveTick);

void BM_AutoTick(benchmark::State& state) {
  Window w;
  w.form.Command12_Click();
  w.form.Form_MouseDown(tirpo::kLeftButton, 0, 0, 0);  // starts the run forward
  for (auto _ : state) w.form.Timer4_Timer();
}
BENCHMARK(BM_AutoTick);

void BM_ManualPress(benchmark::State& state) {
  Window w;
  w.form.Command12_Click();
  w.form.Combo1.pick(3);  // "15"
  for (auto _ : state) w.form.Form_MouseDown(tirpo::kLeftButton, 0, 0, 0);
}
BENCHMARK(BM_ManualPress);

}  // namespace
