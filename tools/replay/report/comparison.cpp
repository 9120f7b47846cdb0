#include "tools/replay/report/comparison.h"

#include <algorithm>
#include <cctype>

#include "tools/replay/inputs/linear_time.h"
#include "tools/replay/report/chart_series.h"
#include "tools/replay/report/contact_pairing.h"
#include "tools/replay/report/head_to_head.h"
#include "tools/replay/report/html_escape.h"
#include "tools/replay/report/html_table.h"
#include "tools/replay/report/points_reason.h"
#include "tools/replay/report/report_charts.h"

namespace kevo::replay {

namespace {

constexpr std::size_t kRowsShown = 20;

const BandFigures* FindBand(const ReportData& data, const std::string& band) {
  if (!data.figures) return nullptr;
  for (const BandFigures& figures : data.figures->bands) {
    if (figures.band == band) return &figures;
  }
  return nullptr;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string SideBySide(const ReportData& data) {
  std::vector<const ReportData*> logs = {&data};
  for (const ReportData& other : data.compared) logs.push_back(&other);
  std::vector<std::string> bands = ReportBands(data);
  for (const ReportData& other : data.compared) {
    for (const std::string& band : ReportBands(other)) {
      if (std::find(bands.begin(), bands.end(), band) == bands.end()) bands.push_back(band);
    }
  }
  SortBands(bands);
  std::string out =
      "<div class=\"wide\" tabindex=\"0\" role=\"region\" aria-label=\"Figures per band, log "
      "beside log\"><table>\n<caption>The library's figures per band, log beside "
      "log</caption>\n<thead><tr><td></td>";
  for (const ReportData* log : logs) {
    out += "<th scope=\"colgroup\" colspan=\"3\">" + EscapeHtml(LogLabel(*log)) + "</th>";
  }
  out += "</tr><tr><th scope=\"col\">Band</th>";
  for (std::size_t i = 0; i < logs.size(); ++i) {
    out +=
        "<th scope=\"col\" class=\"n\">QSOs</th><th scope=\"col\" class=\"n\">Points</th>"
        "<th scope=\"col\" class=\"n\">Mults</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  auto cells = [](const BandFigures* figures) {
    if (figures == nullptr) return Cell("") + Cell("") + Cell("");
    return Cell(Number(figures->qsos), true) + Cell(Number(figures->points), true) +
           Cell(Number(figures->mults), true);
  };
  for (const std::string& band : bands) {
    out += "<tr>" + RowHeader(EscapeHtml(BandLabel(band)));
    for (const ReportData* log : logs) out += cells(FindBand(*log, band));
    out += "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr>" + RowHeader("Total");
  for (const ReportData* log : logs) out += cells(log->figures ? &log->figures->total : nullptr);
  out += "</tr><tr>" + RowHeader("Score");
  for (const ReportData* log : logs) {
    out += "<td class=\"n\" colspan=\"3\">" + Number(log->score) + "</td>";
  }
  return out + "</tr></tfoot>\n</table></div>\n";
}

std::string ScoredApartTable(const ReportData& data, const ReportData& other,
                             std::size_t in_common) {
  std::string names = EscapeHtml(data.log_name) + " and " + EscapeHtml(other.log_name);
  if (in_common == 0) return "<p>" + names + ": 0 contacts in common.</p>\n";
  std::vector<ScoredApart> apart = ContactsScoredApart(data, other);
  std::string common = Plural(in_common, "contact", "contacts") + " in common";
  if (apart.empty()) {
    return "<p>" + names + ": " + common +
           ", and the library gave each the same points and multipliers in both.</p>\n";
  }
  // Appended piece by piece: GCC 12 misreads "text" + a temporary as an overlapping copy.
  std::string out = "<p>" + names + ": " + common + "; ";
  out += Plural(apart.size(), "of them", "of them");
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
  out += OpenTable("Contacts scored differently: " + names, {{"Time (UTC)", false},
                                                             {"Call", false},
                                                             {"Band", false},
                                                             {"Points", true},
                                                             {"Points there", true},
                                                             {"Why", false}});
  for (std::size_t i = 0; i < apart.size() && i < kRowsShown; ++i) {
    const ContactPoint& own = *apart[i].own;
    const ContactPoint& theirs = *apart[i].other;
    out += "<tr>" + Cell(FormatUtc(own.time)) + RowHeader(EscapeHtml(own.call)) +
           Cell(EscapeHtml(BandLabel(own.band))) +
           Cell(own.points ? Number(*own.points) : "?", true) +
           Cell(theirs.points ? Number(*theirs.points) : "?", true) +
           Cell(EscapeHtml(ScoredApartReason(own, data, theirs, other))) + "</tr>\n";
  }
  return out + "</tbody>\n</table></div>\n";
}

}  // namespace

std::vector<ScoredApart> ContactsScoredApart(const ReportData& own, const ReportData& other) {
  std::vector<ScoredApart> apart;
  for (const ContactPair& pair : PairContacts(own, other, ShiftOf(own, other)).both) {
    if (pair.own->points != pair.other->points || pair.own->new_mults != pair.other->new_mults) {
      apart.push_back({pair.own, pair.other});
    }
  }
  return apart;
}

std::vector<std::string> ComparisonWarnings(const ReportData& data) {
  std::vector<std::string> warnings;
  for (const ReportData& other : data.compared) {
    if (ShiftOf(data, other) != 0.0) {
      warnings.push_back(other.log_name + " is dated " + LogDates(other) + ", " + data.log_name +
                         " " + LogDates(data) +
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

std::string ComparisonSection(const ReportData& data) {
  if (data.compared.empty()) return "";
  std::string out =
      "<h2 id=\"compare\">Log beside log</h2>\n<p>Each log was replayed through "
      "its own fresh session of the library. Contacts are the same contact in two logs when "
      "call, band and mode agree and their times lie within " +
      Number(static_cast<std::int64_t>(kPairingMinutes)) +
      " minutes; a duplicate pairs only with a duplicate.</p>\n";
  std::vector<std::string> warnings = ComparisonWarnings(data);
  if (!warnings.empty()) {
    out += "<ul class=\"warnings\" aria-label=\"Before comparing\">\n";
    for (const std::string& warning : warnings) out += "<li>" + EscapeHtml(warning) + "</li>\n";
    out += "</ul>\n";
  }
  out += SideBySide(data);
  for (const ReportData& other : data.compared) {
    Pairing pairing = PairContacts(data, other, ShiftOf(data, other));
    out += ScoredApartTable(data, other, pairing.both.size());
    out += HeadToHead(data, other, pairing);
  }
  return out;
}

}  // namespace kevo::replay
