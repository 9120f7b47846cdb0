// Replays contacts into the library as a logging host does: a statistics reset with the
// operator's settings, then for every contact the call check (as the operator would have seen
// it) followed by AddData0, and at the end the score summary; and the report printed
// afterwards. ReplayInput (log_reader.h) and ReplayResult hold everything the report shows, as
// plain data, for any other form of report too.
#ifndef KEVO_REPLAY_LOG_REPLAY_H_
#define KEVO_REPLAY_LOG_REPLAY_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "contest/contest_state.h"
#include "tools/replay/log_reader.h"
#include "tools/replay/plugin_binding.h"
#include "tools/replay/report_collector.h"

namespace kevo::replay {

// One contact as it went to the library.
struct RecordOutcome {
  QsoValues qso;
  std::int32_t check_answer = 0;            // CheckCall0's code
  std::optional<std::string> hint;          // what the call check wrote into each buffer
  std::optional<std::string> dupe_message;  // (nothing: not written)
  // The same call, band, mode and date-time as an earlier contact: the library keeps one.
  bool repeats_earlier = false;
};

struct ReplayResult {
  std::string summary;  // as the library returned it
  std::int32_t score = 0;
  std::vector<RecordOutcome> records;           // one per contact added, in file order
  std::size_t stored = 0;                       // contacts the library keeps
  std::map<std::int32_t, std::size_t> answers;  // call check code -> how often
  std::vector<Problem> library_faults;          // e.g. a check buffer overrun
};

// Reset must happen in the directory that holds the exchange list; the caller sees to that.
// With a `report`, the score summary is also asked for after every contact, as a host does
// after each one it logs, and handed to the report with the call check's answer.
ReplayResult ReplayLog(const EntryPoints& entries, const ContestSettings& settings,
                       const std::vector<QsoValues>& qsos, ReportCollector* report = nullptr);

struct ReportStyle {
  bool verbose = false;         // every skipped record on a line of its own
  std::size_t first_lines = 5;  // line numbers shown for each group of skipped records
};

// The library's summary text, then what the tool saw.
void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds, const ReportStyle& style);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_LOG_REPLAY_H_
