#include "tools/replay/replay_report.h"

#include <cstdio>

#include "tools/replay/transcript.h"

namespace kevo::replay {

namespace {

void PrintProblems(std::ostream& out, const std::string& file_name,
                   const std::vector<Problem>& problems) {
  for (const Problem& problem : problems) {
    out << "    " << file_name;
    if (problem.line > 0) out << ':' << problem.line;
    out << ": " << problem.message << '\n';
  }
}

}  // namespace

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
