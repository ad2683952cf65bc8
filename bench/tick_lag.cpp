// How long after the system clock's second changes the live clock's tick
// runs, which is how late the second hand jumps, and whether the second the
// tick reads is the one that has just begun. Drives the program's own timer
// binding with a one-second window timer for the given number of seconds and
// prints the median, 95th percentile and worst lag in ms, then how many ticks
// would have put the second hand on the second before: with the clock the
// program reads, and with the kernel's coarse clock (std::time) for
// comparison.
//
//   tick_lag [SECONDS]    (default 180)

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "clock/live_time.h"
#include "platform/local_clock.h"
#include "platform/second_timer.h"
#include "window/coordinates.h"

namespace {

// The second the face's second hand points at after a tick that read `now`.
int secondShown(const tirpo::TimeOfDay& now) {
  const tirpo::LiveReading r = tirpo::readLive(now);
  return static_cast<int>(r.secondAngle / 6.0f + 0.5f) % 60;
}

int secondOf(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  return local.tm_sec;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 180;

  tirpo::TwipCoordinates coords;
  tirpo::Timer timer("Timer1", nullptr, &coords);
  timer.setInterval(1000);
  timer.setEnabled(tirpo::True);
  tirpo::TimerDriver driver(timer, true);
  const tirpo::LocalClock clock;

  std::vector<double> lags;
  int staleProgram = 0, staleCoarse = 0;
  timer.onTimer = [&] {
    // What the program does on its tick: read the time of day and place the
    // second hand from it. The precise clock, read just before, says which
    // second has begun.
    const timespec precise = tirpo::wallClockNow();
    const int shown = secondShown(clock.now());
    const std::time_t coarse = std::time(nullptr);
    const int current = secondOf(precise.tv_sec);
    if (shown != current) ++staleProgram;
    if (secondOf(coarse) != current) ++staleCoarse;
    lags.push_back(static_cast<double>(precise.tv_nsec) / 1e6);
    if (static_cast<int>(lags.size()) >= seconds) app.quit();
  };
  driver.sync();
  QCoreApplication::exec();

  std::sort(lags.begin(), lags.end());
  const auto at = [&](double q) { return lags[static_cast<std::size_t>(q * (lags.size() - 1))]; };
  std::printf("ticks %zu  lag ms: median %.1f  p95 %.1f  worst %.1f  best %.1f\n", lags.size(), at(0.5), at(0.95),
              lags.back(), lags.front());
  const auto pct = [&](int n) { return 100.0 * n / static_cast<double>(lags.size()); };
  std::printf("stale second shown: %d of %zu ticks (%.1f %%); the coarse clock would read %d (%.1f %%)\n", staleProgram,
              lags.size(), pct(staleProgram), staleCoarse, pct(staleCoarse));
  return 0;
}
