#include "tools/host/problem.h"

#include <algorithm>
#include <map>

#include "text/ascii.h"

namespace kevo::host {

namespace {

// What makes two reasons the same kind: their text without quoted values and numbers.
std::string ReasonKind(const std::string& reason) {
  std::string kind;
  bool quoted = false;
  for (char c : reason) {
    if (c == '\'') {
      quoted = !quoted;
      kind += c;
    } else if (!quoted && !IsAsciiDigit(c)) {
      kind += c;
    } else if (!quoted && (kind.empty() || kind.back() != '#')) {
      kind += '#';
    }
  }
  return kind;
}

}  // namespace

std::vector<SkipGroup> GroupSkipped(const std::vector<Problem>& skipped) {
  std::vector<SkipGroup> groups;
  std::map<std::string, std::size_t> group_of_kind;
  for (const Problem& problem : skipped) {
    auto [found, added] = group_of_kind.emplace(ReasonKind(problem.message), groups.size());
    if (added) groups.push_back({problem.message, true, {}});
    SkipGroup& group = groups[found->second];
    group.alike = group.alike && group.reason == problem.message;
    group.lines.push_back(problem.line);
  }
  return groups;
}

FirstLines FirstLinesOf(const std::vector<std::size_t>& lines, const char* separator) {
  FirstLines result;
  std::size_t shown = std::min(lines.size(), kFirstLinesShown);
  for (std::size_t i = 0; i < shown; ++i) {
    result.shown += (i > 0 ? separator : "") + std::to_string(lines[i]);
  }
  result.more = lines.size() - shown;
  return result;
}

}  // namespace kevo::host
