// Inputs the fuzzers found mishandled, kept as regression tests.
#include <cstring>
#include <string>
#include <vector>

#include "contest/exchange_list.h"
#include "scoring/call_check.h"
#include "test_support.h"

namespace kevo::test {
namespace {

using namespace std::string_literals;

// A zero byte in RADL.lst ends the line's text: the host only ever sees texts up to their
// first zero byte, and the call check copies the exchange into the host's buffer.
TEST(FuzzFindings, ZeroByteEndsAnExchangeLine) {
  struct Case {
    std::string file;
    ListContent expected;
  } cases[] = {
      {"Q1=12\0junk\nQ2=3\n"s, {{"Q1", "12"}, {"Q2", "3"}}},
      {"Q1\0=12\n"s, {}},
      {"\0Q1=5\n"s, {}},
      {" Q2 = 7 \0 8\n"s, {{"Q2", "7"}}},
      {"Q3=\0\n"s, {{"Q3", ""}}},
  };
  for (const Case& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{1} << 20}) {
      FakeInputFile file(c.file, chunk, static_cast<std::size_t>(-1));
      ExchangeList list;
      EXPECT_TRUE(ReadExchangeList(file, &list));
      ExpectExchangeList(list, c.expected);
    }
  }
}

TEST(FuzzFindings, CallCheckWritesNothingPastTheHintsZeroByte) {
  FakePlatform platform;
  platform.files["RADL.lst"] = "Q4=1\0002\n"s;
  ContestState state;
  ResetStatistics(state, platform, 0, 0, "");
  state.log.Add(Qso({.call = "Q9", .band = "40M", .rcvd = "1"}));

  std::vector<char> hint(64, '\xA5'), dupe(64, '\xA5');
  CallCheckQuery query;
  query.call = "Q4";
  query.mode = "CW";
  query.prefix = "DL";
  query.band = "40M";
  // The hint is "1", which the band already has: no new multiplier.
  EXPECT_EQ(CheckCall(state, query, hint.data(), dupe.data()), kCheckNoNewMultiplier);
  EXPECT_STREQ(hint.data(), "1");
  for (std::size_t i = 2; i < hint.size(); ++i) EXPECT_EQ(hint[i], '\xA5') << i;
  EXPECT_EQ(dupe, std::vector<char>(64, '\xA5'));
}

// A read error in the middle of a line must not store the part before it: "B=12" cut to
// "B=1" would offer the operator a wrong exchange.
TEST(FuzzFindings, ReadErrorDropsTheLineItCuts) {
  const std::string file = "A=1\nB=12\nC=3\n";
  struct Case {
    std::size_t fail_after;
    ListContent expected;
  } cases[] = {
      {0, {}},
      {2, {}},
      {4, {{"A", "1"}}},
      {7, {{"A", "1"}}},
      {8, {{"A", "1"}}},  // "B=12" without its LF: the end of the line was not seen
      {9, {{"A", "1"}, {"B", "12"}}},
  };
  for (const Case& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
      SCOPED_TRACE("fail after " + std::to_string(c.fail_after) + ", chunk " +
                   std::to_string(chunk));
      FakeInputFile input(file, chunk, c.fail_after);
      ExchangeList list;
      EXPECT_FALSE(ReadExchangeList(input, &list));
      ExpectExchangeList(list, c.expected);
    }
  }
}

}  // namespace
}  // namespace kevo::test
