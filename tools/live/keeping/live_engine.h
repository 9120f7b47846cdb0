// The intake's one job after the socket: a datagram read, journaled, applied to the contact
// book and counted, in that order, on one thread. The same path replays the journal at start,
// so a restart rebuilds exactly the state the datagrams built before.
//
// A datagram counts only once it is in the journal. When the journal cannot be written (a
// full disk, a read-only file system) the accepted datagrams wait in memory, in their order,
// are shown as waiting, and are written and applied first thing once the disk takes them: the
// score shown is always one a restart gives back.
#ifndef KEVO_TOOLS_LIVE_KEEPING_LIVE_ENGINE_H_
#define KEVO_TOOLS_LIVE_KEEPING_LIVE_ENGINE_H_

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tools/figures/report_collector.h"
#include "tools/figures/report_data.h"
#include "tools/live/intake/log_filter.h"
#include "tools/live/keeping/contact_book.h"
#include "tools/live/keeping/journal.h"
#include "tools/live/keeping/live_snapshot.h"
#include "tools/live/keeping/message_throttle.h"

namespace kevo::live {

// Where the engine tells of a datagram it refused or could not journal: one line, no line end.
using LogLine = std::function<void(const std::string&)>;

class LiveEngine {
 public:
  // `journal` may be null (tests): nothing is written.
  LiveEngine(host::HostSession& session, Journal* journal, ElementNames names, LogLine log);

  // Datagrams from the network, in arrival order: those well-formed are journaled together
  // (one wait for the disk), then each is applied with its own summary.
  void Receive(const std::vector<std::string>& batch);
  // A datagram from the journal's line `line`: applied, not written again.
  void Replay(const std::string& bytes, std::size_t line = 0);

  // Now and then (every second or so): datagrams waiting for the disk are tried again, and
  // the messages held back are summed up. True while datagrams wait.
  bool Tick();
  // At the end: a last try for the waiting datagrams; those still waiting are named as lost.
  void Finish();

  // The state now; the charts are rendered again when `render_charts` is set.
  std::shared_ptr<const LiveSnapshot> Snapshot(bool render_charts);

  // Only the logs that pass are applied; the others are counted by contest and station.
  void set_filter(LogFilter filter) { filter_ = std::move(filter); }
  // The station's call as the operator gave it; empty: the one mycall the datagrams agree on.
  void set_station_call(std::string call) { station_call_ = AsciiUpperCopy(call); }

  const IntakeCounters& counters() const { return snapshot_.counters; }
  const ContactBook& book() const { return book_; }

 private:
  // Parsed and mapped, or refused and counted.
  // `journal_line`: the line it came from at start, 0 when unknown or from the network.
  std::optional<ContactEvent> Read(const std::string& bytes, bool from_journal,
                                   std::size_t journal_line);
  void Apply(const ContactEvent& event);
  void Reject(const std::string& reason, const std::string& detail, std::size_t journal_line);
  void Note(const ContactEvent& event, const BookOutcome& outcome);
  // Counts the contact under its contest and station; false when the filter leaves it out.
  bool Admit(const ContactEvent& event);
  void NameStationAndContest();
  void FindOutsideWindow();
  // Writes the waiting datagrams, oldest first, and applies each one written.
  void WriteWaiting();
  void Log(const std::string& key, const std::string& line);

  struct Waiting {
    std::string bytes;
    ContactEvent event;
  };

  Journal* journal_;
  ElementNames names_;
  LogLine log_;
  MessageThrottle throttle_;
  std::deque<Waiting> waiting_;  // accepted, not yet in the journal, in arrival order
  ContactBook book_;
  LiveSnapshot snapshot_;     // kept up to date; copied out by Snapshot
  bool figures_due_ = false;  // the summary changed since its figures were read
  LogFilter filter_;
  std::string station_call_;
  std::unordered_set<std::string> heard_ids_;
  // By upper-case contest name and call.
  std::map<std::pair<std::string, std::string>, LogSource> sources_;
  std::set<std::string> applied_calls_;
  std::set<std::string> applied_contests_;
  figures::ReportData report_;
  figures::ReportCollector collector_{report_};
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_LIVE_ENGINE_H_
