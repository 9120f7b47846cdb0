// The intake's one job after the socket: a datagram read, journaled, applied to the contact
// book and counted, in that order, on one thread. The same path replays the journal at start,
// so a restart rebuilds exactly the state the datagrams built before.
#ifndef KEVO_LIVE_LIVE_ENGINE_H_
#define KEVO_LIVE_LIVE_ENGINE_H_

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

#include "tools/live/contact_book.h"
#include "tools/live/journal.h"
#include "tools/live/live_snapshot.h"
#include "tools/live/log_filter.h"
#include "tools/replay/report/report_collector.h"
#include "tools/replay/report/report_data.h"

namespace kevo::live {

// Where the engine tells of a datagram it refused or could not journal: one line, no line end.
using LogLine = std::function<void(const std::string&)>;

class LiveEngine {
 public:
  // `journal` may be null (tests): nothing is written.
  LiveEngine(replay::HostSession& session, Journal* journal, ElementNames names, LogLine log);

  // Datagrams from the network, in arrival order: those well-formed are journaled together
  // (one wait for the disk), then each is applied with its own summary.
  void Receive(const std::vector<std::string>& batch);
  // A datagram from the journal: applied, not written again.
  void Replay(const std::string& bytes);

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
  std::optional<ContactEvent> Read(const std::string& bytes, bool from_journal);
  void Apply(const ContactEvent& event);
  void Reject(const std::string& reason, const std::string& detail);
  void Note(const ContactEvent& event, const BookOutcome& outcome);
  // Counts the contact under its contest and station; false when the filter leaves it out.
  bool Admit(const ContactEvent& event);
  void NameStationAndContest();
  void FindOutsideWindow();

  Journal* journal_;
  ElementNames names_;
  LogLine log_;
  ContactBook book_;
  LiveSnapshot snapshot_;  // kept up to date; copied out by Snapshot
  LogFilter filter_;
  std::string station_call_;
  std::unordered_set<std::string> heard_ids_;
  // By upper-case contest name and call.
  std::map<std::pair<std::string, std::string>, LogSource> sources_;
  std::set<std::string> applied_calls_;
  std::set<std::string> applied_contests_;
  replay::ReportData report_;
  replay::ReportCollector collector_{report_};
};

}  // namespace kevo::live

#endif  // KEVO_LIVE_LIVE_ENGINE_H_
