// The parameters of CheckCall0 that the call check reads, as the entry hands them over. Kept
// apart from call_check.h so that the entries can name it without seeing the library's state.
#ifndef KEVO_SCORING_CALL_CHECK_QUERY_H_
#define KEVO_SCORING_CALL_CHECK_QUERY_H_

#include <cstdint>

namespace kevo {

// Null texts keep the host's meaning: a null call, band or mode is the empty text.
struct CallCheckQuery {
  const char* call = nullptr;
  const char* mode = nullptr;
  const char* prefix = nullptr;  // null ends the check with 1
  int32_t number = 0;            // shown in the "%02i?" fallback
  const char* band = nullptr;
  const char* band2 = nullptr;  // null skips the band pre-check
};

}  // namespace kevo

#endif  // KEVO_SCORING_CALL_CHECK_QUERY_H_
