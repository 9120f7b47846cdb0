// The options every program that plays a logging host takes alike: which plug-in and by which
// entry names, the statistics reset's settings, the exchange list, the working folder, help
// and version. Each program's own parser handles its own options and hands these here, so
// their spelling, their checks and their usage lines are written once.
#ifndef KEVO_TOOLS_HOST_HOST_OPTIONS_H_
#define KEVO_TOOLS_HOST_HOST_OPTIONS_H_

#include <string>
#include <vector>

#include "tools/host/host_session.h"
#include "tools/host/long_options.h"
#include "tools/host/plugin_binding.h"

namespace kevo::host {

struct HostOptions {
  bool help = false;
  bool version = false;
  std::string library;  // empty: the plug-in beside the program, else the installed one
  NameStyle names = NameStyle::kPlain;
  HostSettings settings;      // what the statistics reset passes
  std::string exchange_list;  // copied to RADL.lst in the working folder; empty: none
  std::string workdir;        // empty: a fresh temporary folder
};

// A program's own option ids start here; the shared ones take the ids below it.
inline constexpr int kFirstOwnOptionId = 512;

// Parses `arguments` with the program's own table (`own`, ending with the all-zero entry, ids
// from kFirstOwnOptionId) and the shared options together: `apply_own` takes the program's
// own options, `shared` receives the others. False with the message for the user.
bool ParseHostAndOwnOptions(const std::vector<std::string>& arguments, const option* own,
                            const ApplyOption& apply_own, HostOptions& shared,
                            std::vector<std::string>& operands, std::string& error);

// The shared options' lines for a --help text, the descriptions starting at `column`.
std::string HostOptionsUsage(std::size_t column);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_HOST_OPTIONS_H_
