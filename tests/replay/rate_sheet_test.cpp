// The rate sheet's figures from contacts as the collector keeps them: off-times between
// contacts inside the window, and the best of the rates the library reported.
#include "tools/figures/rate_sheet.h"

#include <gtest/gtest.h>

#include <vector>

namespace kevo::figures {
namespace {

constexpr double kDay = 46095.0;
constexpr double kMinute = 1.0 / 1440.0;

ContactPoint At(double minutes, std::int32_t rate_60 = 0, std::int32_t rate_10 = 0) {
  ContactPoint contact;
  contact.time = kDay + minutes * kMinute;
  contact.qsos_counted = 1;
  contact.rates = RateFigures{rate_60, rate_10, 0, 0};
  return contact;
}

TEST(RateSheet, OffTimesArePausesOfAtLeastTheBreakLengthInsideTheWindow) {
  const struct {
    const char* name;
    std::vector<double> minutes;
    int break_minutes;
    std::vector<std::pair<double, double>> expected;  // minutes
  } cases[] = {
      {"no contact", {}, 30, {}},
      {"29 minutes is no break", {0, 29}, 30, {}},
      {"30 minutes is", {0, 30}, 30, {{0, 30}}},
      {"in any order", {100, 0, 200, 120}, 30, {{0, 100}, {120, 200}}},
      {"a shorter break length", {0, 10, 15}, 5, {{0, 10}, {10, 15}}},
      {"a stray date stays out", {0, 5, 100000}, 30, {}},
  };
  for (const auto& c : cases) {
    ReportData data;
    std::vector<host::TimedLine> times;
    for (double minutes : c.minutes) {
      data.contacts.push_back(At(minutes));
      times.push_back({kDay + minutes * kMinute, times.size() + 1});
    }
    data.window = host::FindContestWindow(times);
    std::vector<OffTime> off = FindOffTimes(data, c.break_minutes);
    ASSERT_EQ(off.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < off.size(); ++i) {
      EXPECT_NEAR(off[i].from, kDay + c.expected[i].first * kMinute, 1e-9) << c.name;
      EXPECT_NEAR(off[i].to, kDay + c.expected[i].second * kMinute, 1e-9) << c.name;
    }
  }
}

TEST(RateSheet, BestRatesAreTheLibrarysHighestWithTheirTime) {
  ReportData data;
  data.contacts = {At(0, 1, 6), At(5, 2, 12), At(50, 9, 6), At(55, 9, 30), At(70, 4, 6)};
  BestRate hour = BestSixtyMinutes(data);
  EXPECT_EQ(hour.qsos, 9);
  EXPECT_NEAR(*hour.at, kDay + 50 * kMinute, 1e-9);  // the first time it was reached
  BestRate ten = BestTenMinutes(data);
  EXPECT_EQ(ten.qsos, 30);
  EXPECT_NEAR(*ten.at, kDay + 55 * kMinute, 1e-9);

  for (ContactPoint& contact : data.contacts) contact.rates.reset();  // rates suppressed
  EXPECT_FALSE(BestSixtyMinutes(data).at);
}

}  // namespace
}  // namespace kevo::figures
