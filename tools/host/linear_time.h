// The library's date-time values as a linear UTC day count since 30 December 1899, so that
// times can be compared, windowed and placed on one axis, and back to calendar dates and
// clock times for people.
#ifndef KEVO_TOOLS_HOST_LINEAR_TIME_H_
#define KEVO_TOOLS_HOST_LINEAR_TIME_H_

#include <cstdint>
#include <optional>
#include <string>

#include "StatsKEVO.h"

namespace kevo::host {

// Empty for an invalid or null value. Day counts below zero count their fraction forward from
// the day's midnight, so -1.25 is 06:00 on 29 December 1899, linear day -0.75.
std::optional<double> LinearDay(const COleDateTime& time);

struct UtcTime {
  int year;
  int month;
  int day;
  int hour;
  int minute;
  int second;
};

// The calendar date and clock time of a linear day count, to the nearest second.
UtcTime SplitUtc(double linear_day);

// "YYYY-MM-DD HH:MM", the seconds cut off; "(no time)" for an empty time.
std::string FormatUtc(const std::optional<double>& linear_day);

// "YYYY-MM-DD HH:MM:SS"; empty for an empty time.
std::string FormatUtcSeconds(const std::optional<double>& linear_day);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_LINEAR_TIME_H_
