// The score summary computed by walking the whole log on every call: text, score, band order
// and normalised exchanges exactly as the library's summary must leave them. For tests,
// fuzzers and benchmarks only.
#ifndef KEVO_TESTS_SUPPORT_FULL_WALK_SUMMARY_H_
#define KEVO_TESTS_SUPPORT_FULL_WALK_SUMMARY_H_

#include <cstdint>
#include <string>

#include "contest/contest_state.h"

namespace kevo::reference {

// Sorts the band list, normalises the scored entries, writes the text and returns the score.
int32_t FullWalkScoreSummary(ContestState& state, std::string* text);

// The band order's exchange sort, run in full every time.
void FullWalkSortBands(QsoLog& log);

}  // namespace kevo::reference

#endif  // KEVO_TESTS_SUPPORT_FULL_WALK_SUMMARY_H_
