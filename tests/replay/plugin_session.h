// The built plug-in driven as the replay drives it, for tests that need the library's real
// answers (summary texts, call-check messages) rather than texts written by hand.
#ifndef KEVO_TESTS_REPLAY_PLUGIN_SESSION_H_
#define KEVO_TESTS_REPLAY_PLUGIN_SESSION_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "tools/replay/check_buffers.h"
#include "tools/replay/entry_calls.h"
#include "tools/replay/plugin_binding.h"
#include "tools/replay/qso_mapping.h"

namespace kevo::replay {

// 2024-05-04 00:00 UTC plus `minutes`.
inline COleDateTime MinutesIntoTheDay(double minutes) {
  return COleDateTime{45416.0 + minutes / 1440.0, 0};
}

inline QsoValues Contact(std::string call, std::string band, std::string mode, std::string received,
                         std::string region, double minutes) {
  QsoValues qso;
  qso.call = std::move(call);
  qso.band = std::move(band);
  qso.mode = std::move(mode);
  qso.received = std::move(received);
  qso.region = std::move(region);
  qso.time = MinutesIntoTheDay(minutes);
  return qso;
}

class PluginSession {
 public:
  PluginSession(std::int32_t no_rates, std::int32_t own_number, const char* own_region) {
    std::string error;
    loaded_ = LoadPlugin(KEVO_PLUGIN_PATH, NameStyle::kPlain, plugin_, error);
    EXPECT_TRUE(loaded_) << error;
    if (loaded_) CallReset(plugin_.entries, no_rates, own_number, own_region);
  }

  bool loaded() const { return loaded_; }

  // CheckCall0's answer, with the duplicate message when it wrote one.
  std::int32_t Check(const QsoValues& qso, std::string& dupe_message) {
    CheckBuffer hint(256, std::nullopt);
    CheckBuffer dupe(256, std::nullopt);
    CheckArguments check;
    check.call = qso.call.c_str();
    check.band = qso.band.c_str();
    check.mode = qso.mode.c_str();
    check.prefix = qso.prefix.c_str();
    check.hint = hint.data();
    check.dupe_message = dupe.data();
    std::int32_t answer = CallCheck(plugin_.entries, check);
    dupe_message = dupe.Text().value_or("");
    return answer;
  }

  void Add(const QsoValues& qso) {
    QsoArguments add;
    add.call = qso.call.c_str();
    add.band = qso.band.c_str();
    add.mode = qso.mode.c_str();
    add.received = qso.received.c_str();
    add.region = qso.region.c_str();
    add.time = qso.time;
    CallAdd(plugin_.entries, add);
  }

  std::string Result(std::int32_t& score) {
    const char* text = plugin_.entries.get_result(&score);
    return text != nullptr ? text : "";
  }

 private:
  LoadedPlugin plugin_;
  bool loaded_ = false;
};

}  // namespace kevo::replay

#endif  // KEVO_TESTS_REPLAY_PLUGIN_SESSION_H_
