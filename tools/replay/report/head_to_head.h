// Two logs head to head, what operators open a comparison for: per band the contacts both
// hold and those only one holds, the multipliers one worked and the other missed (with the
// contact that brought each), the points and multipliers apart, and both rate sheets side by
// side hour by hour.
#ifndef KEVO_TOOLS_REPLAY_REPORT_HEAD_TO_HEAD_H_
#define KEVO_TOOLS_REPLAY_REPORT_HEAD_TO_HEAD_H_

#include <string>
#include <vector>

#include "tools/figures/contact_pairing.h"
#include "tools/figures/report_data.h"

namespace kevo::replay {

// A band's multipliers that one log worked and the other did not, each with its contact.
struct MissedMultipliers {
  std::string band;
  std::vector<const figures::ContactPoint*> only_own;
  std::vector<const figures::ContactPoint*> only_other;
};

// Per band in frequency order; bands where both logs worked the same multipliers are left out.
std::vector<MissedMultipliers> MultipliersApart(const figures::ReportData& own,
                                                const figures::ReportData& other);

std::string HeadToHead(const figures::ReportData& own, const figures::ReportData& other,
                       const figures::Pairing& pairing);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_REPORT_HEAD_TO_HEAD_H_
