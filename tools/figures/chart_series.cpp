#include "tools/figures/chart_series.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tools/host/linear_time.h"

namespace kevo::figures {

namespace {

// Bars of one hour, or of several where the contacts span more than a week, so that a stray
// date years away gives a few hundred bars, not millions.
constexpr std::size_t kMostBars = 24 * 7;

// A rate holds from one contact to the next, as the library last reported it; where the next
// contact comes later than the rate's span, the rate has fallen to zero by the span's end.
// Over an off-time the line breaks off: the library answers only when there is a contact.
void AddRateStep(LineSeries& series, double day, double value, double next, double span,
                 double pause) {
  series.points.emplace_back(day, value);
  if (next - day >= pause) {
    series.points.emplace_back(day + 1e-9, std::nan(""));
  } else if (next - day > span && value != 0.0) {
    series.points.emplace_back(day + span, 0.0);
  }
}

}  // namespace

std::optional<double> OnAxis(const TimeAxis& axis, const ReportTime& time) {
  if (!time || *time >= axis.end) return std::nullopt;
  return std::max(*time, axis.start);
}

bool InsideAxis(const TimeAxis& axis, const ReportTime& time) {
  return time && *time >= axis.start && *time < axis.end;
}

std::size_t BinHours(const TimeAxis& axis) {
  std::size_t hours = HourCount(axis);
  return (hours + kMostBars - 1) / kMostBars;
}

std::string Span(const TimeAxis& axis) {
  return host::FormatUtc(axis.start) + " to " + host::FormatUtc(axis.end) + " UTC";
}

std::string LogDates(const ReportData& data) {
  std::optional<LogSpan> span = SpanOf(data);
  if (!span) return "";
  std::string first = host::FormatUtc(span->first).substr(0, 10);
  std::string last = host::FormatUtc(span->last).substr(0, 10);
  if (first == last) return first;
  return first + " to " + (first.substr(0, 4) == last.substr(0, 4) ? last.substr(5) : last);
}

std::string LogLabel(const ReportData& data) {
  std::string facts = data.contest;
  std::string dates = LogDates(data);
  if (!dates.empty()) facts += (facts.empty() ? "" : ", ") + dates;
  return facts.empty() ? data.log_name : data.log_name + " (" + facts + ")";
}

LineSeries ScoreSeries(const ReportData& data, const TimeAxis& axis, std::size_t style,
                       double shift) {
  LineSeries score{data.log_name, style, true, {}, ""};
  for (const ContactPoint& contact : data.contacts) {
    ReportTime time = contact.time ? ReportTime(*contact.time + shift) : std::nullopt;
    if (auto day = OnAxis(axis, time)) score.points.emplace_back(*day, contact.score);
  }
  return score;
}

LineSeries RateSeries(const ReportData& data, const TimeAxis& axis, std::string label,
                      std::size_t style, bool ten_minutes, double shift) {
  LineSeries series{std::move(label), style, true, {}, ""};
  std::vector<std::pair<double, std::int32_t>> rated;
  for (const ContactPoint& contact : data.contacts) {
    if (!contact.time || !contact.rates) continue;
    double day = *contact.time + shift;
    if (InsideAxis(axis, day)) {
      rated.emplace_back(day, ten_minutes ? contact.rates->qsos_10 : contact.rates->qsos_60);
    }
  }
  double span = (ten_minutes ? 10.0 : 60.0) / 1440.0;
  double pause = (static_cast<double>(data.break_minutes) - 1e-6) / 1440.0;
  for (std::size_t i = 0; i < rated.size(); ++i) {
    // After the last contact the line stops: nothing was logged past it.
    double next = i + 1 < rated.size() ? rated[i + 1].first : rated[i].first + pause;
    AddRateStep(series, rated[i].first, rated[i].second, next, span, pause);
  }
  return series;
}

}  // namespace kevo::figures
