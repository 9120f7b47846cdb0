#include "tools/live/keeping/live_engine.h"

#include <utility>

#include "tools/figures/report_charts.h"
#include "tools/host/contest_window.h"
#include "tools/host/escapes.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"
#include "tools/live/keeping/live_figures.h"
#include "tools/live/utc_now.h"

namespace kevo::live {

namespace {

constexpr std::size_t kListLength = 12;  // lines in each of the page's lists
// Datagrams written to the journal with one wait for the disk; a disk that has room again
// for some of them takes those first.
constexpr std::size_t kWriteBatch = 256;
// Datagrams that may wait for a full disk: a contest's worth, some hundred megabytes at most.
constexpr std::size_t kMaxWaiting = 50000;

void PushNewest(std::deque<ContactLine>& lines, ContactLine line) {
  lines.push_front(std::move(line));
  if (lines.size() > kListLength) lines.pop_back();
}

const char* ChangeName(BookChange change) {
  switch (change) {
    case BookChange::kAdded:
      return "added";
    case BookChange::kReplaced:
      return "replaced";
    case BookChange::kDeleted:
      return "deleted";
    case BookChange::kLeftOut:
      return "left out: marked not to count";
    case BookChange::kRepeat:
    case BookChange::kUnknownDelete:
      break;
  }
  return "repeat";
}

std::string ChartsHtml(const figures::ReportData& data) {
  std::string out;
  for (const figures::ReportChart& chart : figures::MakeReportCharts(data)) {
    out += "<figure><figcaption>" + host::EscapeHtml(chart.caption) + "</figcaption>\n" +
           chart.svg + "</figure>\n";
  }
  return out;
}

}  // namespace

LiveEngine::LiveEngine(host::HostSession& session, Journal* journal, ElementNames names,
                       LogLine log)
    : journal_(journal), names_(std::move(names)), log_(std::move(log)), book_(session) {}

void LiveEngine::Receive(const std::vector<std::string>& batch) {
  for (const std::string& bytes : batch) {
    std::optional<ContactEvent> event = Read(bytes, false, 0);
    if (!event) continue;
    if (journal_ == nullptr) {
      Apply(*event);
    } else if (waiting_.size() >= kMaxWaiting) {
      Reject("journal full: waiting datagrams at their limit", {}, 0);
    } else {
      waiting_.push_back({bytes, std::move(*event)});
    }
  }
  WriteWaiting();
}

void LiveEngine::WriteWaiting() {
  IntakeCounters& counters = snapshot_.counters;
  bool was_stuck = !snapshot_.journal_problem.empty();
  while (!waiting_.empty()) {
    std::size_t count = std::min(waiting_.size(), kWriteBatch);
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) lines.push_back(waiting_[i].bytes);
    // Written before they count: a datagram that changed the score is one a restart replays.
    std::size_t written = journal_->Append(lines);
    for (std::size_t i = 0; i < written; ++i) {
      Apply(waiting_.front().event);
      waiting_.pop_front();
    }
    if (written < count) {
      ++counters.journal_errors;
      ++snapshot_.version;
      snapshot_.journal_problem = journal_->last_error();
      counters.journal_waiting = waiting_.size();
      Log("journal", "cannot write the journal " + journal_->path().string() + ": " +
                         journal_->last_error() + "; " + std::to_string(waiting_.size()) +
                         " datagram(s) wait in memory, not yet scored, and are written and "
                         "scored in their order once the disk takes them");
      return;
    }
  }
  counters.journal_waiting = 0;
  if (was_stuck) {
    ++snapshot_.version;
    snapshot_.journal_problem.clear();
    throttle_.Forget("journal");
    if (log_)
      log_("the journal " + journal_->path().string() +
           " is written again; every waiting datagram is kept and scored");
  }
}

bool LiveEngine::Tick() {
  if (!waiting_.empty()) WriteWaiting();
  for (const std::string& line : throttle_.Tick(MessageThrottle::Clock::now())) {
    if (log_) log_(line);
  }
  return !waiting_.empty();
}

void LiveEngine::Finish() {
  Tick();
  if (!waiting_.empty() && log_) {
    log_(std::to_string(waiting_.size()) + " datagram(s) could not be written to the journal " +
         journal_->path().string() + " and are lost; they were never shown as scored");
  }
}

void LiveEngine::Log(const std::string& key, const std::string& line) {
  if (!log_) return;
  for (const std::string& text : throttle_.Note(key, line, MessageThrottle::Clock::now())) {
    log_(text);
  }
}

void LiveEngine::Replay(const std::string& bytes, std::size_t line) {
  if (std::optional<ContactEvent> event = Read(bytes, true, line)) Apply(*event);
}

void LiveEngine::Reject(const std::string& reason, const std::string& detail,
                        std::size_t journal_line) {
  ++snapshot_.counters.rejected[reason];
  // What the datagram said is escaped: its bytes never reach the terminal as they came.
  std::string text =
      "datagram refused: " + reason + (detail.empty() ? "" : " (" + host::EscapeText(detail) + ")");
  if (journal_line != 0) {
    // Every line at start is worth its own message: the operator may want to mend it.
    std::string where = journal_ != nullptr ? journal_->path().string() : "journal";
    if (log_) log_(where + ":" + std::to_string(journal_line) + ": " + text);
    return;
  }
  Log("refused " + reason, text);
}

