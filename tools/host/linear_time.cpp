#include "tools/host/linear_time.h"

#include <cmath>
#include <cstdio>

#include "tools/host/boundary_values.h"
#include "tools/host/ole_date.h"

namespace kevo::host {

namespace {

constexpr double kLastDay = 2958466.0;  // 10000-01-01: the values the library can format

// Floor division: the day of a negative minute count is the one before.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && (a < 0)); }

}  // namespace

std::optional<double> LinearDay(const COleDateTime& time) {
  if (time.m_status == kTimeInvalid || time.m_status == kTimeNull ||
      !(std::fabs(time.m_dt) < kLastDay)) {
    return std::nullopt;
  }
  if (time.m_dt >= 0.0) return time.m_dt;
  double whole = std::ceil(time.m_dt);
  return 2.0 * whole - time.m_dt;
}

UtcTime SplitUtc(double linear_day) {
  // To the nearest second first, so that 14:05:59.9999 (a day fraction's float error on a
  // logged 14:06:00) shows as 14:06; then the minute as a clock shows it, cut, never rounded:
  // a contact logged at 12:10:32 stays at 12:10, as in its log.
  auto seconds = static_cast<std::int64_t>(std::llround(linear_day * 86400.0));
  std::int64_t days = FloorDiv(seconds, 86400);
  auto second_of_day = static_cast<int>(seconds - days * 86400);
  int minute_of_day = second_of_day / 60;
  CivilDate date = DateOfDayNumber(days);
  UtcTime utc;
  utc.year = date.year;
  utc.month = date.month;
  utc.day = date.day;
  utc.hour = minute_of_day / 60;
  utc.minute = minute_of_day % 60;
  utc.second = second_of_day % 60;
  return utc;
}

std::string FormatUtc(const std::optional<double>& time) {
  if (!time) return "(no time)";
  UtcTime utc = SplitUtc(*time);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", utc.year, utc.month, utc.day,
                utc.hour, utc.minute);
  return text;
}

}  // namespace kevo::host

namespace kevo::host {

std::string FormatUtcSeconds(const std::optional<double>& time) {
  if (!time) return "";
  UtcTime utc = SplitUtc(*time);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", utc.year, utc.month, utc.day,
                utc.hour, utc.minute, utc.second);
  return text;
}

}  // namespace kevo::host
