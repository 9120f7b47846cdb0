// The data behind a chart as a table with one row per hour (or per bin of hours) of its axis,
// for readers who cannot see the chart and for anyone who wants the figures themselves.
#ifndef KEVO_TOOLS_FIGURES_CHART_DATA_H_
#define KEVO_TOOLS_FIGURES_CHART_DATA_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/figures/svg_chart.h"

namespace kevo::figures {

struct HourColumn {
  std::string label;
  std::vector<std::optional<std::int64_t>> values;  // one per bin; empty: nothing yet
};

// How a line's points become one value per bin.
enum class BinValue {
  kLast,     // the value reached by the bin's end, carried over empty bins (a score)
  kHighest,  // the highest point inside the bin, 0 without one (a rate)
};

std::vector<std::optional<std::int64_t>> PerBin(const LineSeries& series, const TimeAxis& axis,
                                                std::size_t bin_hours, BinValue how);

// The table (HTML) with the bin's start as each row's header.
std::string ChartDataTable(const std::string& caption, const TimeAxis& axis, std::size_t bin_hours,
                           const std::vector<HourColumn>& columns);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_CHART_DATA_H_
