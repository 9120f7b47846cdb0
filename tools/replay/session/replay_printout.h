// The text a replay prints: the library's last summary, then what the tool saw of the log
// and of the library's answers.
#ifndef KEVO_TOOLS_REPLAY_SESSION_REPLAY_PRINTOUT_H_
#define KEVO_TOOLS_REPLAY_SESSION_REPLAY_PRINTOUT_H_

#include <ostream>
#include <string>

#include "tools/replay/inputs/log_reader.h"
#include "tools/replay/session/log_replay.h"

namespace kevo::replay {

struct PrintStyle {
  bool verbose = false;  // every skipped record on a line of its own
};

void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds, const PrintStyle& style);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_SESSION_REPLAY_PRINTOUT_H_
