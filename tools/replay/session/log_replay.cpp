#include "tools/replay/session/log_replay.h"

#include <set>
#include <tuple>

namespace kevo::replay {

namespace {

// What the library compares to keep a contact once: the texts byte for byte, the date-time's
// day count as a number and its status. The library's own rule is SameQso in the QSO log;
// this copy only counts, it never decides what is scored.
using ContactKey = std::tuple<std::string, std::string, std::string, double, std::int32_t>;

ContactKey KeyOf(const host::QsoValues& qso) {
  return {qso.call, qso.band, qso.mode, qso.time.m_dt, qso.time.m_status};
}

}  // namespace

ReplayResult ReplayLog(const host::EntryPoints& entries, const host::HostSettings& settings,
                       const std::vector<host::QsoValues>& qsos, SummaryAt summary_at,
                       const ContactObserver& observer) {
  ReplayResult result;
  result.summary_at = summary_at;
  host::HostSession session(entries);
  session.Reset(settings);
  std::set<ContactKey> contacts;
  result.records.reserve(qsos.size());
  for (const host::QsoValues& qso : qsos) {
    RecordOutcome outcome;
    outcome.check = session.Log(qso);
    ++result.answers[outcome.check.code];
    if (outcome.check.overran) {
      result.library_faults.push_back({qso.line, "the call check wrote past the end of a buffer"});
    }
    outcome.repeats_earlier = !contacts.insert(KeyOf(qso)).second;
    outcome.qso = qso;
    result.records.push_back(std::move(outcome));
    if (summary_at == SummaryAt::kEachContact) {
      result.summary = session.AskSummary();
      if (observer) observer(result.records.back(), result.summary);
    }
  }
  result.stored = contacts.size();
  if (summary_at == SummaryAt::kEnd || qsos.empty()) result.summary = session.AskSummary();
  return result;
}

}  // namespace kevo::replay
