#include "tools/replay/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "tools/replay/html_escape.h"
#include "tools/replay/report_time.h"

namespace kevo::replay {

namespace {

constexpr double kWidth = 720.0;
constexpr double kPlotHeight = 190.0;
constexpr double kLeft = 58.0;
constexpr double kRight = 14.0;
constexpr double kBottom = 40.0;
constexpr double kLegendRow = 17.0;
constexpr double kCharWidth = 6.6;  // of the 11px sans-serif labels, for the legend layout
constexpr std::size_t kStyles = 8;

// Okabe-Ito, ordered so that neighbouring bands differ most; yellow and black come last.
constexpr const char* kColours[kStyles] = {"#0072B2", "#E69F00", "#009E73", "#D55E00",
                                           "#56B4E9", "#CC79A7", "#F0E442", "#000000"};
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

// Past eight series the colours repeat with another hatch and dash.
std::size_t ColourOf(std::size_t style) { return style % kStyles; }
std::size_t ShapeOf(std::size_t style) { return (style + style / kStyles) % kStyles; }

std::string Num(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string out = text;
  if (out.size() > 2 && out.compare(out.size() - 2, 2, ".0") == 0) out.resize(out.size() - 2);
  return out == "-0" ? "0" : out;
}

// Large round ticks as 50k or 2M, so that the labels stay narrow.
std::string TickLabel(double value, double step) {
  if (step >= 1e6 && std::fmod(value, 1e6) == 0.0) return Num(value / 1e6) + "M";
  if (step >= 1e3 && std::fmod(value, 1e3) == 0.0 && value != 0.0) return Num(value / 1e3) + "k";
  return Num(value);
}

// The value axis: from `low` to `high` in `step`s, a round number of 1, 2 or 5 times a power of
// ten, about five of them.
struct ValueScale {
  double low = 0.0;
  double high = 1.0;
  double step = 1.0;
};

ValueScale NiceScale(double min_value, double max_value) {
  double low = std::min(0.0, min_value);
  double span = max_value - low;
  if (!(span > 0.0)) return {low, low + 1.0, 1.0};
  double raw = span / 5.0;
  double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10.0 * magnitude;
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * magnitude >= raw) {
      step = m * magnitude;
      break;
    }
  }
  step = std::max(step, 1.0);  // every figure on the page is a whole number
  return {std::floor(low / step) * step, std::ceil(max_value / step) * step, step};
}

// The frame shared by both chart kinds: geometry, legend, axes and grid.
class Frame {
 public:
  Frame(const ChartText& text, const TimeAxis& axis, const ValueScale& scale,
        const std::vector<std::string>& labels)
      : text_(text), axis_(axis), scale_(scale) {
    LayOutLegend(labels);
    top_ = 10.0 + kLegendRow * static_cast<double>(rows_) + 8.0;
  }

  double X(double day) const {
    return kLeft + (day - axis_.start) / (axis_.end - axis_.start) * (kWidth - kLeft - kRight);
  }
  double Y(double value) const {
    return top_ + (scale_.high - value) / (scale_.high - scale_.low) * kPlotHeight;
  }
  double Bottom() const { return top_ + kPlotHeight; }

  std::string Open(const std::string& defs) const {
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + Num(kWidth) +
                      ' ' + Num(Bottom() + kBottom) + "\" role=\"img\" aria-labelledby=\"" +
                      text_.id + "-title\" font-family=\"sans-serif\" font-size=\"11\">\n";
    out += "<title id=\"" + text_.id + "-title\">" + EscapeHtml(text_.title) + "</title>\n";
    if (!defs.empty()) out += "<defs>\n" + defs + "</defs>\n";
    out += ValueAxis() + TimeTicks();
    return out;
  }

  // Each legend item: a swatch drawn by the caller at (x, y) and the label after it.
  template <typename Swatch>
  std::string Legend(const std::vector<std::string>& labels, Swatch swatch) const {
    std::string out;
    for (std::size_t i = 0; i < legend_places_.size(); ++i) {
      auto [x, y] = legend_places_[i];
      out += swatch(i, x, y) + "<text x=\"" + Num(x + 28.0) + "\" y=\"" + Num(y + 9.0) + "\">" +
             EscapeHtml(labels[i]) + "</text>\n";
    }
    return out;
  }

