// Lines of a file as every reader splits them, and line ends for the terminal.
#ifndef KEVO_TOOLS_REPLAY_INPUTS_LINES_H_
#define KEVO_TOOLS_REPLAY_INPUTS_LINES_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kevo::replay {

// A line ends at LF, at CR LF, or at a CR that no LF follows. Returns the line that starts at
// `start`, without its end, and moves `start` to the next line.
std::string_view NextLine(std::string_view text, std::size_t& start);

// Calls visit(line, number) for every line, numbered from 1.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t number = 1;
  for (std::size_t start = 0; start < text.size();) visit(NextLine(text, start), number++);
}

// Maps byte offsets of a text to the 1-based numbers of the lines NextLine finds.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text);
  std::size_t LineOf(std::size_t offset) const;

 private:
  std::vector<std::size_t> line_starts_;
};

// Turns CR LF into the terminal's line end ("\n"; text-mode output puts CR LF back on
// Windows).
std::string ToTerminalLineEnds(std::string_view text);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_INPUTS_LINES_H_
