#include "tools/replay/report/html_report.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "tools/figures/html_table.h"
#include "tools/figures/rate_sheet.h"
#include "tools/figures/report_charts.h"
#include "tools/figures/svg_chart.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"
#include "tools/replay/report/audit_table.h"
#include "tools/replay/report/comparison.h"
#include "tools/replay/report/multiplier_list.h"

namespace kevo::replay {

namespace {

// The page's look: plain type, thin rules, numbers right-aligned; A4 when printed. The
// Content-Security-Policy makes the browser itself refuse any request the page might make.
constexpr const char* kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<style>
@page { size: A4; margin: 14mm; }
body { font: 14px/1.45 "DejaVu Sans", Arial, sans-serif; color: #111; background: #fff;
       max-width: 1180px; margin: 20px auto; padding: 0 16px; }
p, ul { max-width: 760px; }
h1 { font-size: 21px; margin: 0 0 4px; }
h2 { font-size: 16px; margin: 26px 0 8px; padding-bottom: 2px; border-bottom: 1px solid #888; }
p.meta { color: #444; margin: 0 0 14px; }
p.score { font-size: 17px; margin: 8px 0; }
p.claim { margin: 4px 0; }
.score-row { display: flex; flex-wrap: wrap; gap: 8px 28px; align-items: flex-start; }
.rules { max-width: 420px; margin: 8px 0; padding: 6px 10px; border: 1px solid #888;
         background: #f7f7f7; font-size: 13px; }
.rules h3 { font-size: 13px; margin: 0 0 2px; }
.rules ul { margin: 0; padding-left: 18px; }
h3 { font-size: 15px; margin: 18px 0 6px; }
ul.warnings { margin: 6px 0; padding: 6px 10px 6px 28px; border-left: 4px solid #b00020;
              background: #fff4f4; }
table { border-collapse: collapse; margin: 6px 0; }
th, td { padding: 2px 12px 2px 0; text-align: left; vertical-align: top;
         border-bottom: 1px solid #ddd; }
th { border-bottom: 1px solid #888; }
tbody th, tfoot th { font-weight: normal; border-bottom: 1px solid #ddd; }
tfoot th { font-weight: bold; border-top: 1px solid #888; border-bottom: none; }
caption { text-align: left; font-weight: bold; padding: 2px 0; }
summary { cursor: pointer; margin: 6px 0; }
.wide { overflow-x: auto; max-width: 100%; }
.wide table { font-size: 12px; }
.wide th, .wide td { white-space: nowrap; }
.wide td.list { white-space: normal; min-width: 16em; }
.n { text-align: right; font-variant-numeric: tabular-nums; padding-left: 12px; }
tfoot td { font-weight: bold; border-top: 1px solid #888; border-bottom: none; }
.swatch { display: inline-block; width: 10px; height: 10px; margin-right: 6px;
          border: 1px solid #222; vertical-align: baseline; }
pre { font: 13px/1.35 "DejaVu Sans Mono", monospace; tab-size: 8; background: #f5f5f5;
      border: 1px solid #ddd; padding: 8px 10px; white-space: pre-wrap;
      overflow-wrap: anywhere; }
figure { margin: 6px 0 18px; break-inside: avoid; }
figcaption { font-weight: bold; margin-bottom: 2px; }
svg { display: block; width: 100%; max-width: 900px; height: auto; }
@media print {
  body { max-width: none; margin: 0; padding: 0; font-size: 10pt; }
  h2 { break-after: avoid; }
  figure, pre, tr { break-inside: avoid; }
  pre { background: none; }
}
</style>
)";

std::string Heading(const figures::ReportData& data) {
  std::string out = "<title>Contest report: " + host::EscapeHtml(data.log_name) + "</title>\n";
  out +=
      "</head>\n<body>\n<main>\n<h1>Contest report: " + host::EscapeHtml(data.log_name) + "</h1>\n";
  out += "<p class=\"meta\">";
  if (!data.log_facts.empty()) out += host::EscapeHtml(data.log_facts) + ". ";
  out += host::EscapeHtml(data.format_name) +
         " log: " + figures::Number(static_cast<std::int64_t>(data.records_read)) +
         " records read, " + figures::Number(static_cast<std::int64_t>(data.records_used)) +
         " replayed";
  if (!data.settings.empty()) out += " with " + host::EscapeHtml(data.settings);
  out += ". Every figure is the scoring library's own answer. Made by " +
         host::EscapeHtml(data.generator) + ".</p>\n";
  return out;
}

// The rules the library scores by, with this replay's settings, beside the score: the audit's
// "why these points" column refers to them.
std::string RulesBox(const figures::ReportData& data) {
  std::string own_region = data.own_region.empty() ? "none set, so every region differs"
                                                   : host::EscapeHtml(data.own_region);
  return "<aside class=\"rules\" aria-labelledby=\"rules-title\">\n<h3 id=\"rules-title\">How "
         "the library scores</h3>\n<ul>\n<li>1 point when the received exchange starts with a "
         "letter or is the own number (" +
         figures::Number(data.own_number) +
         ")</li>\n<li>5 points when the worked station's region is not the own region (" +
         own_region +
         ")</li>\n<li>3 points otherwise</li>\n<li>A duplicate (same call, band and mode) counts "
         "once</li>\n<li>Multipliers: the different received exchanges on each band</li>\n"
         "<li>Score: all points \u00d7 all multipliers</li>\n</ul>\n</aside>\n";
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return text;
}

// Whether the log's header names another contest than the one the library scores: "KEVO",
// "kevo" and "KEVO-CW" are this one.
bool OtherContest(const figures::ReportData& data) {
  if (data.contest.empty() || data.set_name.empty()) return false;
  std::string contest = Upper(data.contest);
  std::string name = Upper(data.set_name);
  if (contest.compare(0, name.size(), name) != 0) return true;
  return contest.size() > name.size() && contest[name.size()] != '-' && contest[name.size()] != ' ';
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string ClaimedScore(const figures::ReportData& data) {
  std::optional<std::int64_t> claimed = WholeNumber(data.claimed_score);
  std::string out = "<p class=\"claim\">Claimed in the log: " +
                    (claimed ? figures::Number(*claimed) : host::EscapeHtml(data.claimed_score)) +
                    ", computed: " + figures::Number(data.score);
  if (claimed) {
    std::int64_t difference = data.score - *claimed;
    if (difference != 0) {
      out += " (" + figures::Number(difference < 0 ? -difference : difference) +
             (difference < 0 ? " less" : " more") + " than claimed)";
    } else {
      out += " (the same)";
    }
  }
  out += "</p>\n";
  if (OtherContest(data)) {
    out +=
        "<ul class=\"warnings\" aria-label=\"About the claimed score\"><li>The log names the "
        "contest " +
        host::EscapeHtml(data.contest) + ", the library scores " + host::EscapeHtml(data.set_name) +
        ": the claimed score was reckoned by another contest's rules, so the two need not "
        "agree.</li></ul>\n";
  }
  return out;
}

std::string ScoreSection(const figures::ReportData& data) {
  std::string out = "<div class=\"score-row\"><div>\n<p class=\"score\">Score <strong>" +
                    figures::Number(data.score) + "</strong>";
  if (data.figures) {
    out += " = " + figures::Number(data.figures->score_points) + " " +
           (data.figures->score_points == 1 ? "point" : "points") + " \u00d7 " +
           figures::Number(data.figures->score_mults) + " " +
           (data.figures->score_mults == 1 ? "multiplier" : "multipliers");
  }
  out += "</p>\n";
  if (!data.claimed_score.empty()) out += ClaimedScore(data);
  return out + "</div>\n" + RulesBox(data) + "</div>\n";
}

std::size_t SkippedCount(const figures::ReportData& data) {
  std::size_t count = 0;
  for (const host::SkipGroup& group : data.skipped) count += group.lines.size();
  return count;
}

// What makes the score or the charts other than they seem, where the score is read.
std::vector<std::string> Warnings(const figures::ReportData& data) {
  std::vector<std::string> warnings;
  if (data.window && !data.window->outside.empty()) {
    const std::vector<std::size_t>& outside = data.window->outside;
    host::FirstLines first = host::FirstLinesOf(outside, ", ");
    warnings.push_back(
        figures::Plural(outside.size(), "record is", "records are") +
        " dated outside the contest (" + host::FormatUtc(data.window->first) + " to " +
        host::FormatUtc(data.window->last) + " UTC): the library scored " +
        (outside.size() == 1 ? "it" : "them") + ", the charts leave " +
        (outside.size() == 1 ? "it" : "them") + " out. Line" + (outside.size() == 1 ? " " : "s ") +
        first.shown +
        (first.more > 0 ? " and " + figures::Number(static_cast<std::int64_t>(first.more)) + " more"
                        : "") +
        ".");
  }
  for (const std::string& note : data.notes) warnings.push_back(note);
  if (std::size_t skipped = SkippedCount(data); skipped > 0) {
    warnings.push_back(figures::Plural(skipped, "record was", "records were") +
                       " skipped and not scored; the reasons are listed below.");
  }
  if (data.out_of_order > 0) {
    warnings.push_back(figures::Plural(data.out_of_order, "record is", "records are") +
                       " dated before one above them in the file; they were replayed in " +
                       (data.file_order ? "the file's order (--order file)." : "time order."));
  }
  return warnings;
}

std::string WarningList(const figures::ReportData& data) {
  std::vector<std::string> warnings = Warnings(data);
  if (warnings.empty()) return "";
  std::string out = "<ul class=\"warnings\" aria-label=\"Warnings\">\n";
  for (const std::string& warning : warnings) out += "<li>" + host::EscapeHtml(warning) + "</li>\n";
  return out + "</ul>\n";
}

// Points per QSO with two decimals; a dash where the band has no QSO.
std::string PointsPerQso(std::int32_t points, std::int32_t qsos) {
  if (qsos == 0) return "\u2013";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(points) / static_cast<double>(qsos));
  return text;
}

// The library's lines per band, then the QSOs it counted split by mode, and points per QSO.
std::string BandTable(const figures::ReportData& data) {
  if (!data.figures) {
    return "<p>The summary text below does not have the usual form, so no table is made "
           "from it.</p>\n";
  }
  std::vector<std::string> modes;
  std::map<std::pair<std::string, std::string>, std::int64_t> by_mode;  // (band, mode)
  for (const figures::ContactPoint& contact : data.contacts) {
    if (contact.qsos_counted == 0) continue;
    if (std::find(modes.begin(), modes.end(), contact.mode) == modes.end()) {
      modes.push_back(contact.mode);
    }
    by_mode[{contact.band, contact.mode}] += contact.qsos_counted;
  }
  std::string out = figures::OpenBox("Figures per band") +
                    "<table>\n<caption>The library's figures per band, and its QSOs by "
                    "mode</caption>\n<thead><tr><th scope=\"col\">Band</th><th scope=\"col\" "
                    "class=\"n\">QSOs</th><th scope=\"col\" class=\"n\">Points</th><th "
                    "scope=\"col\" class=\"n\">Multipliers</th>";
  for (const std::string& mode : modes) {
    out += "<th scope=\"col\" class=\"n\">" + host::EscapeHtml(mode) + "</th>";
  }
  out += "<th scope=\"col\" class=\"n\">Points per QSO</th></tr></thead>\n<tbody>\n";
  auto mode_cells = [&](const std::string* band) {
    std::string cells;
    for (const std::string& mode : modes) {
      std::int64_t count = 0;
      for (const auto& [key, value] : by_mode) {
        if ((band == nullptr || key.first == *band) && key.second == mode) count += value;
      }
      cells += figures::Cell(figures::Number(count), true);
    }
    return cells;
  };
  std::vector<std::string> order = figures::ReportBands(data);
  for (std::size_t i = 0; i < order.size(); ++i) {
    auto found =
        std::find_if(data.figures->bands.begin(), data.figures->bands.end(),
                     [&](const figures::BandFigures& band) { return band.band == order[i]; });
    if (found == data.figures->bands.end()) continue;
    const figures::BandFigures& band = *found;
    out += "<tr>" +
           figures::RowHeader(
               "<span class=\"swatch\" style=\"background:" + std::string(figures::StyleColour(i)) +
               "\"></span>" + host::EscapeHtml(band.band)) +
           figures::Cell(figures::Number(band.qsos), true) +
           figures::Cell(figures::Number(band.points), true) +
           figures::Cell(figures::Number(band.mults), true) + mode_cells(&band.band) +
           figures::Cell(PointsPerQso(band.points, band.qsos), true) + "</tr>\n";
  }
  const figures::BandFigures& total = data.figures->total;
  out += "</tbody>\n<tfoot><tr>" + figures::RowHeader("Total") +
         figures::Cell(figures::Number(total.qsos), true) +
         figures::Cell(figures::Number(total.points), true) +
         figures::Cell(figures::Number(total.mults), true) + mode_cells(nullptr) +
         figures::Cell(PointsPerQso(total.points, total.qsos), true) +
         "</tr></tfoot>\n</table></div>\n";
  if (data.figures->rates) {
    const figures::RateFigures& rates = *data.figures->rates;
    out += "<p>Rates at the last contact: " + figures::Count(rates.qsos_60, "QSO", "QSOs") +
           " and " + figures::Count(rates.points_60, "point", "points") +
           " in the last 60 minutes; " + figures::Number(rates.qsos_10) + " QSOs and " +
           figures::Number(rates.points_10) + " points per hour over the last 10 minutes.</p>\n";
  }
  return out;
}

std::string Charts(const figures::ReportData& data) {
  std::vector<figures::ReportChart> charts = figures::MakeReportCharts(data);
  if (charts.empty()) return "<p>No contact has a valid time, so there are no charts.</p>\n";
  std::string out;
  for (const figures::ReportChart& chart : charts) {
    // The chart scales to the width: its legend wraps and its labels are part of the drawing.
    out += "<figure>\n<figcaption>" + host::EscapeHtml(chart.caption) + "</figcaption>\n" +
           chart.svg + chart.table + "</figure>\n";
  }
  return out;
}

// Folded, so that a long list neither buries the rest nor fills the printout; the earlier
// contact's full date beside the library's message, which gives a time of day only.
std::string Duplicates(const figures::ReportData& data) {
  if (data.duplicates.empty()) return "<p>None.</p>\n";
  std::string out = "<details>\n<summary>" +
                    figures::Plural(data.duplicates.size(), "duplicate", "duplicates") +
                    ", each counted once by the library</summary>\n";
  out += figures::OpenBox("Duplicates");
  out += figures::OpenTable("Duplicates as the call check flagged them",
                            {{"Time (UTC)", false},
                             {"Call", false},
                             {"Band", false},
                             {"Mode", false},
                             {"First worked (UTC)", false},
                             {"Library's message", false}});
  for (const figures::DuplicateRow& row : data.duplicates) {
    out += "<tr>" + figures::Cell(host::FormatUtc(row.time)) +
           figures::RowHeader(host::EscapeHtml(row.call)) +
           figures::Cell(host::EscapeHtml(row.band)) + figures::Cell(host::EscapeHtml(row.mode)) +
           figures::Cell(host::FormatUtc(row.first_worked)) +
           figures::Cell(host::EscapeHtml(row.message)) + "</tr>\n";
  }
  return out + "</tbody>\n</table></div>\n</details>\n";
}

std::string Skipped(const figures::ReportData& data) {
  if (data.skipped.empty()) return "<p>None.</p>\n";
  std::string out =
      figures::OpenTable("Records left out, by reason",
                         {{"Reason", false}, {"Records", true}, {"First lines", false}});
  for (const host::SkipGroup& group : data.skipped) {
    host::FirstLines first = host::FirstLinesOf(group.lines, ", ");
    std::string lines = first.shown + (first.more > 0 ? ", \u2026" : "");
    std::string reason = host::EscapeHtml(group.reason) + (group.alike ? "" : ", and the like");
    out += "<tr>" + figures::RowHeader(reason) +
           figures::Cell(figures::Number(static_cast<std::int64_t>(group.lines.size())), true) +
           figures::Cell(lines) + "</tr>\n";
  }
  return out + "</tbody>\n</table>\n";
}

}  // namespace

std::string BuildHtmlReport(const figures::ReportData& data) {
  std::string page = kHead + Heading(data);
  page += "<h2>Score</h2>\n" + ScoreSection(data) + WarningList(data) + BandTable(data);
  page += ComparisonSection(data);
  page += "<h2>Over the contest</h2>\n" + Charts(data) + figures::RateSheetSection(data) +
          MultiplierSection(data);
  page += "<h2>Score summary as the library returned it</h2>\n<pre>" +
          host::EscapeHtml(data.summary) + "</pre>\n";
  page += AuditSection(data);
  page += "<h2>Duplicates flagged by the call check (" +
          figures::Number(static_cast<std::int64_t>(data.duplicates.size())) + ")</h2>\n" +
          Duplicates(data);
  page += "<h2>Skipped records (" + figures::Number(static_cast<std::int64_t>(SkippedCount(data))) +
          ")</h2>\n" + Skipped(data);
  return page + "</main>\n</body>\n</html>\n";
}

}  // namespace kevo::replay
