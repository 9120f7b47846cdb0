// Why the library gave a contact its points, in words, read back from the points it gave and
// the values the contact was logged with: 1 for an exchange that starts with a letter or is
// the own number, 3 within the own region, 5 from another region, 0 for a duplicate. The
// page never scores a contact itself; it names which rule the library's answer fits.
#ifndef KEVO_TOOLS_REPLAY_REPORT_POINTS_REASON_H_
#define KEVO_TOOLS_REPLAY_REPORT_POINTS_REASON_H_

#include <cstdint>
#include <string>

#include "tools/figures/report_data.h"

namespace kevo::replay {

// "own number", "a letter", "same region", "other region", "duplicate"; empty where the
// points fit none of these (a summary that could not be read).
std::string PointsReason(const figures::ContactPoint& contact, std::int32_t own_number,
                         const std::string& own_region);

// "W", or "none" for a contact logged without a region.
std::string RegionWords(const std::string& region);

// Why a contact held by two logs earned other points in each: "region W here, none there",
// "exchange 14 here, KVI there", or the two reasons; empty when both agree.
std::string ScoredApartReason(const figures::ContactPoint& here,
                              const figures::ReportData& here_log,
                              const figures::ContactPoint& there,
                              const figures::ReportData& there_log);

// An exchange as a multiplier: the text itself, or "(empty)" for an empty exchange.
std::string MultiplierName(const std::string& received);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_REPORT_POINTS_REASON_H_
