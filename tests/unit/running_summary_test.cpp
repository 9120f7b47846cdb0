// The summary's running figures: the rate index against a count of every entry, and whole
// sessions in which the figures must follow removals, promotions, rewrites and settings.
// Every summary below also runs beside the full walk (CheckedSummary).
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "contest/rate_index.h"
#include "export/ext_log.h"
#include "scoring/score_summary.h"
#include "test_support.h"

namespace kevo::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Day counts where the age test turns: the window edges, the half-second lift, the point where
// a 32-bit minute count wraps (about 1.49e6 days), day 0 and the fold of negative day counts.
const std::vector<double> kTrickyDays = {45000.5,
                                         45000.5 - 10.0 / 1440,
                                         45000.5 - 60.0 / 1440,
                                         45000.5 - 59.99999 / 1440,
                                         45000.5 + 1e-9,
                                         45000.5 - 1e6,
                                         45000.5 + 1e6,
                                         45000.5 - 1491308.0885,
                                         45000.5 - 2.9e6,
                                         45000.5 + 1.5e6,
                                         0.0,
                                         -0.0,
                                         -1.25,
                                         -0.75,
                                         2958465.0,
                                         -657434.0,
                                         1e300,
                                         -1e300,
                                         kInf,
                                         -kInf,
                                         std::nan(""),
                                         45000.5 - 2982616.1775};
const std::vector<int32_t> kStatuses = {kDateTimeValid,   kDateTimeValid, kDateTimeValid,
                                        kDateTimeInvalid, kDateTimeNull,  -1};

struct IndexedEntry {
  COleDateTime time;
  double linear_day;
  uint32_t points;
  uint32_t handle;
};

// What the windows hold, asked of every entry with the date-time module's own arithmetic.
RateWindowTallies CountEveryEntry(const std::vector<IndexedEntry>& entries,
                                  const COleDateTime& reference) {
  RateWindowTallies windows;
  for (const IndexedEntry& e : entries) {
    const int32_t age = SpanWholeMinutes(DateTimeDifference(reference, e.time));
    if (age < 60) windows.last_hour.Add(RateTally{1u, e.points});
    if (age < 10) windows.last_ten_minutes.Add(RateTally{1u, e.points});
  }
  return windows;
}

TEST(RateIndex, WindowsMatchACountOfEveryEntry) {
  std::mt19937 rng(7);
  const auto pick = [&rng](std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(rng);
  };
  for (int round = 0; round < 40; ++round) {
    RateIndex index;
    std::vector<IndexedEntry> entries;
    for (int step = 0; step < 300; ++step) {
      if (!entries.empty() && pick(3) == 0) {
        const std::size_t victim = pick(entries.size());
        const IndexedEntry& e = entries[victim];
        index.Erase(e.time, e.linear_day, e.points, e.handle);
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(victim));
      } else {
        // Near times a few seconds apart as well as the tricky ones.
        const double day = pick(2) ? kTrickyDays[pick(kTrickyDays.size())]
                                   : 45000.5 - static_cast<double>(pick(5000)) / 86400.0;
        const COleDateTime time = MakeDateTime(day, kStatuses[pick(kStatuses.size())]);
        const double linear_day = DateTimeDifference(time, MakeDateTime(0.0)).m_span;
        const uint32_t points = pick(4) == 0 ? 0xFFFFFFFBu : static_cast<uint32_t>(pick(6));
        entries.push_back({time, linear_day, points, index.Insert(time, linear_day, points)});
      }
      const COleDateTime reference =
          pick(4) == 0 ? entries.empty() ? MakeDateTime(0.0) : entries[pick(entries.size())].time
                       : MakeDateTime(kTrickyDays[pick(kTrickyDays.size())],
                                      kStatuses[pick(kStatuses.size())]);
      const RateWindowTallies got = index.Windows(reference);
      const RateWindowTallies want = CountEveryEntry(entries, reference);
      ASSERT_EQ(got.last_hour.qsos, want.last_hour.qsos) << "round " << round << " step " << step;
      ASSERT_EQ(got.last_hour.points, want.last_hour.points);
      ASSERT_EQ(got.last_ten_minutes.qsos, want.last_ten_minutes.qsos);
      ASSERT_EQ(got.last_ten_minutes.points, want.last_ten_minutes.points);
    }
  }
}

class RunningSummary : public ::testing::Test {
 protected:
  void Add(const QsoFields& fields) { state_.log.Add(Qso(fields)); }
  void Remove(const QsoFields& fields) { state_.log.Remove(Qso(fields)); }
  std::string Run() {
    std::string text;
    score_ = CheckedSummary(state_, &text);
    return text;
  }
  std::string Rcvd(std::size_t i) { return Entries(state_.log).at(i).m_strRcvd; }

