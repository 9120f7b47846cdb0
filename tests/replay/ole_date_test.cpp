#include "tools/host/ole_date.h"

#include <gtest/gtest.h>

namespace kevo::host {
namespace {

struct DayCase {
  CivilDate date;
  std::int64_t day;
};

TEST(OleDate, CountsDaysFromTheThirtiethOfDecember1899) {
  const DayCase cases[] = {
      {{1899, 12, 30}, 0},       {{1899, 12, 29}, -1},   {{1900, 1, 1}, 2},
      {{1900, 2, 28}, 60},       {{1900, 3, 1}, 61},     {{2023, 3, 15}, 45000},
      {{2026, 3, 14}, 46095},    {{2000, 2, 29}, 36585}, {{100, 1, 1}, -657434},
      {{9999, 12, 31}, 2958465},
  };
  for (const DayCase& c : cases) {
    EXPECT_EQ(DayNumber(c.date), c.day) << c.date.year << '-' << c.date.month << '-' << c.date.day;
  }
}

// The report turns day numbers back into dates: every day the library can format must come back
// as the date it was made from.
TEST(OleDate, DayNumbersTurnBackIntoTheirDates) {
  for (std::int64_t day = -657434; day <= 2958465; ++day) {
    CivilDate date = DateOfDayNumber(day);
    ASSERT_TRUE(IsValidDate(date)) << day;
    ASSERT_EQ(DayNumber(date), day) << date.year << '-' << date.month << '-' << date.day;
  }
}

TEST(OleDate, AddsTheTimeOfDayForwardFromMidnightOnBothSidesOfDayZero) {
  COleDateTime value = MakeDateTime({2026, 3, 14}, 14 * 3600 + 6 * 60);
  EXPECT_EQ(double{value.m_dt}, 46095.0 + (14 * 3600 + 6 * 60) / 86400.0);
  EXPECT_EQ(value.m_status, 0);
  EXPECT_EQ(double{MakeDateTime({1899, 12, 29}, 6 * 3600).m_dt}, -1.25);
  EXPECT_EQ(double{MakeDateTime({1899, 12, 30}, 12 * 3600).m_dt}, 0.5);
}

TEST(OleDate, RejectsDaysThatDoNotExist) {
  EXPECT_TRUE(ParseCompactDate("20240229"));
  EXPECT_TRUE(ParseCompactDate("20000229"));
  EXPECT_FALSE(ParseCompactDate("20230229"));
  EXPECT_FALSE(ParseCompactDate("19000229"));
  EXPECT_FALSE(ParseCompactDate("20240431"));
  EXPECT_FALSE(ParseCompactDate("20241301"));
  EXPECT_FALSE(ParseCompactDate("20240100"));
  EXPECT_FALSE(ParseCompactDate("00990101"));
  EXPECT_FALSE(ParseCompactDate("2024051"));
  EXPECT_FALSE(ParseCompactDate("2024-5-01"));
  EXPECT_FALSE(ParseCompactDate("2024O501"));
  EXPECT_TRUE(ParseDashedDate("2026-03-14"));
  EXPECT_FALSE(ParseDashedDate("20260314"));
  EXPECT_FALSE(ParseDashedDate("2026-02-29"));
  EXPECT_FALSE(ParseDashedDate("2026/03/14"));
}

TEST(OleDate, ReadsTimesOfFourOrSixDigits) {
  EXPECT_EQ(ParseCompactTime("0000", false), 0);
  EXPECT_EQ(ParseCompactTime("2359", false), 86340);
  EXPECT_EQ(ParseCompactTime("235959", true), 86399);
  EXPECT_FALSE(ParseCompactTime("235959", false));
  EXPECT_FALSE(ParseCompactTime("2400", true));
  EXPECT_FALSE(ParseCompactTime("1260", true));
  EXPECT_FALSE(ParseCompactTime("120060", true));
  EXPECT_FALSE(ParseCompactTime("12:00", true));
  EXPECT_FALSE(ParseCompactTime("120", true));
  EXPECT_FALSE(ParseCompactTime("", true));
}

TEST(OleDate, ReadsIsoDateTimes) {
  EXPECT_EQ(double{ParseIsoDateTime("2023-03-15")->m_dt}, 45000.0);
  EXPECT_EQ(double{ParseIsoDateTime("2023-03-15T12:00")->m_dt}, 45000.5);
  EXPECT_EQ(double{ParseIsoDateTime("2023-03-15 06:00:00")->m_dt}, 45000.25);
  EXPECT_FALSE(ParseIsoDateTime("2023-03-15T24:00"));
  EXPECT_FALSE(ParseIsoDateTime("2023-03-15T12"));
  EXPECT_FALSE(ParseIsoDateTime("2023-03-15X12:00"));
  EXPECT_FALSE(ParseIsoDateTime("45000.5"));
  EXPECT_FALSE(ParseIsoDateTime(""));
}

}  // namespace
}  // namespace kevo::host
