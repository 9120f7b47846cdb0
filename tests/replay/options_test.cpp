#include "tools/replay/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kevo::replay {
namespace {

TEST(Options, ReadsEveryOptionInBothSpellings) {
  Options options;
  std::string error;
  ASSERT_TRUE(ParseOptions(
      {"--own-number", "-12", "--own-region=W", "--no-rates", "--exchange-list", "R.lst",
       "--extlog=", "--workdir", "wd", "--prefix-field", "APP_X", "--region-field=", "--library",
       "lib.so", "--decorated", "--rcvd-field=APP_X_EXCH", "--verbose", "log.adi"},
      options, error))
      << error;
  EXPECT_EQ(options.settings.own_number, -12);
  EXPECT_EQ(options.settings.own_region, "W");
  EXPECT_EQ(options.settings.rate_suppression, 1);
  EXPECT_EQ(options.exchange_list, "R.lst");
  ASSERT_TRUE(options.extlog.has_value());
  EXPECT_EQ(*options.extlog, "");
  EXPECT_EQ(options.workdir, "wd");
  EXPECT_EQ(options.adif_fields.prefix, "APP_X");
  EXPECT_EQ(options.adif_fields.region, "");
  EXPECT_EQ(options.library, "lib.so");
  EXPECT_EQ(options.names, host::NameStyle::kDecorated);
  EXPECT_EQ(options.adif_fields.received, "APP_X_EXCH");
  EXPECT_TRUE(options.verbose);
  EXPECT_EQ(options.log_file, "log.adi");
}

TEST(Options, HasDefaultsForTheHost) {
  Options options;
  std::string error;
  ASSERT_TRUE(ParseOptions({"log.cbr"}, options, error));
  EXPECT_EQ(options.settings.rate_suppression, 0);
  EXPECT_EQ(options.settings.own_number, 0);
  EXPECT_EQ(options.settings.own_region, "");
  EXPECT_EQ(options.adif_fields.prefix, "PFX");
  EXPECT_EQ(options.adif_fields.region, "STATE");
  EXPECT_FALSE(options.adif_fields.received.has_value());
  EXPECT_FALSE(options.verbose);
  EXPECT_FALSE(options.extlog.has_value());
  EXPECT_EQ(options.names, host::NameStyle::kPlain);
  ASSERT_TRUE(ParseOptions({"--", "--odd-name.adi"}, options, error));
  EXPECT_EQ(options.log_file, "--odd-name.adi");
}

TEST(Options, RefusesBadUsage) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "no log file given"},
      {{"a.adi", "b.adi"}, "more than one log file"},
      {{"--own-number", "12x", "a.adi"}, "signed 32-bit integer"},
      {{"--own-number", "2147483648", "a.adi"}, "signed 32-bit integer"},
      {{"--own-number"}, "needs a value"},
      {{"--no-rates=1", "a.adi"}, "takes no value"},
      {{"--bogus", "a.adi"}, "unknown option --bogus"},
      {{"--verb", "a.adi"}, "unknown option --verb"},  // no abbreviations
      {{"--script", "s.txt", "a.adi"}, "--script takes no log file"},
      {{"--script="}, "--script needs a file"},
      {{"--workdir=", "a.adi"}, "--workdir needs a directory"},
      {{"--csv=", "a.adi"}, "--csv needs a file name"},
      {{"--compare", "b.adi", "a.adi"}, "--compare needs --report"},
      {{"--report=r.html", "--compare=b", "--compare=c", "--compare=d", "a.adi"},
       "two other logs at most"},
      {{"--break-minutes", "0", "a.adi"}, "from 1 to 1440"},
      {{"--csv", "a.csv", "--script", "s.txt"}, "--csv needs a log file"},
      {{"--csv", "a.csv", "--summary-at", "end", "a.adi"}, "--csv needs the summary after"},
  };
  for (const auto& [arguments, message] : cases) {
    Options options;
    std::string error;
    EXPECT_FALSE(ParseOptions(arguments, options, error)) << message;
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

TEST(Options, HelpAndVersionNeedNothingElse) {
  Options options;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--help"}, options, error));
  EXPECT_TRUE(options.help);
  ASSERT_TRUE(ParseOptions({"--version"}, options, error));
  EXPECT_TRUE(options.version);
}

}  // namespace
}  // namespace kevo::replay
