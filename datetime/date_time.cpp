#include "datetime/date_time.h"

#include <cmath>
#include <limits>

namespace kevo {
namespace {

// Half a second in days. Added to a day count it rounds the time to the nearest second. Added
// to a count of minutes, as the host does, it lifts a count that floating point left a hair
// short of a whole number (60 minutes between two clock times can multiply out to
// 59.9999999965) without rounding anything else.
constexpr double kHalfSecondInDays = 1.0 / 172800.0;
constexpr double kMinutesPerDay = 1440.0;
constexpr double kSecondsPerDay = 86400.0;

// 1 January 100, 00:00 and 31 December 9999, 00:00: the years that fit four digits.
constexpr double kFirstFormattableDay = -657434.0;
constexpr double kLastFormattableDay = 2958465.0;

// Day 0 of the host's count, 30 December 1899, counted from 1 January 1970.
constexpr int64_t kDayZeroFromUnixEpoch = -25569;

// A negative day count runs its fraction forward from that day's midnight, so the count itself
// is not linear around zero; this folds it back onto an even time line.
double LinearDays(double day_count) {
  return day_count >= 0.0 ? day_count : 2.0 * std::ceil(day_count) - day_count;
}

// Proleptic Gregorian date of a day count from 1 January 1970, in integers only so that no
// floating-point drift can shift a date. Works in 400-year eras starting on 1 March.
// kevo-replay has its own calendar (tools/host/ole_date.cpp): the tool plays a host
// and sees only the boundary, and two independent calendars check each other in its tests.
void CivilFromDays(int64_t days, int* year, int* month, int* day) {
  const int64_t z = days + 719468;  // Days from 1 March of year 0.
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t day_of_era = z - era * 146097;  // [0, 146096]
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;  // 0 is March.
  *day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  *month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  *year = static_cast<int>(year_of_era + era * 400 + (*month <= 2 ? 1 : 0));
}

// Calendar fields of a day count, the time taken to the nearest second.
struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// False when the day count is NaN or outside 1 January 100 .. 31 December 9999 00:00.
bool CalendarFields(double day_count, CalendarDate* out) {
  if (std::isnan(day_count) || day_count > kLastFormattableDay ||
      day_count < kFirstFormattableDay) {
    return false;
  }
  const double rounded =
      day_count > 0.0 ? day_count + kHalfSecondInDays : day_count - kHalfSecondInDays;
  const auto day_number = static_cast<int64_t>(rounded);  // Toward zero, within +-3e6.

  const double magnitude = std::fabs(rounded);
  // A fraction below 1 times 86400 stays below 86400 in double, so the hour stays below 24.
  const auto seconds = static_cast<int>((magnitude - std::floor(magnitude)) * kSecondsPerDay);

  CalendarDate fields;
  CivilFromDays(day_number + kDayZeroFromUnixEpoch, &fields.year, &fields.month, &fields.day);
  fields.hour = seconds / 3600;
  fields.minute = seconds / 60 % 60;
  fields.second = seconds % 60;
  if (out != nullptr) *out = fields;
  return true;
}

void AppendZeroPadded(std::string* text, int value, int width) {
  char digits[16];
  int count = 0;
  unsigned rest = static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0 && count < 16);
  for (int pad = count; pad < width; ++pad) text->push_back('0');
  while (count > 0) text->push_back(digits[--count]);
}

}  // namespace

bool SameDateTime(const COleDateTime& a, const COleDateTime& b) {
  return a.m_status == b.m_status && a.m_dt == b.m_dt;
}

CDateTimeSpan DateTimeDifference(const COleDateTime& left, const COleDateTime& right) {
  CDateTimeSpan span;
  if (left.m_status == kDateTimeNull || right.m_status == kDateTimeNull) {
    span.m_status = kDateTimeNull;
  } else if (left.m_status == kDateTimeInvalid || right.m_status == kDateTimeInvalid) {
    span.m_status = kDateTimeInvalid;
  } else {
    span.m_span = LinearDays(left.m_dt) - LinearDays(right.m_dt);
  }
  return span;
}

int32_t SpanWholeMinutes(const CDateTimeSpan& span) {
  const double minutes = span.m_span * kMinutesPerDay + kHalfSecondInDays;
  // What the x86 conversion gives for a value it cannot represent; NaN fails both tests.
  constexpr double kInt64Limit = 9223372036854775808.0;  // 2^63
  if (!(minutes >= -kInt64Limit && minutes < kInt64Limit)) {
    return std::numeric_limits<int32_t>::min();
  }
  // Keep the low 32 bits without signed overflow.
  const auto whole = static_cast<int64_t>(minutes);
  return static_cast<int32_t>(static_cast<uint32_t>(whole));
}

std::string FormatDateTime(const COleDateTime& value, std::string_view pattern) {
  CalendarDate fields;
  if (value.m_status == kDateTimeNull || value.m_status == kDateTimeInvalid ||
      !CalendarFields(value.m_dt, &fields)) {
    return std::string();
  }
  std::string text;
  text.reserve(pattern.size() + 8);
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      text.push_back(pattern[i]);
      continue;
    }
    switch (pattern[i + 1]) {
      case 'Y':
        AppendZeroPadded(&text, fields.year, 4);
        break;
      case 'm':
        AppendZeroPadded(&text, fields.month, 2);
        break;
      case 'd':
        AppendZeroPadded(&text, fields.day, 2);
        break;
      case 'H':
        AppendZeroPadded(&text, fields.hour, 2);
        break;
      case 'M':
        AppendZeroPadded(&text, fields.minute, 2);
        break;
      default:
        // An unknown code stays in the text as written, both characters.
        text.push_back('%');
        text.push_back(pattern[i + 1]);
        break;
    }
    ++i;
  }
  return text;
}

}  // namespace kevo
