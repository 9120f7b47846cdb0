#include "tools/figures/svg_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"

namespace kevo::figures {

namespace {

constexpr double kWidth = 720.0;
constexpr double kPlotHeight = 190.0;
constexpr double kLeft = 58.0;
constexpr double kRight = 14.0;
constexpr double kEndLabelMargin = 76.0;  // a swatch and "-12,345"
constexpr double kBottom = 40.0;
constexpr double kLegendRow = 17.0;
constexpr double kCharWidth = 7.2;  // of the 12px sans-serif labels, for the legend layout
constexpr std::int64_t kHourLabels = 12;

// Large round ticks as 50k or 2M, so that the labels stay narrow.
std::string TickLabel(double value, double step) {
  if (step >= 1e6 && std::fmod(value, 1e6) == 0.0) return SvgNumber(value / 1e6) + "M";
  if (step >= 1e3 && std::fmod(value, 1e3) == 0.0 && value != 0.0) {
    return SvgNumber(value / 1e3) + "k";
  }
  return SvgNumber(value);
}

// Hours between labels: about a dozen labels, at 1, 2, 3, 4, 6 or 12 hours or whole days.
std::int64_t HourStep(std::int64_t span_hours) {
  for (std::int64_t step : {1, 2, 3, 4, 6, 12}) {
    if (span_hours <= kHourLabels * step) return step;
  }
  return 24 * ((span_hours + 24 * kHourLabels - 1) / (24 * kHourLabels));
}

}  // namespace

std::string SvgNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string out = text;
  if (out.size() > 2 && out.compare(out.size() - 2, 2, ".0") == 0) out.resize(out.size() - 2);
  return out == "-0" ? "0" : out;
}

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

ChartFrame::ChartFrame(const ChartText& text, const TimeAxis& axis, const ValueScale& scale,
                       const std::vector<std::string>& labels)
    : text_(text),
      axis_(axis),
      scale_(scale),
      labels_(labels),
      right_(text.end_labels ? kEndLabelMargin : kRight) {
  LayOutLegend();
  top_ = 10.0 + kLegendRow * static_cast<double>(rows_) + 8.0;
}

double ChartFrame::X(double day) const {
  return kLeft + (day - axis_.start) / (axis_.end - axis_.start) * (kWidth - kLeft - right_);
}

double ChartFrame::Y(double value) const {
  return top_ + (scale_.high - value) / (scale_.high - scale_.low) * kPlotHeight;
}

double ChartFrame::Bottom() const { return top_ + kPlotHeight; }

double ChartFrame::Right() const { return kWidth - right_; }

double ChartFrame::ValuePerPixel() const { return (scale_.high - scale_.low) / kPlotHeight; }

std::string ChartFrame::Open(const std::string& defs) const {
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + SvgNumber(kWidth) +
                    ' ' + SvgNumber(Bottom() + kBottom) + "\" role=\"img\" aria-labelledby=\"" +
                    text_.id + "-title\" aria-describedby=\"" + text_.id +
                    "-desc\" font-family=\"sans-serif\" font-size=\"12\">\n";
  out += "<title id=\"" + text_.id + "-title\">" + host::EscapeHtml(text_.title) + "</title>\n";
  out += "<desc id=\"" + text_.id + "-desc\">" + host::EscapeHtml(text_.description) + "</desc>\n";
  if (!defs.empty()) out += "<defs>\n" + defs + "</defs>\n";
  return out + Shading() + ValueAxis() + TimeTicks();
}

std::string ChartFrame::Legend(const Swatch& swatch) const {
  std::string out;
  for (std::size_t i = 0; i < legend_places_.size(); ++i) {
    auto [x, y] = legend_places_[i];
    out += swatch(i, x, y) + "<text x=\"" + SvgNumber(x + 28.0) + "\" y=\"" + SvgNumber(y + 9.0) +
           "\">" + host::EscapeHtml(labels_[i]) + "</text>\n";
  }
  return out;
}

