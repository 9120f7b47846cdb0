// How one QSO log entry is scored: its points and the normalisation of a one-byte received
// exchange. The keys that make duplicates and multipliers are in qso_keys.h.
#ifndef KEVO_SCORING_QSO_RULES_H_
#define KEVO_SCORING_QSO_RULES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contest_state.h"

namespace kevo {

// Not empty and the first byte is an ASCII letter.
bool StartsWithLetter(std::string_view text);

// Leading decimal number after ASCII white space and one optional sign; wraps at 32 bits.
int32_t ExchangeNumber(std::string_view text);

// The points rule, from the received exchange as it stands: 1 when it starts with a letter or
// its number is the own number; otherwise 3 when the worked station's region code is the own
// one (byte for byte), else 5. Both answers at once, since a pass works them out once per
// exchange and then picks one by the entry's region.
struct QsoPointsByRegion {
  int32_t own_region;
  int32_t other_region;
};
QsoPointsByRegion QsoPoints(std::string_view rcvd, int32_t own_number);

// The normalisation: a one-byte received exchange is stored as "0" and that byte. The text to
// store instead, or nothing when the exchange stays as it is.
std::optional<std::string> NormalizedRcvd(std::string_view rcvd);

// Both rules as one scoring pass applies them, by ids: worked out once for every (band,
// exchange) pair the log holds when the pass begins. A pass scores an entry before it
// normalises it, so the pairs that normalising adds are never asked about.
class PassRules {
 public:
  PassRules(const QsoLog& log, const ContestSettings& settings);

  // QsoPoints of the entry in the slot.
  int32_t Points(const QsoLog::SlotKeys& keys) const {
    return points_[2 * std::size_t{keys.pair} + (keys.region == own_region_ ? 1 : 0)];
  }

  // Normalises the received exchange of the entry in the slot, in the log itself.
  void Normalize(QsoLog& log, std::size_t slot) const {
    if (normalized_[log.keys(slot).pair]) StoreNormalized(log, slot);
  }

 private:
  uint32_t own_region_;              // kNoId when no entry has it: then every region differs
  std::vector<int32_t> points_;      // two per pair: another region, the own region
  std::vector<uint8_t> normalized_;  // by pair: NormalizedRcvd changes the exchange

  static void StoreNormalized(QsoLog& log, std::size_t slot);
};

}  // namespace kevo

#endif  // KEVO_SCORING_QSO_RULES_H_
