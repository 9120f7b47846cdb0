// The score summary: per-band QSOs, points and multipliers, totals, rates and the score.
#ifndef KEVO_SCORING_SCORE_SUMMARY_H_
#define KEVO_SCORING_SCORE_SUMMARY_H_

#include <cstdint>
#include <string>

#include "contest/contest_state.h"

namespace kevo {

// Sorts the band list in place, normalises the scored entries, writes the summary text into
// *text and returns the score (total points x total multipliers, wrapped to 32 bits).
int32_t BuildScoreSummary(ContestState& state, std::string* text);

// The summary's band order: a descending exchange sort of the bands' "0"-padded forms.
void SortBands(QsoLog& log);

}  // namespace kevo

#endif  // KEVO_SCORING_SCORE_SUMMARY_H_
