// The options every host program shares, given to both tools' parsers: the same spelling gives
// the same values and the same refusals, and both --help texts list them.
#include "tools/host/host_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <tuple>

#include "tools/live/live_options.h"
#include "tools/replay/options.h"

namespace kevo {
namespace {

auto Fields(const host::HostOptions& o) {
  return std::tuple(o.help, o.version, o.library, o.names, o.settings.own_number,
                    o.settings.own_region, o.settings.rate_suppression, o.exchange_list, o.workdir);
}

TEST(HostOptionsTest, BothToolsTakeTheSharedOptionsAlike) {
  struct Case {
    std::vector<std::string> arguments;
    std::function<void(host::HostOptions&)> expected;  // the change from the defaults
    const char* error;                                 // empty: accepted
  };
  auto none = [](host::HostOptions&) {};
  const Case cases[] = {
      {{"--own-number", "-12"}, [](auto& o) { o.settings.own_number = -12; }, ""},
      {{"--own-region=W"}, [](auto& o) { o.settings.own_region = std::string("W"); }, ""},
      {{"--no-rates"}, [](auto& o) { o.settings.rate_suppression = 1; }, ""},
      {{"--exchange-list", "R.lst"}, [](auto& o) { o.exchange_list = "R.lst"; }, ""},
      {{"--workdir", "wd"}, [](auto& o) { o.workdir = "wd"; }, ""},
      {{"--library=lib.so"}, [](auto& o) { o.library = "lib.so"; }, ""},
      {{"--decorated"}, [](auto& o) { o.names = host::NameStyle::kDecorated; }, ""},
      {{"--help"}, [](auto& o) { o.help = true; }, ""},
      {{"--version"}, [](auto& o) { o.version = true; }, ""},
      {{"--workdir="}, none, "--workdir needs a directory"},
      {{"--workdir", ""}, none, "--workdir needs a directory"},
      {{"--own-number", "x"}, none, "--own-number needs a signed 32-bit integer, not 'x'"},
      {{"--own-number", "2147483648"}, none, "--own-number needs a signed 32-bit integer"},
      {{"--no-rates=1"}, none, "--no-rates takes no value"},
      {{"--library"}, none, "--library needs a value"},
      {{"--own"}, none, "unknown option --own"},  // no abbreviations
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    std::vector<std::string> with_log = {"log.adi"};  // kevo-replay needs one, kevo-live none
    with_log.insert(with_log.end(), c.arguments.begin(), c.arguments.end());
    replay::Options replay;
    live::LiveOptions live;
    std::string replay_error;
    std::string live_error;
    bool replay_ok = replay::ParseOptions(with_log, replay, replay_error);
    bool live_ok = live::ParseLiveOptions(c.arguments, live, live_error);
    EXPECT_EQ(replay_ok, *c.error == '\0');
    EXPECT_EQ(live_ok, *c.error == '\0');
    EXPECT_EQ(replay_error.substr(0, std::string(c.error).size()), c.error);
    EXPECT_EQ(live_error, replay_error);
    if (*c.error != '\0') continue;
    host::HostOptions expected;
    c.expected(expected);
    EXPECT_EQ(Fields(replay), Fields(expected));
    EXPECT_EQ(Fields(live), Fields(expected));
  }
}

TEST(HostOptionsTest, BothHelpTextsListEverySharedOption) {
  const char* shared[] = {
      "--own-number N", "--own-region TEXT", "--no-rates",  "--exchange-list FILE",
      "--workdir DIR",  "--library PATH",    "--decorated", "--help",
      "--version"};
  for (const std::string& text : {replay::UsageText(), live::LiveUsageText()}) {
    SCOPED_TRACE(text.substr(0, text.find('\n')));
    for (const char* option : shared) EXPECT_NE(text.find(option), std::string::npos) << option;
  }
}

// Both tools' columns: each description starts at the column, its continuations too, and no
// line is wider than a terminal.
TEST(HostOptionsTest, UsageLinesKeepTheirColumn) {
  for (std::size_t column : {24u, 25u}) {
    std::istringstream lines(host::HostOptionsUsage(column));
    for (std::string line; std::getline(lines, line);) {
      SCOPED_TRACE(line);
      ASSERT_GT(line.size(), column);
      EXPECT_EQ(line[column - 1], ' ');
      EXPECT_NE(line[column], ' ');
      EXPECT_LE(line.size(), 80u);
    }
  }
}

}  // namespace
}  // namespace kevo
