// The summary reader on texts the library itself wrote, and on texts it must refuse rather
// than read wrong figures from.
#include "tools/figures/summary_figures.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/replay/plugin_session.h"

namespace kevo::figures {
namespace {

// The score summary's worked example: own number 12, own region AB, score 30.
std::vector<host::QsoValues> WorkedExample() {
  return {replay::ContactAt("CALL1", "20", "CW", "12", "AB", 770),
          replay::ContactAt("CALL2", "40", "CW", "7", "CD", 810),
          replay::ContactAt("CALL1", "20", "CW", "12", "AB", 820),
          replay::ContactAt("CALL3", "20", "SSB", "5", "AB", 835),
          replay::ContactAt("CALL1", "20", "SSB", "12", "AB", 840)};
}

struct LibraryCase {
  const char* name;
  std::int32_t no_rates;
  std::vector<host::QsoValues> contacts;
  SummaryFigures expected;
};

TEST(SummaryFigures, ReadsWhatTheLibraryWrote) {
  const std::vector<BandFigures> worked_bands = {{"40", 1, 5, 1}, {"20", 3, 5, 2}};
  const LibraryCase cases[] = {
      {"worked example",
       0,
       WorkedExample(),
       {worked_bands, {"Total", 4, 10, 3}, RateFigures{3, 12, 9, 24}, 10, 3, 30}},
      {"rates suppressed",
       1,
       WorkedExample(),
       {worked_bands, {"Total", 4, 10, 3}, std::nullopt, 10, 3, 30}},
      {"just after the reset", 0, {}, {{}, {"Total", 0, 0, 0}, std::nullopt, 0, 0, 0}},
  };
  for (const LibraryCase& c : cases) {
    replay::ReplayResult result = replay::ReplayThroughPlugin({c.no_rates, 12, "AB"}, c.contacts);
    std::optional<SummaryFigures> figures = ParseSummary(result.summary.text);
    ASSERT_TRUE(figures) << c.name << ":\n" << result.summary.text;
    EXPECT_EQ(*figures, c.expected) << c.name << ":\n" << result.summary.text;
    EXPECT_EQ(figures->score, result.summary.score) << c.name;
  }
}

TEST(SummaryFigures, RefusesTextsOfAnotherShape) {
  const std::string head = "\tQSO\tPoints\tMults\r\n20\t3\t5\t2\r\n";
  const std::string score = "\r\nScore: 5*2 = 10 points\r\n";
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"no header", "20\t3\t5\t2\r\nTotal\t3\t5\t2\r\n" + score},
      {"no total line", head + score},
      {"band line with two numbers",
       "\tQSO\tPoints\tMults\r\n20\t3\t5\r\nTotal\t3\t5\t2\r\n" + score},
      {"a number with a sign of trouble", head + "Total\t3\t5x\t2\r\n" + score},
      {"number past 32 bits", head + "Total\t3\t5\t4294967296\r\n" + score},
      {"line feeds alone",
       "\tQSO\tPoints\tMults\n20\t3\t5\t2\nTotal\t3\t5\t2\n\nScore: 5*2 = 10 points\n"},
      {"one rate line only", head + "Total\t3\t5\t2\r\n\r\nHourly (10min) QSO rate:     3 (12) "
                                    "QSOs/hour\r\n\r\n\r\nScore: 5*2 = 10 points\r\n"},
      {"no score line", head + "Total\t3\t5\t2\r\n\r\n"},
      {"text after the score", head + "Total\t3\t5\t2\r\n" + score + "x"},
      {"score line cut short", head + "Total\t3\t5\t2\r\n\r\nScore: 5*2 = 10\r\n"},
  };
  for (const auto& c : cases) EXPECT_FALSE(ParseSummary(c.text)) << c.name;
}

}  // namespace
}  // namespace kevo::figures
