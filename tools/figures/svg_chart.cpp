#include "tools/figures/svg_chart.h"

#include <algorithm>
#include <cmath>

#include "tools/figures/html_table.h"
#include "tools/figures/svg_frame.h"
#include "tools/host/text_escape.h"

namespace kevo::figures {

namespace {

constexpr std::size_t kStyles = 8;  // dashes and hatches
constexpr std::size_t kColourCount = 12;

// The hues of the Okabe-Ito palette (told apart with the common colour-vision deficiencies),
// each darkened to at least 3:1 contrast on white and to its own grey level (0 to 150 of 255,
// apart by 13 or more), so that a grey print tells them apart; neighbouring bands differ
// most. A log of more than eight bands gets four more hues (of grey levels the first eight
// already hold, so there the hatch tells them apart in print). The hatch ink is white on the
// darkest.
constexpr const char* kColours[kColourCount] = {"#0068A2", "#BC8200", "#00946C", "#D05C00",
                                                "#472967", "#CC78A6", "#2F2500", "#000000",
                                                "#A0141E", "#5E7000", "#7A3DB8", "#00707A"};
constexpr bool kLightInk[kColourCount] = {false, false, false, false, true, false,
                                          true,  true,  true,  false, true, false};
constexpr const char* kDashes[kStyles] = {"",    "8 4", "2 3",      "10 3 2 3",
                                          "5 5", "1 3", "12 4 4 4", "3 2 8 2"};
// Hatches drawn over the colour in a 6x6 tile: none, two diagonals, horizontal, vertical,
// grid, dots and a diagonal grid.
constexpr const char* kHatches[kStyles] = {"",
                                           "M0,6L6,0M-1,1L1,-1M5,7L7,5",
                                           "M0,0L6,6M-1,5L1,7M5,-1L7,1",
                                           "M0,3H6",
                                           "M3,0V6",
                                           "M0,3H6M3,0V6",
                                           "M1.5,1.5h.6M4.5,4.5h.6",
                                           "M0,0L6,6M6,0L0,6"};

// Past twelve series the colours repeat, and past eight the hatches and dashes, each time in
// another pairing, so that no two of the first 36 series look alike.
std::size_t ColourOf(std::size_t style) { return style % kColourCount; }
std::size_t ShapeOf(std::size_t style) { return (style + style / kStyles) % kStyles; }

std::vector<std::string> LabelsOf(const auto& series) {
  std::vector<std::string> labels;
  for (const auto& s : series) labels.push_back(s.label);
  return labels;
}

std::string PatternId(const ChartText& text, std::size_t style) {
  return text.id + "-p" + std::to_string(style);
}

std::string Pattern(const ChartText& text, std::size_t style) {
  const char* colour = kColours[ColourOf(style)];
  const char* hatch = kHatches[ShapeOf(style)];
  std::string out = "<pattern id=\"" + PatternId(text, style) +
                    "\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\"><rect "
                    "width=\"6\" height=\"6\" fill=\"" +
                    colour + "\"/>";
  if (*hatch != '\0') {
    const char* ink = kLightInk[ColourOf(style)] ? "#fff" : "#000";
    out += std::string("<path d=\"") + hatch + "\" stroke=\"" + ink +
           "\" stroke-opacity=\".6\" stroke-width=\"1.2\" stroke-linecap=\"round\"/>";
  }
  return out + "</pattern>\n";
}

std::string LineStyle(std::size_t style) {
  std::string out = std::string("stroke=\"") + kColours[ColourOf(style)] +
                    "\" stroke-width=\"1.8\" fill=\"none\" stroke-linejoin=\"round\"";
  const char* dash = kDashes[ShapeOf(style)];
  if (*dash != '\0') out += std::string(" stroke-dasharray=\"") + dash + '"';
  return out;
}

// Points in time order, cut into runs at the pen lifts (NaN values).
std::vector<std::vector<std::pair<double, double>>> Runs(const LineSeries& series) {
  std::vector<std::pair<double, double>> points = series.points;
  std::stable_sort(points.begin(), points.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::vector<std::pair<double, double>>> runs(1);
  for (const auto& point : points) {
    if (std::isnan(point.second)) {
      if (!runs.back().empty()) runs.emplace_back();
    } else {
      runs.back().push_back(point);
    }
  }
  if (runs.back().empty()) runs.pop_back();
  return runs;
}

// Per pixel column, only the first, lowest, highest and last value kept: a 20,000-contact
// line stays a few thousand points and looks the same.
std::vector<std::pair<double, double>> Thinned(
    const ChartFrame& frame, const std::vector<std::pair<double, double>>& points) {
  std::vector<std::pair<double, double>> kept;
  std::size_t begin = 0;
  while (begin < points.size()) {
    double column = std::floor(frame.X(points[begin].first));
    std::size_t end = begin, low = begin, high = begin;
    while (end < points.size() && std::floor(frame.X(points[end].first)) == column) {
      if (points[end].second < points[low].second) low = end;
      if (points[end].second > points[high].second) high = end;
      ++end;
    }
    std::size_t picks[4] = {begin, low, high, end - 1};
    std::sort(std::begin(picks), std::end(picks));
    for (std::size_t i = 0; i < 4; ++i) {
      if (i == 0 || picks[i] != picks[i - 1]) kept.push_back(points[picks[i]]);
    }
    begin = end;
  }
  return kept;
}

// Whether a series ends with a pen lift: its last point in time has no value.
bool EndsLifted(const LineSeries& series) {
  const std::pair<double, double>* last = nullptr;
  for (const auto& point : series.points) {
    if (last == nullptr || point.first >= last->first) last = &point;
  }
  return last != nullptr && std::isnan(last->second);
}

struct EndLabel {
  double y;
  std::string text;
  std::size_t style;
};

// In the margin right of the plot, level with each line's end where there is room, pushed
// apart where they would overlap: each a swatch of its line's style and the value in dark
// ink, so that no label sits on a line and every label is legible.
std::string EndLabels(const ChartFrame& frame, std::vector<EndLabel> labels) {
  constexpr double kLineHeight = 13.0;
  std::stable_sort(labels.begin(), labels.end(),
                   [](const EndLabel& a, const EndLabel& b) { return a.y < b.y; });
  // Spread downwards first, then pulled back up where the last ran below the plot.
  std::vector<double> ys;
  double last = -1e9;
  for (const EndLabel& label : labels) {
    last = std::max(label.y, last + kLineHeight);
    ys.push_back(last);
  }
  double limit = frame.Bottom();
  for (std::size_t i = ys.size(); i-- > 0;) {
    ys[i] = std::min(ys[i], limit);
    limit = ys[i] - kLineHeight;
  }
  std::string out = "<g fill=\"#222\">\n";
  double x = frame.Right() + 4.0;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    std::string y = SvgNumber(ys[i]);
    out += "<line x1=\"" + SvgNumber(x) + "\" x2=\"" + SvgNumber(x + 12.0) + "\" y1=\"" + y +
           "\" y2=\"" + y + "\" " + LineStyle(labels[i].style) + "/>";
    out += "<text x=\"" + SvgNumber(x + 15.0) + "\" y=\"" + SvgNumber(ys[i] + 4.0) + "\">" +
           host::EscapeHtml(labels[i].text) + "</text>\n";
  }
  return out + "</g>\n";
}

}  // namespace

TimeAxis HourAxis(double first, double last) {
  // The last contact's hour is drawn whole, also when the contact opens it.
  double start = std::floor(first * 24.0 + 1e-6) / 24.0;
  double end = (std::floor(last * 24.0 + 1e-6) + 1.0) / 24.0;
  return {start, std::max(end, start + 1.0 / 24.0)};
}

std::size_t HourCount(const TimeAxis& axis) {
  return static_cast<std::size_t>(std::llround((axis.end - axis.start) * 24.0));
}

std::size_t HourIndex(const TimeAxis& axis, double day) {
  auto hour = static_cast<std::int64_t>(std::floor(day * 24.0 + 1e-6));
  auto start = static_cast<std::int64_t>(std::llround(axis.start * 24.0));
  return static_cast<std::size_t>(std::max<std::int64_t>(0, hour - start));
}

const char* StyleColour(std::size_t style) { return kColours[ColourOf(style)]; }

std::string StackedBars(const ChartText& text, const TimeAxis& axis, std::size_t bin_hours,
                        const std::vector<BarSeries>& series) {
  std::size_t hours = 0;
  for (const BarSeries& s : series) hours = std::max(hours, s.counts.size());
  std::vector<std::int64_t> stacked(hours, 0);
  for (const BarSeries& s : series) {
    for (std::size_t h = 0; h < s.counts.size(); ++h) stacked[h] += s.counts[h];
  }
  double highest = stacked.empty()
                       ? 0.0
                       : static_cast<double>(*std::max_element(stacked.begin(), stacked.end()));
  ChartFrame frame(text, axis, NiceScale(0.0, highest), LabelsOf(series));
  std::string defs;
  for (const BarSeries& s : series) defs += Pattern(text, s.style);
  std::string out = frame.Open(defs);
  out += "<g stroke=\"#222\" stroke-width=\".5\">\n";
  std::fill(stacked.begin(), stacked.end(), 0);
  double bin_days = static_cast<double>(bin_hours) / 24.0;
  double bin_width = frame.X(axis.start + bin_days) - frame.X(axis.start);
  double gap = std::min(2.0, bin_width * 0.15);
  for (const BarSeries& s : series) {
    std::string fill = "url(#" + PatternId(text, s.style) + ")";
    for (std::size_t h = 0; h < s.counts.size(); ++h) {
      if (s.counts[h] == 0) continue;
      double x = frame.X(axis.start + static_cast<double>(h) * bin_days) + gap / 2;
      double top = frame.Y(static_cast<double>(stacked[h] + s.counts[h]));
      double bottom = frame.Y(static_cast<double>(stacked[h]));
      stacked[h] += s.counts[h];
      out += "<rect x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(top) + "\" width=\"" +
             SvgNumber(bin_width - gap) + "\" height=\"" + SvgNumber(bottom - top) + "\" fill=\"" +
             fill + "\"><title>" + host::EscapeHtml(s.label) + ": " + std::to_string(s.counts[h]) +
             "</title></rect>\n";
    }
  }
  out += "</g>\n";
  out += frame.Legend([&](std::size_t i, double x, double y) {
    return "<rect x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) +
           "\" width=\"22\" height=\"11\" fill=\"url(#" + PatternId(text, series[i].style) +
           ")\" stroke=\"#222\" stroke-width=\".5\"/>";
  });
  return out + "</svg>\n";
}

std::string TimeLines(const ChartText& text, const TimeAxis& axis,
                      const std::vector<LineSeries>& series) {
  double lowest = 0.0, highest = 0.0;
  for (const LineSeries& s : series) {
    for (const auto& [day, value] : s.points) {
      lowest = std::min(lowest, value);
      highest = std::max(highest, value);
    }
  }
  ChartFrame frame(text, axis, NiceScale(lowest, highest), LabelsOf(series));
  std::string out = frame.Open("");
  std::vector<EndLabel> end_labels;
  // The first series is drawn last, on top of the others.
  for (auto it = series.rbegin(); it != series.rend(); ++it) {
    const LineSeries& s = *it;
    std::vector<std::vector<std::pair<double, double>>> runs = Runs(s);
    if (runs.empty()) continue;
    bool to_end = s.steps && !EndsLifted(s);
    if (text.end_labels) {
      double last = runs.back().back().second;
      end_labels.push_back({frame.Y(last), Number(std::llround(last)), s.style});
    }
    // Appended piece by piece: GCC 12 misreads "H" + text as an overlapping copy.
    std::string path;
    auto to = [&path](char command, double value) {
      path += command;
      path += SvgNumber(value);
    };
    for (const auto& run : runs) {
      std::vector<std::pair<double, double>> points = Thinned(frame, run);
      to('M', frame.X(points[0].first));
      to(',', frame.Y(points[0].second));
      for (std::size_t i = 1; i < points.size(); ++i) {
        to(s.steps ? 'H' : 'L', frame.X(points[i].first));
        to(s.steps ? 'V' : ',', frame.Y(points[i].second));
      }
      // A lone point of a run stays visible as a short stroke.
      if (points.size() == 1 && !(to_end && &run == &runs.back())) to('h', 1.0);
    }
    if (to_end) to('H', frame.X(axis.end));
    out += "<path d=\"";
    out += path;
    out += "\" ";
    out += LineStyle(s.style);
    out += "/>\n";
  }
  out += EndLabels(frame, end_labels);
  out += frame.Legend([&](std::size_t i, double x, double y) {
    return "<line x1=\"" + SvgNumber(x) + "\" x2=\"" + SvgNumber(x + 22) + "\" y1=\"" +
           SvgNumber(y + 6) + "\" y2=\"" + SvgNumber(y + 6) + "\" " + LineStyle(series[i].style) +
           "/>";
  });
  return out + "</svg>\n";
}

}  // namespace kevo::figures
