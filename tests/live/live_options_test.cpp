// kevo-live's command line: endpoints, the posting limits, and what it refuses.
#include "tools/live/live_options.h"

#include <gtest/gtest.h>

#include "tools/live/http_post.h"

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
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--jour", "x"}, "unknown option --jour"},
      {{"--journal"}, "--journal needs a value"},
      {{"log.adi"}, "kevo-live takes no operands, not 'log.adi'"},
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

}  // namespace
}  // namespace kevo::live
