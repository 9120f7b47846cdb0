// What both kinds of report chart share: the SVG element with its title, the value axis with
// its grid, the UTC hour axis, and the legend above the plot.
#ifndef KEVO_TOOLS_FIGURES_SVG_FRAME_H_
#define KEVO_TOOLS_FIGURES_SVG_FRAME_H_

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tools/figures/svg_chart.h"

namespace kevo::figures {

// A coordinate or figure with at most one decimal, "12" rather than "12.0".
std::string SvgNumber(double value);

// The value axis: from `low` to `high` in `step`s.
struct ValueScale {
  double low = 0.0;
  double high = 1.0;
  double step = 1.0;
};

// Round steps of 1, 2 or 5 times a power of ten, about five of them, from zero (or the
// lowest value below it) past the highest.
ValueScale NiceScale(double min_value, double max_value);

class ChartFrame {
 public:
  // `labels` are the legend's, one per series; a single series gets no legend.
  ChartFrame(const ChartText& text, const TimeAxis& axis, const ValueScale& scale,
             const std::vector<std::string>& labels);

  double X(double day) const;
  double Y(double value) const;
  double Bottom() const;
  double Right() const;  // of the plot
  double ValuePerPixel() const;

  // The opening tag, title, `defs` (if any), grid and both axes.
  std::string Open(const std::string& defs) const;

  // The legend: the caller draws each series' swatch at (x, y); the label follows it.
  using Swatch = std::function<std::string(std::size_t series, double x, double y)>;
  std::string Legend(const Swatch& swatch) const;

 private:
  void LayOutLegend();
  std::string ValueAxis() const;
  std::string TimeTicks() const;
  std::string AxisLabel(double x, double y, const std::string& text) const;
  std::string Shading() const;

  const ChartText& text_;
  TimeAxis axis_;
  ValueScale scale_;
  std::vector<std::string> labels_;
  std::vector<std::pair<double, double>> legend_places_;
  std::size_t rows_ = 0;
  double top_ = 0.0;
  double right_ = 0.0;  // the margin right of the plot, wider where lines carry end labels
};

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_SVG_FRAME_H_
