// Everything the plug-in keeps between calls, apart from the texts it hands back to the host.
#ifndef KEVO_CONTEST_CONTEST_STATE_H_
#define KEVO_CONTEST_CONTEST_STATE_H_

#include <cstdint>
#include <string>

#include "contest/exchange_list.h"
#include "contest/qso_log.h"
#include "platform/platform.h"

namespace kevo {

// Set only by the statistics reset.
struct ContestSettings {
  int32_t rate_suppression = 0;  // non-zero leaves the rate lines out of the summary
  int32_t own_number = 0;
  std::string own_region;
};

struct ContestState {
  QsoLog log;
  ExchangeList exchanges;
  ContestSettings settings;
};

// Empties the log and band list, stores the settings (a null region is empty) and reloads
// the exchange list from the file.
void ResetStatistics(ContestState& state, Platform& platform, int32_t rate_suppression,
                     int32_t own_number, const char* own_region);

}  // namespace kevo

#endif  // KEVO_CONTEST_CONTEST_STATE_H_
