// How one QSO log entry is scored: points, duplicate keys, the multiplier key and the
// normalisation of a one-byte received exchange.
#ifndef KEVO_SCORING_QSO_RULES_H_
#define KEVO_SCORING_QSO_RULES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "contest/contest_state.h"

namespace kevo {

// Not empty and the first byte is an ASCII letter.
bool StartsWithLetter(std::string_view text);

// Leading decimal number after ASCII white space and one optional sign; wraps at 32 bits.
int32_t ExchangeNumber(std::string_view text);

// 1, 3 or 5 points from the received exchange as it stands now and the contest settings.
int32_t QsoPoints(const CQsoEntry& entry, const ContestSettings& settings);

// mode + band + call with no separator: the summary's duplicate key.
std::string SummaryDupeKey(const CQsoEntry& entry);

// band "-" mode "-" call: the extended log's duplicate key.
std::string ExtLogDupeKey(const CQsoEntry& entry);

// band "-" received exchange.
std::string MultKey(const CQsoEntry& entry);

// A one-byte received exchange is stored as "0" and that byte, in the log itself.
void NormalizeRcvd(QsoLog& log, std::size_t index);
// The same for the entry in a slot (see QsoLog::slot_count), as the scoring passes walk them.
void NormalizeRcvdInSlot(QsoLog& log, std::size_t slot);

}  // namespace kevo

#endif  // KEVO_SCORING_QSO_RULES_H_