  ContestState state_;
  int32_t score_ = 0;
};

// Removing a class's scored entry scores the next one: its points from the exchange as it
// stands, and only then is its one-byte exchange stored normalised.
TEST_F(RunningSummary, RemovalPromotesTheNextEntryOfTheClass) {
  state_.settings = ContestSettings{1, 7, "AB"};
  Add({.call = "K1", .rcvd = "5", .day = kDay});
  Add({.call = "K1", .rcvd = "B", .day = kDay + 0.01});  // a duplicate: not scored
  Add({.call = "K2", .rcvd = "A", .day = kDay + 0.02});
  EXPECT_NE(Run().find("20\t2\t6\t2\r\n"), std::string::npos);
  EXPECT_EQ(Rcvd(0), "05");
  EXPECT_EQ(Rcvd(1), "B");
  EXPECT_EQ(Rcvd(2), "0A");

  Remove({.call = "K1", .day = kDay});
  // "B" is a letter: 1 point; "0A" now numbers 0: 5 points. Then "0B" too.
  EXPECT_NE(Run().find("20\t2\t6\t2\r\n"), std::string::npos);
  EXPECT_EQ(Rcvd(0), "0B");
  EXPECT_NE(Run().find("20\t2\t10\t2\r\n"), std::string::npos);
}

// A class's first entry that no summary scored keeps its exchange, whatever the log does.
TEST_F(RunningSummary, EntriesNotYetScoredStayAsReceived) {
  Add({.call = "K1", .rcvd = "5", .day = kDay});
  Add({.call = "K1", .rcvd = "6", .day = kDay + 0.01});
  Remove({.call = "K1", .day = kDay});
  Add({.call = "K1", .rcvd = "8", .day = kDay + 0.02});
  EXPECT_EQ(Rcvd(0), "6");
  Run();
  EXPECT_EQ(Rcvd(0), "06");
  EXPECT_EQ(Rcvd(1), "8");
}

// New settings rescore every scored entry; emptied bands keep their line.
TEST_F(RunningSummary, SettingsChangeAndEmptiedBands) {
  Add({.call = "K1", .band = "40", .rcvd = "12", .region = "AB"});
  Add({.call = "K2", .band = "20", .rcvd = "13", .region = "CD"});
  Run();
  state_.settings = ContestSettings{1, 12, "CD"};
  EXPECT_NE(Run().find("Total\t2\t4\t2\r\n"), std::string::npos);
  Remove({.call = "K1", .band = "40"});
  EXPECT_NE(Run().find("40\t0\t0\t0\r\n"), std::string::npos);
  EXPECT_EQ(score_, 3);
}

// Long sessions of many removals (the log clears its dead slots away again and again), key
// collisions across groups, extended logs that rewrite exchanges, and times far apart.
TEST_F(RunningSummary, LongSessionsStayEqualToTheFullWalk) {
  const std::vector<const char*> calls = {"B20X", "X", "K1", "K2", "K3"};
  const std::vector<const char*> modes = {"A", "A20B", "CW"};
  const std::vector<const char*> bands = {"20", "40", "7", "07"};
  const std::vector<const char*> rcvds = {"1", "A", "12", "7", "", "0A"};
  std::mt19937 rng(11);
  const auto pick = [&rng](std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(rng);
  };
  std::vector<QsoFields> added;
  FakePlatform platform;
  for (int step = 0; step < 3000; ++step) {
    const std::size_t op = pick(10);
    if (op < 5) {
      QsoFields f{.call = calls[pick(calls.size())],
                  .band = bands[pick(bands.size())],
                  .mode = modes[pick(modes.size())],
                  .rcvd = rcvds[pick(rcvds.size())],
                  .region = pick(2) ? "AB" : "CD",
                  .day = pick(8) == 0 ? kTrickyDays[pick(kTrickyDays.size())]
                                      : kDay + static_cast<double>(step) / 1440.0};
      Add(f);
      added.push_back(f);
    } else if (op < 8 && !added.empty()) {
      Remove(added[pick(added.size())]);
    } else if (op == 8) {
      if (pick(10) == 0) WriteExtLog(state_, platform, "A");
      if (pick(50) == 0) state_.settings.own_number = static_cast<int32_t>(pick(3));
    } else {
      ASSERT_NO_FATAL_FAILURE(Run()) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace kevo::test
