// What a reader found wrong in a file, and the grouping by which the tool shows many alike
// problems in one line.
#ifndef KEVO_TOOLS_HOST_PROBLEM_H_
#define KEVO_TOOLS_HOST_PROBLEM_H_

#include <cstddef>
#include <string>
#include <vector>

namespace kevo::host {

// Something wrong in an input file, at a 1-based line (0: the file as a whole).
struct Problem {
  std::size_t line = 0;
  std::string message;

  bool operator==(const Problem&) const = default;
};

// Skipped records of one kind of reason, in the order of their first line.
struct SkipGroup {
  std::string reason;              // the first record's reason
  bool alike = true;               // every record of the group has that very reason
  std::vector<std::size_t> lines;  // in file order
};

// Groups records whose reasons differ only in the values they quote ('...') and in numbers.
std::vector<SkipGroup> GroupSkipped(const std::vector<Problem>& skipped);

// How many line numbers a list shows before it says how many more there are.
inline constexpr std::size_t kFirstLinesShown = 5;

// The first kFirstLinesShown of `lines`, joined by `separator`, and how many were left out.
struct FirstLines {
  std::string shown;
  std::size_t more = 0;
};
FirstLines FirstLinesOf(const std::vector<std::size_t>& lines, const char* separator);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_PROBLEM_H_
