// How long after the system clock's second changes the live clock's tick
// runs, which is how late the second hand jumps. Drives the program's own
// timer binding with a one-second window timer for the given number of
// seconds and prints the median, 95th percentile and worst lag in ms.
//
//   tick_lag [SECONDS]    (default 180)

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/second_timer.h"
#include "window/coordinates.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 180;

  tirpo::TwipCoordinates coords;
  tirpo::Timer timer("Timer1", nullptr, &coords);
  timer.setInterval(1000);
  timer.setEnabled(true);
  tirpo::TimerDriver driver(timer, true);

  std::vector<double> lags;
  timer.onTimer = [&] {
    // The tick reads the time of day to the second: the lag is how far past
    // the whole second the reading happens.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    lags.push_back(static_cast<double>(now % 1000));
    if (static_cast<int>(lags.size()) >= seconds) app.quit();
  };
  driver.sync();
  QCoreApplication::exec();

  std::sort(lags.begin(), lags.end());
  const auto at = [&](double q) { return lags[static_cast<std::size_t>(q * (lags.size() - 1))]; };
  std::printf("ticks %zu  lag ms: median %.0f  p95 %.0f  worst %.0f  best %.0f\n", lags.size(), at(0.5),
              at(0.95), lags.back(), lags.front());
  return 0;
}
