#include "scoring/score_summary.h"

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

namespace kevo::test {
namespace {

const char kHeader[] = "\tQSO\tPoints\tMults\r\n";

std::string Rates(int qso60, int qso10x6, int pts60, int pts10x6) {
  char text[200];
  std::snprintf(text, sizeof text,
                "\r\nHourly (10min) QSO rate: %5i (%i) QSOs/hour\r\n"
                "Hourly (10min) pts rate: %5i (%i) points/hour\r\n\r\n",
                qso60, qso10x6, pts60, pts10x6);
  return text;
}

class ScoreSummary : public ::testing::Test {
 protected:
  void Settings(int32_t flag, int32_t number, const char* region) {
    state_.settings = ContestSettings{flag, number, region};
  }
  void Add(const QsoFields& fields) { state_.log.Add(Qso(fields)); }
  std::string Run() {
    std::string text;
    score_ = CheckedSummary(state_, &text);
    return text;
  }
  std::vector<std::string> SortedBands(std::vector<const char*> first_seen) {
    for (const char* band : first_seen) Add({.call = band, .band = band});
    SortBands(state_.log);
    return state_.log.bands();
  }

  ContestState state_;
  int32_t score_ = -1;
};

TEST_F(ScoreSummary, WorkedExample) {
  Settings(0, 12, "AB");
  const double t = kDay;
  Add({.call = "CALL1",
       .band = "20",
       .mode = "CW",
       .rcvd = "12",
       .region = "AB",
       .day = MinutesBefore(t, 70)});
  Add({.call = "CALL2",
       .band = "40",
       .mode = "CW",
       .rcvd = "7",
       .region = "CD",
       .day = MinutesBefore(t, 30)});
  Add({.call = "CALL1",
       .band = "20",
       .mode = "CW",
       .rcvd = "12",
       .region = "AB",
       .day = MinutesBefore(t, 20)});
  Add({.call = "CALL3",
       .band = "20",
       .mode = "SSB",
       .rcvd = "5",
       .region = "AB",
       .day = MinutesBefore(t, 5)});
  Add({.call = "CALL1", .band = "20", .mode = "SSB", .rcvd = "12", .region = "AB", .day = t});
  EXPECT_EQ(Run(), std::string(kHeader) +
                       "40\t1\t5\t1\r\n"
                       "20\t3\t5\t2\r\n"
                       "Total\t4\t10\t3\r\n" +
                       Rates(3, 12, 9, 24) + "\r\nScore: 10*3 = 30 points\r\n");
  EXPECT_EQ(score_, 30);
  EXPECT_EQ(state_.log.bands(), (std::vector<std::string>{"40", "20"}));
  EXPECT_EQ(Entries(state_.log).at(1).m_strRcvd, "07");
  EXPECT_EQ(Entries(state_.log).at(3).m_strRcvd, "05");
}

TEST_F(ScoreSummary, EmptyLogAndLeftoverBandHaveNoRates) {
  EXPECT_EQ(Run(), std::string(kHeader) + "Total\t0\t0\t0\r\n\r\nScore: 0*0 = 0 points\r\n");
  EXPECT_EQ(score_, 0);
  Add({.band = "20"});
  state_.log.Remove(Qso({.band = "20"}));
  EXPECT_EQ(Run(), std::string(kHeader) +
                       "20\t0\t0\t0\r\nTotal\t0\t0\t0\r\n\r\nScore: 0*0 = 0 points\r\n");
}

TEST_F(ScoreSummary, RateSuppressionLeavesRatesOut) {
  Settings(1, 0, "");
  Add({.call = "A", .rcvd = "5", .region = "X"});
  Add({.call = "B", .rcvd = "6", .region = "X", .day = kDay + 1});
  EXPECT_EQ(Run(), std::string(kHeader) +
                       "20\t2\t10\t2\r\nTotal\t2\t10\t2\r\n\r\nScore: 10*2 = 20 points\r\n");
}

TEST_F(ScoreSummary, SingleEntryIsMeasuredFromDayZero) {
  Add({.rcvd = "5", .region = "X"});
  EXPECT_EQ(Run(), std::string(kHeader) + "20\t1\t5\t1\r\nTotal\t1\t5\t1\r\n" + Rates(1, 6, 5, 30) +
                       "\r\nScore: 5*1 = 5 points\r\n");
}

// The entry under test, then a reference entry (0 points apart from rule 2) added last.
TEST_F(ScoreSummary, RateWindowEdges) {
  struct Case {
    const char* name;
    double minutes_before;
    bool in_hour;
    bool in_ten;
  };
  const double just_under_60 = 59.999995;  // product a few millionths short of 60
  const Case cases[] = {
      {"60:00", 60.0, false, false},
      {"a hair below 60", just_under_60, false, false},
      {"59:59", 59.0 + 59.0 / 60, true, false},
      {"10:00", 10.0, true, false},
      {"9:59", 9.0 + 59.0 / 60, true, true},
      {"later than the reference", -30.0, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state_ = ContestState{};
    const double t = 45123.0 + 14.0 / 24;
    Add({.call = "OLD", .rcvd = "5", .region = "X", .day = MinutesBefore(t, c.minutes_before)});
    Add({.call = "REF", .rcvd = "0", .region = "X", .day = t});  // 1 point, counts always
    const int hour = 1 + c.in_hour, ten = 1 + c.in_ten;
    const std::string text = Run();
    EXPECT_NE(text.find(Rates(hour, ten * 6, 1 + 5 * c.in_hour, (1 + 5 * c.in_ten) * 6)),
              std::string::npos)
        << text;
  }
}

TEST_F(ScoreSummary, InvalidOrNullTimesHaveAgeZero) {
  Add({.call = "A", .rcvd = "5", .region = "X", .day = kDay - 100});
  Add({.call = "B", .rcvd = "5", .region = "X", .status = kDateTimeNull});
  Add({.call = "C", .rcvd = "5", .region = "X", .day = kDay});
  EXPECT_NE(Run().find(Rates(2, 12, 10, 60)), std::string::npos);  // B and C
  Add({.call = "D", .rcvd = "5", .region = "X", .day = kDay, .status = kDateTimeInvalid});
  EXPECT_NE(Run().find(Rates(4, 24, 20, 120)), std::string::npos);  // reference is invalid
}

TEST_F(ScoreSummary, ReferenceIsTheLastEntryStillInTheLog) {
  Add({.call = "A", .rcvd = "5", .region = "X", .day = MinutesBefore(kDay, 30)});
  Add({.call = "B", .rcvd = "5", .region = "X", .day = kDay});
  Add({.call = "C", .rcvd = "5", .region = "X", .day = MinutesBefore(kDay, 100)});
  EXPECT_NE(Run().find(Rates(3, 18, 15, 90)), std::string::npos);  // A and B are "later"
  state_.log.Remove(Qso({.call = "C", .day = MinutesBefore(kDay, 100)}));
  EXPECT_NE(Run().find(Rates(2, 6, 10, 30)), std::string::npos);  // B now, A 30 minutes old
}

TEST_F(ScoreSummary, SecondRunRescoresNormalisedLetter) {
  Settings(1, 12, "AB");
  Add({.rcvd = "A", .region = "CD"});
  EXPECT_NE(Run().find("20\t1\t1\t1\r\n"), std::string::npos);
  EXPECT_EQ(Entries(state_.log).at(0).m_strRcvd, "0A");
  EXPECT_NE(Run().find("20\t1\t5\t1\r\n"), std::string::npos);
  EXPECT_EQ(score_, 5);
}

TEST_F(ScoreSummary, DupesAndMultipliersPerBand) {
  Settings(1, 0, "");
  Add({.call = "A", .band = "20", .rcvd = "5"});
  Add({.call = "B", .band = "20", .rcvd = "05"});                  // same multiplier as 5
  Add({.call = "A", .band = "20", .rcvd = "9", .day = kDay + 1});  // dupe: not even normalised
  Add({.call = "C", .band = "40", .rcvd = "5"});  // other band: a multiplier of its own
  Add({.call = "D", .band = "40", .rcvd = ""});   // empty exchange: multiplier "40-"
  Add({.call = "B20X", .band = "20", .mode = "A"});
  Add({.call = "X", .band = "20", .mode = "A20B"});  // same summary key as the one above
  EXPECT_EQ(Run(), std::string(kHeader) + "40\t2\t4\t2\r\n20\t3\t7\t2\r\nTotal\t5\t11\t4\r\n" +
                       "\r\nScore: 11*4 = 44 points\r\n");
  EXPECT_EQ(Entries(state_.log).at(2).m_strRcvd, "9");
  // The extended log's "-" keys may meet across bands; the summary's bands stay apart.
  state_ = ContestState{};
  Settings(1, 0, "");
  Add({.call = "Y", .band = "20-CW", .mode = "X", .rcvd = "1-2"});
  Add({.call = "Y", .band = "20", .mode = "CW-X", .rcvd = "1-2"});
  EXPECT_NE(Run().find("Total\t2\t6\t2\r\n"), std::string::npos);
}

TEST_F(ScoreSummary, BandOrders) {
  EXPECT_EQ(SortedBands({"20", "40", "80", "160", "15", "10"}),
            (std::vector<std::string>{"160", "80", "40", "20", "15", "10"}));
  state_ = ContestState{};
  EXPECT_EQ(SortedBands({"7", "07", "80"}), (std::vector<std::string>{"80", "07", "7"}));
  state_ = ContestState{};
  EXPECT_EQ(SortedBands({"28", "3.5"}), (std::vector<std::string>{"3.5", "28"}));
  state_ = ContestState{};
  // 20 bytes and more are compared unpadded: 21 bytes starting with "0" sort below "8";
  // bytes compare unsigned, so 0xC4 sorts above "8".
  const std::string long9 = std::string(20, '0') + "9", long1 = "1" + std::string(19, '0');
  EXPECT_EQ(SortedBands({long9.c_str(), "8", long1.c_str(), "\xC4"}),
            (std::vector<std::string>{long1, "\xC4", "8", long9}));
}

TEST_F(ScoreSummary, LaterBandsAreAppendedThenSorted) {
  Add({.call = "A", .band = "20"});
  Add({.call = "B", .band = "40"});
  Run();
  Add({.call = "C", .band = "80"});
  EXPECT_EQ(state_.log.bands(), (std::vector<std::string>{"40", "20", "80"}));
  Run();
  EXPECT_EQ(state_.log.bands(), (std::vector<std::string>{"80", "40", "20"}));
}

TEST_F(ScoreSummary, LongBandIsWrittenWhole) {
  const std::string band(10000, 'B');
  Add({.band = band.c_str(), .rcvd = "1"});
  EXPECT_NE(Run().find(band + "\t1\t"), std::string::npos);
}

// 21000 QSOs of 5 points each with a multiplier each: 105000 * 21000 wraps past 2^31.
TEST_F(ScoreSummary, ScoreWrapsAt32Bits) {
  Settings(1, 1, "AB");
  std::vector<std::string> calls;
  for (int i = 0; i < 21000; ++i) calls.push_back(std::to_string(i + 2));
  for (const std::string& c : calls) Add({.call = c.c_str(), .rcvd = c.c_str(), .region = "X"});
  const std::string text = Run();
  EXPECT_EQ(score_, static_cast<int32_t>(2205000000u - 4294967296u));
  EXPECT_NE(text.find("Score: 105000*21000 = -2089967296 points\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kevo::test
