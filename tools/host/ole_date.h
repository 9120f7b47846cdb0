// Calendar dates and times of day turned into the library's date-time value: whole days since
// 30 December 1899 plus the time of day as a fraction of 24 hours, status valid; and back.
//
// The library has a calendar of its own (datetime/date_time.cpp), one way only, for the times it
// prints. This one is separate on purpose: a host builds date-time values from its log and sees
// the plug-in only through its boundary, so a fault in either calendar shows up as a mismatch in
// the tests that compare the tool's times with the library's texts, rather than cancelling out.
#ifndef KEVO_TOOLS_HOST_OLE_DATE_H_
#define KEVO_TOOLS_HOST_OLE_DATE_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "StatsKEVO.h"

namespace kevo::host {

struct CivilDate {
  int year;
  int month;
  int day;
};

// True for a real day of the proleptic Gregorian calendar in the years 100 to 9999, the
// range the library can format.
bool IsValidDate(const CivilDate& date);

// Days since 30 December 1899 (negative before it) of a valid date.
std::int64_t DayNumber(const CivilDate& date);

// The inverse of DayNumber, for any day number of the proleptic Gregorian calendar.
CivilDate DateOfDayNumber(std::int64_t day_number);

// The date-time value of a valid date at a time of day given in seconds (0 to 86399).
// Before 30 December 1899 the fraction still counts forward from that day's midnight.
COleDateTime MakeDateTime(const CivilDate& date, int seconds_of_day);

// "YYYYMMDD" (ADIF) and "YYYY-MM-DD" (Cabrillo, scripts); empty when malformed or no real day.
std::optional<CivilDate> ParseCompactDate(std::string_view text);
std::optional<CivilDate> ParseDashedDate(std::string_view text);

// "HHMM" or "HHMMSS" (ADIF; Cabrillo uses the first); seconds of the day, empty when malformed.
std::optional<int> ParseCompactTime(std::string_view text, bool allow_seconds);

// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS" ("T" or one blank between).
std::optional<COleDateTime> ParseIsoDateTime(std::string_view text);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_OLE_DATE_H_
