// The contest's window over contacts' times, and a log read into time order with it.
#include "tools/host/contest_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/replay/inputs/log_reader.h"

namespace kevo::host {
namespace {

constexpr double kHour = 1.0 / 24.0;
constexpr double kDay = 46095.0;  // 2026-03-14

TEST(ContestWindow, IsTheDensestSpanOfAtMost48Hours) {
  const struct {
    const char* name;
    std::vector<TimedLine> times;
    double first;
    double last;
    std::vector<std::size_t> outside;
  } cases[] = {
      {"one contact", {{kDay, 2}}, kDay, kDay, {}},
      {"exactly 48 hours apart", {{kDay, 2}, {kDay + 2.0, 3}}, kDay, kDay + 2.0, {}},
      {"a minute more than 48 hours: the earlier wins a tie",
       {{kDay, 2}, {kDay + 2.0 + kHour / 60, 3}},
       kDay,
       kDay,
       {3}},
      {"a stray date decades before, in the middle of the file",
       {{kDay, 2}, {18264.0, 3}, {kDay + 10 * kHour, 4}},
       kDay,
       kDay + 10 * kHour,
       {3}},
      {"strays on both sides, in any order",
       {{kDay + 400.0, 9}, {kDay + kHour, 3}, {kDay, 4}, {kDay - 3.0, 2}, {kDay + 47 * kHour, 7}},
       kDay,
       kDay + 47 * kHour,
       {2, 9}},
      {"before 30 December 1899", {{-700.5, 2}, {-700.25, 3}, {kDay, 4}}, -700.5, -700.25, {4}},
  };
  for (const auto& c : cases) {
    std::optional<ContestWindow> window = FindContestWindow(c.times);
    ASSERT_TRUE(window) << c.name;
    EXPECT_DOUBLE_EQ(window->first, c.first) << c.name;
    EXPECT_DOUBLE_EQ(window->last, c.last) << c.name;
    EXPECT_EQ(window->outside, c.outside) << c.name;
  }
  EXPECT_FALSE(FindContestWindow({}));
}

TEST(ContestWindow, ADeclaredSpanNamesTheContactsOutsideIt) {
  const std::vector<TimedLine> times = {{kDay + 1.0, 4}, {kDay, 2}, {kDay - kHour, 3}};
  ContestWindow window = DeclaredWindow(times, kDay, kDay + 0.5);
  EXPECT_DOUBLE_EQ(window.first, kDay);  // as declared, whatever the contacts
  EXPECT_DOUBLE_EQ(window.last, kDay + 0.5);
  EXPECT_EQ(window.outside, (std::vector<std::size_t>{3, 4}));
}

TEST(LogReader, PutsRecordsInTimeOrderAndFindsTheWindow) {
  const std::string adif =
      "<EOH>\n"
      "<CALL:3>A1A<QSO_DATE:8>20260314<TIME_ON:4>1200<BAND:3>20m<EOR>\n"
      "<CALL:3>B1B<QSO_DATE:8>20260314<TIME_ON:4>1210<BAND:3>20m<EOR>\n"
      "<CALL:3>C1C<QSO_DATE:8>20260314<TIME_ON:4>1205<BAND:3>20m<EOR>\n"
      "<CALL:3>D1D<QSO_DATE:8>19500101<TIME_ON:4>0000<BAND:3>20m<EOR>\n"
      "<CALL:3>E1E<QSO_DATE:8>20260314<TIME_ON:4>1205<BAND:3>20m<EOR>\n";
  replay::ReplayInput input = replay::ReadLog(adif, "x.adi", replay::AdifFieldNames());
  std::vector<std::string> calls;
  for (const QsoValues& qso : input.qsos) calls.push_back(qso.call);
  EXPECT_EQ(calls, (std::vector<std::string>{"D1D", "A1A", "C1C", "E1E", "B1B"}));
  EXPECT_EQ(input.out_of_order, 3u);  // C1C, D1D and E1E come after B1B's 12:10
  ASSERT_TRUE(input.window);
  EXPECT_EQ(input.window->outside, std::vector<std::size_t>{5});
}

}  // namespace
}  // namespace kevo::host
