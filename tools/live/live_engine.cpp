#include "tools/live/live_engine.h"

#include <utility>

#include "tools/live/utc_now.h"
#include "tools/replay/inputs/contest_window.h"
#include "tools/replay/inputs/linear_time.h"
#include "tools/replay/report/html_escape.h"
#include "tools/replay/report/report_charts.h"

namespace kevo::live {

namespace {

constexpr std::size_t kListLength = 12;  // lines in each of the page's lists

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
      break;
  }
  return "repeat";
}

std::string ChartsHtml(const replay::ReportData& data) {
  std::string out;
  for (const replay::ReportChart& chart : replay::MakeReportCharts(data)) {
    out += "<figure><figcaption>" + replay::EscapeHtml(chart.caption) + "</figcaption>\n" +
           chart.svg + "</figure>\n";
  }
  return out;
}

}  // namespace

LiveEngine::LiveEngine(replay::HostSession& session, Journal* journal, ElementNames names,
                       LogLine log)
    : journal_(journal), names_(std::move(names)), log_(std::move(log)), book_(session) {}

void LiveEngine::Receive(const std::vector<std::string>& batch) {
  std::vector<std::string> accepted;
  std::vector<ContactEvent> events;
  for (const std::string& bytes : batch) {
    if (std::optional<ContactEvent> event = Read(bytes, false)) {
      accepted.push_back(bytes);
      events.push_back(std::move(*event));
    }
  }
  // Written before they count: a datagram that changed the score is one a restart replays.
  if (!accepted.empty() && journal_ != nullptr && !journal_->Append(accepted)) {
    snapshot_.counters.journal_errors += accepted.size();
    if (log_) log_("cannot write the journal; the datagrams are applied but not kept");
  }
  for (const ContactEvent& event : events) Apply(event);
}

void LiveEngine::Replay(const std::string& bytes) {
  if (std::optional<ContactEvent> event = Read(bytes, true)) Apply(*event);
}

void LiveEngine::Reject(const std::string& reason, const std::string& detail) {
  ++snapshot_.counters.rejected[reason];
  if (log_) log_("datagram refused: " + reason + (detail.empty() ? "" : " (" + detail + ")"));
}

std::optional<ContactEvent> LiveEngine::Read(const std::string& bytes, bool from_journal) {
  IntakeCounters& counters = snapshot_.counters;
  ++counters.received;
  if (from_journal) ++counters.from_journal;
  ++snapshot_.version;
  DatagramParse parse = ParseDatagram(bytes);
  if (!parse.ok) {
    Reject(parse.reason, parse.detail);
    return std::nullopt;
  }
  EventMapping mapping = MapDatagram(parse.datagram, names_);
  if (!mapping.ok) {
    Reject(mapping.reason, mapping.detail);
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
  std::vector<replay::TimedLine> times;
  std::vector<ContactLine> lines;
  book_.ForEachCounted([&](const replay::Contact& contact, const std::string& timestamp) {
    std::optional<double> day = replay::LinearDay(contact.time);
    if (!day) return;
    times.push_back({*day, lines.size()});
    lines.push_back({timestamp, contact.call, contact.band, contact.mode, contact.received,
                     "outside the contest's window"});
  });
  snapshot_.outside_window = 0;
  snapshot_.outside_lines.clear();
  std::optional<replay::ContestWindow> window = replay::FindContestWindow(times);
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
    case BookChange::kAdded:
      ++counters.added;
      break;
    case BookChange::kReplaced:
      ++counters.replaced;
      break;
    case BookChange::kDeleted:
      ++counters.deleted;
      break;
    case BookChange::kLeftOut:
      ++counters.left_out;
      break;
  }
  snapshot_.last_update = UtcNow();
  const replay::Contact& contact = event.contact;
  ContactLine line{event.timestamp, contact.call,     contact.band,
                   contact.mode,    contact.received, ChangeName(outcome.change)};
  if (outcome.change != BookChange::kDeleted && outcome.change != BookChange::kLeftOut) {
    replay::QsoValues qso;
    static_cast<replay::Contact&>(qso) = contact;
    collector_.AddContact(qso, outcome.check, outcome.summary);
    snapshot_.has_contact = true;
    if (outcome.check.code == replay::kCheckDuplicate) {
      ContactLine duplicate = line;
      duplicate.what = outcome.check.dupe_message.value_or("");
      PushNewest(snapshot_.duplicates, std::move(duplicate));
    }
  }
  PushNewest(snapshot_.last_contacts, std::move(line));
  snapshot_.summary = outcome.summary.text;
  snapshot_.score = outcome.summary.score;
  snapshot_.figures = replay::ParseSummary(outcome.summary.text);
  snapshot_.contacts = book_.size();
}

std::shared_ptr<const LiveSnapshot> LiveEngine::Snapshot(bool render_charts) {
  if (render_charts && snapshot_.charts_version != snapshot_.version) {
    FindOutsideWindow();
    snapshot_.charts = std::make_shared<const std::string>(ChartsHtml(report_));
    snapshot_.charts_version = snapshot_.version;
  }
  return std::make_shared<const LiveSnapshot>(snapshot_);
}

}  // namespace kevo::live
