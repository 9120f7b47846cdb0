// The code behind the exported entries, shared by the plain C names and their C++ twins.
// Each function runs on the plug-in's global state, catches every exception and then gives
// the entry's neutral answer, so nothing ever unwinds into the host.
//
// Only a forward declaration of the date-time value is visible here: the file of C++ twins
// must not see the C declarations of the same names.
#ifndef KEVO_PLUGIN_ENTRIES_H_
#define KEVO_PLUGIN_ENTRIES_H_

#include <cstdint>

#include "scoring/call_check_query.h"

class COleDateTime;

namespace kevo {

// The texts and the date-time a QSO report carries; the rest of the 33 parameters is unused.
struct QsoReport {
  const char* call;
  const COleDateTime* time;
  const char* mode;
  const char* sent;
  const char* rcvd;
  const char* prefix;
  const char* region;
  const char* band;
};

const char* SetNameEntry(int32_t set_index) noexcept;
int32_t SetCountEntry() noexcept;
int32_t ValidExchangeEntry() noexcept;
void SetupEntry() noexcept;
const char* RunCommandEntry(int32_t command, const char* argument) noexcept;
int32_t ResetEntry(int32_t rate_suppression, int32_t own_number, const char* own_region) noexcept;
int32_t AddQsoEntry(const QsoReport& report) noexcept;
int32_t RemoveQsoEntry(const QsoReport& report) noexcept;
int32_t CheckCallEntry(const CallCheckQuery& query, char* hint, char* dupe_message) noexcept;
const char* ResultEntry(int32_t* score) noexcept;

// The plug-in's contest state itself, for the session fuzzer, which compares the summary with
// a walk over the whole log after every call. Not exported; no host reaches it.
struct ContestState;
ContestState& ContestStateOfPlugin();

}  // namespace kevo

#endif  // KEVO_PLUGIN_ENTRIES_H_
