// Replays a log's contacts into the library as a logging host does (host/host_session.h): a
// statistics reset with the operator's settings, then for every contact the call check and
// AddData0, and the score summary after every contact as a host that shows the score asks
// for it, or once at the end where asked. The loop knows nothing of the report; whoever wants
// to see every contact's answers passes an observer.
#ifndef KEVO_TOOLS_REPLAY_SESSION_LOG_REPLAY_H_
#define KEVO_TOOLS_REPLAY_SESSION_LOG_REPLAY_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/host/host_session.h"
#include "tools/host/problem.h"
#include "tools/replay/inputs/qso_mapping.h"

namespace kevo::replay {

// When the replay asks for the score summary.
enum class SummaryAt {
  kEachContact,  // after every contact, as a host does: the score the operator saw
  kEnd,          // once, after the last contact
};

// One contact as it went to the library.
struct RecordOutcome {
  host::QsoValues qso;
  host::CheckAnswer check;
  // The same call, band, mode and date-time as an earlier contact: the library keeps one.
  bool repeats_earlier = false;
};

struct ReplayResult {
  SummaryAt summary_at = SummaryAt::kEachContact;
  host::Summary summary;                        // the last one asked for
  std::vector<RecordOutcome> records;           // one per contact added, in file order
  std::size_t stored = 0;                       // contacts the library keeps
  std::map<std::int32_t, std::size_t> answers;  // call check code -> how often
  std::vector<host::Problem> library_faults;    // e.g. a check buffer overrun
};

// Sees each contact right after its summary (with SummaryAt::kEachContact only).
using ContactObserver = std::function<void(const RecordOutcome&, const host::Summary&)>;

// Reset must happen in the directory that holds the exchange list; the caller sees to that.
ReplayResult ReplayLog(const host::EntryPoints& entries, const host::HostSettings& settings,
                       const std::vector<host::QsoValues>& qsos, SummaryAt summary_at,
                       const ContactObserver& observer = {});

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_SESSION_LOG_REPLAY_H_
