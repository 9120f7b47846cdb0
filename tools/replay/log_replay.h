// Replays contacts into the library as a logging host does: a statistics reset with the
// operator's settings, then for every contact the call check (so duplicates and new
// multipliers are counted as the operator saw them) followed by AddData0, and at the end the
// score summary.
#ifndef KEVO_REPLAY_LOG_REPLAY_H_
#define KEVO_REPLAY_LOG_REPLAY_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/replay/entry_points.h"
#include "tools/replay/log_problem.h"
#include "tools/replay/qso_mapping.h"

namespace kevo::replay {

struct ContestSettings {
  std::int32_t no_rates = 0;
  std::int32_t own_number = 0;
  std::string own_region;
};

struct ReplayResult {
  std::string summary;  // as the library returned it
  std::int32_t score = 0;
  std::size_t added = 0;
  std::size_t duplicates = 0;       // call checks that answered 0
  std::size_t new_multipliers = 0;  // call checks that answered 2
  std::vector<Problem> library_faults;  // e.g. a check buffer overrun
};

// Reset must happen in the directory that holds the exchange list; the caller sees to that.
ReplayResult ReplayLog(const EntryPoints& entries, const ContestSettings& settings,
                       const std::vector<QsoValues>& qsos);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_LOG_REPLAY_H_
