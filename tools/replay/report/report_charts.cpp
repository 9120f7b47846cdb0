#include "tools/replay/report/report_charts.h"

#include <algorithm>
#include <cmath>

#include "tools/replay/report/svg_chart.h"

namespace kevo::replay {

namespace {

std::size_t StyleOf(const std::vector<std::string>& bands, const std::string& band) {
  return static_cast<std::size_t>(std::find(bands.begin(), bands.end(), band) - bands.begin());
}

// Bars of one hour, or of several where the contacts span more than a week, so that a stray
// date years away gives a few hundred bars, not millions.
constexpr std::size_t kMostBars = 24 * 7;

// Where a time goes on the axis: a value from before the window holds from the axis start on
// (the line starts where the contest does, at the figure it had reached), and nothing after
// the window is drawn.
std::optional<double> OnAxis(const TimeAxis& axis, const ReportTime& time) {
  if (!time || *time >= axis.end) return std::nullopt;
  return std::max(*time, axis.start);
}

bool InsideAxis(const TimeAxis& axis, const ReportTime& time) {
  return time && *time >= axis.start && *time < axis.end;
}

ReportChart QsoBars(const ReportData& data, const std::vector<std::string>& bands,
                    const TimeAxis& axis) {
  std::size_t hours = HourIndex(axis, axis.end - 1e-9) + 1;
  std::size_t bin_hours = (hours + kMostBars - 1) / kMostBars;
  std::size_t bins = (hours + bin_hours - 1) / bin_hours;
  std::vector<BarSeries> series(bands.size());
  for (std::size_t i = 0; i < bands.size(); ++i) {
    series[i] = {BandLabel(bands[i]), i, std::vector<std::int64_t>(bins, 0)};
  }
  for (const ContactPoint& contact : data.contacts) {
    if (!InsideAxis(axis, contact.time) || contact.qsos_counted == 0) continue;
    std::size_t bin = std::min(HourIndex(axis, *contact.time) / bin_hours, bins - 1);
    series[StyleOf(bands, contact.band)].counts[bin] += contact.qsos_counted;
  }
  std::string per = bin_hours == 1 ? "hour" : std::to_string(bin_hours) + " hours";
  return {"QSOs per " + per + " by band (as the library counted them: duplicates not included)",
          StackedBars({"qsos", "QSOs per " + per + " by band", "QSOs per " + per}, axis, bin_hours,
                      series)};
}

std::string ScoreLine(const ReportData& data, const TimeAxis& axis) {
  LineSeries score{"score after each contact", 0, false, {}};
  for (const ContactPoint& contact : data.contacts) {
    if (auto day = OnAxis(axis, contact.time)) score.points.emplace_back(*day, contact.score);
  }
  return TimeLines({"score", "Score over the contest", "Score"}, axis, {score});
}

// A rate holds from one contact to the next, as the library last reported it; where the next
// contact comes later than the rate's span, the rate has fallen to zero by the span's end.
void AddRateStep(LineSeries& series, double day, double value, double next, double span) {
  series.points.emplace_back(day, value);
  if (next - day > span && value != 0.0) series.points.emplace_back(day + span, 0.0);
}

std::string RateLines(const ReportData& data, const TimeAxis& axis) {
  LineSeries last_60{"last 60 minutes", 0, true, {}};
  LineSeries last_10{"last 10 minutes \u00d7 6", 3, true, {}};
  std::vector<const ContactPoint*> rated;
  for (const ContactPoint& contact : data.contacts) {
    if (InsideAxis(axis, contact.time) && contact.rates) rated.push_back(&contact);
  }
  for (std::size_t i = 0; i < rated.size(); ++i) {
    double day = *rated[i]->time;
    double next = i + 1 < rated.size() ? *rated[i + 1]->time : axis.end;
    AddRateStep(last_60, day, rated[i]->rates->qsos_60, next, 60.0 / 1440.0);
    AddRateStep(last_10, day, rated[i]->rates->qsos_10, next, 10.0 / 1440.0);
  }
  return TimeLines({"rates", "QSO rates over the contest", "QSOs per hour"}, axis,
                   {last_60, last_10});
}

std::string MultiplierLines(const ReportData& data, const std::vector<std::string>& bands,
                            const TimeAxis& axis) {
  std::vector<LineSeries> series(bands.size());
  for (std::size_t i = 0; i < bands.size(); ++i) series[i] = {BandLabel(bands[i]), i, true, {}};
  for (const MultiplierStep& step : data.multiplier_steps) {
    if (auto day = OnAxis(axis, step.time)) {
      series[StyleOf(bands, step.band)].points.emplace_back(*day, step.mults);
    }
  }
  return TimeLines({"mults", "Multipliers per band over the contest", "Multipliers"}, axis, series);
}

}  // namespace

std::string BandLabel(const std::string& band) {
  bool metres = !band.empty() && std::all_of(band.begin(), band.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.';
  });
  return metres ? band + " m" : band;
}

std::vector<std::string> ReportBands(const ReportData& data) {
  std::vector<std::string> bands;
  if (data.figures) {
    for (const BandFigures& band : data.figures->bands) bands.push_back(band.band);
  }
  auto add = [&](const std::string& band) {
    if (std::find(bands.begin(), bands.end(), band) == bands.end()) bands.push_back(band);
  };
  for (const ContactPoint& contact : data.contacts) add(contact.band);
  for (const MultiplierStep& step : data.multiplier_steps) add(step.band);
  return bands;
}

std::vector<ReportChart> MakeReportCharts(const ReportData& data) {
  double first = 0.0, last = 0.0;
  bool timed = false;
  for (const ContactPoint& contact : data.contacts) {
    if (!contact.time) continue;
    first = timed ? std::min(first, *contact.time) : *contact.time;
    last = timed ? std::max(last, *contact.time) : *contact.time;
    timed = true;
  }
  if (!timed) return {};
  // The contest's window where the log has one: a stray date years away stays off the axis.
  TimeAxis axis =
      data.window ? HourAxis(data.window->first, data.window->last) : HourAxis(first, last);
  std::vector<std::string> bands = ReportBands(data);
  return {
      QsoBars(data, bands, axis),
      {"Score after each contact", ScoreLine(data, axis)},
      {"QSO rates after each contact: the last 60 minutes, and the last 10 minutes times six",
       RateLines(data, axis)},
      {"Multipliers per band as they were worked", MultiplierLines(data, bands, axis)},
  };
}

}  // namespace kevo::replay
