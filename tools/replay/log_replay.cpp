#include "tools/replay/log_replay.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace kevo::replay {

namespace {

constexpr std::int32_t kDuplicate = 0;
constexpr std::int32_t kNewMultiplier = 2;

void PrintProblems(std::ostream& out, const std::string& file_name,
                   const std::vector<Problem>& problems) {
  for (const Problem& problem : problems) {
    out << "    " << file_name;
    if (problem.line > 0) out << ':' << problem.line;
    out << ": " << problem.message << '\n';
  }
}

}  // namespace

ReplayResult ReplayLog(const EntryPoints& entries, const ContestSettings& settings,
                       const std::vector<QsoValues>& qsos) {
  ReplayResult result;
  CallReset(entries, settings.rate_suppression, settings.own_number, settings.own_region.c_str());
  std::size_t exchange_list_bytes = ExchangeListBytes();
  std::size_t longest_received = 0;
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
    std::int32_t answer = CallCheck(entries, check);
    if (answer == kDuplicate) ++result.duplicates;
    if (answer == kNewMultiplier) ++result.new_multipliers;
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
    ++result.added;
    longest_received = std::max(longest_received, qso.received.size());
  }
  std::int32_t score = 0;
  const char* summary = entries.GetResult0(&score);
  result.summary = summary != nullptr ? summary : "";
  result.score = score;
  return result;
}

void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds) {
  out << ToTerminalLineEnds(result.summary);
  out << '\n' << "Replay of " << file_name << " (" << LogFormatName(input.format) << ")\n";
  out << "  records read:       " << input.records_read << '\n';
  out << "  records used:       " << result.added << '\n';
  out << "  records skipped:    " << input.skipped.size() << '\n';
  PrintProblems(out, file_name, input.skipped);
  out << "  duplicates flagged: " << result.duplicates << '\n';
  out << "  new multipliers:    " << result.new_multipliers << '\n';
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
