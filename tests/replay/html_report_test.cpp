// The HTML report: texts made safe, and a page built from a replay through the real plug-in
// whose figures are the library's.
#include "tools/replay/report/html_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <regex>
#include <string>

#include "tests/replay/plugin_session.h"
#include "tools/figures/html_table.h"
#include "tools/figures/report_collector.h"
#include "tools/replay/report/audit_table.h"
#include "tools/replay/report/comparison.h"

namespace kevo::replay {
namespace {

class ReportFromLibrary : public ::testing::Test {
 protected:
  // Two bands, a duplicate, a call with markup and 8-bit bytes, contacts in three hours.
  void SetUp() override {
    const std::vector<host::QsoValues> contacts = {
        ContactAt("DL1AB", "20", "CW", "12", "AB", 600),
        ContactAt("<B>&\"Q'1\xC4", "40", "CW", "7", "CD", 610),
        ContactAt("DL1AB", "20", "CW", "12", "AB", 660),
        ContactAt("OE3XY", "20", "SSB", "5", "AB", 725),
        ContactAt("<B>&\"Q'1\xC4", "40", "CW", "7", "CD", 730),
        ContactAt("HA5Z", "40", "CW", "9", "EF", 731),
    };
    figures::ReportCollector collector(data_);
    ReplayResult result = ReplayThroughPlugin(
        {0, 12, "AB"}, contacts,
        [&collector](const RecordOutcome& outcome, const host::Summary& summary) {
          collector.AddContact(outcome.qso, outcome.check, summary);
        });
    collector.Finish(result.summary);
    data_.log_name = "a<b>.adi";
    data_.own_number = 12;
    data_.own_region = "AB";
    data_.claimed_score = "12";
    data_.skipped = host::GroupSkipped({{3, "no call"}, {5, "no band"}, {9, "no call"}});
    page_ = BuildHtmlReport(data_);
  }

