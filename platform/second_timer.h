#pragma once
// Drives a window timer from a Qt timer. A one-second timer is kept in step
// with the system clock (view/second_alignment.h): it fires just after each
// whole second, so a clock that reads the time on its tick changes when the
// system's second does.

#include <QObject>
#include <QTimer>

#include "window/controls.h"

namespace tirpo {

class TimerDriver final : public QObject {
  Q_OBJECT
 public:
  TimerDriver(Timer& timer, bool alignToSeconds, QObject* parent = nullptr);
  // Brings the Qt timer in line with the window timer's Enabled and Interval.
  void sync();

 private:
  void onTimeout();
  bool aligned() const { return align_ && timer_.interval() == 1000; }

  Timer& timer_;
  bool align_;
  QTimer qtimer_;
};

}  // namespace tirpo
