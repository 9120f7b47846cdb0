// A log beside one or two others (--compare): the band tables side by side, and the contacts
// that both logs hold but the library scored differently, which is where two scores part.
// Every figure is the library's answer for its own log, each from a fresh session.
#ifndef KEVO_REPLAY_REPORT_COMPARISON_H_
#define KEVO_REPLAY_REPORT_COMPARISON_H_

#include <string>
#include <vector>

#include "tools/replay/report/report_data.h"

namespace kevo::replay {

// A contact of the same call, band, mode and minute in both logs, with other points or
// another multiplier answer.
struct ScoredApart {
  const ContactPoint* own;
  const ContactPoint* other;
};

std::vector<ScoredApart> ContactsScoredApart(const ReportData& own, const ReportData& other);

// Empty without compared logs.
std::string ComparisonSection(const ReportData& data);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_REPORT_COMPARISON_H_
