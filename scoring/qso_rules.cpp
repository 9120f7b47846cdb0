#include "scoring/qso_rules.h"

#include "text/ascii.h"

namespace kevo {

bool StartsWithLetter(std::string_view text) {
  return !text.empty() && IsAsciiLetter(text.front());
}

int32_t ExchangeNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsAsciiSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Unsigned arithmetic: a number too long for 32 bits wraps instead of overflowing.
  uint32_t value = 0;
  while (pos < text.size() && IsAsciiDigit(text[pos])) {
    value = value * 10u + static_cast<uint32_t>(text[pos] - '0');
    ++pos;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

QsoPointsByRegion QsoPoints(std::string_view rcvd, int32_t own_number) {
  if (StartsWithLetter(rcvd) || ExchangeNumber(rcvd) == own_number) return {1, 1};
  return {3, 5};
}

std::optional<std::string> NormalizedRcvd(std::string_view rcvd) {
  if (rcvd.size() != 1) return std::nullopt;
  return std::string{'0', rcvd[0]};
}

PassRules::PassRules(const QsoLog& log, const ContestSettings& settings)
    : own_region_(log.TextId(settings.own_region)),
      points_(2 * log.pair_count(), 0),
      normalized_(log.pair_count(), 0) {
  for (uint32_t pair = 0; pair < log.pair_count(); ++pair) {
    // Only the pairs of live entries are asked about; once normalised, a one-byte exchange
    // leaves its old pair empty for good.
    if (log.pair(pair).live_count == 0) continue;
    const std::string& rcvd = log.Text(log.pair(pair).rcvd);
    const QsoPointsByRegion points = QsoPoints(rcvd, settings.own_number);
    points_[2 * std::size_t{pair}] = points.other_region;
    points_[2 * std::size_t{pair} + 1] = points.own_region;
    normalized_[pair] = NormalizedRcvd(rcvd).has_value() ? 1 : 0;
  }
}

void PassRules::StoreNormalized(QsoLog& log, std::size_t slot) {
  if (std::optional<std::string> stored = NormalizedRcvd(log.entry(slot).m_strRcvd))
    log.ReplaceRcvdInSlot(slot, std::move(*stored));
}

}  // namespace kevo
