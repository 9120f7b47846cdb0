#include "tools/figures/chart_data.h"

#include <algorithm>

#include "tools/figures/html_table.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"

namespace kevo::figures {

namespace {

std::size_t BinCount(const TimeAxis& axis, std::size_t bin_hours) {
  std::size_t hours = HourCount(axis);
  return (hours + bin_hours - 1) / bin_hours;
}

}  // namespace

std::vector<std::optional<std::int64_t>> PerBin(const LineSeries& series, const TimeAxis& axis,
                                                std::size_t bin_hours, BinValue how) {
  std::size_t bins = BinCount(axis, bin_hours);
  std::vector<std::pair<double, double>> points = series.points;
  std::stable_sort(points.begin(), points.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::optional<std::int64_t>> values(bins);
  if (how == BinValue::kHighest) std::fill(values.begin(), values.end(), std::int64_t{0});
  for (const auto& [day, value] : points) {
    if (day < axis.start || day >= axis.end) continue;
    std::size_t bin = std::min(HourIndex(axis, day) / bin_hours, bins - 1);
    auto whole = static_cast<std::int64_t>(value);
    values[bin] = how == BinValue::kLast ? whole : std::max(*values[bin], whole);
  }
  if (how == BinValue::kLast) {
    for (std::size_t bin = 1; bin < bins; ++bin) {
      if (!values[bin]) values[bin] = values[bin - 1];
    }
  }
  return values;
}

std::string ChartDataTable(const std::string& caption, const TimeAxis& axis, std::size_t bin_hours,
                           const std::vector<HourColumn>& columns) {
  std::string out = "<details class=\"data\">\n<summary>The chart's figures</summary>\n" +
                    OpenBox(host::EscapeHtml(caption)) + "<table>\n<caption>" +
                    host::EscapeHtml(caption) +
                    "</caption>\n<thead><tr><th scope=\"col\">From (UTC)</th>";
  for (const HourColumn& column : columns) {
    out += "<th scope=\"col\" class=\"n\">" + host::EscapeHtml(column.label) + "</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  std::size_t bins = BinCount(axis, bin_hours);
  for (std::size_t bin = 0; bin < bins; ++bin) {
    double from = axis.start + static_cast<double>(bin * bin_hours) / 24.0;
    out += "<tr>" + RowHeader(host::FormatUtc(from));
    for (const HourColumn& column : columns) {
      const std::optional<std::int64_t>& value =
          bin < column.values.size() ? column.values[bin] : std::nullopt;
      out += Cell(value ? Number(*value) : "", true);
    }
    out += "</tr>\n";
  }
  return out + "</tbody>\n</table></div>\n</details>\n";
}

}  // namespace kevo::figures
