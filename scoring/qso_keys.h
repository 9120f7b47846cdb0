// The keys by which the scoring passes tell entries apart. Entries whose key texts are equal,
// byte for byte, are one duplicate group or one multiplier. The QSO log asks these once for
// every new (call, band, mode) group and (band, exchange) pair and keeps class ids, so that
// no pass builds a key text per entry.
#ifndef KEVO_SCORING_QSO_KEYS_H_
#define KEVO_SCORING_QSO_KEYS_H_

#include <string>
#include <string_view>

namespace kevo {

// mode + band + call with no separator: the summary's duplicate key. Its dupe set is kept per
// band.
std::string SummaryDupeKey(std::string_view call, std::string_view band, std::string_view mode);

// band "-" mode "-" call: the extended log's duplicate key, one set for the whole file.
std::string ExtLogDupeKey(std::string_view call, std::string_view band, std::string_view mode);

// band "-" received exchange (as stored after normalisation): the multiplier key of both
// passes, kept per band in the summary and for the whole file in the extended log.
std::string MultKey(std::string_view band, std::string_view rcvd);

}  // namespace kevo

#endif  // KEVO_SCORING_QSO_KEYS_H_
