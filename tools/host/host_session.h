// The session a logging host runs with the plug-in, and nothing else: the statistics reset
// with the operator's settings, then for every contact logged the call check (what the
// operator saw while typing the call) followed by AddData0, and the score summary whenever
// the host shows it. It knows nothing of files or pages, so any program that plays a host
// (kevo-replay from a log, kevo-live from a logger's broadcasts) drives the plug-in the same
// way.
//
// A summary is not a pure read: it rewrites one-byte received exchanges in the library's log,
// and a contact whose exchange was rewritten may earn other points. A host asks for the summary
// after every contact it logs, so that is the session whose score the operator saw; asking
// less often is a different session with a possibly different score.
#ifndef KEVO_TOOLS_HOST_HOST_SESSION_H_
#define KEVO_TOOLS_HOST_HOST_SESSION_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "StatsKEVO.h"
#include "tools/host/boundary_values.h"
#include "tools/host/plugin_binding.h"

namespace kevo::host {

// The three settings the statistics reset passes.
struct HostSettings {
  std::int32_t rate_suppression = 0;  // non-zero leaves the rate lines out of the summary
  std::int32_t own_number = 0;
  std::string own_region;
};

// One contact as a host hands it to AddData0, RemoveData0 and CheckCall0.
struct Contact {
  std::string call;
  std::string band;  // meters number: "160", "80", ... "10", "6", "2"; "70cm" and shorter
  std::string mode;
  COleDateTime time{0.0, kTimeValid};
  std::string sent;
  std::string received;
  std::string prefix;  // country prefix, empty where unknown
  std::string region;  // region code, empty where unknown
};

// A contact with the line of the file it came from (0 where it came from no file).
struct QsoValues : Contact {
  std::size_t line = 0;
};

// What the call check answered before a contact was logged.
struct CheckAnswer {
  std::int32_t code = kCheckDuplicate;      // CheckCall0's answer
  std::optional<std::string> hint;          // what it wrote into each buffer
  std::optional<std::string> dupe_message;  // (nothing: not written)
  bool overran = false;                     // it wrote past the end of a buffer
};

struct Summary {
  std::string text;  // as the library returned it
  std::int32_t score = 0;
};

class HostSession {
 public:
  explicit HostSession(const EntryPoints& entries) : entries_(entries) {}

  // The library reads its exchange list from the current directory; the caller sees to that.
  void Reset(const HostSettings& settings);
  CheckAnswer Check(const Contact& contact);
  void Add(const Contact& contact);
  void Remove(const Contact& contact);
  Summary AskSummary();

  // The call check, then the add: what a host does when the operator logs a contact.
  CheckAnswer Log(const Contact& contact);

 private:
  const EntryPoints& entries_;
  std::size_t exchange_list_bytes_ = 0;
  std::size_t longest_received_ = 0;  // the call check may hand back any stored exchange
};

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_HOST_SESSION_H_
