// The command line of kevo-replay.
#ifndef KEVO_TOOLS_REPLAY_OPTIONS_H_
#define KEVO_TOOLS_REPLAY_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

#include "tools/host/host_options.h"
#include "tools/replay/inputs/log_reader.h"
#include "tools/replay/inputs/qso_mapping.h"
#include "tools/replay/session/log_replay.h"

namespace kevo::replay {

enum ExitCode : int {
  kExitOk = 0,
  kExitUnreadable = 1,  // a file could not be read or recognised, or the library not loaded
  kExitUsage = 2,
  kExitSkipped = 3,  // some records skipped, or script lines rejected
};

// The options every host program shares, and kevo-replay's own.
struct Options : host::HostOptions {
  std::string log_file;     // the contest log to replay
  std::string script_file;  // --script: run a scripted session instead
  SummaryAt summary_at = SummaryAt::kEachContact;
  RecordOrder order = RecordOrder::kTime;
  AdifFieldNames adif_fields;
  std::optional<std::string> extlog;       // run command 0 with this argument
  bool verbose = false;                    // every skipped record, not one line per reason
  std::string report_file;                 // --report: the HTML page to write; empty: none
  std::string csv_file;                    // --csv: every contact's audit row; empty: none
  int break_minutes = 30;                  // --break-minutes: the shortest off-time on the page
  std::vector<std::string> compare_files;  // --compare: logs shown beside this one (two at most)
};

// False with a message for the user when the arguments make no sense.
bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error);

std::string UsageText();

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_OPTIONS_H_
