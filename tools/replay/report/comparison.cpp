#include "tools/replay/report/comparison.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "tools/replay/inputs/linear_time.h"
#include "tools/replay/report/html_escape.h"
#include "tools/replay/report/html_table.h"
#include "tools/replay/report/report_charts.h"

namespace kevo::replay {

namespace {

constexpr std::size_t kRowsShown = 20;

// Logs of one contest written by different programs agree on the minute, not the second:
// Cabrillo drops the seconds, so a contact's minute is the one it began in.
using ContactKey = std::tuple<std::string, std::string, std::string, std::int64_t>;

std::optional<ContactKey> KeyOf(const ContactPoint& contact) {
  if (!contact.time) return std::nullopt;
  auto minute = static_cast<std::int64_t>(std::floor(*contact.time * 1440.0 + 1e-6));
  return ContactKey{contact.call, contact.band, contact.mode, minute};
}

const BandFigures* FindBand(const ReportData& data, const std::string& band) {
  if (!data.figures) return nullptr;
  for (const BandFigures& figures : data.figures->bands) {
    if (figures.band == band) return &figures;
  }
  return nullptr;
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
  std::string out =
      "<div class=\"wide\" tabindex=\"0\"><table>\n<caption>The library's figures per band, log "
      "beside log</caption>\n<thead><tr><td></td>";
  for (const ReportData* log : logs) {
    out += "<th scope=\"colgroup\" colspan=\"3\">" + EscapeHtml(log->log_name) + "</th>";
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

std::string ScoredApartTable(const ReportData& data, const ReportData& other) {
  std::vector<ScoredApart> apart = ContactsScoredApart(data, other);
  std::string names = EscapeHtml(data.log_name) + " and " + EscapeHtml(other.log_name);
  if (apart.empty()) {
    return "<p>The contacts that " + names +
           " both hold earned the same points and multipliers.</p>\n";
  }
  // Appended piece by piece: GCC 12 misreads "text" + a temporary as an overlapping copy.
  std::string out = "<p>";
  out += Plural(apart.size(), "contact", "contacts");
  out += " that " + names + " both hold scored differently";
  if (apart.size() > kRowsShown) {
    out += "; the first ";
    out += std::to_string(kRowsShown);
  }
  out += ":</p>\n";
  out += OpenTable("Contacts scored differently: " + names, {{"Time (UTC)", false},
                                                             {"Call", false},
                                                             {"Band", false},
                                                             {"Exchange", false},
                                                             {"Points", true},
                                                             {"Exchange there", false},
                                                             {"Points there", true}});
  for (std::size_t i = 0; i < apart.size() && i < kRowsShown; ++i) {
    const ContactPoint& own = *apart[i].own;
    const ContactPoint& theirs = *apart[i].other;
    out += "<tr>" + Cell(FormatUtc(own.time)) + RowHeader(EscapeHtml(own.call)) +
           Cell(EscapeHtml(BandLabel(own.band))) + Cell(EscapeHtml(own.received)) +
           Cell(own.points ? Number(*own.points) : "?", true) + Cell(EscapeHtml(theirs.received)) +
           Cell(theirs.points ? Number(*theirs.points) : "?", true) + "</tr>\n";
  }
  return out + "</tbody>\n</table>\n";
}

}  // namespace

std::vector<ScoredApart> ContactsScoredApart(const ReportData& own, const ReportData& other) {
  std::map<ContactKey, const ContactPoint*> theirs;
  for (const ContactPoint& contact : other.contacts) {
    if (auto key = KeyOf(contact)) theirs.emplace(*key, &contact);
  }
  std::vector<ScoredApart> apart;
  for (const ContactPoint& contact : own.contacts) {
    auto key = KeyOf(contact);
    if (!key) continue;
    auto found = theirs.find(*key);
    if (found == theirs.end()) continue;
    const ContactPoint& match = *found->second;
    if (contact.points != match.points || contact.new_mults != match.new_mults) {
      apart.push_back({&contact, &match});
    }
  }
  return apart;
}

std::string ComparisonSection(const ReportData& data) {
  if (data.compared.empty()) return "";
  std::string out =
      "<h2 id=\"compare\">Log beside log</h2>\n<p>Each log was replayed through "
      "its own fresh session of the library.</p>\n" +
      SideBySide(data);
  for (const ReportData& other : data.compared) out += ScoredApartTable(data, other);
  return out;
}

}  // namespace kevo::replay
