#include "tools/replay/report_time.h"

#include <cmath>
#include <cstdio>

namespace kevo::replay {

namespace {

constexpr std::int32_t kInvalid = 1;
constexpr std::int32_t kNull = 2;
constexpr std::int64_t kUnixEpochDay = 25569;  // 1970-01-01 as a day count since 1899-12-30
constexpr double kLastDay = 2958466.0;         // 10000-01-01: the values the library can format

// Floor division: the day of a negative minute count is the one before.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && (a < 0)); }

}  // namespace

ReportTime ToReportTime(const COleDateTime& time) {
  if (time.m_status == kInvalid || time.m_status == kNull || !(std::fabs(time.m_dt) < kLastDay)) {
    return std::nullopt;
  }
  if (time.m_dt >= 0.0) return time.m_dt;
  double whole = std::ceil(time.m_dt);
  return 2.0 * whole - time.m_dt;
}

UtcTime SplitUtc(double linear_day) {
  // Round to the minute first, so that 14:05:59.9999 shows as 14:06.
  auto minutes = static_cast<std::int64_t>(std::llround(linear_day * 1440.0));
  std::int64_t days = FloorDiv(minutes, 1440);
  auto minute_of_day = static_cast<int>(minutes - days * 1440);
  // Civil date from a day number (the proleptic Gregorian calendar, eras of 400 years).
  std::int64_t z = days - kUnixEpochDay + 719468;
  std::int64_t era = FloorDiv(z, 146097);
  std::int64_t day_of_era = z - era * 146097;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t month_index = (5 * day_of_year + 2) / 153;
  UtcTime utc;
  utc.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  utc.month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  utc.year = static_cast<int>(year_of_era + era * 400 + (utc.month <= 2 ? 1 : 0));
  utc.hour = minute_of_day / 60;
  utc.minute = minute_of_day % 60;
  return utc;
}

std::string FormatUtc(const ReportTime& time) {
  if (!time) return "(no time)";
  UtcTime utc = SplitUtc(*time);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", utc.year, utc.month, utc.day,
                utc.hour, utc.minute);
  return text;
}

}  // namespace kevo::replay
