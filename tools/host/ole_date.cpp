#include "tools/host/ole_date.h"

#include "tools/host/boundary_values.h"
#include "tools/host/tokens.h"

namespace kevo::host {

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `count` digits from the front of `text`.
std::optional<int> FixedNumber(std::string_view text, std::size_t count) {
  if (text.size() < count || !AllDigits(text.substr(0, count))) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

std::optional<CivilDate> CheckedDate(std::optional<int> year, std::optional<int> month,
                                     std::optional<int> day) {
  if (!year || !month || !day) return std::nullopt;
  CivilDate date{*year, *month, *day};
  if (!IsValidDate(date)) return std::nullopt;
  return date;
}

std::optional<int> SecondsOfDay(int hour, int minute, int second) {
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return hour * 3600 + minute * 60 + second;
}

}  // namespace

bool IsValidDate(const CivilDate& date) {
  return date.year >= 100 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
         date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

std::int64_t DayNumber(const CivilDate& date) {
  // Days from 1 March of year 0 of the proleptic calendar, shifted to 30 December 1899.
  std::int64_t year = date.month <= 2 ? date.year - 1 : date.year;
  std::int64_t era = year / 400;  // years are positive here
  std::int64_t year_of_era = year - era * 400;
  std::int64_t month = date.month > 2 ? date.month - 3 : date.month + 9;
  std::int64_t day_of_year = (153 * month + 2) / 5 + date.day - 1;
  std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  std::int64_t days_since_epoch_1970 = era * 146097 + day_of_era - 719468;
  return days_since_epoch_1970 + 25569;  // 1970-01-01 is day 25569
}

CivilDate DateOfDayNumber(std::int64_t day_number) {
  // The same eras of 400 years from 1 March of year 0 as DayNumber, walked backwards; the era
  // is floored so that days before year 0 work too.
  std::int64_t z = day_number - 25569 + 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t day_of_era = z - era * 146097;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t month_index = (5 * day_of_year + 2) / 153;
  CivilDate date;
  date.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  date.month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  date.year = static_cast<int>(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

COleDateTime MakeDateTime(const CivilDate& date, int seconds_of_day) {
  double day = static_cast<double>(DayNumber(date));
  double fraction = static_cast<double>(seconds_of_day) / 86400.0;
  COleDateTime value;
  value.m_dt = day < 0 ? day - fraction : day + fraction;
  value.m_status = kTimeValid;
  return value;
}

std::optional<CivilDate> ParseCompactDate(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  return CheckedDate(FixedNumber(text, 4), FixedNumber(text.substr(4), 2),
                     FixedNumber(text.substr(6), 2));
}

std::optional<CivilDate> ParseDashedDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  return CheckedDate(FixedNumber(text, 4), FixedNumber(text.substr(5), 2),
                     FixedNumber(text.substr(8), 2));
}

std::optional<int> ParseCompactTime(std::string_view text, bool allow_seconds) {
  if (!(text.size() == 4 || (allow_seconds && text.size() == 6)) || !AllDigits(text)) {
    return std::nullopt;
  }
  int second = text.size() == 6 ? *FixedNumber(text.substr(4), 2) : 0;
  return SecondsOfDay(*FixedNumber(text, 2), *FixedNumber(text.substr(2), 2), second);
}

std::optional<COleDateTime> ParseIsoDateTime(std::string_view text) {
  std::optional<CivilDate> date = ParseDashedDate(text.substr(0, 10));
  if (!date) return std::nullopt;
  if (text.size() == 10) return MakeDateTime(*date, 0);
  std::string_view time = text.substr(10);
  if (time.front() != 'T' && time.front() != ' ') return std::nullopt;
  time.remove_prefix(1);
  if ((time.size() != 5 && time.size() != 8) || time[2] != ':' ||
      (time.size() == 8 && time[5] != ':')) {
    return std::nullopt;
  }
  std::optional<int> hour = FixedNumber(time, 2);
  std::optional<int> minute = FixedNumber(time.substr(3), 2);
  std::optional<int> second = time.size() == 8 ? FixedNumber(time.substr(6), 2) : 0;
  if (!hour || !minute || !second) return std::nullopt;
  std::optional<int> seconds = SecondsOfDay(*hour, *minute, *second);
  if (!seconds) return std::nullopt;
  return MakeDateTime(*date, *seconds);
}

}  // namespace kevo::host
