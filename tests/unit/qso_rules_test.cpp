#include "scoring/qso_rules.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "scoring/qso_keys.h"
#include "scoring/score_summary.h"
#include "test_support.h"

namespace kevo::test {
namespace {

TEST(QsoRules, ExchangeNumberWrapsAt32Bits) {
  struct Case {
    const char* text;
    int32_t number;
  };
  const Case cases[] = {
      {"", 0},
      {" \t\n\v\f\r42", 42},
      {"12A", 12},
      {"-3", -3},
      {"+7", 7},
      {"+-3", 0},
      {"--5", 0},
      {"- 5", 0},
      {"\xA0"
       "12",
       0},  // 0xA0 is no blank
      {"2147483647", std::numeric_limits<int32_t>::max()},
      {"2147483648", std::numeric_limits<int32_t>::min()},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"4294967297", 1},
      {"99999999999", 1215752191},
      {"00000000000000000000000000000000009", 9},
  };
  for (const Case& c : cases) EXPECT_EQ(ExchangeNumber(c.text), c.number) << "[" << c.text << "]";
}

TEST(QsoRules, LetterTestIsAsciiOnly) {
  EXPECT_TRUE(StartsWithLetter("a1"));
  EXPECT_TRUE(StartsWithLetter("Z"));
  for (const char* text : {"", " A", "1A", "@", "[", "`", "{", "\xC4", "\xE9t"})
    EXPECT_FALSE(StartsWithLetter(text)) << "[" << text << "]";
}

// The score summary of a log holding this one entry, with the rate lines left out.
std::string SummaryOfOne(const QsoFields& fields, ContestSettings settings, ContestState* state) {
  settings.rate_suppression = 1;
  *state = ContestState{};
  state->settings = settings;
  state->log.Add(Qso(fields));
  std::string text;
  CheckedSummary(*state, &text);
  return text;
}

// One entry scored in a first pass: points from the exchange as received, the multiplier key
// from the stored (normalised) one. Own region code is "AB". Each case goes through the rules
// and through a summary, which must score and store the entry alike.
TEST(QsoRules, PointsNormalisationAndMultiplierKey) {
  struct Case {
    const char* rcvd;
    int32_t own_number;
    bool same_region;
    int32_t points;
    const char* stored;
  };
  const Case cases[] = {
      {"12", 12, false, 1, "12"},
      {"7", 12, false, 5, "07"},
      {"07", 12, true, 3, "07"},
      {"12A", 12, false, 1, "12A"},
      {" 12", 12, true, 1, " 12"},
      {"-3", -3, false, 1, "-3"},
      {"", 0, false, 1, ""},
      {"", 12, true, 3, ""},
      {"A", 12, false, 1, "0A"},
      {"A", 0, true, 1, "0A"},
      {"0A", 12, false, 5, "0A"},
      {"0A", 0, true, 1, "0A"},
      {"AB", 12, false, 1, "AB"},
      {"\xC4"
       "5",
       12, true, 3,
       "\xC4"
       "5"},
      {"4294967297", 1, false, 1, "4294967297"},
      {"5", 5, false, 1, "05"},
      {" ", 1, true, 3, "0 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("[") + c.rcvd + "] own " + std::to_string(c.own_number));
    const QsoPointsByRegion points = QsoPoints(c.rcvd, c.own_number);
    EXPECT_EQ(c.same_region ? points.own_region : points.other_region, c.points);
    EXPECT_EQ(NormalizedRcvd(c.rcvd).value_or(c.rcvd), c.stored);
    EXPECT_EQ(NormalizedRcvd(c.stored), std::nullopt);  // a second pass changes nothing
    EXPECT_EQ(MultKey("20", c.stored), std::string("20-") + c.stored);

    ContestState state;
    const std::string text =
        SummaryOfOne({.band = "20", .rcvd = c.rcvd, .region = c.same_region ? "AB" : "CD"},
                     ContestSettings{0, c.own_number, "AB"}, &state);
    EXPECT_NE(text.find("\n20\t1\t" + std::to_string(c.points) + "\t1\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(Entries(state.log).at(0).m_strRcvd, c.stored);
  }
}

// The passes compare region codes by id; the ids must part exactly where the texts do, also
// when the own region is a text the log knows only as a band, or not at all.
TEST(QsoRules, RegionComparisonIsExact) {
  struct Case {
    const char* region;
    const char* own_region;
    int32_t points;
  };
  const Case cases[] = {
      {"ab", "AB", 5}, {"AB ", "AB", 5}, {"AB", "AB", 3}, {"", "", 3},
      {"X", "", 5},    {"", "ZZ", 5},    {"20", "20", 3}, {"", "20", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("[") + c.region + "] own [" + c.own_region + "]");
    ContestState state;
    const std::string text = SummaryOfOne({.band = "20", .rcvd = "1", .region = c.region},
                                          ContestSettings{0, 99, c.own_region}, &state);
    EXPECT_NE(text.find("\n20\t1\t" + std::to_string(c.points) + "\t1\r\n"), std::string::npos)
        << text;
  }
}

TEST(QsoRules, DupeKeysPartOnlyWhereSeparatorsMatter) {
  EXPECT_EQ(SummaryDupeKey("B20X", "20", "A"), "A20B20X");
  EXPECT_EQ(SummaryDupeKey("X", "20", "A20B"), "A20B20X");
  EXPECT_EQ(ExtLogDupeKey("B20X", "20", "A"), "20-A-B20X");
  EXPECT_EQ(ExtLogDupeKey("X", "20", "A20B"), "20-A20B-X");
  EXPECT_EQ(MultKey("40", "05"), "40-05");
}

}  // namespace
}  // namespace kevo::test