 private:
  // A single series needs no legend: the caption names it.
  void LayOutLegend(const std::vector<std::string>& labels) {
    if (labels.size() < 2) return;
    double x = kLeft;
    double y = 8.0;
    rows_ = 1;
    for (const std::string& label : labels) {
      double width = 28.0 + kCharWidth * static_cast<double>(label.size()) + 18.0;
      if (x > kLeft && x + width > kWidth - kRight) {
        x = kLeft;
        y += kLegendRow;
        ++rows_;
      }
      legend_places_.emplace_back(x, y);
      x += width;
    }
  }

  std::string ValueAxis() const {
    std::string out = "<g stroke=\"#d0d0d0\" stroke-width=\"1\">\n";
    std::string labels = "<g text-anchor=\"end\" fill=\"#222\">\n";
    for (double v = scale_.low; v <= scale_.high + scale_.step / 2; v += scale_.step) {
      std::string y = Num(Y(v));
      out += "<line x1=\"" + Num(kLeft) + "\" x2=\"" + Num(kWidth - kRight) + "\" y1=\"" + y +
             "\" y2=\"" + y + "\"/>\n";
      labels += "<text x=\"" + Num(kLeft - 6) + "\" y=\"" + Num(Y(v) + 4) + "\">" +
                TickLabel(v, scale_.step) + "</text>\n";
    }
    out += "</g>\n" + labels + "</g>\n";
    out += "<text transform=\"translate(14 " + Num(top_ + kPlotHeight / 2) +
           ") rotate(-90)\" text-anchor=\"middle\" fill=\"#222\">" + EscapeHtml(text_.y_label) +
           "</text>\n";
    return out;
  }

  // Hour labels at a step that keeps about a dozen of them, on whole multiples of the step
  // (00, 06, 12, 18 for six hours); the date under the first and wherever the day changes.
  std::string TimeTicks() const {
    auto first_hour = static_cast<std::int64_t>(std::llround(axis_.start * 24.0));
    auto last_hour = static_cast<std::int64_t>(std::llround(axis_.end * 24.0));
    std::int64_t step = 24 * ((last_hour - first_hour + 24 * 12 - 1) / (24 * 12));
    for (std::int64_t candidate : {1, 2, 3, 4, 6, 12}) {
      if ((last_hour - first_hour) <= 12 * candidate) {
        step = candidate;
        break;
      }
    }
    std::string bottom = Num(Bottom());
    std::string out = "<line x1=\"" + Num(kLeft) + "\" x2=\"" + Num(kWidth - kRight) + "\" y1=\"" +
                      bottom + "\" y2=\"" + bottom + "\" stroke=\"#222\"/>\n";
    out += "<g text-anchor=\"middle\" fill=\"#222\">\n";
    out += "<text x=\"" + Num(kLeft - 13) + "\" y=\"" + Num(Bottom() + 15) +
           "\" text-anchor=\"end\">UTC</text>\n";
    int last_day = -1;
    for (std::int64_t hour = first_hour; hour <= last_hour; ++hour) {
      if (((hour % step) + step) % step != 0) continue;
      double day = static_cast<double>(hour) / 24.0;
      std::string x = Num(X(day));
      UtcTime utc = SplitUtc(day);
      char label[16];
      std::snprintf(label, sizeof label, "%02d", utc.hour);
      out += "<line x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" + bottom + "\" y2=\"" +
             Num(Bottom() + 4) + "\" stroke=\"#222\"/>\n";
      out += "<text x=\"" + x + "\" y=\"" + Num(Bottom() + 15) + "\">" + label + "</text>\n";
      if (utc.day != last_day) {
        std::snprintf(label, sizeof label, "%02d-%02d", utc.month, utc.day);
        out += "<text x=\"" + x + "\" y=\"" + Num(Bottom() + 29) + "\">" + label + "</text>\n";
        last_day = utc.day;
      }
    }
    return out + "</g>\n";
  }

