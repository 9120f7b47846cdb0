#ifndef KEVO_REPLAY_LOG_PROBLEM_H_
#define KEVO_REPLAY_LOG_PROBLEM_H_

#include <cstddef>
#include <string>

namespace kevo::replay {

// Something wrong in an input file, at a 1-based line.
struct Problem {
  std::size_t line = 0;
  std::string message;

  bool operator==(const Problem&) const = default;
};

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_LOG_PROBLEM_H_
