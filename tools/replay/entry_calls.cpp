#include "tools/replay/entry_calls.h"

namespace kevo::replay {

namespace {

// The values a host passes for the parameters that the plug-in does not read.
const COleDateTime kNoTime{0.0, 0};
const char* const kNoText = "";

template <typename Entry>
std::int32_t CallQsoEntry(Entry entry, const QsoArguments& q) {
  const char* e = kNoText;
  return entry(e, q.call, &q.time, &kNoTime, &kNoTime, &kNoTime, 0, 0, q.mode, e, e, q.sent,
               q.received, e, e, e, e, e, e, e, e, e, q.prefix, 0, 0, 0, 0.0, 0.0, e, q.region,
               e, q.band, e);
}

}  // namespace

std::int32_t CallReset(const EntryPoints& entries, std::int32_t no_rates, std::int32_t own_number,
                       const char* own_region) {
  const char* e = kNoText;
  return entries.reset_stats(e, no_rates, e, &kNoTime, &kNoTime, e, e, e, e, e, e, e, e, e, e, 0,
                             own_number, 0, 0.0, 0.0, e, own_region, e);
}

std::int32_t CallAdd(const EntryPoints& entries, const QsoArguments& qso) {
  return CallQsoEntry(entries.add_data, qso);
}

std::int32_t CallRemove(const EntryPoints& entries, const QsoArguments& qso) {
  return CallQsoEntry(entries.remove_data, qso);
}

std::int32_t CallCheck(const EntryPoints& entries, const CheckArguments& c) {
  const char* e = kNoText;
  return entries.check_call(c.call, 0, 0, c.mode, e, e, e, e, e, e, e, e, e, c.prefix, 0,
                            c.number, 0, 0.0, 0.0, e, e, e, e, e, c.band, c.band2, c.hint,
                            c.dupe_message);
}

}  // namespace kevo::replay
