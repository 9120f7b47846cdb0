// Small SVG charts over a UTC time axis, for the HTML report: stacked bars per hour (or per
// few hours) and line (or step) charts.
//
// Written here rather than taken from a chart library: the page must work offline from a USB
// stick with no scripts and no files beside it, the build has no npm, and the few chart kinds
// the report needs fit in a couple of hundred readable lines that emit plain inline SVG.
//
// Series are told apart by colour (of at least 3:1 contrast on white, each of its own grey
// level) and also by a hatch pattern (bars) or a dash style (lines), so a black-and-white
// print still reads.
#ifndef KEVO_TOOLS_FIGURES_SVG_CHART_H_
#define KEVO_TOOLS_FIGURES_SVG_CHART_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kevo::figures {

// The horizontal axis: linear UTC day counts, from whole hour to whole hour.
struct TimeAxis {
  double start = 0.0;
  double end = 1.0 / 24.0;
  // Labelled in hours since the start rather than in UTC: logs of other dates side by side.
  bool since_start = false;
};

// Whole hours from the one of `first` to the end of the one of `last`.
TimeAxis HourAxis(double first, double last);

// The whole hours the axis spans.
std::size_t HourCount(const TimeAxis& axis);

// The hour of a time counted from the axis start, 0 for a time before it. A time on the hour
// belongs to the hour it opens, also where the day fraction comes out a hair below it.
std::size_t HourIndex(const TimeAxis& axis, double day);

struct BarSeries {
  std::string label;
  std::size_t style = 0;             // index into the palette, patterns and dashes
  std::vector<std::int64_t> counts;  // one per bin of whole hours from the axis start
};

struct LineSeries {
  std::string label;
  std::size_t style = 0;
  bool steps = false;  // a value holds until the next point, and to the end of the axis
  // (linear day, value), any order; a NaN value lifts the pen until the next point, and a
  // step line that ends on one stops there rather than at the end of the axis.
  std::vector<std::pair<double, double>> points;
  std::string end_label;  // at the line's end, where shorter than `label`; empty: `label`
};

struct ChartText {
  std::string id;           // prefix of the element ids, unique on the page
  std::string title;        // for screen readers
  std::string y_label;      // e.g. "QSOs per hour"
  std::string description;  // what the chart shows, in words: its <desc>
  // Lines: each series' label and last value at its end, kept apart, and equal lines drawn a
  // hair apart, so that lines on the same value do not hide each other.
  bool end_labels = false;
  std::vector<std::pair<double, double>> shaded;  // spans shaded behind the plot: off-times
};

std::string StackedBars(const ChartText& text, const TimeAxis& axis, std::size_t bin_hours,
                        const std::vector<BarSeries>& series);
std::string TimeLines(const ChartText& text, const TimeAxis& axis,
                      const std::vector<LineSeries>& series);

// The colour of a style, for legends and tables outside the charts.
const char* StyleColour(std::size_t style);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_SVG_CHART_H_
