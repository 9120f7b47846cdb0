// Calls of the working entries with every parameter the library does not read filled in as a
// host fills it: empty texts, zero numbers and a valid date-time value.
#ifndef KEVO_REPLAY_ENTRY_CALLS_H_
#define KEVO_REPLAY_ENTRY_CALLS_H_

#include <cstdint>

#include "tools/replay/entry_points.h"

namespace kevo::replay {

// Texts may be null where a script says so.
struct QsoArguments {
  const char* call = "";
  const char* band = "";
  const char* mode = "";
  const char* sent = "";
  const char* received = "";
  const char* prefix = "";
  const char* region = "";
  COleDateTime time{0.0, 0};
};

struct CheckArguments {
  const char* call = "";
  const char* mode = "";
  const char* prefix = "";
  const char* band = "";
  const char* band2 = nullptr;  // no second band: no band pre-check
  std::int32_t number = 0;
  char* hint = nullptr;
  char* dupe_message = nullptr;
};

std::int32_t CallReset(const EntryPoints& entries, std::int32_t no_rates, std::int32_t own_number,
                       const char* own_region);
std::int32_t CallAdd(const EntryPoints& entries, const QsoArguments& qso);
std::int32_t CallRemove(const EntryPoints& entries, const QsoArguments& qso);
std::int32_t CallCheck(const EntryPoints& entries, const CheckArguments& check);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_ENTRY_CALLS_H_
