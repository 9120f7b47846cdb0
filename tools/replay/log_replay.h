// Replays contacts into the library as a logging host does: a statistics reset with the
// operator's settings, then for every contact the call check (so duplicates and new
// multipliers are counted as the operator saw them) followed by AddData0, and at the end the
// score summary; and the report printed afterwards.
#ifndef KEVO_REPLAY_LOG_REPLAY_H_
#define KEVO_REPLAY_LOG_REPLAY_H_

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "contest/contest_state.h"
#include "tools/replay/log_reader.h"
#include "tools/replay/plugin_binding.h"

namespace kevo::replay {

struct ReplayResult {
  std::string summary;  // as the library returned it
  std::int32_t score = 0;
  std::size_t added = 0;
  std::size_t duplicates = 0;           // call checks that answered 0
  std::size_t new_multipliers = 0;      // call checks that answered 2
  std::vector<Problem> library_faults;  // e.g. a check buffer overrun
};

// Reset must happen in the directory that holds the exchange list; the caller sees to that.
ReplayResult ReplayLog(const EntryPoints& entries, const ContestSettings& settings,
                       const std::vector<QsoValues>& qsos);

// The library's summary text, then what the tool saw.
void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_LOG_REPLAY_H_
