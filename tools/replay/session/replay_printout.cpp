#include "tools/replay/session/replay_printout.h"

#include <cstdio>

#include "tools/host/linear_time.h"
#include "tools/replay/inputs/lines.h"

namespace kevo::replay {

namespace {

void PrintProblems(std::ostream& out, const std::string& file_name,
                   const std::vector<host::Problem>& problems) {
  for (const host::Problem& problem : problems) {
    out << "    " << file_name;
    if (problem.line > 0) out << ':' << problem.line;
    out << ": " << problem.message << '\n';
  }
}

// One line per kind of reason: "FILE:3,7,9 and 12 more: reason (15 records)"; a reason met
// once looks like a single problem.
void PrintSkipGroups(std::ostream& out, const std::string& file_name,
                     const std::vector<host::SkipGroup>& groups) {
  for (const host::SkipGroup& group : groups) {
    host::FirstLines first = host::FirstLinesOf(group.lines, ",");
    out << "    " << file_name << ':' << first.shown;
    if (first.more > 0) out << " and " << first.more << " more";
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
    out << "  score:              claimed " << header.claimed_score << ", computed "
        << result.summary.score << '\n';
  }
  if (!input.layout.empty()) out << "  layout:             " << input.layout << '\n';
}

// Records far from the rest are scored like any other, so the score may hold contacts of
// another contest or a mistyped date; the operator should look at them.
void PrintTimeWarnings(std::ostream& out, const std::string& file_name, const ReplayInput& input) {
  if (input.window && !input.window->outside.empty()) {
    host::FirstLines first = host::FirstLinesOf(input.window->outside, ",");
    out << "  warning:            " << input.window->outside.size()
        << " record(s) outside the contest's " << host::FormatUtc(input.window->first) << " to "
        << host::FormatUtc(input.window->last) << " UTC: " << file_name << ':' << first.shown;
    if (first.more > 0) out << " and " << first.more << " more";
    out << '\n';
  }
  if (input.out_of_order > 0) {
    out << "  time order:         " << input.out_of_order
        << " record(s) dated before one above them in the file; replayed in "
        << (input.order == RecordOrder::kTime ? "time order" : "file order (--order file)") << '\n';
  }
}

}  // namespace

void PrintReplayReport(std::ostream& out, const std::string& file_name, const ReplayInput& input,
                       const ReplayResult& result, double seconds, const PrintStyle& style) {
  out << ToTerminalLineEnds(result.summary.text);
  out << '\n' << "Replay of " << file_name << " (" << LogFormatName(input.format) << ")\n";
  PrintHeaderFacts(out, input, result);
  out << "  summary asked:      "
      << (result.summary_at == SummaryAt::kEachContact
              ? "after every contact, as a host does (the last one shown)"
              : "once, after the last contact (--summary-at end)")
      << '\n';
  out << "  records read:       " << input.records_read << '\n';
  out << "  records used:       " << result.records.size() << '\n';
  out << "  records skipped:    " << input.skipped.size() << '\n';
  if (style.verbose) {
    PrintProblems(out, file_name, input.skipped);
  } else {
    PrintSkipGroups(out, file_name, host::GroupSkipped(input.skipped));
  }
  PrintTimeWarnings(out, file_name, input);
  out << "  contacts stored:    " << result.stored;
  if (std::size_t repeats = result.records.size() - result.stored; repeats > 0) {
    out << " (" << repeats << " record(s) repeat an earlier contact's call, band, mode and "
        << "time, which the library keeps once)";
  }
  out << '\n';
  auto duplicates = result.answers.find(host::kCheckDuplicate);
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
