// The command line of kevo-live.
#ifndef KEVO_TOOLS_LIVE_LIVE_OPTIONS_H_
#define KEVO_TOOLS_LIVE_LIVE_OPTIONS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/host/host_options.h"
#include "tools/live/intake/contact_event.h"
#include "tools/live/intake/log_filter.h"
#include "tools/live/intake/sender_filter.h"

namespace kevo::live {

struct Endpoint {
  std::string host;
  std::uint16_t port = 0;  // 0: any free port (the start-up message names the one taken)
};

// What the scoreboard document says about the station besides the score.
struct StationFacts {
  std::string call;  // empty: the one mycall the datagrams agree on
  std::string contest = "KEVO";
  std::string club;
  std::string ops;
  // Cabrillo's category values.
  std::string category_operator = "SINGLE-OP";
  std::string category_mode = "MIXED";
  std::string category_power = "HIGH";
  std::string category_band = "ALL";
  std::string category_transmitter = "ONE";
  std::string category_assisted = "NON-ASSISTED";
  // The <qth> block, written only with what was given.
  std::string cq_zone;
  std::string itu_zone;
  std::string section;
  std::string state;
  std::string grid;
};

inline constexpr int kMinimumPostSeconds = 60;  // scoreboards ask for no more than this

struct PostSettings {
  std::string url;                 // --post: empty posts nothing by HTTP
  std::optional<Endpoint> udp;     // --post-udp
  int every_seconds = 120;         // never below kMinimumPostSeconds
  double first_delay_seconds = 5;  // after the first contact
  StationFacts station;
};

// The options every host program shares, and kevo-live's own.
struct LiveOptions : host::HostOptions {
  Endpoint udp{"0.0.0.0", 12060};
  std::vector<Network> allow;  // --allow: the only senders taken; empty takes every sender
  bool share_udp = false;      // --share-udp: other listeners may bind the same port
  Endpoint http{"127.0.0.1", 12070};
  std::string journal;  // empty: kJournalDefault in the current directory
  bool journal_sync = true;
  ElementNames elements;
  LogFilter filter;
  PostSettings post;
};

inline constexpr const char* kJournalDefault = "kevo-live.journal";

enum LiveExit : int { kLiveOk = 0, kLiveFailed = 1, kLiveUsage = 2 };

// False with a message for the user when the arguments make no sense.
bool ParseLiveOptions(const std::vector<std::string>& arguments, LiveOptions& options,
                      std::string& error);

// "HOST:PORT", HOST an address (IPv6 in brackets) or a host name, resolved later; empty when
// malformed.
std::optional<Endpoint> ParseEndpoint(const std::string& text);

std::string LiveUsageText();

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_LIVE_OPTIONS_H_
