// The report's numbers at their edges: value scales, the hour of a time on the axis, and day
// counts before 30 December 1899, where the library's values run backwards within a day.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>
#include <string>

#include "tools/figures/chart_data.h"
#include "tools/figures/svg_chart.h"
#include "tools/figures/svg_frame.h"
#include "tools/host/linear_time.h"

namespace kevo::figures {
namespace {

TEST(NiceScale, RoundStepsFromZeroPastTheHighest) {
  const struct {
    double low, high;
    ValueScale expected;
  } cases[] = {
      {0, 0, {0, 1, 1}},    // nothing yet: one empty step
      {0, 3, {0, 3, 1}},    // whole numbers only, never steps of 0.5
      {0, 10, {0, 10, 2}},  // the top on a step
      {0, 11, {0, 15, 5}},  // just past a step
      {0, 199390, {0, 200000, 50000}},
      {-7, 20, {-10, 20, 10}},  // a value below zero takes the scale down
      {5, 5, {0, 5, 1}},        // always from zero
      {0, 2147483647, {0, 2500000000, 500000000}},
  };
  for (const auto& c : cases) {
    ValueScale scale = NiceScale(c.low, c.high);
    EXPECT_DOUBLE_EQ(scale.low, c.expected.low) << c.low << ".." << c.high;
    EXPECT_DOUBLE_EQ(scale.high, c.expected.high) << c.low << ".." << c.high;
    EXPECT_DOUBLE_EQ(scale.step, c.expected.step) << c.low << ".." << c.high;
  }
}

TEST(HourAxis, HoursFromTheFirstContactsToPastTheLasts) {
  constexpr double kHour = 1.0 / 24.0;
  const struct {
    const char* name;
    double first, last;
    double start, end;  // in hours since 30 December 1899
    double at;          // a time, and the hour it falls in
    std::size_t hour;
  } cases[] = {
      {"one contact on the hour", 10 * kHour, 10 * kHour, 10, 11, 10 * kHour, 0},
      {"a day's hour boundary a hair low", 1000.0, 1000.0 + 5 * kHour - 1e-12, 24000, 24006,
       1000.0 + 5 * kHour - 1e-12, 5},
      {"a time before the axis", 2.0, 2.5, 48, 61, 1.5, 0},
      {"negative days", -3.5, -3.0, -84, -71, -3.0 - kHour / 2, 11},
      {"across day zero", -0.25, 0.25, -6, 7, 0.0, 6},
  };
  for (const auto& c : cases) {
    TimeAxis axis = HourAxis(c.first, c.last);
    EXPECT_NEAR(axis.start * 24.0, c.start, 1e-6) << c.name;
    EXPECT_NEAR(axis.end * 24.0, c.end, 1e-6) << c.name;
    EXPECT_EQ(HourIndex(axis, c.at), c.hour) << c.name;
    EXPECT_EQ(HourCount(axis), static_cast<std::size_t>(std::llround(c.end - c.start))) << c.name;
  }
}

// The minute a clock shows: 12:10:32 is 12:10 and 14:59:55 stays in 14:59, while a float's
// hair below a whole minute is still that minute.
TEST(LinearTime, MinutesAreCutNotRounded) {
  constexpr double kDay = 46095.0;  // 2026-03-14
  const struct {
    double seconds;
    const char* minute;
    const char* second;
  } cases[] = {
      {12 * 3600 + 10 * 60 + 32, "2026-03-14 12:10", "2026-03-14 12:10:32"},
      {14 * 3600 + 59 * 60 + 55, "2026-03-14 14:59", "2026-03-14 14:59:55"},
      {23 * 3600 + 59 * 60 + 59, "2026-03-14 23:59", "2026-03-14 23:59:59"},
      {14 * 3600 + 6 * 60 - 1e-4, "2026-03-14 14:06", "2026-03-14 14:06:00"},
  };
  for (const auto& c : cases) {
    double day = kDay + c.seconds / 86400.0;
    EXPECT_EQ(host::FormatUtc(day), c.minute) << c.seconds;
    EXPECT_EQ(host::FormatUtcSeconds(day), c.second) << c.seconds;
  }
  EXPECT_EQ(host::FormatUtcSeconds(std::nullopt), "");
}

TEST(LinearTime, DayCountsBeforeDayZeroRunForwardWithinTheDay) {
  const struct {
    double ole;
    std::optional<double> linear;
    const char* shown;
  } cases[] = {
      {0.0, 0.0, "1899-12-30 00:00"},
      {-1.25, -0.75, "1899-12-29 06:00"},
      {-1.0, -1.0, "1899-12-29 00:00"},
      {-0.5, 0.5, "1899-12-30 12:00"},  // day zero counts its fraction forward either way
      {-657434.0 - 0.75, -657434.0 + 0.75, "0100-01-01 18:00"},
      {46095.5 + 0.5 / 1440, 46095.5 + 0.5 / 1440, "2026-03-14 12:00"},  // seconds cut
      {2958466.0, std::nullopt, "(no time)"},  // past what the library formats
  };
  for (const auto& c : cases) {
    std::optional<double> linear = host::LinearDay(COleDateTime{c.ole, 0});
    ASSERT_EQ(linear.has_value(), c.linear.has_value()) << c.ole;
    if (linear) {
      EXPECT_DOUBLE_EQ(*linear, *c.linear) << c.ole;
    }
    EXPECT_EQ(host::FormatUtc(linear), c.shown) << c.ole;
  }
  EXPECT_FALSE(host::LinearDay(COleDateTime{45000.0, 1}));  // invalid
  EXPECT_FALSE(host::LinearDay(COleDateTime{45000.0, 2}));  // null
}

// A chart's figures per hour: a score carries over empty hours, a rate is the hour's highest;
// nothing outside the axis counts.
TEST(ChartData, OneValuePerHourOfTheAxis) {
  constexpr double kHour = 1.0 / 24.0;
  TimeAxis axis = HourAxis(100.0, 100.0 + 3.5 * kHour);  // four hours
  LineSeries line{"x",
                  0,
                  true,
                  {{100.0 + 3.2 * kHour, 9},
                   {100.0 + 0.5 * kHour, 4},
                   {100.0 + 0.6 * kHour, 2},
                   {99.0, 50},
                   {100.0 + 5 * kHour, 60}},
                  ""};
  using Values = std::vector<std::optional<std::int64_t>>;
  EXPECT_EQ(PerBin(line, axis, 1, BinValue::kLast), (Values{2, 2, 2, 9}));
  EXPECT_EQ(PerBin(line, axis, 1, BinValue::kHighest), (Values{4, 0, 0, 9}));
  EXPECT_EQ(PerBin(line, axis, 3, BinValue::kLast), (Values{2, 9}));
  LineSeries late{"y", 0, true, {{100.0 + 2.5 * kHour, 1}}, ""};
  EXPECT_EQ(PerBin(late, axis, 1, BinValue::kLast), (Values{std::nullopt, std::nullopt, 1, 1}));
}

// Every band's colour reads on white (3:1 at least) and keeps a grey level of its own, so a
// grey print tells the bands apart as well as their hatches do.
TEST(StyleColour, ContrastsWithWhiteAndStaysApartInGrey) {
  auto channel = [](const char* hex, int at) {
    return static_cast<double>(std::stoi(std::string(hex + at, 2), nullptr, 16));
  };
  auto linear = [](double c) {
    c /= 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  std::set<long> greys;
  for (std::size_t style = 0; style < 8; ++style) {
    const char* colour = StyleColour(style);
    double r = channel(colour, 1), g = channel(colour, 3), b = channel(colour, 5);
    double luminance = 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
    EXPECT_GE(1.05 / (luminance + 0.05), 3.0) << colour;
    long grey = std::lround(0.299 * r + 0.587 * g + 0.114 * b);
    for (long other : greys) EXPECT_GE(std::labs(grey - other), 13) << colour;
    greys.insert(grey);
  }
  // A log of more than eight bands: each of the first twelve a colour of its own.
  std::set<std::string> colours;
  for (std::size_t style = 0; style < 12; ++style) colours.insert(StyleColour(style));
  EXPECT_EQ(colours.size(), 12u);
}

// Many bands of near values: each line ends exactly level with its value, so that 17 never
// reads as 18; and a line with a pen lift starts afresh after it.
TEST(TimeLines, EachLineEndsAtItsValue) {
  constexpr double kHour = 1.0 / 24.0;
  TimeAxis axis = HourAxis(100.0, 100.0 + 5 * kHour);
  std::vector<LineSeries> series;
  for (std::size_t i = 0; i < 10; ++i) {
    double end = 10.0 + static_cast<double>(i);
    series.push_back({"band " + std::to_string(i),
                      i,
                      true,
                      {{100.0 + 0.5 * kHour, 1.0}, {100.0 + (1.0 + 0.3 * i) * kHour, end}},
                      ""});
  }
  ChartText text{"m", "t", "y", "d", true, {}};
  std::string svg = TimeLines(text, axis, series);
  // The value grid: its lowest and highest line give pixels per unit.
  std::regex grid(R"re(<line x1="58" x2="[0-9.]+" y1="([0-9.]+)" y2="[0-9.]+"/>)re");
  std::vector<double> ys;
  for (std::sregex_iterator it(svg.begin(), svg.end(), grid), end; it != end; ++it) {
    ys.push_back(std::stod((*it)[1]));
  }
  ASSERT_GE(ys.size(), 2u);
  ValueScale scale = NiceScale(0.0, 19.0);
  double per_unit = (ys.front() - ys.back()) / (scale.high - scale.low);
  std::regex path("<path d=\"[^\"]*V([0-9.]+)H[0-9.]+\"");
  std::vector<double> ends;
  for (std::sregex_iterator it(svg.begin(), svg.end(), path), end; it != end; ++it) {
    ends.push_back(std::stod((*it)[1]));
  }
  ASSERT_EQ(ends.size(), 10u);
  for (std::size_t i = 0; i < ends.size(); ++i) {
    double value = 19.0 - static_cast<double>(i);  // drawn last series first
    EXPECT_NEAR(ends[i], ys.front() - value * per_unit, 0.06) << "band " << 9 - i;
  }

  LineSeries lifted{"rate",
                    0,
                    true,
                    {{100.0 + 0.5 * kHour, 5.0},
                     {100.0 + 0.5 * kHour + 1e-9, std::nan("")},
                     {100.0 + 2.5 * kHour, 7.0},
                     {100.0 + 2.5 * kHour + 1e-9, std::nan("")}},
                    ""};
  std::string rate = TimeLines(ChartText{"r", "t", "y", "d", false, {}}, axis, {lifted});
  std::smatch drawn;
  ASSERT_TRUE(std::regex_search(rate, drawn, std::regex("<path d=\"([^\"]*)\"")));
  std::string d = drawn[1];
  EXPECT_EQ(std::count(d.begin(), d.end(), 'M'), 2) << d;
  EXPECT_EQ(d.find('H'), std::string::npos) << d;  // never carried to the next contact or the end
}

// On a 48-hour axis the date under the last tick sits at the chart's right edge: it is
// anchored to fit rather than cut off.
TEST(TimeLines, AxisDatesStayInsideTheChart) {
  TimeAxis axis = HourAxis(100.0, 101.99);
  LineSeries line{"x", 0, true, {{100.1, 1.0}, {101.5, 2.0}}, ""};
  std::string svg = TimeLines(ChartText{"a", "t", "y", "d", false, {}}, axis, {line});
  std::regex date(
      R"re(<text x="([0-9.]+)" y="[0-9.]+"( text-anchor="(end|start)")?>([0-9]{2}-[0-9]{2})</text>)re");
  int dates = 0;
  for (std::sregex_iterator it(svg.begin(), svg.end(), date), end; it != end; ++it, ++dates) {
    double x = std::stod((*it)[1]);
    std::string anchor = (*it)[3];
    double half = 7.2 * 5 / 2;
    double right = anchor == "end" ? x : anchor == "start" ? x + 2 * half : x + half;
    double left = anchor == "end" ? x - 2 * half : anchor == "start" ? x : x - half;
    EXPECT_LE(right, 720.0) << (*it)[4];
    EXPECT_GE(left, 0.0) << (*it)[4];
  }
  EXPECT_EQ(dates, 3);
}

}  // namespace
}  // namespace kevo::figures
