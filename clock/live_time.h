#pragma once
// The live clock's reading of the time of day: where the three hands point
// and what the hour and minute labels say, all from one reading.

namespace tirpo {

struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

struct LiveReading {
  double daySeconds;  // seconds since midnight
  float minutePos;    // minutes since midnight, with fraction
  double hourValue;   // hours since midnight, with fraction
  float secondAngle;  // degrees, never reduced modulo 360
  float minuteAngle;
  float hourAngle;
  int hour;    // for the hour label
  int minute;  // for the minute label
};

LiveReading readLive(const TimeOfDay& now);

}  // namespace tirpo
