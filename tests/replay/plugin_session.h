// Contacts replayed through the built plug-in, for tests that need the library's real answers
// (summary texts, call-check messages) rather than texts written by hand.
#ifndef KEVO_TESTS_REPLAY_PLUGIN_SESSION_H_
#define KEVO_TESTS_REPLAY_PLUGIN_SESSION_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/replay/session/log_replay.h"

namespace kevo::replay {

// A contact on 2024-05-04 at `minutes` past 00:00 UTC.
inline host::QsoValues ContactAt(std::string call, std::string band, std::string mode,
                                 std::string received, std::string region, double minutes) {
  host::QsoValues qso;
  qso.call = std::move(call);
  qso.band = std::move(band);
  qso.mode = std::move(mode);
  qso.received = std::move(received);
  qso.region = std::move(region);
  qso.time = COleDateTime{45416.0 + minutes / 1440.0, 0};
  return qso;
}

inline ReplayResult ReplayThroughPlugin(const host::HostSettings& settings,
                                        const std::vector<host::QsoValues>& contacts,
                                        const ContactObserver& observer = {},
                                        SummaryAt summary_at = SummaryAt::kEachContact) {
  host::LoadedPlugin plugin;
  std::string error;
  EXPECT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin, error)) << error;
  if (plugin.library == nullptr) return {};
  return ReplayLog(plugin.entries, settings, contacts, summary_at, observer);
}

}  // namespace kevo::replay

#endif  // KEVO_TESTS_REPLAY_PLUGIN_SESSION_H_
