#include "tools/host/host_session.h"

#include <algorithm>

namespace kevo::host {

namespace {

std::optional<std::string> WrittenText(const CheckBuffer& buffer) {
  if (!buffer.Changed() || !buffer.GuardIntact()) return std::nullopt;
  return buffer.Text();
}

QsoArguments ArgumentsOf(const Contact& contact) {
  QsoArguments arguments;
  arguments.call = contact.call.c_str();
  arguments.band = contact.band.c_str();
  arguments.mode = contact.mode.c_str();
  arguments.sent = contact.sent.c_str();
  arguments.received = contact.received.c_str();
  arguments.prefix = contact.prefix.c_str();
  arguments.region = contact.region.c_str();
  arguments.time = contact.time;
  return arguments;
}

}  // namespace

void HostSession::Reset(const HostSettings& settings) {
  CallReset(entries_, settings.rate_suppression, settings.own_number, settings.own_region.c_str());
  exchange_list_bytes_ = ExchangeListBytes();
  longest_received_ = 0;
}

CheckAnswer HostSession::Check(const Contact& contact) {
  CheckBuffer hint(HintRoom(longest_received_, exchange_list_bytes_), std::nullopt);
  CheckBuffer dupe(DupeMessageRoom(contact.call.size()), std::nullopt);
  CheckArguments check;
  check.call = contact.call.c_str();
  check.mode = contact.mode.c_str();
  check.prefix = contact.prefix.c_str();
  check.band = contact.band.c_str();
  check.hint = hint.data();
  check.dupe_message = dupe.data();
  CheckAnswer answer;
  answer.code = CallCheck(entries_, check);
  answer.hint = WrittenText(hint);
  answer.dupe_message = WrittenText(dupe);
  answer.overran = !hint.GuardIntact() || !dupe.GuardIntact();
  return answer;
}

void HostSession::Add(const Contact& contact) {
  CallAdd(entries_, ArgumentsOf(contact));
  longest_received_ = std::max(longest_received_, contact.received.size());
}

void HostSession::Remove(const Contact& contact) { CallRemove(entries_, ArgumentsOf(contact)); }

Summary HostSession::AskSummary() {
  Summary summary;
  const char* text = entries_.GetResult0(&summary.score);
  if (text != nullptr) summary.text = text;
  return summary;
}

CheckAnswer HostSession::Log(const Contact& contact) {
  CheckAnswer answer = Check(contact);
  Add(contact);
  return answer;
}

}  // namespace kevo::host