std::optional<ContactEvent> LiveEngine::Read(const std::string& bytes, bool from_journal,
                                             std::size_t journal_line) {
  IntakeCounters& counters = snapshot_.counters;
  ++counters.received;
  if (from_journal) ++counters.from_journal;
  ++snapshot_.version;
  DatagramParse parse = ParseDatagram(bytes);
  if (!parse.ok) {
    Reject(parse.reason, parse.detail, journal_line);
    return std::nullopt;
  }
  EventMapping mapping = MapDatagram(parse.datagram, names_);
  if (!mapping.ok) {
    Reject(mapping.reason, mapping.detail, journal_line);
    return std::nullopt;
  }
  return std::move(mapping.event);
}

void LiveEngine::Apply(const ContactEvent& event) {
  if (!Admit(event)) return;
  Note(event, book_.Apply(event));
}

bool LiveEngine::Admit(const ContactEvent& event) {
  if (event.kind == DatagramKind::kContactDelete) return true;
  bool passes = PassesFilter(filter_, event);
  if (heard_ids_.insert(event.id).second) {
    LogSource& source = sources_[{AsciiUpperCopy(event.contest), event.mycall}];
    if (source.contacts == 0) {
      source.contest = event.contest;
      source.mycall = event.mycall;
      source.applied = passes;
      // Once per log: another contest or station on the port is worth a line.
      if (sources_.size() > 1 && log_) {
        log_("warning: contacts of another log: contest '" + event.contest + "', station '" +
             event.mycall + "' (" + (passes ? "scored with the others" : "not scored") + ")");
      }
    }
    ++source.contacts;
    snapshot_.sources.clear();
    for (const auto& [key, counted] : sources_) snapshot_.sources.push_back(counted);
  }
  if (!passes) {
    ++snapshot_.counters.other_logs;
    return false;
  }
  if (!event.mycall.empty()) applied_calls_.insert(event.mycall);
  if (!event.contest.empty()) applied_contests_.insert(event.contest);
  NameStationAndContest();
  return true;
}

void LiveEngine::NameStationAndContest() {
  if (!station_call_.empty()) {
    snapshot_.station = station_call_;
  } else {
    // Several calls: the scoreboard cannot know which is ours, so none is named.
    snapshot_.station = applied_calls_.size() == 1 ? *applied_calls_.begin() : std::string();
  }
  std::string contest;
  for (const std::string& name : applied_contests_) {
    contest += (contest.empty() ? "" : ", ") + name;
  }
  snapshot_.contest = contest;
}

void LiveEngine::FindOutsideWindow() {
  std::vector<host::TimedLine> times;
  std::vector<ContactLine> lines;
  book_.ForEachCounted([&](const host::Contact& contact, const std::string& timestamp) {
    std::optional<double> day = host::LinearDay(contact.time);
    if (!day) return;
    times.push_back({*day, lines.size()});
    lines.push_back({timestamp, contact.call, contact.band, contact.mode, contact.received,
                     "outside the contest's window"});
  });
  snapshot_.outside_window = 0;
  snapshot_.outside_lines.clear();
  std::optional<host::ContestWindow> window = host::FindContestWindow(times);
  if (!window) return;
  snapshot_.outside_window = window->outside.size();
  for (std::size_t index : window->outside) {
    if (snapshot_.outside_lines.size() == kListLength) break;
    snapshot_.outside_lines.push_back(lines[index]);
  }
}

void LiveEngine::Note(const ContactEvent& event, const BookOutcome& outcome) {
  IntakeCounters& counters = snapshot_.counters;
  switch (outcome.change) {
    case BookChange::kRepeat:
      ++counters.repeats;
      return;
    case BookChange::kUnknownDelete:
      ++counters.unknown_deletes;
      return;
    case BookChange::kAdded:
      ++counters.added;
      snapshot_.rates_from_edit.clear();
      break;
    case BookChange::kReplaced:
      ++counters.replaced;
      // The library now holds the edited contact last and measures its rates from its time.
      snapshot_.rates_from_edit = event.timestamp;
      break;
    case BookChange::kDeleted:
      ++counters.deleted;
      break;
    case BookChange::kLeftOut:
      ++counters.left_out;
      break;
  }
  snapshot_.last_update = UtcNow();
  const host::Contact& contact = event.contact;
  ContactLine line{event.timestamp, contact.call,     contact.band,
                   contact.mode,    contact.received, ChangeName(outcome.change)};
  CollectChange(collector_, report_, event, outcome);
  if (outcome.change != BookChange::kDeleted && outcome.change != BookChange::kLeftOut) {
    snapshot_.has_contact = true;
    if (outcome.check.code == host::kCheckDuplicate) {
      ContactLine duplicate = line;
      duplicate.what = outcome.check.dupe_message.value_or("");
      PushNewest(snapshot_.duplicates, std::move(duplicate));
    }
  }
  PushNewest(snapshot_.last_contacts, std::move(line));
  snapshot_.summary = outcome.summary.text;
  snapshot_.score = outcome.summary.score;
  figures_due_ = true;  // read from the summary when a snapshot is taken, not per datagram
  snapshot_.contacts = book_.size();
}

std::shared_ptr<const LiveSnapshot> LiveEngine::Snapshot(bool render_charts) {
  if (figures_due_) {
    snapshot_.figures = figures::ParseSummary(snapshot_.summary);
    figures_due_ = false;
  }
  if (render_charts && snapshot_.charts_version != snapshot_.version) {
    FindOutsideWindow();
    // The charts name the score the line ends at and order the bands as the summary does.
    report_.score = snapshot_.score;
    report_.figures = snapshot_.figures;
    snapshot_.charts = std::make_shared<const std::string>(ChartsHtml(report_));
    snapshot_.charts_version = snapshot_.version;
  }
  return std::make_shared<const LiveSnapshot>(snapshot_);
}

}  // namespace kevo::live
