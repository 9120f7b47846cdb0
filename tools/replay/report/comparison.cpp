#include "tools/replay/report/comparison.h"

#include <algorithm>
#include <cctype>

#include "tools/figures/chart_series.h"
#include "tools/figures/contact_pairing.h"
#include "tools/figures/html_table.h"
#include "tools/figures/report_charts.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"
#include "tools/replay/report/head_to_head.h"
#include "tools/replay/report/points_reason.h"

namespace kevo::replay {

namespace {

constexpr std::size_t kRowsShown = 20;

const figures::BandFigures* FindBand(const figures::ReportData& data, const std::string& band) {
  if (!data.figures) return nullptr;
  for (const figures::BandFigures& figures : data.figures->bands) {
    if (figures.band == band) return &figures;
  }
  return nullptr;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string SideBySide(const figures::ReportData& data) {
  std::vector<const figures::ReportData*> logs = {&data};
  for (const figures::ReportData& other : data.compared) logs.push_back(&other);
  std::vector<std::string> bands = figures::ReportBands(data);
  for (const figures::ReportData& other : data.compared) {
    for (const std::string& band : figures::ReportBands(other)) {
      if (std::find(bands.begin(), bands.end(), band) == bands.end()) bands.push_back(band);
    }
  }
  figures::SortBands(bands);
  std::string out =
      "<div class=\"wide\" tabindex=\"0\" role=\"region\" aria-label=\"Figures per band, log "
      "beside log\"><table>\n<caption>The library's figures per band, log beside "
      "log</caption>\n<thead><tr><td></td>";
  for (const figures::ReportData* log : logs) {
    out += "<th scope=\"colgroup\" colspan=\"3\">" + host::EscapeHtml(figures::LogLabel(*log)) +
           "</th>";
  }
  out += "</tr><tr><th scope=\"col\">Band</th>";
  for (std::size_t i = 0; i < logs.size(); ++i) {
    out +=
        "<th scope=\"col\" class=\"n\">QSOs</th><th scope=\"col\" class=\"n\">Points</th>"
        "<th scope=\"col\" class=\"n\">Mults</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  auto cells = [](const figures::BandFigures* figures) {
    if (figures == nullptr) return figures::Cell("") + figures::Cell("") + figures::Cell("");
    return figures::Cell(figures::Number(figures->qsos), true) +
           figures::Cell(figures::Number(figures->points), true) +
           figures::Cell(figures::Number(figures->mults), true);
  };
  for (const std::string& band : bands) {
    out += "<tr>" + figures::RowHeader(host::EscapeHtml(figures::BandLabel(band)));
    for (const figures::ReportData* log : logs) out += cells(FindBand(*log, band));
    out += "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr>" + figures::RowHeader("Total");
  for (const figures::ReportData* log : logs)
    out += cells(log->figures ? &log->figures->total : nullptr);
  out += "</tr><tr>" + figures::RowHeader("Score");
  for (const figures::ReportData* log : logs) {
    out += "<td class=\"n\" colspan=\"3\">" + figures::Number(log->score) + "</td>";
  }
  return out + "</tr></tfoot>\n</table></div>\n";
}

std::string ScoredApartTable(const figures::ReportData& data, const figures::ReportData& other,
                             std::size_t in_common) {
  std::string names = host::EscapeHtml(data.log_name) + " and " + host::EscapeHtml(other.log_name);
  if (in_common == 0) return "<p>" + names + ": 0 contacts in common.</p>\n";
  std::vector<ScoredApart> apart = ContactsScoredApart(data, other);
  std::string common = figures::Plural(in_common, "contact", "contacts") + " in common";
  if (apart.empty()) {
    return "<p>" + names + ": " + common +
           ", and the library gave each the same points and multipliers in both.</p>\n";
  }
  // Appended piece by piece: GCC 12 misreads "text" + a temporary as an overlapping copy.
  std::string out = "<p>" + names + ": " + common + "; ";
  out += figures::Plural(apart.size(), "of them", "of them");
  out += " scored differently";
  if (apart.size() > kRowsShown) {
    out += "; the first ";
    out += std::to_string(kRowsShown);
  }
  out += ":</p>\n";
  out +=
      "<div class=\"wide\" tabindex=\"0\" role=\"region\" aria-label=\"Contacts scored "
      "differently: " +
      names + "\">";
  out += figures::OpenTable("Contacts scored differently: " + names, {{"Time (UTC)", false},
                                                                      {"Call", false},
                                                                      {"Band", false},
                                                                      {"Points", true},
                                                                      {"Points there", true},
                                                                      {"Why", false}});
  for (std::size_t i = 0; i < apart.size() && i < kRowsShown; ++i) {
    const figures::ContactPoint& own = *apart[i].own;
    const figures::ContactPoint& theirs = *apart[i].other;
    out += "<tr>" + figures::Cell(host::FormatUtc(own.time)) +
           figures::RowHeader(host::EscapeHtml(own.call)) +
           figures::Cell(host::EscapeHtml(figures::BandLabel(own.band))) +
           figures::Cell(own.points ? figures::Number(*own.points) : "?", true) +
           figures::Cell(theirs.points ? figures::Number(*theirs.points) : "?", true) +
           figures::Cell(host::EscapeHtml(ScoredApartReason(own, data, theirs, other))) + "</tr>\n";
  }
  return out + "</tbody>\n</table></div>\n";
}

}  // namespace

std::vector<ScoredApart> ContactsScoredApart(const figures::ReportData& own,
                                             const figures::ReportData& other) {
  std::vector<ScoredApart> apart;
  for (const figures::ContactPair& pair :
       figures::PairContacts(own, other, figures::ShiftOf(own, other)).both) {
    if (pair.own->points != pair.other->points || pair.own->new_mults != pair.other->new_mults) {
      apart.push_back({pair.own, pair.other});
    }
  }
  return apart;
}

std::vector<std::string> ComparisonWarnings(const figures::ReportData& data) {
  std::vector<std::string> warnings;
  for (const figures::ReportData& other : data.compared) {
    if (figures::ShiftOf(data, other) != 0.0) {
      warnings.push_back(other.log_name + " is dated " + figures::LogDates(other) + ", " +
                         data.log_name + " " + figures::LogDates(data) +
                         ": the charts set them side by side by the time since each log's "
                         "start, and pair contacts on that time.");
    }
    if (!data.contest.empty() && !other.contest.empty() &&
        Upper(data.contest) != Upper(other.contest)) {
      warnings.push_back(other.log_name + " is a log of the contest " + other.contest + ", " +
                         data.log_name + " of " + data.contest +
                         ": the library scored both by the same rules.");
    }
  }
  return warnings;
}

std::string ComparisonSection(const figures::ReportData& data) {
  if (data.compared.empty()) return "";
  std::string out =
      "<h2 id=\"compare\">Log beside log</h2>\n<p>Each log was replayed through "
      "its own fresh session of the library. Contacts are the same contact in two logs when "
      "call, band and mode agree and their times lie within " +
      figures::Number(static_cast<std::int64_t>(figures::kPairingMinutes)) +
      " minutes; a duplicate pairs only with a duplicate.</p>\n";
  std::vector<std::string> warnings = ComparisonWarnings(data);
  if (!warnings.empty()) {
    out += "<ul class=\"warnings\" aria-label=\"Before comparing\">\n";
    for (const std::string& warning : warnings)
      out += "<li>" + host::EscapeHtml(warning) + "</li>\n";
    out += "</ul>\n";
  }
  out += SideBySide(data);
  for (const figures::ReportData& other : data.compared) {
    figures::Pairing pairing = figures::PairContacts(data, other, figures::ShiftOf(data, other));
    out += ScoredApartTable(data, other, pairing.both.size());
    out += HeadToHead(data, other, pairing);
  }
  return out;
}

}  // namespace kevo::replay
