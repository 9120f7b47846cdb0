// The contest's window in a log's contacts: the span of at most 48 hours that holds the most
// of them. A contact dated years away (a typo in the date, a clock that was never set) would
// otherwise stretch the charts over the years between and hide the contest in one bar; the
// window lets the page and the printout chart the contest and name the records outside it.
#ifndef KEVO_TOOLS_HOST_CONTEST_WINDOW_H_
#define KEVO_TOOLS_HOST_CONTEST_WINDOW_H_

#include <cstddef>
#include <optional>
#include <vector>

namespace kevo::host {

// The longest window: the contests this library scores run 48 hours at most.
inline constexpr double kLongestWindowDays = 2.0;

// A contact's time as a linear UTC day count (see LinearDay in ole_date.h) and its line.
struct TimedLine {
  double day = 0.0;
  std::size_t line = 0;
};

struct ContestWindow {
  double first = 0.0;  // the earliest and the latest contact inside, as linear days
  double last = 0.0;
  std::vector<std::size_t> outside;  // lines of the contacts outside, in file order
};

// Empty without any timed contact. Of equally dense spans the earliest wins, so the answer
// never depends on the order of `times`.
std::optional<ContestWindow> FindContestWindow(const std::vector<TimedLine>& times);

// The window a log declares itself (from `first` to `last`, linear days), with the contacts
// outside it.
ContestWindow DeclaredWindow(const std::vector<TimedLine>& times, double first, double last);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_CONTEST_WINDOW_H_