// A single series needs no legend: the caption names it.
void ChartFrame::LayOutLegend() {
  if (labels_.size() < 2) return;
  double x = kLeft;
  double y = 8.0;
  rows_ = 1;
  for (const std::string& label : labels_) {
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

std::string ChartFrame::ValueAxis() const {
  std::string out = "<g stroke=\"#d0d0d0\" stroke-width=\"1\">\n";
  std::string labels = "<g text-anchor=\"end\" fill=\"#222\">\n";
  for (double v = scale_.low; v <= scale_.high + scale_.step / 2; v += scale_.step) {
    std::string y = SvgNumber(Y(v));
    out += "<line x1=\"" + SvgNumber(kLeft) + "\" x2=\"" + SvgNumber(Right()) + "\" y1=\"" + y +
           "\" y2=\"" + y + "\"/>\n";
    labels += "<text x=\"" + SvgNumber(kLeft - 6) + "\" y=\"" + SvgNumber(Y(v) + 4) + "\">" +
              TickLabel(v, scale_.step) + "</text>\n";
  }
  out += "</g>\n" + labels + "</g>\n";
  out += "<text transform=\"translate(14 " + SvgNumber(top_ + kPlotHeight / 2) +
         ") rotate(-90)\" text-anchor=\"middle\" fill=\"#222\">" + host::EscapeHtml(text_.y_label) +
         "</text>\n";
  return out;
}

// A label under the axis at x, kept inside the chart: one at either end is anchored to the
// side rather than centred, so that the last date of a long axis is not cut off.
std::string ChartFrame::AxisLabel(double x, double y, const std::string& text) const {
  double half = kCharWidth * static_cast<double>(text.size()) / 2.0;
  const char* anchor = "";
  if (x + half > kWidth - 1.0) {
    anchor = " text-anchor=\"end\"";
    x = std::min(x + half, kWidth - 1.0);
  } else if (x - half < 1.0) {
    anchor = " text-anchor=\"start\"";
    x = 1.0;
  }
  return "<text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\"" + anchor + ">" + text +
         "</text>\n";
}

// Hour labels on whole multiples of the step (00, 06, 12, 18 for six hours); the date under
// the first and wherever the day changes. On an axis since the start: the hours counted.
std::string ChartFrame::TimeTicks() const {
  auto first_hour = static_cast<std::int64_t>(std::llround(axis_.start * 24.0));
  auto last_hour = static_cast<std::int64_t>(std::llround(axis_.end * 24.0));
  std::int64_t step = HourStep(last_hour - first_hour);
  std::string bottom = SvgNumber(Bottom());
  std::string out = "<line x1=\"" + SvgNumber(kLeft) + "\" x2=\"" + SvgNumber(Right()) +
                    "\" y1=\"" + bottom + "\" y2=\"" + bottom + "\" stroke=\"#222\"/>\n";
  out += "<g text-anchor=\"middle\" fill=\"#222\">\n";
  out += "<text x=\"" + SvgNumber(kLeft - 13) + "\" y=\"" + SvgNumber(Bottom() + 15) +
         "\" text-anchor=\"end\">" + (axis_.since_start ? "h" : "UTC") + "</text>\n";
  if (axis_.since_start) {
    out += "<text x=\"" + SvgNumber((kLeft + Right()) / 2) + "\" y=\"" + SvgNumber(Bottom() + 29) +
           "\">hours since each log's start</text>\n";
  }
  std::int64_t origin = axis_.since_start ? first_hour : 0;
  std::int64_t remainder = (((first_hour - origin) % step) + step) % step;
  std::int64_t first_tick = first_hour + (remainder == 0 ? 0 : step - remainder);
  // An axis across a new year names the years too, so that no date reads as going backwards.
  bool years = host::SplitUtc(axis_.start).year != host::SplitUtc(axis_.end).year;
  std::int64_t last_date = -1;
  for (std::int64_t hour = first_tick; hour <= last_hour; hour += step) {
    double day = static_cast<double>(hour) / 24.0;
    double x = X(day);
    host::UtcTime utc = host::SplitUtc(day);
    char label[24];
    if (axis_.since_start) {
      std::snprintf(label, sizeof label, "%lld", static_cast<long long>(hour - origin));
    } else {
      std::snprintf(label, sizeof label, "%02d", utc.hour);
    }
    out += "<line x1=\"" + SvgNumber(x) + "\" x2=\"" + SvgNumber(x) + "\" y1=\"" + bottom +
           "\" y2=\"" + SvgNumber(Bottom() + 4) + "\" stroke=\"#222\"/>\n";
    out += AxisLabel(x, Bottom() + 15, label);
    std::int64_t date = (std::int64_t{utc.year} * 100 + utc.month) * 100 + utc.day;
    if (!axis_.since_start && date != last_date) {
      if (years) {
        std::snprintf(label, sizeof label, "%04d-%02d-%02d", utc.year, utc.month, utc.day);
      } else {
        std::snprintf(label, sizeof label, "%02d-%02d", utc.month, utc.day);
      }
      out += AxisLabel(x, Bottom() + 29, label);
      last_date = date;
    }
  }
  return out + "</g>\n";
}

// The off-times, light grey behind grid and lines.
std::string ChartFrame::Shading() const {
  std::string out;
  for (const auto& [from, to] : text_.shaded) {
    double left = X(std::max(from, axis_.start));
    double right = X(std::min(to, axis_.end));
    if (!(right > left)) continue;
    out += "<rect x=\"" + SvgNumber(left) + "\" y=\"" + SvgNumber(top_) + "\" width=\"" +
           SvgNumber(right - left) + "\" height=\"" + SvgNumber(kPlotHeight) +
           "\" fill=\"#e6e6e6\"><title>off-time " + host::FormatUtc(from).substr(11) + " to " +
           host::FormatUtc(to).substr(11) + "</title></rect>\n";
  }
  return out.empty() ? out : "<g>\n" + out + "</g>\n";
}

}  // namespace kevo::figures
