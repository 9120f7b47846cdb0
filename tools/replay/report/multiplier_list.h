// The multipliers per band, each with the contact that first brought it: the contacts after
// which the library's total multipliers rose, grouped by their band. The multiplier is that
// contact's received exchange, as the library counts the distinct exchanges of a band.
#ifndef KEVO_TOOLS_REPLAY_REPORT_MULTIPLIER_LIST_H_
#define KEVO_TOOLS_REPLAY_REPORT_MULTIPLIER_LIST_H_

#include <string>

#include "tools/figures/report_data.h"

namespace kevo::replay {

// The page's section: one folded table per band.
std::string MultiplierSection(const figures::ReportData& data);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_REPORT_MULTIPLIER_LIST_H_
