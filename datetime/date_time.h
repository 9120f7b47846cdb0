// The host's date-time value and the few operations the plug-in performs on it: equality for
// finding a QSO again, differences in whole minutes for the rate windows, and formatting.
#ifndef KEVO_DATETIME_DATE_TIME_H_
#define KEVO_DATETIME_DATE_TIME_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "StatsKEVO.h"

namespace kevo {

enum DateTimeStatus : int32_t { kDateTimeValid = 0, kDateTimeInvalid = 1, kDateTimeNull = 2 };

static_assert(offsetof(COleDateTime, m_dt) == 0, "day count at offset 0");
static_assert(offsetof(COleDateTime, m_status) == 8, "status at offset 8");

inline COleDateTime MakeDateTime(double day_count, int32_t status = kDateTimeValid) {
  COleDateTime value;
  value.m_dt = day_count;
  value.m_status = status;
  return value;
}

// Left minus right, in days, with the status of the operands.
struct CDateTimeSpan {
  double m_span = 0.0;
  int32_t m_status = kDateTimeValid;
};

// Same status and numerically equal day counts: no tolerance, no calendar.
bool SameDateTime(const COleDateTime& a, const COleDateTime& b);

// Null wins over invalid; otherwise the difference of the linear day counts.
CDateTimeSpan DateTimeDifference(const COleDateTime& left, const COleDateTime& right);

// Days x 1440 lifted by 1/172800 and truncated toward zero, wrapping to 32 bits.
int32_t SpanWholeMinutes(const CDateTimeSpan& span);

// Replaces %Y %m %d %H %M in the pattern; the empty text for a null, invalid or
// out-of-range value.
std::string FormatDateTime(const COleDateTime& value, std::string_view pattern);

}  // namespace kevo

#endif  // KEVO_DATETIME_DATE_TIME_H_
