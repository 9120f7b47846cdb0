#include "datetime/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace kevo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct FormatCase {
  double day_count;
  int32_t status;
  const char* date;
  const char* time;
};

TEST(DateTimeFormat, CalendarTable) {
  const FormatCase cases[] = {
      {0.0, kDateTimeValid, "1899-12-30", "00:00"},
      {2.0, kDateTimeValid, "1900-01-01", "00:00"},
      {2.5, kDateTimeValid, "1900-01-01", "12:00"},
      {60.0, kDateTimeValid, "1900-02-28", "00:00"},  // 1900 has no 29 February
      {61.0, kDateTimeValid, "1900-03-01", "00:00"},
      {36585.0, kDateTimeValid, "2000-02-29", "00:00"},  // 2000 has one
      {45000.0, kDateTimeValid, "2023-03-15", "00:00"},
      {45000.0 + 86399.6 / 86400, kDateTimeValid, "2023-03-16", "00:00"},
      {45000.0 + 86399.4 / 86400, kDateTimeValid, "2023-03-15", "23:59"},
      {45000.0 + 47279.4 / 86400, kDateTimeValid, "2023-03-15", "13:07"},
      {45000.0 + 47279.7 / 86400, kDateTimeValid, "2023-03-15", "13:08"},
      {-1.25, kDateTimeValid, "1899-12-29", "06:00"},
      {-0.5, kDateTimeValid, "1899-12-30", "12:00"},
      {-1.9999965, kDateTimeValid, "1899-12-28", "00:00"},
      {-657434.0, kDateTimeValid, "0100-01-01", "00:00"},
      {-657434.1, kDateTimeValid, "", ""},
      {2958465.0, kDateTimeValid, "9999-12-31", "00:00"},
      {2958465.1, kDateTimeValid, "", ""},
      {45000.0, kDateTimeInvalid, "", ""},
      {45000.0, kDateTimeNull, "", ""},
      {45000.0, 3, "2023-03-15", "00:00"},
      {kNaN, kDateTimeValid, "", ""},
      {kInf, kDateTimeValid, "", ""},
      {-kInf, kDateTimeValid, "", ""},
  };
  for (const FormatCase& c : cases) {
    const COleDateTime value = MakeDateTime(c.day_count, c.status);
    SCOPED_TRACE(testing::Message() << "day count " << c.day_count << " status " << c.status);
    EXPECT_EQ(FormatDateTime(value, "%Y-%m-%d"), c.date);
    EXPECT_EQ(FormatDateTime(value, "%H:%M"), c.time);
  }
}

TEST(DateTimeFormat, PatternCodes) {
  const COleDateTime value = MakeDateTime(45000.0 + 0.5 + 7.0 / 1440);  // 12:07
  EXPECT_EQ(FormatDateTime(value, "%H%M"), "1207");
  EXPECT_EQ(FormatDateTime(value, "%d.%m.%Y %H%M"), "15.03.2023 1207");
  EXPECT_EQ(FormatDateTime(value, "%x %% 100%"), "%x %% 100%");
  EXPECT_EQ(FormatDateTime(value, ""), "");
}

TEST(DateTimeSpan, WholeMinutes) {
  struct Case {
    double span_days;
    int32_t minutes;
  };
  const Case cases[] = {
      {59.9999999965 / 1440, 60},  // falls a hair short, lifted back
      {9.99 / 1440, 9},
      {-10.0 / 1440, -9},  // lifted toward zero, then truncated toward
                           // zero
      {-30.0 / 86400, 0},
      {2982617.0, 1184},  // 4294968480 minutes: keeps the low 32 bits
      {-2982617.0, -1183},
      {kNaN, INT32_MIN},
      {kInf, INT32_MIN},
      {-kInf, INT32_MIN},
      {7.0e15, INT32_MIN},  // beyond the signed 64-bit range
      {-7.0e15, INT32_MIN},
  };
  for (const Case& c : cases) {
    CDateTimeSpan span;
    span.m_span = c.span_days;
    EXPECT_EQ(SpanWholeMinutes(span), c.minutes) << "span " << c.span_days;
  }
}

TEST(DateTimeSpan, Difference) {
  struct Case {
    COleDateTime left;
    COleDateTime right;
    double span_days;
    int32_t status;
    int32_t minutes;
  };
  const Case cases[] = {
      {MakeDateTime(1.25), MakeDateTime(-1.25), 2.0, kDateTimeValid, 2880},
      {MakeDateTime(0.0), MakeDateTime(45000.5), -45000.5, kDateTimeValid, -64800719},
      {MakeDateTime(-0.5), MakeDateTime(0.5), 0.0, kDateTimeValid, 0},
      {MakeDateTime(5.0, 3), MakeDateTime(4.0), 1.0, kDateTimeValid, 1440},
      {MakeDateTime(5.0, kDateTimeNull), MakeDateTime(4.0, kDateTimeInvalid), 0.0, kDateTimeNull,
       0},
      {MakeDateTime(5.0, kDateTimeInvalid), MakeDateTime(4.0, kDateTimeNull), 0.0, kDateTimeNull,
       0},
      {MakeDateTime(5.0), MakeDateTime(4.0, kDateTimeInvalid), 0.0, kDateTimeInvalid, 0},
  };
  for (const Case& c : cases) {
    const CDateTimeSpan span = DateTimeDifference(c.left, c.right);
    // Copies: the packed fields cannot bind to a reference.
    const double left = c.left.m_dt, right = c.right.m_dt;
    SCOPED_TRACE(testing::Message() << left << " - " << right);
    EXPECT_EQ(span.m_span, c.span_days);
    EXPECT_EQ(span.m_status, c.status);
    EXPECT_EQ(SpanWholeMinutes(span), c.minutes);
  }
  const CDateTimeSpan not_a_number = DateTimeDifference(MakeDateTime(kNaN), MakeDateTime(1.0));
  EXPECT_TRUE(std::isnan(not_a_number.m_span));
  EXPECT_EQ(SpanWholeMinutes(not_a_number), INT32_MIN);
}

TEST(DateTimeEquality, ExactFieldsOnly) {
  EXPECT_TRUE(SameDateTime(MakeDateTime(45000.25), MakeDateTime(45000.25)));
  EXPECT_FALSE(SameDateTime(MakeDateTime(45000.25), MakeDateTime(45000.25, kDateTimeInvalid)));
  // Any other status reads as valid, but is still a different value.
  EXPECT_FALSE(SameDateTime(MakeDateTime(45000.25), MakeDateTime(45000.25, 3)));
  const double next = std::nextafter(45000.25, 50000.0);
  EXPECT_EQ(FormatDateTime(MakeDateTime(next), "%Y-%m-%d %H:%M"),
            FormatDateTime(MakeDateTime(45000.25), "%Y-%m-%d %H:%M"));
  EXPECT_FALSE(SameDateTime(MakeDateTime(45000.25), MakeDateTime(next)));
  EXPECT_FALSE(SameDateTime(MakeDateTime(-0.5), MakeDateTime(0.5)));
  EXPECT_FALSE(SameDateTime(MakeDateTime(kNaN), MakeDateTime(kNaN)));
}

}  // namespace
}  // namespace kevo
