// Runs the full-walk summary beside the library's and says where they part: the text, the
// score, the band order or any stored entry after the call.
#ifndef KEVO_TESTS_SUPPORT_SUMMARY_TWINS_H_
#define KEVO_TESTS_SUPPORT_SUMMARY_TWINS_H_

#include <cstdint>
#include <string>

#include "contest/contest_state.h"

namespace kevo::reference {

// `before` is the state as it was before the library's summary, which left `after`, `text`
// and `score` (not compared when null). Empty when the full walk over `before` gives the
// same; else what differs.
std::string DifferenceFromFullWalk(const ContestState& before, const ContestState& after,
                                   const std::string& text, const int32_t* score);

// The library's summary of `state`, checked against the full walk: the difference, if any,
// goes to *difference.
int32_t SummaryBesideFullWalk(ContestState& state, std::string* text, std::string* difference);

}  // namespace kevo::reference

#endif  // KEVO_TESTS_SUPPORT_SUMMARY_TWINS_H_
