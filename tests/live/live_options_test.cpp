// kevo-live's command line: endpoints, the posting limits, and what it refuses.
#include "tools/live/live_options.h"

#include <gtest/gtest.h>

#include "tools/live/scoreboard/http_post.h"

namespace kevo::live {
namespace {

TEST(LiveOptionsTest, ParsesOrRefusesWithTheMessage) {
  struct Case {
    std::vector<std::string> arguments;
    const char* error;  // empty: accepted
  };
  const Case cases[] = {
      {{}, ""},
      {{"--udp", "192.168.1.5:12060", "--http=0.0.0.0:8080", "--own-number", "12"}, ""},
      {{"--post", "http://127.0.0.1:9/x", "--call", "Q1TEST", "--post-every", "60"}, ""},
      {{"--post-udp", "127.0.0.1:9", "--call", "Q1TEST"}, ""},
      {{"--udp", "12060"}, "--udp needs ADDRESS:PORT, not '12060'"},
      {{"--http", "127.0.0.1:65536"}, "--http needs ADDRESS:PORT, not '127.0.0.1:65536'"},
      {{"--post-every", "59"}, "--post-every needs a number of seconds from 60 up, not '59'"},
      {{"--post", "https://example.org/", "--call", "Q1"}, "--post needs an http:// address"},
      // Without --call the datagrams' mycall is the call; posting waits for it.
      {{"--post", "http://127.0.0.1/"}, ""},
      {{"--rcvd-field", "exchange1,,rcvnr"}, "--rcvd-field needs element names separated"},
      {{"--rcvd-field", ""}, "--rcvd-field needs element names separated"},
      {{"--own-number", "x"}, "--own-number needs a signed 32-bit integer, not 'x'"},
      {{"--workdir", ""}, "--workdir needs a directory"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--jour", "x"}, "unknown option --jour"},
      {{"--journal"}, "--journal needs a value"},
      {{"log.adi"}, "kevo-live takes no operands, not 'log.adi'"},
      {{"--udp", "localhost:12060", "--http", "localhost:12070"}, ""},  // resolved at start
      {{"--allow", "192.168.1.0/24", "--allow", "fd00::/8", "--share-udp"}, ""},
      {{"--allow", "192.168.1.0/33"}, "--allow needs ADDRESS/BITS"},
      {{"--allow", "station-pc/24"}, "--allow needs ADDRESS/BITS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
    LiveOptions options;
    std::string error;
    bool ok = ParseLiveOptions(c.arguments, options, error);
    EXPECT_EQ(ok, std::string(c.error).empty());
    EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error);
  }
}

TEST(LiveOptionsTest, DefaultsAndValues) {
  LiveOptions options;
  std::string error;
  ASSERT_TRUE(ParseLiveOptions({"--udp", "[::1]:0", "--rcvd-field", "Exchange2, RcvNr,zone",
                                "--only-call", "q1test", "--only-contest", "KEVO"},
                               options, error))
      << error;
  EXPECT_EQ(options.udp.host, "::1");
  EXPECT_EQ(options.udp.port, 0);
  EXPECT_EQ(options.http.host, "127.0.0.1");
  EXPECT_EQ(options.post.every_seconds, 120);
  // Element names are matched in lower case.
  EXPECT_EQ(options.elements.received, (std::vector<std::string>{"exchange2", "rcvnr", "zone"}));
  EXPECT_EQ(options.filter.call, "q1test");
  EXPECT_EQ(options.post.station.call, "Q1TEST");  // the one station scored is the call posted
  LiveOptions defaults;
  ASSERT_TRUE(ParseLiveOptions({}, defaults, error));
  EXPECT_EQ(defaults.elements.received,
            (std::vector<std::string>{"exchange1", "exch1", "rcvnr", "nr"}));
}

TEST(LiveOptionsTest, ScoreboardAddresses) {
  std::optional<HttpUrl> url = ParseHttpUrl("http://scores.example.org:8080/post?x=1");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->host, "scores.example.org");
  EXPECT_EQ(url->port, "8080");
  EXPECT_EQ(url->path, "/post?x=1");
  url = ParseHttpUrl("http://[::1]");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->host, "::1");
  EXPECT_EQ(url->port, "80");
  EXPECT_EQ(url->path, "/");
  EXPECT_FALSE(ParseHttpUrl("https://x/"));
  EXPECT_FALSE(ParseHttpUrl("http://:80/"));
  EXPECT_FALSE(ParseHttpUrl("http://h:8x/"));
  EXPECT_FALSE(ParseHttpUrl("http://user@h/"));
}

TEST(SenderFilterTest, NetworksAndSenders) {
  struct Case {
    std::vector<std::string> networks;
    const char* sender;
    bool allowed;
  };
  const Case cases[] = {
      {{}, "203.0.113.9", true},  // no --allow: every sender
      {{"192.168.1.0/24"}, "192.168.1.77", true},
      {{"192.168.1.0/24"}, "192.168.2.1", false},
      {{"192.168.1.0/23"}, "192.168.0.5", true},
      {{"192.168.1.7"}, "192.168.1.7", true},
      {{"192.168.1.7"}, "192.168.1.8", false},
      {{"10.0.0.0/8", "127.0.0.1"}, "127.0.0.1", true},
      {{"10.0.0.0/8"}, "::ffff:10.1.2.3", true},  // IPv4 through an IPv6 socket
      {{"fd00::/8"}, "fd12::1", true},
      {{"fd00::/8"}, "10.1.2.3", false},
      {{"0.0.0.0/0"}, "198.51.100.1", true},
      {{"172.16.0.0/12"}, "172.31.255.255", true},
      {{"172.16.0.0/12"}, "172.32.0.0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sender);
    std::vector<Network> networks;
    for (const std::string& text : c.networks) {
      std::optional<Network> network = ParseNetwork(text);
      ASSERT_TRUE(network) << text;
      networks.push_back(*network);
    }
    EXPECT_EQ(SenderFilter(networks).Allows(boost::asio::ip::make_address(c.sender)), c.allowed);
  }
}

}  // namespace
}  // namespace kevo::live
