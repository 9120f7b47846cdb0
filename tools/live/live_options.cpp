#include "tools/live/live_options.h"

#include "tools/host/tokens.h"

namespace kevo::live {

namespace {

enum OptionId : int {
  kUdp = host::kFirstOwnOptionId,
  kAllow,
  kShareUdp,
  kHttp,
  kJournal,
  kNoSync,
  kRcvdField,
  kPrefixField,
  kRegionField,
  kPost,
  kPostEvery,
  kPostUdp,
  kPostFirstDelay,
  kCall,
  kContest,
  kClub,
  kOps,
  kCategoryOperator,
  kCategoryMode,
  kCategoryPower,
  kCategoryBand,
  kCategoryTransmitter,
  kCategoryAssisted,
  kOnlyContest,
  kOnlyCall,
  kCqZone,
  kItuZone,
  kSection,
  kState,
  kGrid,
};

constexpr option kLongOptions[] = {
    {"udp", required_argument, nullptr, kUdp},
    {"allow", required_argument, nullptr, kAllow},
    {"share-udp", no_argument, nullptr, kShareUdp},
    {"http", required_argument, nullptr, kHttp},
    {"journal", required_argument, nullptr, kJournal},
    {"no-sync", no_argument, nullptr, kNoSync},
    {"rcvd-field", required_argument, nullptr, kRcvdField},
    {"prefix-field", required_argument, nullptr, kPrefixField},
    {"region-field", required_argument, nullptr, kRegionField},
    {"post", required_argument, nullptr, kPost},
    {"post-every", required_argument, nullptr, kPostEvery},
    {"post-udp", required_argument, nullptr, kPostUdp},
    {"post-first-delay", required_argument, nullptr, kPostFirstDelay},
    {"call", required_argument, nullptr, kCall},
    {"contest", required_argument, nullptr, kContest},
    {"club", required_argument, nullptr, kClub},
    {"ops", required_argument, nullptr, kOps},
    {"category-operator", required_argument, nullptr, kCategoryOperator},
    {"category-mode", required_argument, nullptr, kCategoryMode},
    {"category-power", required_argument, nullptr, kCategoryPower},
    {"category-band", required_argument, nullptr, kCategoryBand},
    {"category-transmitter", required_argument, nullptr, kCategoryTransmitter},
    {"category-assisted", required_argument, nullptr, kCategoryAssisted},
    {"only-contest", required_argument, nullptr, kOnlyContest},
    {"only-call", required_argument, nullptr, kOnlyCall},
    {"cq-zone", required_argument, nullptr, kCqZone},
    {"itu-zone", required_argument, nullptr, kItuZone},
    {"section", required_argument, nullptr, kSection},
    {"state", required_argument, nullptr, kState},
    {"grid", required_argument, nullptr, kGrid},
    {nullptr, 0, nullptr, 0},
};

bool SetEndpoint(const std::string& value, Endpoint& target, const char* option,
                 std::string& error) {
  std::optional<Endpoint> endpoint = ParseEndpoint(value);
  if (!endpoint) {
    error = std::string(option) + " needs ADDRESS:PORT, not '" + value + "'";
    return false;
  }
  target = *endpoint;
  return true;
}

// "exchange1,rcvnr,zone": element names, lower case, blanks around each dropped.
bool SetReceivedList(const std::string& value, ElementNames& elements, std::string& error) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= value.size()) {
    std::size_t comma = value.find(',', start);
    if (comma == std::string::npos) comma = value.size();
    std::string name = host::AsciiLower(value.substr(start, comma - start));
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty()) {
      error = "--rcvd-field needs element names separated by commas, not '" + value + "'";
      return false;
    }
    names.push_back(name);
    start = comma + 1;
  }
  elements.received = names;
  return true;
}

// The scoreboard document's texts, taken as given.
struct StationText {
  OptionId id;
  std::string StationFacts::*field;
};

