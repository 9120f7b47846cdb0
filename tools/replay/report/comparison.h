// A log beside one or two others (--compare): the band tables side by side, what sets the
// logs apart (other dates, another contest), the contacts both hold that the library scored
// differently and why, and head to head per band. Every figure is the library's answer for
// its own log, each from a fresh session.
#ifndef KEVO_TOOLS_REPLAY_REPORT_COMPARISON_H_
#define KEVO_TOOLS_REPLAY_REPORT_COMPARISON_H_

#include <string>
#include <vector>

#include "tools/figures/report_data.h"

namespace kevo::replay {

// A contact both logs hold (contact_pairing.h) with other points or another multiplier answer.
struct ScoredApart {
  const figures::ContactPoint* own;
  const figures::ContactPoint* other;
};

std::vector<ScoredApart> ContactsScoredApart(const figures::ReportData& own,
                                             const figures::ReportData& other);

// What a reader must know before setting the logs' figures against each other: other dates
// (the charts then run by the time since each log's start), another contest.
std::vector<std::string> ComparisonWarnings(const figures::ReportData& data);

// Empty without compared logs.
std::string ComparisonSection(const figures::ReportData& data);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_REPORT_COMPARISON_H_
