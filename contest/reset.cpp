#include "contest/contest_state.h"
#include "contest/qso_entry.h"

namespace kevo {

void ResetStatistics(ContestState& state, Platform& platform, int32_t rate_suppression,
                     int32_t own_number, const char* own_region) {
  state.log.Clear();
  state.settings.own_region = TextOrEmpty(own_region);
  state.settings.rate_suppression = rate_suppression;
  state.settings.own_number = own_number;
  state.log.SetScoring(own_number, state.settings.own_region);
  // Nothing is merged with the previous list: a file that can't be opened leaves it empty.
  state.exchanges.Clear();
  LoadExchangeList(platform, &state.exchanges);
}

}  // namespace kevo
