// Two logs side by side: which contacts are the same contact, why two of them were scored
// apart, logs of other dates set beside each other by the time since their start, and the
// words the page puts on the library's answers.
#include "tools/replay/report/comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "tools/figures/contact_pairing.h"
#include "tools/figures/report_charts.h"
#include "tools/host/boundary_values.h"
#include "tools/replay/report/head_to_head.h"
#include "tools/replay/report/html_report.h"
#include "tools/replay/report/points_reason.h"

namespace kevo::replay {
namespace {

constexpr double kMay4 = 45416.0;  // 2024-05-04 00:00 UTC
constexpr double kSecond = 1.0 / 86400.0;

figures::ContactPoint Contact(std::string call, double seconds, std::int32_t points,
                              bool duplicate = false, std::string received = "14",
                              std::string band = "20") {
  figures::ContactPoint contact;
  contact.call = std::move(call);
  contact.band = std::move(band);
  contact.mode = "CW";
  contact.time = kMay4 + seconds * kSecond;
  contact.received = std::move(received);
  contact.points = points;
  contact.new_mults = 0;
  contact.check_code = duplicate ? host::kCheckDuplicate : host::kCheckNoNewMultiplier;
  contact.qsos_counted = duplicate ? 0 : 1;
  return contact;
}

figures::ReportData Log(std::string name, std::vector<figures::ContactPoint> contacts) {
  figures::ReportData data;
  data.log_name = std::move(name);
  data.contacts = std::move(contacts);
  return data;
}

// The ADIF export keeps the seconds, the Cabrillo export of the same log cuts them: a call
// worked twice within a minute (the second a duplicate) must pair first with first.
TEST(ContactPairing, TwoExportsOfOneLogCompareWithoutDifferences) {
  figures::ReportData adif =
      Log("a.adi", {Contact("DL1AB", 12 * 3600 + 10, 3), Contact("DL1AB", 12 * 3600 + 50, 0, true),
                    Contact("OE3XY", 12 * 3600 + 55, 5)});
  figures::ReportData cabrillo =
      Log("a.cbr", {Contact("DL1AB", 12 * 3600, 3), Contact("DL1AB", 12 * 3600, 0, true),
                    Contact("OE3XY", 12 * 3600, 5)});
  figures::Pairing pairing = figures::PairContacts(adif, cabrillo, 0.0);
  EXPECT_EQ(pairing.both.size(), 3u);
  EXPECT_TRUE(pairing.only_own.empty());
  EXPECT_TRUE(pairing.only_other.empty());
  EXPECT_TRUE(ContactsScoredApart(adif, cabrillo).empty());
  EXPECT_TRUE(ContactsScoredApart(cabrillo, adif).empty());
}

TEST(ContactPairing, CallBandModeFirstThenTheNearestTimeWithinTheTolerance) {
  const struct {
    const char* name;
    figures::ContactPoint theirs;
    bool paired;
  } cases[] = {
      {"same minute", Contact("K1A", 600, 3), true},
      {"four minutes later", Contact("K1A", 600 + 240, 3), true},
      {"six minutes later", Contact("K1A", 600 + 360, 3), false},
      {"another band", Contact("K1A", 600, 3, false, "14", "40"), false},
      {"a duplicate there only", Contact("K1A", 600, 0, true), false},
  };
  for (const auto& c : cases) {
    figures::ReportData own = Log("own", {Contact("K1A", 600, 3)});
    figures::ReportData other = Log("other", {c.theirs});
    figures::Pairing pairing = figures::PairContacts(own, other, 0.0);
    EXPECT_EQ(pairing.both.size(), c.paired ? 1u : 0u) << c.name;
    EXPECT_EQ(pairing.only_own.size(), c.paired ? 0u : 1u) << c.name;
  }
  // Of two candidates the nearer one wins, whatever their order.
  figures::ReportData own = Log("own", {Contact("K1A", 600, 3)});
  figures::ReportData other =
      Log("other", {Contact("K1A", 600 + 200, 5), Contact("K1A", 600 + 20, 3)});
  figures::Pairing pairing = figures::PairContacts(own, other, 0.0);
  ASSERT_EQ(pairing.both.size(), 1u);
  EXPECT_EQ(pairing.both[0].other, &other.contacts[1]);
}

TEST(PointsReason, NamesTheRuleTheLibrarysPointsFit) {
  const struct {
    figures::ContactPoint contact;
    const char* own_region;
    const char* reason;
  } cases[] = {
      {Contact("A", 0, 1, false, "KVI"), "W", "a letter"},
      {Contact("A", 0, 1, false, "12"), "W", "own number"},
      {Contact("A", 0, 3, false, "14"), "W", "same region"},
      {Contact("A", 0, 5, false, "14"), "W", "other region"},
      {Contact("A", 0, 5, false, "14"), "", "other region (no own region)"},
      {Contact("A", 0, 0, true, "14"), "W", "duplicate"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointsReason(c.contact, 12, c.own_region), c.reason) << c.reason;
  }
}

TEST(PointsReason, ScoredApartNamesWhatDiffers) {
  figures::ReportData here = Log("here", {});
  figures::ReportData there = Log("there", {});
  here.own_region = there.own_region = "W";
  figures::ContactPoint own = Contact("A", 0, 3);
  own.region = "W";
  figures::ContactPoint other = Contact("A", 0, 5);
  EXPECT_EQ(ScoredApartReason(own, here, other, there), "region W here, none there");
  other = Contact("A", 0, 1, false, "KVI");
  other.region = "W";
  EXPECT_EQ(ScoredApartReason(own, here, other, there), "exchange 14 here, KVI there");
  other = Contact("A", 0, 0, true);
  other.region = "W";
  EXPECT_EQ(ScoredApartReason(own, here, other, there), "a duplicate there, not here");
  EXPECT_EQ(MultiplierName(""), "(empty)");
}

// November's log beside March's: placed by the time since each log's start, said so on the
// axis and above the comparison, and its contacts paired on that time.
TEST(Comparison, ALogOfAnotherMonthIsPlacedByTimeSinceItsStartAndWarnedAbout) {
  figures::ReportData march =
      Log("march.adi", {Contact("K1A", 12 * 3600, 3), Contact("K2B", 13 * 3600, 3)});
  march.contest = "KEVO";
  double months = 240.0;  // days later
  figures::ReportData november = Log("november.cbr", {Contact("K1A", 12 * 3600 + 60, 3)});
  november.contacts[0].time = *november.contacts[0].time + months;
  november.contest = "KEVO";
  EXPECT_NEAR(figures::ShiftOf(march, november), -months + 0.0, 1e-6 + 60 * kSecond);
  march.compared.push_back(november);
  EXPECT_EQ(ContactsScoredApart(march, march.compared[0]).size(), 0u);
  EXPECT_EQ(
      figures::PairContacts(march, march.compared[0], figures::ShiftOf(march, march.compared[0]))
          .both.size(),
      1u);
  std::vector<std::string> warnings = ComparisonWarnings(march);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("november.cbr is dated 2024-12-30, march.adi 2024-05-04"),
            std::string::npos)
      << warnings[0];
  std::string page = BuildHtmlReport(march);
  EXPECT_NE(page.find("hours since each log's start"), std::string::npos);
  EXPECT_NE(page.find("november.cbr (KEVO, 2024-12-30)"), std::string::npos);
  EXPECT_NE(page.find("march.adi and november.cbr: 1 contact in common"), std::string::npos);

