#include "scoring/call_check.h"

#include <cstring>

#include "text/ascii.h"

namespace kevo {

namespace {

void CopyText(const std::string& text, char* buffer) {
  std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace

int32_t CheckCall(const ContestState& state, const CallCheckQuery& query, char* hint_buffer,
                  char* dupe_buffer) {
  // A null call, band or mode is taken as the empty text: the host must not crash on it.
  const std::string_view call = query.call ? query.call : "";
  const std::string_view band = query.band ? query.band : "";
  const std::string_view mode = query.mode ? query.mode : "";

  if (query.band2 != nullptr && !EqualsIgnoringAsciiCase(band, query.band2))
    return kCheckBandsDiffer;
  if (query.prefix == nullptr) return kCheckNoNewMultiplier;

  const QsoLog& log = state.log;
  // The first entry with the same call, band and mode makes the call a duplicate; the time of
  // that first one goes into the message.
  if (const CQsoEntry* earlier = log.FirstOf(call, band, mode)) {
    if (dupe_buffer != nullptr) {
      std::string message(call);
      message.append(": QSO BEFORE at ").append(FormatDateTime(earlier->m_time, "%H:%M"));
      CopyText(message, dupe_buffer);
    }
    return kCheckDuplicate;
  }

  // The last entry with the same call on any band suggests the exchange.
  std::string hint;
  if (const CQsoEntry* latest = log.LastOfCall(call)) hint = latest->m_strRcvd;
  if (hint.empty()) {
    const std::string* listed = state.exchanges.Find(call);
    hint = listed ? *listed : FallbackHint(query.prefix, query.number);
  }

  // With no expected exchange, any QSO on the band already counts against it.
  const bool new_multiplier =
      hint.empty() ? log.CountOnBand(band) == 0 : log.CountOnBandWithRcvd(band, hint) == 0;

  if (!hint.empty() && hint_buffer != nullptr) CopyText(hint, hint_buffer);
  return new_multiplier ? kCheckNewMultiplier : kCheckNoNewMultiplier;
}

}  // namespace kevo