constexpr StationText kStationTexts[] = {
    {kCall, &StationFacts::call},
    {kContest, &StationFacts::contest},
    {kClub, &StationFacts::club},
    {kOps, &StationFacts::ops},
    {kCategoryOperator, &StationFacts::category_operator},
    {kCategoryMode, &StationFacts::category_mode},
    {kCategoryPower, &StationFacts::category_power},
    {kCategoryBand, &StationFacts::category_band},
    {kCategoryTransmitter, &StationFacts::category_transmitter},
    {kCategoryAssisted, &StationFacts::category_assisted},
    {kCqZone, &StationFacts::cq_zone},
    {kItuZone, &StationFacts::itu_zone},
    {kSection, &StationFacts::section},
    {kState, &StationFacts::state},
    {kGrid, &StationFacts::grid},
};

// A number of seconds from `least` up, or false with the message for the user.
bool SetSeconds(const std::string& value, std::int32_t least, const std::string& message,
                int& target, std::string& error) {
  std::optional<std::int32_t> seconds = host::ParseInt32(value);
  if (!seconds || *seconds < least) {
    error = message + ", not '" + value + "'";
    return false;
  }
  target = *seconds;
  return true;
}

// The scoreboard's options: where, how often, and what the document says.
bool ApplyPost(int id, const std::string& value, PostSettings& post, std::string& error) {
  for (const StationText& text : kStationTexts) {
    if (text.id == id) {
      post.station.*text.field = value;
      return true;
    }
  }
  switch (id) {
    case kPost:
      if (value.rfind("http://", 0) != 0) {
        error = "--post needs an http:// address, not '" + value + "'";
        return false;
      }
      post.url = value;
      return true;
    case kPostEvery: {
      std::string message = "--post-every needs a number of seconds from ";
      message += std::to_string(kMinimumPostSeconds);
      message += " up";
      return SetSeconds(value, kMinimumPostSeconds, message, post.every_seconds, error);
    }
    case kPostUdp:
      post.udp.emplace();
      return SetEndpoint(value, *post.udp, "--post-udp", error);
    case kPostFirstDelay: {
      int seconds = 0;
      if (!SetSeconds(value, 0, "--post-first-delay needs a number of seconds", seconds, error)) {
        return false;
      }
      post.first_delay_seconds = seconds;
      return true;
    }
  }
  return true;
}

// The intake's and the keeping's options; the scoreboard's go to ApplyPost.
bool Apply(int id, const std::string& value, LiveOptions& options, std::string& error) {
  switch (id) {
    case kUdp:
      return SetEndpoint(value, options.udp, "--udp", error);
    case kAllow:
      if (std::optional<Network> network = ParseNetwork(value)) {
        options.allow.push_back(*network);
        return true;
      }
      error = "--allow needs ADDRESS/BITS (192.168.1.0/24) or one address, not '" + value + "'";
      return false;
    case kShareUdp:
      options.share_udp = true;
      return true;
    case kHttp:
      return SetEndpoint(value, options.http, "--http", error);
    case kJournal:
      options.journal = value;
      return true;
    case kNoSync:
      options.journal_sync = false;
      return true;
    case kRcvdField:
      return SetReceivedList(value, options.elements, error);
    case kPrefixField:
      options.elements.prefix = host::AsciiLower(value);
      return true;
    case kRegionField:
      options.elements.region = host::AsciiLower(value);
      return true;
    case kOnlyContest:
      options.filter.contest = value;
      return true;
    case kOnlyCall:
      options.filter.call = value;
      return true;
  }
  return ApplyPost(id, value, options.post, error);
}

}  // namespace

std::optional<Endpoint> ParseEndpoint(const std::string& text) {
  std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  Endpoint endpoint;
  endpoint.host = text.substr(0, colon);
  if (endpoint.host.front() == '[') {
    if (endpoint.host.size() < 3 || endpoint.host.back() != ']') return std::nullopt;
    endpoint.host = endpoint.host.substr(1, endpoint.host.size() - 2);
  } else if (endpoint.host.find(':') != std::string::npos) {
    return std::nullopt;  // an IPv6 address needs its brackets
  }
  std::optional<std::int32_t> port = host::ParseInt32(text.substr(colon + 1));
  if (!port || *port < 0 || *port > 65535) return std::nullopt;
  endpoint.port = static_cast<std::uint16_t>(*port);
  return endpoint;
}