  // Logs with no contact in common say so, rather than that they earned the same points.
  march.compared[0].contacts[0].call = "W9X";
  page = BuildHtmlReport(march);
  EXPECT_NE(page.find("march.adi and november.cbr: 0 contacts in common."), std::string::npos);
  EXPECT_EQ(page.find("earned the same"), std::string::npos);
}

TEST(HeadToHead, MultipliersOneLogWorkedAndTheOtherMissedWithTheirContacts) {
  figures::ReportData own =
      Log("own", {Contact("K1A", 0, 3, false, "14"), Contact("K2B", 60, 3, false, "")});
  figures::ReportData other =
      Log("other", {Contact("K1A", 0, 3, false, "14"), Contact("K3C", 90, 1, false, "KVI")});
  for (figures::ReportData* log : {&own, &other}) {
    for (figures::ContactPoint& contact : log->contacts) contact.new_mults = 1;
  }
  std::vector<MissedMultipliers> missed = MultipliersApart(own, other);
  ASSERT_EQ(missed.size(), 1u);
  ASSERT_EQ(missed[0].only_own.size(), 1u);
  EXPECT_EQ(missed[0].only_own[0]->call, "K2B");
  ASSERT_EQ(missed[0].only_other.size(), 1u);
  EXPECT_EQ(missed[0].only_other[0]->call, "K3C");
  own.compared.push_back(other);
  std::string page = BuildHtmlReport(own);
  EXPECT_NE(page.find("<strong>(empty)</strong> (K2B 00:01)"), std::string::npos);
}

TEST(ReportBands, InFrequencyOrder) {
  std::vector<std::string> bands = {"70cm", "6", "80", "2", "20", "SAT", "160", "23cm", "10"};
  figures::SortBands(bands);
  EXPECT_EQ(bands,
            (std::vector<std::string>{"160", "80", "20", "10", "6", "2", "70cm", "23cm", "SAT"}));
}

// The claimed score of a log whose header names another contest is set beside the library's
// with a warning, and with thousands separators.
TEST(ScoreSection, ClaimedScoreOfAnotherContestIsWarnedAbout) {
  const struct {
    const char* contest;
    bool warned;
  } cases[] = {{"KEVO", false}, {"kevo-cw", false}, {"OTHER-DX", true}, {"KEVOLUTION", true}};
  for (const auto& c : cases) {
    figures::ReportData data = Log("a.cbr", {Contact("K1A", 0, 3)});
    data.contest = c.contest;
    data.set_name = "KEVO";
    data.claimed_score = "1234567";
    data.score = 3;
    std::string page = BuildHtmlReport(data);
    EXPECT_NE(page.find("Claimed in the log: 1,234,567"), std::string::npos) << c.contest;
    EXPECT_EQ(page.find("another contest's rules") != std::string::npos, c.warned) << c.contest;
  }
}

}  // namespace
}  // namespace kevo::replay
