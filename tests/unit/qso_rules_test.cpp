#include "scoring/qso_rules.h"

#include <cstdint>
#include <limits>
#include <string>

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

// One entry scored in a first pass: points from the exchange as received, the multiplier key
// from the stored (normalised) one. Own region code is "AB".
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
    ContestSettings settings{0, c.own_number, "AB"};
    QsoLog log;
    log.Add(Qso({.band = "20", .rcvd = c.rcvd, .region = c.same_region ? "AB" : "CD"}));
    EXPECT_EQ(QsoPoints(log.at(0), settings), c.points);
    NormalizeRcvd(log, 0);
    EXPECT_EQ(log.at(0).m_strRcvd, c.stored);
    EXPECT_EQ(MultKey(log.at(0)), std::string("20-") + c.stored);
    NormalizeRcvd(log, 0);  // a second pass changes nothing
    EXPECT_EQ(log.at(0).m_strRcvd, c.stored);
  }
}

TEST(QsoRules, RegionComparisonIsExact) {
  ContestSettings settings{0, 99, "AB"};
  EXPECT_EQ(QsoPoints(Qso({.rcvd = "1", .region = "ab"}), settings), 5);
  EXPECT_EQ(QsoPoints(Qso({.rcvd = "1", .region = "AB "}), settings), 5);
  EXPECT_EQ(QsoPoints(Qso({.rcvd = "1", .region = "AB"}), settings), 3);
  EXPECT_EQ(QsoPoints(Qso({.rcvd = "1", .region = ""}), ContestSettings{}), 3);
}

TEST(QsoRules, DupeKeysPartOnlyWhereSeparatorsMatter) {
  CQsoEntry a = Qso({.call = "B20X", .band = "20", .mode = "A"});
  CQsoEntry b = Qso({.call = "X", .band = "20", .mode = "A20B"});
  EXPECT_EQ(SummaryDupeKey(a), "A20B20X");
  EXPECT_EQ(SummaryDupeKey(b), "A20B20X");
  EXPECT_EQ(ExtLogDupeKey(a), "20-A-B20X");
  EXPECT_EQ(ExtLogDupeKey(b), "20-A20B-X");
  EXPECT_EQ(MultKey(Qso({.band = "40", .rcvd = "05"})), "40-05");
}

}  // namespace
}  // namespace kevo::test
