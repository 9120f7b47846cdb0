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

int32_t QsoPoints(std::string_view rcvd, bool own_region, int32_t own_number) {
  if (StartsWithLetter(rcvd)) return 1;
  if (ExchangeNumber(rcvd) == own_number) return 1;
  return own_region ? 3 : 5;
}

std::optional<std::string> NormalizedRcvd(std::string_view rcvd) {
  if (rcvd.size() != 1) return std::nullopt;
  return std::string{'0', rcvd[0]};
}

PassRules::PassRules(const QsoLog& log, const ContestSettings& settings)
    : own_region_(log.TextId(settings.own_region)) {
  points_.reserve(2 * log.pair_count());
  normalized_.reserve(log.pair_count());
  for (uint32_t pair = 0; pair < log.pair_count(); ++pair) {
    const std::string& rcvd = log.Text(log.pair(pair).rcvd);
    points_.push_back(QsoPoints(rcvd, false, settings.own_number));
    points_.push_back(QsoPoints(rcvd, true, settings.own_number));
    normalized_.push_back(NormalizedRcvd(rcvd).has_value() ? 1 : 0);
  }
}

void PassRules::StoreNormalized(QsoLog& log, std::size_t slot) {
  if (std::optional<std::string> stored = NormalizedRcvd(log.entry(slot).m_strRcvd))
    log.ReplaceRcvdInSlot(slot, std::move(*stored));
}

}  // namespace kevo
