#include "tools/replay/inputs/lines.h"

#include <algorithm>

namespace kevo::replay {

std::string_view NextLine(std::string_view text, std::size_t& start) {
  std::size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) end = text.size();
  std::string_view line = text.substr(start, end - start);
  start = end;
  if (start < text.size()) start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
  return line;
}

LineIndex::LineIndex(std::string_view text) {
  line_starts_.push_back(0);
  for (std::size_t start = 0; start < text.size();) {
    std::string_view line = NextLine(text, start);
    bool ended = static_cast<std::size_t>(line.data() - text.data()) + line.size() < start;
    if (ended) line_starts_.push_back(start);
  }
}

std::size_t LineIndex::LineOf(std::size_t offset) const {
  auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  return static_cast<std::size_t>(after - line_starts_.begin());
}

std::string ToTerminalLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace kevo::replay