  figures::ReportData data_;
  std::string page_;
};

TEST_F(ReportFromLibrary, TableAndChartsShowTheSummarysFigures) {
  ASSERT_TRUE(data_.figures);
  const figures::SummaryFigures& figures = *data_.figures;
  ASSERT_EQ(figures.bands.size(), 2u);
  // Every QSO of a band in the hourly bars, every multiplier in the band's last step.
  std::map<std::string, std::int64_t> barred;
  std::regex bar_title("<title>([0-9]+) m: ([0-9]+)</title>");
  for (std::sregex_iterator it(page_.begin(), page_.end(), bar_title), end; it != end; ++it) {
    barred[(*it)[1]] += std::stoll((*it)[2]);
  }
  std::map<std::string, std::int32_t> last_mults;
  for (const figures::MultiplierStep& step : data_.multiplier_steps)
    last_mults[step.band] = step.mults;
  for (const figures::BandFigures& band : figures.bands) {
    std::string row = band.band + "</th><td class=\"n\">" + std::to_string(band.qsos) +
                      "</td><td class=\"n\">" + std::to_string(band.points) +
                      "</td><td class=\"n\">" + std::to_string(band.mults) + "</td>";
    std::size_t at = page_.find(row);
    ASSERT_NE(at, std::string::npos) << row;
    // Then the QSOs by mode, which add up to the band's, and the points per QSO.
    std::string rest = page_.substr(at + row.size(), page_.find("</tr>", at) - at - row.size());
    std::vector<std::string> cells;
    std::regex cell("<td class=\"n\">([^<]*)</td>");
    for (std::sregex_iterator it(rest.begin(), rest.end(), cell), end; it != end; ++it) {
      cells.push_back((*it)[1]);
    }
    ASSERT_EQ(cells.size(), 3u) << rest;  // CW, SSB, points per QSO
    EXPECT_EQ(std::stoi(cells[0]) + std::stoi(cells[1]), band.qsos) << rest;
    EXPECT_DOUBLE_EQ(std::stod(cells[2]), static_cast<double>(band.points) / band.qsos) << rest;
    EXPECT_EQ(barred[band.band], band.qsos) << band.band;
    EXPECT_EQ(last_mults[band.band], band.mults) << band.band;
    // The multiplier list has as many rows for the band as the library has multipliers.
    EXPECT_NE(page_.find("<summary>" + band.band + " m: " +
                         figures::Plural(static_cast<std::size_t>(band.mults), "multiplier",
                                         "multipliers") +
                         "</summary>"),
              std::string::npos)
        << band.band;
  }
  EXPECT_NE(page_.find("Score <strong>" + std::to_string(data_.score) +
                       "</strong> = " + std::to_string(figures.score_points) + " points"),
            std::string::npos);
  EXPECT_EQ(data_.contacts.back().score, data_.score);
  EXPECT_NE(page_.find("computed: " + std::to_string(data_.score) + " (" +
                       std::to_string(data_.score - 12) + " more than claimed)"),
            std::string::npos);
}

TEST_F(ReportFromLibrary, ListsTheLibrarysDuplicatesAndTheSkippedReasons) {
  ASSERT_EQ(data_.duplicates.size(), 2u);
  EXPECT_EQ(data_.duplicates[0].call, "DL1AB");
  EXPECT_EQ(data_.duplicates[0].message, "DL1AB: QSO BEFORE at 10:00");
  // The library's message gives a time of day; the row gives the first contact's full date.
  EXPECT_NE(page_.find("<td>2024-05-04 11:00</td><th scope=\"row\">DL1AB</th><td>20</td><td>CW</td>"
                       "<td>2024-05-04 10:00</td><td>DL1AB: QSO BEFORE at 10:00</td>"),
            std::string::npos);
  EXPECT_NE(page_.find("<td>&lt;B&gt;&amp;&quot;Q&#39;1\u00C4: QSO BEFORE at 10:10</td>"),
            std::string::npos);
  EXPECT_NE(page_.find("<th scope=\"row\">no call</th><td class=\"n\">2</td><td>3, 9</td>"),
            std::string::npos);
  EXPECT_NE(page_.find("<th scope=\"row\">no band</th><td class=\"n\">1</td><td>5</td>"),
            std::string::npos);
}

TEST_F(ReportFromLibrary, AuditRowsAddUpToTheSummaryAndTheCsvHasTheSameRows) {
  ASSERT_TRUE(data_.figures);
  AuditTotals totals = SumAudit(data_);
  EXPECT_EQ(totals.points, data_.figures->total.points);
  EXPECT_EQ(totals.mults, data_.figures->total.mults);
  ASSERT_EQ(data_.contacts.size(), 6u);
  EXPECT_EQ(data_.contacts[2].points, 0);  // the duplicate
  EXPECT_EQ(CheckAnswerWords(data_.contacts[2]), "duplicate: DL1AB: QSO BEFORE at 10:00");
  EXPECT_EQ(data_.contacts[3].new_mults, 1);  // OE3XY brought 5 on 20

  std::string csv = AuditCsv(data_);
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(csv.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), data_.contacts.size() + 1);
  EXPECT_EQ(lines[0].substr(0, 24), "line,time_utc,call,band,");
  // A text with a comma or a quote is quoted, its quotes doubled; 8-bit bytes stay as they are.
  EXPECT_EQ(lines[2].substr(0, 64),
            "0,2024-05-04 10:10:00,\"<B>&\"\"Q'1\xC4\",40,CW,7,CD,5,other region,1,7");
  EXPECT_NE(page_.find("<h2 id=\"audit\">"), std::string::npos);
  EXPECT_NE(page_.find("<td class=\"n\">" + std::to_string(totals.points) +
                       "</td><td></td><td></td><td>" + std::to_string(totals.mults) +
                       " multipliers</td>"),
            std::string::npos);
}

// The same contacts with another own region: the library scores some of them otherwise, and
// the comparison finds exactly those.
TEST_F(ReportFromLibrary, ComparisonFindsTheContactsScoredApart) {
  figures::ReportData other;
  figures::ReportCollector collector(other);
  std::vector<host::QsoValues> contacts;
  for (const figures::ContactPoint& contact : data_.contacts) {
    contacts.push_back(ContactAt(contact.call, contact.band, contact.mode, contact.received, "AB",
                                 (*contact.time - 45416.0) * 1440.0));
  }
  ReplayResult result =
      ReplayThroughPlugin({0, 12, "CD"}, contacts,
                          [&collector](const RecordOutcome& outcome, const host::Summary& summary) {
                            collector.AddContact(outcome.qso, outcome.check, summary);
                          });
  collector.Finish(result.summary);
  other.log_name = "other.cbr";
  other.own_region = "CD";
  std::vector<ScoredApart> apart = ContactsScoredApart(data_, other);
  ASSERT_FALSE(apart.empty());
  for (const ScoredApart& pair : apart) {
    EXPECT_EQ(pair.own->call, pair.other->call);
    EXPECT_NE(pair.own->points, pair.other->points);
  }
  EXPECT_TRUE(ContactsScoredApart(data_, data_).empty());
  data_.compared.push_back(other);
  std::string page = BuildHtmlReport(data_);
  EXPECT_NE(page.find("<h2 id=\"compare\">"), std::string::npos);
  EXPECT_NE(page.find(std::to_string(apart.size()) + " of them scored differently"),
            std::string::npos);
  // Each row names why: the same exchange and region, scored against another own region.
  EXPECT_NE(page.find("<td>own region AB here, CD there</td>"), std::string::npos);
  EXPECT_NE(page.find("<desc id=\"difference-desc\">"), std::string::npos);
}

TEST(HtmlTable, NumbersCarryThousandsSeparators) {
  const struct {
    std::int64_t value;
    const char* text;
  } cases[] = {{0, "0"},
               {999, "999"},
               {1000, "1,000"},
               {-1000, "-1,000"},
               {199390, "199,390"},
               {-12, "-12"},
               {INT64_MIN, "-9,223,372,036,854,775,808"}};
  for (const auto& c : cases) EXPECT_EQ(figures::Number(c.value), c.text);
}

TEST_F(ReportFromLibrary, NoTextEscapesAndNothingIsFetched) {
  EXPECT_EQ(page_.find("<B>"), std::string::npos);
  EXPECT_EQ(page_.find("a<b>"), std::string::npos);
  EXPECT_EQ(page_.find("<script"), std::string::npos);
  std::string rest = page_;
  for (std::size_t at; (at = rest.find("http://www.w3.org/2000/svg")) != std::string::npos;) {
    rest.erase(at, 26);
  }
  EXPECT_EQ(rest.find("://"), std::string::npos);
  EXPECT_EQ(rest.find("src="), std::string::npos);
}

}  // namespace
}  // namespace kevo::replay
