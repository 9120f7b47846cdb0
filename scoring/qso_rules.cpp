#include "scoring/qso_rules.h"

namespace kevo {

namespace {
bool IsAsciiSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
}  // namespace

bool StartsWithLetter(std::string_view text) {
  return !text.empty() && IsAsciiLetter(static_cast<unsigned char>(text.front()));
}

int32_t ExchangeNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsAsciiSpace(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Unsigned arithmetic: a number too long for 32 bits wraps instead of overflowing.
  uint32_t value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10u + static_cast<uint32_t>(text[pos] - '0');
    ++pos;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

int32_t QsoPoints(const CQsoEntry& entry, const ContestSettings& settings) {
  if (StartsWithLetter(entry.m_strRcvd)) return 1;
  if (ExchangeNumber(entry.m_strRcvd) == settings.own_number) return 1;
  if (entry.m_strRegion != settings.own_region) return 5;
  return 3;
}

std::string SummaryDupeKey(const CQsoEntry& entry) {
  std::string key;
  key.reserve(entry.m_strMode.size() + entry.m_strBand.size() + entry.m_strCall.size());
  key.append(entry.m_strMode).append(entry.m_strBand).append(entry.m_strCall);
  return key;
}

std::string ExtLogDupeKey(const CQsoEntry& entry) {
  std::string key;
  key.reserve(entry.m_strBand.size() + entry.m_strMode.size() + entry.m_strCall.size() + 2);
  key.append(entry.m_strBand)
      .append("-")
      .append(entry.m_strMode)
      .append("-")
      .append(entry.m_strCall);
  return key;
}

std::string MultKey(const CQsoEntry& entry) {
  std::string key;
  key.reserve(entry.m_strBand.size() + entry.m_strRcvd.size() + 1);
  key.append(entry.m_strBand).append("-").append(entry.m_strRcvd);
  return key;
}

void NormalizeRcvd(QsoLog& log, std::size_t index) {
  const std::string& rcvd = log.at(index).m_strRcvd;
  if (rcvd.size() != 1) return;
  log.ReplaceRcvd(index, std::string{'0', rcvd[0]});
}

void NormalizeRcvdInSlot(QsoLog& log, std::size_t slot) {
  const std::string& rcvd = log.entry(slot).m_strRcvd;
  if (rcvd.size() != 1) return;
  log.ReplaceRcvdInSlot(slot, std::string{'0', rcvd[0]});
}

}  // namespace kevo
