// The charts' common ground: where a contact's time falls on the axis, how many hours a bar
// holds, how a compared log is moved onto this contest, and the score and rate lines of a log.
#ifndef KEVO_TOOLS_FIGURES_CHART_SERIES_H_
#define KEVO_TOOLS_FIGURES_CHART_SERIES_H_

#include <cstddef>
#include <optional>
#include <string>

#include "tools/figures/contact_pairing.h"
#include "tools/figures/report_data.h"
#include "tools/figures/svg_chart.h"

namespace kevo::figures {

// Where a time goes on the axis: a value from before the window holds from the axis start on
// (the line starts where the contest does, at the figure it had reached), and nothing after
// the window is drawn.
std::optional<double> OnAxis(const TimeAxis& axis, const ReportTime& time);

bool InsideAxis(const TimeAxis& axis, const ReportTime& time);

// Hours per bar: one, or several where the axis spans more than a week.
std::size_t BinHours(const TimeAxis& axis);

// "2026-03-14 12:00 to 2026-03-15 12:00 UTC".
std::string Span(const TimeAxis& axis);

// A log's dates: "2026-03-14", "2026-03-14 to 03-15", "2025-12-31 to 2026-01-01"; empty
// without a timed contact.
std::string LogDates(const ReportData& data);

// The log as a legend names it: "contest.cbr (KEVO, 2026-03-14 to 03-15)".
std::string LogLabel(const ReportData& data);

// The score after each contact of a log, moved by `shift` days.
LineSeries ScoreSeries(const ReportData& data, const TimeAxis& axis, std::size_t style,
                       double shift);

// The 60-minute (or ten-minute) QSO rate the library reported after each contact, as steps.
LineSeries RateSeries(const ReportData& data, const TimeAxis& axis, std::string label,
                      std::size_t style, bool ten_minutes, double shift);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_CHART_SERIES_H_
