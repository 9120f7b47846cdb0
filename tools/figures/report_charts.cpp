#include "tools/figures/report_charts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "tools/figures/chart_data.h"
#include "tools/figures/chart_series.h"
#include "tools/figures/html_table.h"
#include "tools/figures/rate_sheet.h"
#include "tools/figures/svg_chart.h"
#include "tools/host/linear_time.h"

namespace kevo::figures {

namespace {

constexpr double kHour = 1.0 / 24.0;

// This log's off-times, to shade behind every time chart.
std::vector<std::pair<double, double>> OffTimeSpans(const ReportData& data) {
  std::vector<std::pair<double, double>> spans;
  for (const OffTime& off : FindOffTimes(data, data.break_minutes))
    spans.emplace_back(off.from, off.to);
  return spans;
}

const char* kShadedWords = " Shaded: this log's off-times.";

// The charts' words for the time axis.
std::string AxisWords(const TimeAxis& axis) {
  return axis.since_start ? "by the hours since each log's start" : Span(axis);
}

std::size_t StyleOf(const std::vector<std::string>& bands, const std::string& band) {
  return static_cast<std::size_t>(std::find(bands.begin(), bands.end(), band) - bands.begin());
}

ReportChart QsoBars(const ReportData& data, const std::vector<std::string>& bands,
                    const TimeAxis& axis) {
  std::size_t bin_hours = BinHours(axis);
  std::size_t bins = (HourCount(axis) + bin_hours - 1) / bin_hours;
  std::vector<BarSeries> series(bands.size());
  for (std::size_t i = 0; i < bands.size(); ++i) {
    series[i] = {BandLabel(bands[i]), i, std::vector<std::int64_t>(bins, 0)};
  }
  for (const ContactPoint& contact : data.contacts) {
    if (!InsideAxis(axis, contact.time) || contact.qsos_counted == 0) continue;
    std::size_t bin = std::min(HourIndex(axis, *contact.time) / bin_hours, bins - 1);
    series[StyleOf(bands, contact.band)].counts[bin] += contact.qsos_counted;
  }
  std::vector<HourColumn> columns;
  std::vector<std::int64_t> totals(bins, 0);
  for (const BarSeries& s : series) {
    HourColumn column{s.label, {}};
    for (std::size_t bin = 0; bin < bins; ++bin) {
      column.values.push_back(s.counts[bin]);
      totals[bin] += s.counts[bin];
    }
    columns.push_back(std::move(column));
  }
  HourColumn total{"All bands", {}};
  for (std::int64_t count : totals) total.values.push_back(count);
  columns.push_back(total);
  std::size_t busiest =
      static_cast<std::size_t>(std::max_element(totals.begin(), totals.end()) - totals.begin());
  std::string per = bin_hours == 1 ? "hour" : std::to_string(bin_hours) + " hours";
  std::string description =
      "Bars of the QSOs the library counted per " + per + ", stacked by band, " + AxisWords(axis) +
      ". The busiest: " + Plural(static_cast<std::size_t>(totals[busiest]), "QSO", "QSOs") +
      " from " + host::FormatUtc(axis.start + static_cast<double>(busiest * bin_hours) * kHour) +
      " UTC." + kShadedWords;
  ChartText text{"qsos",
                 "QSOs per " + per + " by band",
                 "QSOs per " + per,
                 description,
                 false,
                 OffTimeSpans(data)};
  return {"QSOs per " + per + " by band (as the library counted them: duplicates not included)",
          StackedBars(text, axis, bin_hours, series),
          ChartDataTable("QSOs per " + per + " by band", axis, bin_hours, columns)};
}

ReportChart ScoreLines(const ReportData& data, const TimeAxis& axis) {
  std::vector<LineSeries> series = {ScoreSeries(data, axis, 0, 0.0)};
  for (std::size_t i = 0; i < data.compared.size(); ++i) {
    const ReportData& other = data.compared[i];
    series.push_back(ScoreSeries(other, axis, i + 1, ShiftOf(data, other)));
  }
  if (series.size() > 1) {
    // The legend names each log's contest and dates; the line's end, its file.
    for (std::size_t i = 0; i < series.size(); ++i) {
      series[i].end_label = series[i].label;
      series[i].label = LogLabel(i == 0 ? data : data.compared[i - 1]);
    }
  }
  std::size_t bin_hours = BinHours(axis);
  std::vector<HourColumn> columns;
  std::string description = "The score after each contact, " + AxisWords(axis) + ":";
  for (std::size_t i = 0; i < series.size(); ++i) {
    const ReportData& log = i == 0 ? data : data.compared[i - 1];
    columns.push_back({series[i].label, PerBin(series[i], axis, bin_hours, BinValue::kLast)});
    description +=
        std::string(i == 0 ? " " : "; ") + series[i].label + " ends at " + Number(log.score);
  }
  ChartText text{"score", "Score over the contest", "Score", description + "." + kShadedWords,
                 true,    OffTimeSpans(data)};
  return {
      series.size() > 1 ? "Score after each contact, log beside log" : "Score after each contact",
      TimeLines(text, axis, series),
      ChartDataTable("Score at the end of each hour", axis, bin_hours, columns)};
}

ReportChart RateLines(const ReportData& data, const TimeAxis& axis) {
  std::vector<LineSeries> series;
  if (data.compared.empty()) {
    series.push_back(RateSeries(data, axis, "last 60 minutes", 0, false, 0.0));
    series.push_back(RateSeries(data, axis, "last 10 minutes \u00d7 6", 3, true, 0.0));
  } else {
    series.push_back(RateSeries(data, axis, LogLabel(data), 0, false, 0.0));
    for (std::size_t i = 0; i < data.compared.size(); ++i) {
      const ReportData& other = data.compared[i];
      series.push_back(
          RateSeries(other, axis, LogLabel(other), i + 1, false, ShiftOf(data, other)));
    }
  }
  std::size_t bin_hours = BinHours(axis);
  std::vector<HourColumn> columns;
  std::int64_t best = 0;
  for (const LineSeries& s : series) {
    columns.push_back({s.label, PerBin(s, axis, bin_hours, BinValue::kHighest)});
    for (const auto& value : columns.back().values) best = std::max(best, value.value_or(0));
  }
  std::string description =
      "Step lines of the QSO rates the library reported after each contact, " + AxisWords(axis) +
      (data.compared.empty() ? ": the count of the last 60 minutes and the last 10 minutes' "
                               "count times six"
                             : ": each log's count of the last 60 minutes") +
      "; a rate falls to zero once no contact follows within its span, and the lines break "
      "off over the off-times. The highest is " +
      Number(best) + " QSOs per hour." + kShadedWords;
  ChartText text{"rates",         "QSO rates over the contest",
                 "QSOs per hour", description,
                 false,           OffTimeSpans(data)};
  return {data.compared.empty()
              ? "QSO rates after each contact: the last 60 minutes, and the last 10 minutes "
                "times six"
              : "QSO rates after each contact: the last 60 minutes, log beside log",
          TimeLines(text, axis, series),
          ChartDataTable("Highest rate reported in each hour", axis, bin_hours, columns)};
}

ReportChart MultiplierLines(const ReportData& data, const std::vector<std::string>& bands,
                            const TimeAxis& axis) {
  std::vector<LineSeries> series(bands.size());
  for (std::size_t i = 0; i < bands.size(); ++i) series[i] = {BandLabel(bands[i]), i, true, {}, ""};
  for (const MultiplierStep& step : data.multiplier_steps) {
    if (auto day = OnAxis(axis, step.time)) {
      series[StyleOf(bands, step.band)].points.emplace_back(*day, step.mults);
    }
  }
  std::size_t bin_hours = BinHours(axis);
  std::vector<HourColumn> columns;
  std::string description =
      "Step lines of each band's multipliers as the library counted "
      "them, " +
      AxisWords(axis) + ". At the end:";
  for (std::size_t i = 0; i < series.size(); ++i) {
    columns.push_back({series[i].label, PerBin(series[i], axis, bin_hours, BinValue::kLast)});
    std::optional<std::int64_t> last =
        columns.back().values.empty() ? std::nullopt : columns.back().values.back();
    description +=
        std::string(i == 0 ? " " : ", ") + series[i].label + " " + Number(last.value_or(0));
  }
  ChartText text{"mults",       "Multipliers per band over the contest",
                 "Multipliers", description + "." + kShadedWords,
                 true,          OffTimeSpans(data)};
  return {"Multipliers per band as they were worked", TimeLines(text, axis, series),
          ChartDataTable("Multipliers per band at the end of each hour", axis, bin_hours, columns)};
}

// This log's score less each other's, hour by hour: where the logs part, and by how much.
ReportChart ScoreDifference(const ReportData& data, const TimeAxis& axis) {
  std::size_t bin_hours = BinHours(axis);
  std::vector<std::optional<std::int64_t>> own =
      PerBin(ScoreSeries(data, axis, 0, 0.0), axis, bin_hours, BinValue::kLast);
  std::vector<LineSeries> series;
  std::vector<HourColumn> columns;
  std::string description = "Step lines of " + data.log_name +
                            "'s score less the other log's at the end of each hour, " +
                            AxisWords(axis) + "; above zero it is ahead.";
  for (std::size_t i = 0; i < data.compared.size(); ++i) {
    const ReportData& other = data.compared[i];
    std::vector<std::optional<std::int64_t>> theirs =
        PerBin(ScoreSeries(other, axis, 0, ShiftOf(data, other)), axis, bin_hours, BinValue::kLast);
    LineSeries line{"less " + other.log_name, i + 1, true, {}, ""};
    HourColumn column{line.label, {}};
    for (std::size_t bin = 0; bin < own.size(); ++bin) {
      std::int64_t difference = own[bin].value_or(0) - theirs[bin].value_or(0);
      double end =
          std::min(axis.end, axis.start + static_cast<double>((bin + 1) * bin_hours) * kHour);
      line.points.emplace_back(end - 1e-9, static_cast<double>(difference));
      column.values.push_back(difference);
    }
    description += " At the end, " + Number(column.values.empty() ? 0 : *column.values.back()) +
                   " against " + other.log_name + ".";
    series.push_back(std::move(line));
    columns.push_back(std::move(column));
  }
  ChartText text{"difference", "Score difference over the contest",
                 "Difference", description + kShadedWords,
                 true,         OffTimeSpans(data)};
  return {"Score difference, hour by hour: " + data.log_name + " less the other log",
          TimeLines(text, axis, series),
          ChartDataTable("Score difference at the end of each hour", axis, bin_hours, columns)};
}

}  // namespace

std::string BandLabel(const std::string& band) {
  bool metres = !band.empty() && std::all_of(band.begin(), band.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.';
  });
  return metres ? band + " m" : band;
}

