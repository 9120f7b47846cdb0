// The rate sheet: contacts per hour by band and mode with a running total, the best 60- and
// 10-minute rates with when they were reached, the operating time and the off-times. Counts
// are of the contacts the library counted (a duplicate's QSO figure does not rise), the best
// rates are the highest the library itself reported after a contact.
#ifndef KEVO_TOOLS_FIGURES_RATE_SHEET_H_
#define KEVO_TOOLS_FIGURES_RATE_SHEET_H_

#include <string>
#include <vector>

#include "tools/figures/report_data.h"

namespace kevo::figures {

// A pause of at least the break length between two contacts inside the contest's window.
struct OffTime {
  double from = 0.0;  // the last contact before it, as a linear day
  double to = 0.0;    // the first contact after it
};

std::vector<OffTime> FindOffTimes(const ReportData& data, int break_minutes);

// The highest rate the library reported, and the contact after which it did.
struct BestRate {
  std::int32_t qsos = 0;
  ReportTime at;
};
BestRate BestSixtyMinutes(const ReportData& data);
BestRate BestTenMinutes(const ReportData& data);  // the library's figure: ten minutes × 6

// The page's section; empty when no contact has a time inside the window.
std::string RateSheetSection(const ReportData& data);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_RATE_SHEET_H_
