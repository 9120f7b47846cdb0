// The summary against the walk over the whole log that it replaced, on the plug-in's own
// state: after every call of a session, and for every summary a host asks for.
#include <string>

#include "contest/contest_state.h"
#include "plugin/entries.h"
#include "scoring/score_summary.h"
#include "session_model.h"
#include "summary_twins.h"

namespace kevo_fuzz {

namespace {

void CheckNoDifference(const std::string& difference) {
  if (difference.empty()) return;
  std::fprintf(stderr, "summary differs from the full walk: %s\n", difference.c_str());
  KEVO_FUZZ_CHECK(false, "summary equals the full walk");
}

}  // namespace

void CheckSummaryOfCopy() {
  const kevo::ContestState& live = kevo::ContestStateOfPlugin();
  kevo::ContestState copy = live;
  std::string text;
  const int32_t score = kevo::BuildScoreSummary(copy, &text);
  CheckNoDifference(kevo::reference::DifferenceFromFullWalk(live, copy, text, &score));
}

const char* SummaryBesideFullWalk(int32_t* score) {
  const kevo::ContestState before = kevo::ContestStateOfPlugin();
  const char* text = GetResult0(score);
  KEVO_FUZZ_CHECK(text != nullptr, "GetResult0 returns a text");
  CheckNoDifference(
      kevo::reference::DifferenceFromFullWalk(before, kevo::ContestStateOfPlugin(), text, score));
  return text;
}

}  // namespace kevo_fuzz
