#include "tools/host/contest_window.h"

#include <algorithm>

namespace kevo::host {

namespace {

// Day counts carry a rounding error of well under a second; a contact on the window's very
// last minute still belongs inside.
constexpr double kSlackDays = 1e-6;

}  // namespace

std::optional<ContestWindow> FindContestWindow(const std::vector<TimedLine>& times) {
  if (times.empty()) return std::nullopt;
  std::vector<double> days;
  days.reserve(times.size());
  for (const TimedLine& time : times) days.push_back(time.day);
  std::sort(days.begin(), days.end());
  // Two pointers: for every first contact, the contacts up to 48 hours after it.
  std::size_t best_begin = 0, best_end = 0;
  for (std::size_t begin = 0, end = 0; begin < days.size(); ++begin) {
    end = std::max(end, begin);
    while (end < days.size() && days[end] - days[begin] <= kLongestWindowDays + kSlackDays) ++end;
    if (end - begin > best_end - best_begin) {
      best_begin = begin;
      best_end = end;
    }
  }
  return DeclaredWindow(times, days[best_begin], days[best_end - 1]);
}

ContestWindow DeclaredWindow(const std::vector<TimedLine>& times, double first, double last) {
  ContestWindow window;
  window.first = first;
  window.last = last;
  for (const TimedLine& time : times) {
    if (time.day < first || time.day > last) window.outside.push_back(time.line);
  }
  std::sort(window.outside.begin(), window.outside.end());
  return window;
}

}  // namespace kevo::host
