// Times on the report: the library's date-time values as a linear UTC day count (so that
// charts can place them on one axis) and back to calendar dates and clock times for labels.
#ifndef KEVO_REPLAY_REPORT_TIME_H_
#define KEVO_REPLAY_REPORT_TIME_H_

#include <cstdint>
#include <string>

#include "StatsKEVO.h"
#include "tools/replay/report/report_data.h"

namespace kevo::replay {

// Empty for an invalid or null value. Day counts below zero count their fraction forward from
// the day's midnight, so -1.25 is 06:00 on 29 December 1899, linear day -0.75.
ReportTime ToReportTime(const COleDateTime& time);

struct UtcTime {
  int year;
  int month;
  int day;
  int hour;
  int minute;
};

// The calendar date and clock time (to the nearest minute) of a linear day count.
UtcTime SplitUtc(double linear_day);

// "YYYY-MM-DD HH:MM"; "(no time)" for an empty time.
std::string FormatUtc(const ReportTime& time);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_REPORT_TIME_H_
