// The report printed after a log replay: the library's summary text, then what the tool saw.
#ifndef KEVO_REPLAY_REPLAY_REPORT_H_
#define KEVO_REPLAY_REPLAY_REPORT_H_

#include <ostream>
#include <string>

#include "tools/replay/log_reader.h"
#include "tools/replay/log_replay.h"

namespace kevo::replay {

void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_REPLAY_REPORT_H_
