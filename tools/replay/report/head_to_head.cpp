#include "tools/replay/report/head_to_head.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/figures/html_table.h"
#include "tools/figures/report_charts.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"
#include "tools/replay/report/points_reason.h"

namespace kevo::replay {

namespace {

std::int32_t BandFigure(const figures::ReportData& data, const std::string& band,
                        std::int32_t figures::BandFigures::*figure) {
  if (!data.figures) return 0;
  for (const figures::BandFigures& line : data.figures->bands) {
    if (line.band == band) return line.*figure;
  }
  return 0;
}

std::string Signed(std::int64_t value) {
  std::string out = value > 0 ? "+" : "";
  out += figures::Number(value);
  return out;
}

// The contact that brought each multiplier of each band, in the order they were worked.
std::map<std::string, std::map<std::string, const figures::ContactPoint*>> MultiplierContacts(
    const figures::ReportData& data) {
  std::map<std::string, std::map<std::string, const figures::ContactPoint*>> found;
  for (const figures::ContactPoint& contact : data.contacts) {
    if (contact.new_mults.value_or(0) > 0) found[contact.band].emplace(contact.received, &contact);
  }
  return found;
}

std::vector<std::string> BandsOfBoth(const figures::ReportData& own,
                                     const figures::ReportData& other) {
  std::vector<std::string> bands = figures::ReportBands(own);
  for (const std::string& band : figures::ReportBands(other)) {
    if (std::find(bands.begin(), bands.end(), band) == bands.end()) bands.push_back(band);
  }
  figures::SortBands(bands);
  return bands;
}

std::string BandTable(const figures::ReportData& own, const figures::ReportData& other,
                      const figures::Pairing& pairing, const std::vector<std::string>& bands) {
  std::map<std::string, std::int64_t> both, only_own, only_other;
  for (const figures::ContactPair& pair : pairing.both) ++both[pair.own->band];
  for (const figures::ContactPoint* contact : pairing.only_own) ++only_own[contact->band];
  for (const figures::ContactPoint* contact : pairing.only_other) ++only_other[contact->band];
  std::string names =
      host::EscapeHtml(own.log_name) + " against " + host::EscapeHtml(other.log_name);
  std::string out = figures::OpenBox("Head to head per band: " + names);
  out += figures::OpenTable("Head to head per band: " + names,
                            {{"Band", false},
                             {"Contacts in both", true},
                             {"Only here", true},
                             {"Only there", true},
                             {"Points here less there", true},
                             {"Multipliers here less there", true}});
  std::int64_t sums[5] = {};
  for (const std::string& band : bands) {
    std::int64_t points = BandFigure(own, band, &figures::BandFigures::points) -
                          BandFigure(other, band, &figures::BandFigures::points);
    std::int64_t mults = BandFigure(own, band, &figures::BandFigures::mults) -
                         BandFigure(other, band, &figures::BandFigures::mults);
    std::int64_t row[5] = {both[band], only_own[band], only_other[band], points, mults};
    out += "<tr>" + figures::RowHeader(host::EscapeHtml(figures::BandLabel(band)));
    for (std::size_t i = 0; i < 5; ++i) {
      sums[i] += row[i];
      out += figures::Cell(i < 3 ? figures::Number(row[i]) : Signed(row[i]), true);
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr>" + figures::RowHeader("Total");
  for (std::size_t i = 0; i < 5; ++i)
    out += figures::Cell(i < 3 ? figures::Number(sums[i]) : Signed(sums[i]), true);
  out += "</tr><tr>" + figures::RowHeader("Score here less there") +
         "<td class=\"n\" colspan=\"5\">" + Signed(std::int64_t{own.score} - other.score) +
         "</td></tr></tfoot>\n</table></div>\n";
  return out;
}

std::string MultiplierList(const std::vector<const figures::ContactPoint*>& contacts) {
  std::string out;
  for (const figures::ContactPoint* contact : contacts) {
    if (!out.empty()) out += ", ";
    out += "<strong>" + host::EscapeHtml(MultiplierName(contact->received)) + "</strong> (" +
           host::EscapeHtml(contact->call) + " " + host::FormatUtc(contact->time).substr(11) + ")";
  }
  return out.empty() ? "\u2013" : out;
}

std::string MissedTable(const figures::ReportData& own, const figures::ReportData& other) {
  std::vector<MissedMultipliers> missed = MultipliersApart(own, other);
  if (missed.empty()) return "<p>Both logs worked the same multipliers on every band.</p>\n";
  std::string names = host::EscapeHtml(own.log_name) + " and " + host::EscapeHtml(other.log_name);
  std::string out = figures::OpenBox("Multipliers one log worked and the other missed: " + names);
  out += figures::OpenTable(
      "Multipliers one log worked and the other missed, with the contact (UTC) that "
      "brought each",
      {{"Band", false}, {"Only here", false}, {"Only there", false}});
  for (const MissedMultipliers& band : missed) {
    out += "<tr>" + figures::RowHeader(host::EscapeHtml(figures::BandLabel(band.band))) +
           "<td class=\"list\">" + MultiplierList(band.only_own) + "</td><td class=\"list\">" +
           MultiplierList(band.only_other) + "</td></tr>\n";
  }
  return out + "</tbody>\n</table></div>\n";
}

// QSOs the library counted per hour from each log's first hour, the other log moved by the
// same shift as in the charts.
std::string RatesSideBySide(const figures::ReportData& own, const figures::ReportData& other) {
  std::optional<figures::LogSpan> span = figures::SpanOf(own);
  if (!span) return "";
  double shift = figures::ShiftOf(own, other);
  double start = std::floor(span->first * 24.0 + 1e-6) / 24.0;
  std::map<std::int64_t, std::pair<std::int64_t, std::int64_t>> hours;
  auto add = [&](const figures::ReportData& data, double moved, bool mine) {
    for (const figures::ContactPoint& contact : data.contacts) {
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
  std::string names = host::EscapeHtml(own.log_name) + " and " + host::EscapeHtml(other.log_name);
  std::string out = "<details>\n<summary>Rate sheets side by side, hour by hour</summary>\n";
  out += figures::OpenBox("Rate sheets side by side: " + names);
  // Appended piece by piece: GCC 12 misreads "text" + a temporary as an overlapping copy.
  out += "<table>\n<caption>QSOs per hour: ";
  out += names;
  out += "</caption>\n<thead><tr><th scope=\"col\">";
  out += shift == 0.0 ? "Hour (UTC)" : "Hour since the start";
  out += "</th><th scope=\"col\" class=\"n\">";
  out += host::EscapeHtml(own.log_name);
  out += "</th><th scope=\"col\" class=\"n\">";
  out += host::EscapeHtml(other.log_name);
  out += "</th><th scope=\"col\" class=\"n\">Here less there</th></tr></thead>\n<tbody>\n";
  std::int64_t first = hours.begin()->first, last = hours.rbegin()->first;
  for (std::int64_t hour = first; hour <= last; ++hour) {
    auto [mine, theirs] = hours[hour];
    std::string label = shift == 0.0 ? host::FormatUtc(start + static_cast<double>(hour) / 24.0)
                                     : "hour " + figures::Number(hour + 1);
    out += "<tr>" + figures::RowHeader(label) + figures::Cell(figures::Number(mine), true) +
           figures::Cell(figures::Number(theirs), true) +
           figures::Cell(Signed(mine - theirs), true) + "</tr>\n";
  }
  return out + "</tbody>\n</table></div>\n</details>\n";
}

}  // namespace

std::vector<MissedMultipliers> MultipliersApart(const figures::ReportData& own,
                                                const figures::ReportData& other) {
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
      std::sort(into.begin(), into.end(),
                [](const figures::ContactPoint* a, const figures::ContactPoint* b) {
                  return a->time.value_or(0.0) < b->time.value_or(0.0);
                });
    };
    collect(mine, theirs, entry.only_own);
    collect(theirs, mine, entry.only_other);
    if (!entry.only_own.empty() || !entry.only_other.empty()) missed.push_back(std::move(entry));
  }
  return missed;
}

std::string HeadToHead(const figures::ReportData& own, const figures::ReportData& other,
                       const figures::Pairing& pairing) {
  std::string out = "<h3>Head to head: " + host::EscapeHtml(own.log_name) + " against " +
                    host::EscapeHtml(other.log_name) + "</h3>\n";
  out += BandTable(own, other, pairing, BandsOfBoth(own, other));
  out += MissedTable(own, other);
  return out + RatesSideBySide(own, other);
}

}  // namespace kevo::replay
