// The pre-logging call check: duplicate, expected exchange, and whether it is a new multiplier.
#ifndef KEVO_SCORING_CALL_CHECK_H_
#define KEVO_SCORING_CALL_CHECK_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "contest/contest_state.h"
#include "scoring/call_check_query.h"

namespace kevo {

enum CallCheckResult : int32_t {
  kCheckDuplicate = 0,
  kCheckNoNewMultiplier = 1,
  kCheckNewMultiplier = 2,
  kCheckBandsDiffer = 4,
};

// Answers one of the four codes and writes at most one of the two buffers (null buffers are
// never written). Changes no state.
int32_t CheckCall(const ContestState& state, const CallCheckQuery& query, char* hint,
                  char* dupe_message);

// One of the 23 member prefixes, exact and case-sensitive.
bool IsMemberPrefix(std::string_view prefix);

// The expected exchange when neither the log nor the exchange list gives one.
std::string FallbackHint(const char* prefix, int32_t number);

}  // namespace kevo

#endif  // KEVO_SCORING_CALL_CHECK_H_
