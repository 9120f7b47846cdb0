// The plug-in's global state and the guarded code behind every entry.
#include <exception>
#include <string>

#include "contest/contest_state.h"
#include "export/ext_log.h"
#include "plugin/entries.h"
#include "scoring/call_check.h"
#include "scoring/score_summary.h"

namespace kevo {

namespace {

const char kSetName[] = "KEVO";
const char kEmptyText[] = "";
const char kSetupMessage[] = "No additional setup for this contest filter";

// Created empty when the library loads, destroyed when it unloads; nothing is read or saved.
struct PluginState {
  ContestState contest;
  std::string summary;
};

PluginState& State() {
  static PluginState state;
  return state;
}

CQsoEntry EntryFromReport(const QsoReport& report) {
  CQsoEntry entry;
  entry.m_strCall = TextOrEmpty(report.call);
  entry.m_strPrefix = TextOrEmpty(report.prefix);
  entry.m_strRegion = TextOrEmpty(report.region);
  entry.m_strRcvd = TextOrEmpty(report.rcvd);
  entry.m_strSent = TextOrEmpty(report.sent);
  entry.m_strBand = TextOrEmpty(report.band);
  entry.m_strMode = TextOrEmpty(report.mode);
  // A host that passes no date-time still has its contact kept, as a null date-time.
  entry.m_time = report.time ? *report.time : MakeDateTime(0.0, kDateTimeNull);
  return entry;
}

}  // namespace

ContestState& ContestStateOfPlugin() { return State().contest; }

const char* SetNameEntry(int32_t set_index) noexcept {
  return set_index == 0 ? kSetName : kEmptyText;
}

int32_t SetCountEntry() noexcept { return 1; }

int32_t ValidExchangeEntry() noexcept { return 0; }

void SetupEntry() noexcept {
  try {
    SystemPlatform().ShowMessage(MessageOwner::kActiveWindow, kSetupMessage, nullptr);
  } catch (...) {
  }
}

const char* RunCommandEntry(int32_t command, const char* argument) noexcept {
  try {
    if (command == 0) WriteExtLog(State().contest, SystemPlatform(), argument);
  } catch (...) {
  }
  return kEmptyText;
}

int32_t ResetEntry(int32_t rate_suppression, int32_t own_number, const char* own_region) noexcept {
  try {
    ResetStatistics(State().contest, SystemPlatform(), rate_suppression, own_number, own_region);
  } catch (...) {
  }
  return 1;
}

int32_t AddQsoEntry(const QsoReport& report) noexcept {
  try {
    State().contest.log.Add(EntryFromReport(report));
  } catch (...) {
  }
  return 1;
}

int32_t RemoveQsoEntry(const QsoReport& report) noexcept {
  try {
    State().contest.log.Remove(EntryFromReport(report));
  } catch (...) {
  }
  return 1;
}

int32_t CheckCallEntry(const CallCheckQuery& query, char* hint, char* dupe_message) noexcept {
  try {
    return CheckCall(State().contest, query, hint, dupe_message);
  } catch (...) {
    return kCheckNoNewMultiplier;
  }
}

const char* ResultEntry(int32_t* score) noexcept {
  try {
    std::string& summary = State().summary;
    int32_t value = BuildScoreSummary(State().contest, &summary);
    if (score != nullptr) *score = value;
    return summary.c_str();
  } catch (...) {
    State().summary.clear();
    return State().summary.c_str();
  }
}

}  // namespace kevo
