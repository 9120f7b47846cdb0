#include "tools/replay/log_replay.h"

#include <algorithm>
#include <optional>

#include "tools/replay/check_buffers.h"
#include "tools/replay/entry_calls.h"

namespace kevo::replay {

namespace {

constexpr std::int32_t kDuplicate = 0;
constexpr std::int32_t kNewMultiplier = 2;

}  // namespace

ReplayResult ReplayLog(const EntryPoints& entries, const ContestSettings& settings,
                       const std::vector<QsoValues>& qsos) {
  ReplayResult result;
  CallReset(entries, settings.no_rates, settings.own_number, settings.own_region.c_str());
  std::size_t exchange_list_bytes = ExchangeListBytes();
  std::size_t longest_received = 0;
  for (const QsoValues& qso : qsos) {
    CheckBuffer hint(HintRoom(longest_received, exchange_list_bytes), std::nullopt);
    CheckBuffer dupe(DupeMessageRoom(qso.call.size()), std::nullopt);
    CheckArguments check;
    check.call = qso.call.c_str();
    check.mode = qso.mode.c_str();
    check.prefix = qso.prefix.c_str();
    check.band = qso.band.c_str();
    check.hint = hint.data();
    check.dupe_message = dupe.data();
    std::int32_t answer = CallCheck(entries, check);
    if (answer == kDuplicate) ++result.duplicates;
    if (answer == kNewMultiplier) ++result.new_multipliers;
    if (!hint.GuardIntact() || !dupe.GuardIntact()) {
      result.library_faults.push_back(
          {qso.line, "the call check wrote past the end of a buffer"});
    }

    QsoArguments add;
    add.call = qso.call.c_str();
    add.band = qso.band.c_str();
    add.mode = qso.mode.c_str();
    add.sent = qso.sent.c_str();
    add.received = qso.received.c_str();
    add.prefix = qso.prefix.c_str();
    add.region = qso.region.c_str();
    add.time = qso.time;
    CallAdd(entries, add);
    ++result.added;
    longest_received = std::max(longest_received, qso.received.size());
  }
  std::int32_t score = 0;
  const char* summary = entries.get_result(&score);
  result.summary = summary != nullptr ? summary : "";
  result.score = score;
  return result;
}

}  // namespace kevo::replay
