#include "tools/live/live_engine.h"

#include <utility>

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

void LiveEngine::Apply(const ContactEvent& event) { Note(event, book_.Apply(event)); }

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
  }
  const replay::Contact& contact = event.contact;
  ContactLine line{event.timestamp, contact.call,     contact.band,
                   contact.mode,    contact.received, ChangeName(outcome.change)};
  if (outcome.change != BookChange::kDeleted) {
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
    snapshot_.charts = std::make_shared<const std::string>(ChartsHtml(report_));
    snapshot_.charts_version = snapshot_.version;
  }
  return std::make_shared<const LiveSnapshot>(snapshot_);
}

}  // namespace kevo::live