  const ChartText& text_;
  TimeAxis axis_;
  ValueScale scale_;
  std::vector<std::pair<double, double>> legend_places_;
  std::size_t rows_ = 0;
  double top_ = 0.0;
};

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
    const char* ink = ColourOf(style) == kStyles - 1 ? "#fff" : "#000";
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

// Points in time order with, per pixel column, only the first, lowest, highest and last
// value kept: a 20,000-contact line stays a few thousand points and looks the same.
std::vector<std::pair<double, double>> Thinned(const Frame& frame, const LineSeries& series) {
  std::vector<std::pair<double, double>> points = series.points;
  std::stable_sort(points.begin(), points.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
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

}  // namespace

TimeAxis HourAxis(double first, double last) {
  // The last contact's hour is drawn whole, also when the contact opens it.
  double start = std::floor(first * 24.0 + 1e-6) / 24.0;
  double end = (std::floor(last * 24.0 + 1e-6) + 1.0) / 24.0;
  return {start, std::max(end, start + 1.0 / 24.0)};
}

const char* StyleColour(std::size_t style) { return kColours[ColourOf(style)]; }

std::string StackedHourBars(const ChartText& text, const TimeAxis& axis,
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
  Frame frame(text, axis, NiceScale(0.0, highest), LabelsOf(series));
  std::string defs;
  for (const BarSeries& s : series) defs += Pattern(text, s.style);
  std::string out = frame.Open(defs);
  out += "<g stroke=\"#222\" stroke-width=\".5\">\n";
  std::fill(stacked.begin(), stacked.end(), 0);
  double hour_width = frame.X(axis.start + 1.0 / 24.0) - frame.X(axis.start);
  double gap = std::min(2.0, hour_width * 0.15);
  for (const BarSeries& s : series) {
    std::string fill = "url(#" + PatternId(text, s.style) + ")";
    for (std::size_t h = 0; h < s.counts.size(); ++h) {
      if (s.counts[h] == 0) continue;
      double x = frame.X(axis.start + static_cast<double>(h) / 24.0) + gap / 2;
      double top = frame.Y(static_cast<double>(stacked[h] + s.counts[h]));
      double bottom = frame.Y(static_cast<double>(stacked[h]));
      stacked[h] += s.counts[h];
      out += "<rect x=\"" + Num(x) + "\" y=\"" + Num(top) + "\" width=\"" + Num(hour_width - gap) +
             "\" height=\"" + Num(bottom - top) + "\" fill=\"" + fill + "\"><title>" +
             EscapeHtml(s.label) + ": " + std::to_string(s.counts[h]) + "</title></rect>\n";
    }
  }
  out += "</g>\n";
  out += frame.Legend(LabelsOf(series), [&](std::size_t i, double x, double y) {
    return "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) +
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
  Frame frame(text, axis, NiceScale(lowest, highest), LabelsOf(series));
  std::string out = frame.Open("");
  // The first series is drawn last, on top of the others.
  for (auto it = series.rbegin(); it != series.rend(); ++it) {
    const LineSeries& s = *it;
    std::vector<std::pair<double, double>> points = Thinned(frame, s);
    if (points.empty()) continue;
    std::string path = "M" + Num(frame.X(points[0].first)) + ',' + Num(frame.Y(points[0].second));
    for (std::size_t i = 1; i < points.size(); ++i) {
      std::string x = Num(frame.X(points[i].first)), y = Num(frame.Y(points[i].second));
      path += s.steps ? "H" + x + "V" + y : "L" + x + ',' + y;
    }
    if (s.steps) path += "H" + Num(frame.X(axis.end));
    out += "<path d=\"" + path + "\" " + LineStyle(s.style) + "/>\n";
  }
  out += frame.Legend(LabelsOf(series), [&](std::size_t i, double x, double y) {
    return "<line x1=\"" + Num(x) + "\" x2=\"" + Num(x + 22) + "\" y1=\"" + Num(y + 6) +
           "\" y2=\"" + Num(y + 6) + "\" " + LineStyle(series[i].style) + "/>";
  });
  return out + "</svg>\n";
}

}  // namespace kevo::replay
