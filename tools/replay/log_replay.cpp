#include "tools/replay/log_replay.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

namespace kevo::replay {

namespace {

constexpr std::int32_t kDuplicate = 0;

// What the library compares to keep a contact once: the texts byte for byte, the date-time's
// day count as a number and its status.
using ContactKey = std::tuple<std::string, std::string, std::string, double, std::int32_t>;

ContactKey KeyOf(const QsoValues& qso) {
  return {qso.call, qso.band, qso.mode, qso.time.m_dt, qso.time.m_status};
}

std::optional<std::string> WrittenText(const CheckBuffer& buffer) {
  if (!buffer.Changed() || !buffer.GuardIntact()) return std::nullopt;
  return buffer.Text();
}

void PrintProblems(std::ostream& out, const std::string& file_name,
                   const std::vector<Problem>& problems) {
  for (const Problem& problem : problems) {
    out << "    " << file_name;
    if (problem.line > 0) out << ':' << problem.line;
    out << ": " << problem.message << '\n';
  }
}

// One line per kind of reason: "FILE:3,7,9 and 12 more: reason (15 records)"; a reason met
// once looks like a single problem.
void PrintSkipGroups(std::ostream& out, const std::string& file_name,
                     const std::vector<SkipGroup>& groups, std::size_t first_lines) {
  for (const SkipGroup& group : groups) {
    out << "    " << file_name << ':';
    std::size_t shown = std::min(group.lines.size(), first_lines);
    for (std::size_t i = 0; i < shown; ++i) out << (i > 0 ? "," : "") << group.lines[i];
    if (shown < group.lines.size()) out << " and " << group.lines.size() - shown << " more";
    out << ": " << group.reason;
    if (!group.alike) out << ", and the like";
    if (group.lines.size() > 1) out << " (" << group.lines.size() << " records)";
    out << '\n';
  }
}

void PrintHeaderFacts(std::ostream& out, const ReplayInput& input, const ReplayResult& result) {
  const CabrilloHeader& header = input.header;
  if (!header.contest.empty()) out << "  contest:            " << header.contest << '\n';
  if (!header.callsign.empty()) out << "  callsign:           " << header.callsign << '\n';
  if (!header.claimed_score.empty()) {
    out << "  score:              claimed " << header.claimed_score << ", computed " << result.score
        << '\n';
  }
  if (!input.layout.empty()) out << "  layout:             " << input.layout << '\n';
}

}  // namespace

ReplayResult ReplayLog(const EntryPoints& entries, const ContestSettings& settings,
                       const std::vector<QsoValues>& qsos, ReportCollector* report) {
  ReplayResult result;
  CallReset(entries, settings.rate_suppression, settings.own_number, settings.own_region.c_str());
  std::size_t exchange_list_bytes = ExchangeListBytes();
  std::size_t longest_received = 0;
  std::set<ContactKey> contacts;
  result.records.reserve(qsos.size());
  for (const QsoValues& qso : qsos) {
    CheckBuffer hint(HintRoom(longest_received, exchange_list_bytes), std::nullopt);
    CheckBuffer dupe(DupeMessageRoom(qso.call.size()), std::nullopt);
    CheckArguments check;
    check.call = qso.call.c_str();
    check.mode = qso.mode.c_str();
    check.prefix = qso.prefix.c_str();
    check.band = qso.band.c_str();
    check.hint = hint.data();
    check.dupe_message = dupe.data();
    RecordOutcome outcome;
    outcome.check_answer = CallCheck(entries, check);
    ++result.answers[outcome.check_answer];
    outcome.hint = WrittenText(hint);
    outcome.dupe_message = WrittenText(dupe);
    if (!hint.GuardIntact() || !dupe.GuardIntact()) {
      result.library_faults.push_back({qso.line, "the call check wrote past the end of a buffer"});
    }

    QsoArguments add;
    add.call = qso.call.c_str();
    add.band = qso.band.c_str();
    add.mode = qso.mode.c_str();
    add.sent = qso.sent.c_str();
    add.received = qso.received.c_str();
    add.prefix = qso.prefix.c_str();
    add.region = qso.region.c_str();
    add.time = qso.time;
    CallAdd(entries, add);
    if (report != nullptr) {
      std::int32_t score = 0;
      const char* summary = entries.GetResult0(&score);
      report->AddContact(qso, outcome.check_answer, outcome.dupe_message.value_or(""),
                         summary != nullptr ? summary : "", score);
    }
    outcome.repeats_earlier = !contacts.insert(KeyOf(qso)).second;
    outcome.qso = qso;
    result.records.push_back(std::move(outcome));
    longest_received = std::max(longest_received, qso.received.size());
  }
  result.stored = contacts.size();
  std::int32_t score = 0;
  const char* summary = entries.GetResult0(&score);
  result.summary = summary != nullptr ? summary : "";
  result.score = score;
  if (report != nullptr) report->Finish(result.summary, result.score);
  return result;
}

void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds, const ReportStyle& style) {
  out << ToTerminalLineEnds(result.summary);
  out << '\n' << "Replay of " << file_name << " (" << LogFormatName(input.format) << ")\n";
  PrintHeaderFacts(out, input, result);
  out << "  records read:       " << input.records_read << '\n';
  out << "  records used:       " << result.records.size() << '\n';
  out << "  records skipped:    " << input.skipped.size() << '\n';
  if (style.verbose) {
    PrintProblems(out, file_name, input.skipped);
  } else {
    PrintSkipGroups(out, file_name, GroupSkipped(input.skipped), style.first_lines);
  }
  out << "  contacts stored:    " << result.stored;
  if (std::size_t repeats = result.records.size() - result.stored; repeats > 0) {
    out << " (" << repeats << " record(s) repeat an earlier contact's call, band, mode and "
        << "time, which the library keeps once)";
  }
  out << '\n';
  auto duplicates = result.answers.find(kDuplicate);
  out << "  duplicates flagged: " << (duplicates == result.answers.end() ? 0 : duplicates->second)
      << '\n';
  std::string answers;
  for (const auto& [answer, count] : result.answers) {
    answers +=
        (answers.empty() ? "" : ", ") + std::to_string(answer) + ": " + std::to_string(count);
  }
  out << "  call check answers: " << (answers.empty() ? "none" : answers) << '\n';
  if (!input.notes.empty()) {
    out << "  notes:\n";
    PrintProblems(out, file_name, input.notes);
  }
  if (!result.library_faults.empty()) {
    out << "  library faults:\n";
    PrintProblems(out, file_name, result.library_faults);
  }
  char time_text[32];
  std::snprintf(time_text, sizeof time_text, "%.1f ms", seconds * 1000.0);
  out << "  time taken:         " << time_text << '\n';
}

}  // namespace kevo::replay