namespace {

// The band's wavelength in metres: "20" is 20, "70cm" 0.7, "6mm" 0.006; empty for a text that
// names no wavelength.
std::optional<double> Wavelength(const std::string& band) {
  std::size_t digits = 0;
  while (digits < band.size() &&
         ((band[digits] >= '0' && band[digits] <= '9') || band[digits] == '.')) {
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  std::string unit = band.substr(digits);
  for (char& c : unit) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  double scale = unit.empty() || unit == "m" ? 1.0 : unit == "cm" ? 0.01 : unit == "mm" ? 0.001 : 0;
  if (scale == 0.0) return std::nullopt;
  char* end = nullptr;
  std::string number = band.substr(0, digits);
  double value = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size()) return std::nullopt;
  return value * scale;
}

}  // namespace

void SortBands(std::vector<std::string>& bands) {
  std::stable_sort(bands.begin(), bands.end(), [](const std::string& a, const std::string& b) {
    std::optional<double> wa = Wavelength(a), wb = Wavelength(b);
    if (wa && wb) return *wa > *wb;
    return wa.has_value() && !wb.has_value();
  });
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
  SortBands(bands);
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
  if (data.window) {
    first = data.window->first;
    last = data.window->last;
  }
  // Compared logs widen the axis to their own spans; those of other dates are set beside this
  // one by the time since their start, and the axis then counts hours, not UTC.
  bool since_start = false;
  for (const ReportData& other : data.compared) {
    std::optional<LogSpan> span = SpanOf(other);
    if (!span) continue;
    double shift = ShiftOf(data, other);
    since_start = since_start || shift != 0.0;
    first = std::min(first, span->first + shift);
    last = std::max(last, span->last + shift);
  }
  TimeAxis axis = HourAxis(first, last);
  axis.since_start = since_start;
  std::vector<std::string> bands = ReportBands(data);
  std::vector<ReportChart> charts = {QsoBars(data, bands, axis), ScoreLines(data, axis)};
  if (!data.compared.empty()) charts.push_back(ScoreDifference(data, axis));
  charts.push_back(RateLines(data, axis));
  charts.push_back(MultiplierLines(data, bands, axis));
  return charts;
}

}  // namespace kevo::figures
