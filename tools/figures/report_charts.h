// The report's charts made from the collected data: QSOs per hour stacked by band, the score,
// the QSO rates and the multipliers per band over the contest; with compared logs, their
// score and rate lines beside this log's and the score difference hour by hour. Each chart
// comes with its description and its figures as a table.
#ifndef KEVO_TOOLS_FIGURES_REPORT_CHARTS_H_
#define KEVO_TOOLS_FIGURES_REPORT_CHARTS_H_

#include <string>
#include <vector>

#include "tools/figures/report_data.h"

namespace kevo::figures {

struct ReportChart {
  std::string caption;
  std::string svg;
  std::string table;  // the chart's figures, a folded HTML table
};

// Empty when no contact has a valid time.
std::vector<ReportChart> MakeReportCharts(const ReportData& data);

// The log's bands in frequency order (160 m first, 70 cm after 2 m), texts the library does
// not name by a wavelength last; a band's position is its style in every chart and table.
std::vector<std::string> ReportBands(const ReportData& data);

// Puts band texts in frequency order, as ReportBands does.
void SortBands(std::vector<std::string>& bands);

// "20 m" for a band the library names by its metres, else the library's text.
std::string BandLabel(const std::string& band);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_REPORT_CHARTS_H_