std::string LiveUsageText() {
  std::string text =
      "Usage: kevo-live [options]\n"
      "Scores the contacts that contest loggers broadcast over UDP with the StatsKEVO\n"
      "plug-in, shows the score on a live page and posts it to a scoreboard.\n"
      "\n"
      "Intake and keeping:\n"
      "  --udp ADDRESS:PORT     where the loggers' datagrams come (default 0.0.0.0:12060:\n"
      "                         every host on the network may send); a host name works\n"
      "  --allow ADDRESS/BITS   take datagrams only from this network (repeatable; one\n"
      "                         address alone is /32 or /128); others are counted, not read\n"
      "  --share-udp            let other programs listen on the same UDP port (only\n"
      "                         broadcasts then reach every listener)\n"
      "  --journal FILE         every accepted datagram, replayed at start (default\n"
      "                         kevo-live.journal in the current folder)\n"
      "  --no-sync              do not wait for the disk after each datagram (a power cut\n"
      "                         may then lose the last seconds; a crash loses nothing)\n"
      "  --rcvd-field NAME[,NAME...]  elements with the received exchange, tried in\n"
      "                         order, the first non-empty one used; a serial number 0\n"
      "                         is empty (default exchange1,exch1,rcvnr,nr)\n"
      "  --only-contest NAME    score only contacts with this contestname\n"
      "  --only-call CALL       score only contacts with this mycall\n"
      "  --prefix-field NAME    element with the country prefix (default countryprefix)\n"
      "  --region-field NAME    element with the region code (default section)\n"
      "Live page:\n"
      "  --http ADDRESS:PORT    the page, /summary and /status.json (default\n"
      "                         127.0.0.1:12070)\n"
      "Scoreboard:\n"
      "  --post URL             post the score (dynamicresults) to this http:// address\n"
      "  --post-every SECONDS   while the score changes (default 120, at least 60)\n"
      "  --post-udp HOST:PORT   send the same document to a local dashboard\n"
      "  --post-first-delay S   seconds from the first contact to the first post\n"
      "                         (default 5; meant for tests)\n"
      "  --call CALL            the station's call (default: the datagrams' mycall,\n"
      "                         when they all agree; posting waits for it)\n"
      "  --contest NAME (default KEVO), --club NAME, --ops CALLS\n"
      "  --cq-zone N, --itu-zone N, --section S, --state S, --grid LOCATOR\n"
      "                         the document's <qth> block, with what is given\n"
      "  --category-operator, --category-mode, --category-power, --category-band,\n"
      "  --category-transmitter, --category-assisted VALUE   Cabrillo category values\n"
      "                         (defaults SINGLE-OP MIXED HIGH ALL ONE NON-ASSISTED)\n"
      "Plug-in and program:\n";
  text += host::HostOptionsUsage(25);
  text += "A port of 0 takes any free port; the start-up message names the ports taken.\n";
  return text;
}

bool ParseLiveOptions(const std::vector<std::string>& arguments, LiveOptions& options,
                      std::string& error) {
  std::vector<std::string> operands;
  auto apply = [&options](int id, const std::string& value, std::string& message) {
    return Apply(id, value, options, message);
  };
  if (!host::ParseHostAndOwnOptions(arguments, kLongOptions, apply, options, operands, error)) {
    return false;
  }
  if (!operands.empty()) {
    error = "kevo-live takes no operands, not '" + operands.front() + "'";
    return false;
  }
  if (options.post.station.call.empty()) {
    options.post.station.call = AsciiUpperCopy(options.filter.call);
  }
  return true;
}

}  // namespace kevo::live
