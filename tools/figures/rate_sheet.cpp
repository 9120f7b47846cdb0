#include "tools/figures/rate_sheet.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "tools/figures/html_table.h"
#include "tools/figures/report_charts.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"

namespace kevo::figures {

namespace {

constexpr double kMinutesPerDay = 1440.0;

bool InWindow(const ReportData& data, const ReportTime& time) {
  if (!time) return false;
  return !data.window || (*time >= data.window->first && *time <= data.window->last);
}

// "3 h 05 min", "45 min".
std::string Duration(double days) {
  auto minutes = static_cast<std::int64_t>(std::llround(days * kMinutesPerDay));
  std::string text = minutes >= 60 ? Number(minutes / 60) + " h " : "";
  std::int64_t rest = minutes % 60;
  return text + (minutes >= 60 && rest < 10 ? "0" : "") + std::to_string(rest) + " min";
}

template <typename Rate>
BestRate Best(const ReportData& data, Rate rate) {
  BestRate best;
  for (const ContactPoint& contact : data.contacts) {
    if (!contact.rates || !InWindow(data, contact.time)) continue;
    if (!best.at || rate(*contact.rates) > best.qsos) best = {rate(*contact.rates), contact.time};
  }
  return best;
}

std::string BestRates(const ReportData& data) {
  BestRate hour = BestSixtyMinutes(data);
  BestRate ten = BestTenMinutes(data);
  if (!hour.at) {
    return "<p>The library wrote no rates (they were suppressed), so there are no best "
           "rates.</p>\n";
  }
  return "<p>Best 60 minutes: <strong>" + Number(hour.qsos) + "</strong> " +
         (hour.qsos == 1 ? "QSO" : "QSOs") + ", up to " + host::FormatUtc(hour.at) +
         " UTC. Best 10 minutes: <strong>" + Number(ten.qsos) + "</strong> QSOs per hour (" +
         Number(ten.qsos / 6) + " in ten minutes), up to " + host::FormatUtc(ten.at) +
         " UTC. Both as the library reported its rates after each "
         "contact.</p>\n";
}

std::string OperatingTime(const ReportData& data) {
  std::vector<OffTime> off = FindOffTimes(data, data.break_minutes);
  double first = 0.0, last = 0.0, off_days = 0.0;
  bool any = false;
  for (const ContactPoint& contact : data.contacts) {
    if (!InWindow(data, contact.time)) continue;
    first = any ? std::min(first, *contact.time) : *contact.time;
    last = any ? std::max(last, *contact.time) : *contact.time;
    any = true;
  }
  for (const OffTime& pause : off) off_days += pause.to - pause.from;
  std::string pause = std::to_string(data.break_minutes) + " minutes or more between contacts";
  std::string out = "<p>Operating time <strong>" + Duration(last - first - off_days) +
                    "</strong>: from the first contact to the last, " + Duration(last - first);
  if (off.empty()) return out + ", with no pause of " + pause + ".</p>\n";
  out += ", less " + Plural(off.size(), "off-time", "off-times") + " of " + pause;
  out += ":</p>\n";
  out += OpenTable("Off-times", {{"From (UTC)", false}, {"To (UTC)", false}, {"Length", true}});
  for (const OffTime& pause : off) {
    out += "<tr>" + RowHeader(host::FormatUtc(pause.from)) + Cell(host::FormatUtc(pause.to)) +
           Cell(Duration(pause.to - pause.from), true) + "</tr>\n";
  }
  return out + "</tbody>\n</table>\n";
}

// Rows: the hours of the window; columns: every band and mode worked, then the hour's total
// and the running total.
std::string HourlyTable(const ReportData& data) {
  std::vector<std::string> bands = ReportBands(data);
  std::vector<std::pair<std::size_t, std::string>> columns;  // (band's place, mode)
  std::map<std::int64_t, std::map<std::pair<std::size_t, std::string>, std::int64_t>> hours;
  for (const ContactPoint& contact : data.contacts) {
    if (contact.qsos_counted == 0 || !InWindow(data, contact.time)) continue;
    auto band = static_cast<std::size_t>(std::find(bands.begin(), bands.end(), contact.band) -
                                         bands.begin());
    std::pair<std::size_t, std::string> column{band, contact.mode};
    if (std::find(columns.begin(), columns.end(), column) == columns.end()) {
      columns.push_back(column);
    }
    auto hour = static_cast<std::int64_t>(std::floor(*contact.time * 24.0 + 1e-6));
    hours[hour][column] += contact.qsos_counted;
  }
  if (hours.empty()) return "";
  std::sort(columns.begin(), columns.end());
  std::string out = OpenBox("Rate sheet") +
                    "<table>\n<caption>QSOs per hour by band and mode, as "
                    "the library counted them</caption>\n<thead><tr><th scope=\"col\">Hour "
                    "(UTC)</th>";
  for (const auto& [band, mode] : columns) {
    out += "<th scope=\"col\" class=\"n\">" + host::EscapeHtml(BandLabel(bands[band])) + "<br>" +
           host::EscapeHtml(mode) + "</th>";
  }
  out +=
      "<th scope=\"col\" class=\"n\">Hour</th><th scope=\"col\" class=\"n\">Total</th></tr>"
      "</thead>\n<tbody>\n";
  std::int64_t running = 0;
  std::map<std::pair<std::size_t, std::string>, std::int64_t> sums;
  for (std::int64_t hour = hours.begin()->first; hour <= hours.rbegin()->first; ++hour) {
    const auto& counts = hours[hour];
    std::int64_t total = 0;
    out += "<tr>" + RowHeader(host::FormatUtc(static_cast<double>(hour) / 24.0));
    for (const auto& column : columns) {
      auto found = counts.find(column);
      std::int64_t count = found == counts.end() ? 0 : found->second;
      total += count;
      sums[column] += count;
      out += Cell(count == 0 ? "" : Number(count), true);
    }
    running += total;
    out += Cell(Number(total), true) + Cell(Number(running), true) + "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr>" + RowHeader("Total");
  for (const auto& column : columns) out += Cell(Number(sums[column]), true);
  return out + Cell(Number(running), true) + Cell("") + "</tr></tfoot>\n</table></div>\n";
}

}  // namespace

std::vector<OffTime> FindOffTimes(const ReportData& data, int break_minutes) {
  std::vector<double> times;
  for (const ContactPoint& contact : data.contacts) {
    if (InWindow(data, contact.time)) times.push_back(*contact.time);
  }
  std::sort(times.begin(), times.end());
  std::vector<OffTime> off;
  // A minute's rounding either way must not make or break an off-time.
  double least = (static_cast<double>(break_minutes) - 1e-6) / kMinutesPerDay;
  for (std::size_t i = 1; i < times.size(); ++i) {
    if (times[i] - times[i - 1] >= least) off.push_back({times[i - 1], times[i]});
  }
  return off;
}

BestRate BestSixtyMinutes(const ReportData& data) {
  return Best(data, [](const RateFigures& rates) { return rates.qsos_60; });
}

BestRate BestTenMinutes(const ReportData& data) {
  return Best(data, [](const RateFigures& rates) { return rates.qsos_10; });
}

std::string RateSheetSection(const ReportData& data) {
  std::string hourly = HourlyTable(data);
  if (hourly.empty()) return "";
  return "<h2 id=\"rates\">Rate sheet</h2>\n" + BestRates(data) + OperatingTime(data) + hourly;
}

}  // namespace kevo::figures
