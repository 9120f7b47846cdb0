#include "tools/replay/report/head_to_head.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/replay/inputs/linear_time.h"
#include "tools/replay/report/html_escape.h"
#include "tools/replay/report/html_table.h"
#include "tools/replay/report/points_reason.h"
#include "tools/replay/report/report_charts.h"

namespace kevo::replay {

namespace {

std::int32_t BandFigure(const ReportData& data, const std::string& band,
                        std::int32_t BandFigures::*figure) {
  if (!data.figures) return 0;
  for (const BandFigures& figures : data.figures->bands) {
    if (figures.band == band) return figures.*figure;
  }
  return 0;
}

std::string Signed(std::int64_t value) {
  std::string out = value > 0 ? "+" : "";
  out += Number(value);
  return out;
}

// The contact that brought each multiplier of each band, in the order they were worked.
std::map<std::string, std::map<std::string, const ContactPoint*>> MultiplierContacts(
    const ReportData& data) {
  std::map<std::string, std::map<std::string, const ContactPoint*>> found;
  for (const ContactPoint& contact : data.contacts) {
    if (contact.new_mults.value_or(0) > 0) found[contact.band].emplace(contact.received, &contact);
  }
  return found;
}

std::vector<std::string> BandsOfBoth(const ReportData& own, const ReportData& other) {
  std::vector<std::string> bands = ReportBands(own);
  for (const std::string& band : ReportBands(other)) {
    if (std::find(bands.begin(), bands.end(), band) == bands.end()) bands.push_back(band);
  }
  SortBands(bands);
  return bands;
}

std::string BandTable(const ReportData& own, const ReportData& other, const Pairing& pairing,
                      const std::vector<std::string>& bands) {
  std::map<std::string, std::int64_t> both, only_own, only_other;
  for (const ContactPair& pair : pairing.both) ++both[pair.own->band];
  for (const ContactPoint* contact : pairing.only_own) ++only_own[contact->band];
  for (const ContactPoint* contact : pairing.only_other) ++only_other[contact->band];
  std::string names = EscapeHtml(own.log_name) + " against " + EscapeHtml(other.log_name);
  std::string out = OpenBox("Head to head per band: " + names);
  out += OpenTable("Head to head per band: " + names, {{"Band", false},
                                                       {"Contacts in both", true},
                                                       {"Only here", true},
                                                       {"Only there", true},
                                                       {"Points here less there", true},
                                                       {"Multipliers here less there", true}});
  std::int64_t sums[5] = {};
  for (const std::string& band : bands) {
    std::int64_t points =
        BandFigure(own, band, &BandFigures::points) - BandFigure(other, band, &BandFigures::points);
    std::int64_t mults =
        BandFigure(own, band, &BandFigures::mults) - BandFigure(other, band, &BandFigures::mults);
    std::int64_t row[5] = {both[band], only_own[band], only_other[band], points, mults};
    out += "<tr>" + RowHeader(EscapeHtml(BandLabel(band)));
    for (std::size_t i = 0; i < 5; ++i) {
      sums[i] += row[i];
      out += Cell(i < 3 ? Number(row[i]) : Signed(row[i]), true);
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr>" + RowHeader("Total");
  for (std::size_t i = 0; i < 5; ++i) out += Cell(i < 3 ? Number(sums[i]) : Signed(sums[i]), true);
  out += "</tr><tr>" + RowHeader("Score here less there") + "<td class=\"n\" colspan=\"5\">" +
         Signed(std::int64_t{own.score} - other.score) + "</td></tr></tfoot>\n</table></div>\n";
  return out;
}

std::string MultiplierList(const std::vector<const ContactPoint*>& contacts) {
  std::string out;
  for (const ContactPoint* contact : contacts) {
    if (!out.empty()) out += ", ";
    out += "<strong>" + EscapeHtml(MultiplierName(contact->received)) + "</strong> (" +
           EscapeHtml(contact->call) + " " + FormatUtc(contact->time).substr(11) + ")";
  }
  return out.empty() ? "\u2013" : out;
}

std::string MissedTable(const ReportData& own, const ReportData& other) {
  std::vector<MissedMultipliers> missed = MultipliersApart(own, other);
  if (missed.empty()) return "<p>Both logs worked the same multipliers on every band.</p>\n";
  std::string names = EscapeHtml(own.log_name) + " and " + EscapeHtml(other.log_name);
  std::string out = OpenBox("Multipliers one log worked and the other missed: " + names);
  out += OpenTable(
      "Multipliers one log worked and the other missed, with the contact (UTC) that "
      "brought each",
      {{"Band", false}, {"Only here", false}, {"Only there", false}});
  for (const MissedMultipliers& band : missed) {
    out += "<tr>" + RowHeader(EscapeHtml(BandLabel(band.band))) + "<td class=\"list\">" +
           MultiplierList(band.only_own) + "</td><td class=\"list\">" +
           MultiplierList(band.only_other) + "</td></tr>\n";
  }
  return out + "</tbody>\n</table></div>\n";
}

// QSOs the library counted per hour from each log's first hour, the other log moved by the
// same shift as in the charts.
std::string RatesSideBySide(const ReportData& own, const ReportData& other) {
  std::optional<LogSpan> span = SpanOf(own);
  if (!span) return "";
  double shift = ShiftOf(own, other);
  double start = std::floor(span->first * 24.0 + 1e-6) / 24.0;
  std::map<std::int64_t, std::pair<std::int64_t, std::int64_t>> hours;
  auto add = [&](const ReportData& data, double moved, bool mine) {
    for (const ContactPoint& contact : data.contacts) {
      if (!contact.time || contact.qsos_counted == 0) continue;
      auto hour =
          static_cast<std::int64_t>(std::floor((*contact.time + moved - start) * 24.0 + 1e-6));
      auto& counts = hours[hour];
      (mine ? counts.first : counts.second) += contact.qsos_counted;
    }
  };
  add(own, 0.0, true);
  add(other, shift, false);
  if (hours.empty()) return "";
  std::string names = EscapeHtml(own.log_name) + " and " + EscapeHtml(other.log_name);
  std::string out = "<details>\n<summary>Rate sheets side by side, hour by hour</summary>\n";
  out += OpenBox("Rate sheets side by side: " + names);
  // Appended piece by piece: GCC 12 misreads "text" + a temporary as an overlapping copy.
  out += "<table>\n<caption>QSOs per hour: ";
  out += names;
  out += "</caption>\n<thead><tr><th scope=\"col\">";
  out += shift == 0.0 ? "Hour (UTC)" : "Hour since the start";
  out += "</th><th scope=\"col\" class=\"n\">";
  out += EscapeHtml(own.log_name);
  out += "</th><th scope=\"col\" class=\"n\">";
  out += EscapeHtml(other.log_name);
  out += "</th><th scope=\"col\" class=\"n\">Here less there</th></tr></thead>\n<tbody>\n";
  std::int64_t first = hours.begin()->first, last = hours.rbegin()->first;
  for (std::int64_t hour = first; hour <= last; ++hour) {
    auto [mine, theirs] = hours[hour];
    std::string label = shift == 0.0 ? FormatUtc(start + static_cast<double>(hour) / 24.0)
                                     : "hour " + Number(hour + 1);
    out += "<tr>" + RowHeader(label) + Cell(Number(mine), true) + Cell(Number(theirs), true) +
           Cell(Signed(mine - theirs), true) + "</tr>\n";
  }
  return out + "</tbody>\n</table></div>\n</details>\n";
}

}  // namespace

std::vector<MissedMultipliers> MultipliersApart(const ReportData& own, const ReportData& other) {
  auto mine = MultiplierContacts(own);
  auto theirs = MultiplierContacts(other);
  std::vector<MissedMultipliers> missed;
  for (const std::string& band : BandsOfBoth(own, other)) {
    MissedMultipliers entry{band, {}, {}};
    auto collect = [&](const auto& from, const auto& against, auto& into) {
      auto found = from.find(band);
      if (found == from.end()) return;
      auto there = against.find(band);
      for (const auto& [name, contact] : found->second) {
        if (there == against.end() || !there->second.count(name)) into.push_back(contact);
      }
      std::sort(into.begin(), into.end(), [](const ContactPoint* a, const ContactPoint* b) {
        return a->time.value_or(0.0) < b->time.value_or(0.0);
      });
    };
    collect(mine, theirs, entry.only_own);
    collect(theirs, mine, entry.only_other);
    if (!entry.only_own.empty() || !entry.only_other.empty()) missed.push_back(std::move(entry));
  }
  return missed;
}

std::string HeadToHead(const ReportData& own, const ReportData& other, const Pairing& pairing) {
  std::string out = "<h3>Head to head: " + EscapeHtml(own.log_name) + " against " +
                    EscapeHtml(other.log_name) + "</h3>\n";
  out += BandTable(own, other, pairing, BandsOfBoth(own, other));
  out += MissedTable(own, other);
  return out + RatesSideBySide(own, other);
}

}  // namespace kevo::replay
