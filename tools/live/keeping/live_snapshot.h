// What the live page, the status and the scoreboard poster show: a copy of the intake's state
// after one datagram, made by the thread that applies the datagrams and handed whole to the
// threads that serve and post, so that those never wait for the intake nor it for them.
#ifndef KEVO_TOOLS_LIVE_KEEPING_LIVE_SNAPSHOT_H_
#define KEVO_TOOLS_LIVE_KEEPING_LIVE_SNAPSHOT_H_

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/figures/summary_figures.h"

namespace kevo::live {

struct IntakeCounters {
  std::uint64_t received = 0;  // datagrams that reached the intake, good or bad
  std::uint64_t added = 0;
  std::uint64_t replaced = 0;
  std::uint64_t deleted = 0;
  std::uint64_t repeats = 0;          // changed nothing: a known ID again, a second delete
  std::uint64_t unknown_deletes = 0;  // deletes of an ID never seen: nothing to remove
  std::uint64_t from_journal = 0;     // of the above, replayed from the journal at start
  std::uint64_t journal_errors = 0;   // writes of the journal that failed
  std::uint64_t journal_waiting = 0;  // accepted, waiting for the journal, not yet applied
  std::uint64_t refused_senders = 0;  // datagrams from addresses outside --allow
  std::uint64_t left_out = 0;         // contacts the logger marks as not to count
  std::uint64_t other_logs = 0;       // datagrams of another contest or station, not applied
  std::map<std::string, std::uint64_t> rejected;  // reason -> count
};

// A line of the page's lists.
struct ContactLine {
  std::string time;  // the logger's timestamp
  std::string call;
  std::string band;
  std::string mode;
  std::string received;
  std::string what;  // "added", "replaced", "deleted", or the library's duplicate message
};

// Contacts heard (distinct IDs) from one contest name and station call, applied or not.
struct LogSource {
  std::string contest;
  std::string mycall;
  std::uint64_t contacts = 0;
  bool applied = true;  // false: --only-contest or --only-call leaves it out
};

struct LiveSnapshot {
  std::uint64_t version = 0;  // rises with every datagram
  std::string summary;        // the library's latest summary, byte for byte
  std::int32_t score = 0;
  std::optional<figures::SummaryFigures> figures;
  std::size_t contacts = 0;  // contacts kept now: the library's entries
  std::string station;       // --call, else the one mycall of the applied contacts
  std::string contest;       // the contest names of the applied contacts
  std::string last_update;   // UTC wall time of the last change, "YYYY-MM-DD HH:MM:SS"
  std::vector<LogSource> sources;
  // Contacts kept whose time lies outside the contest's window (far past or future).
  std::size_t outside_window = 0;
  std::deque<ContactLine> outside_lines;
  bool has_contact = false;  // a contact was ever added: the scoreboard may hear of it
  IntakeCounters counters;
  std::deque<ContactLine> last_contacts;  // newest first
  std::deque<ContactLine> duplicates;     // newest first
  std::string journal_problem;  // why the journal cannot be written now; empty when it can
  // The time of an edited contact when it is the library's latest: its rates are then
  // measured from that old time.
  std::string rates_from_edit;
  std::shared_ptr<const std::string> charts;  // the charts as HTML, rendered now and then
  std::uint64_t charts_version = 0;
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_LIVE_SNAPSHOT_H_
