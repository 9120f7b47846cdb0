// One HTTP POST of a document (Boost.Beast client), with a time limit, reporting the answer's
// status line or what went wrong. Runs on the caller's io_context and never blocks it.
#ifndef KEVO_TOOLS_LIVE_SCOREBOARD_HTTP_POST_H_
#define KEVO_TOOLS_LIVE_SCOREBOARD_HTTP_POST_H_

#include <boost/asio/io_context.hpp>
#include <functional>
#include <optional>
#include <string>

namespace kevo::live {

struct HttpUrl {
  std::string host;
  std::string port = "80";
  std::string path = "/";
};

// "http://host[:port][/path]"; empty for anything else.
std::optional<HttpUrl> ParseHttpUrl(const std::string& url);

// `ok` when the server answered 2xx; `answer` is "200 OK" or the failure in words.
using PostDone = std::function<void(bool ok, std::string answer)>;

// The Host header's value: the host, in brackets when it is an IPv6 address, with the port
// unless it is HTTP's 80 (a virtual host behind another port is found only with it).
std::string HostHeader(const HttpUrl& url);

void PostDocument(boost::asio::io_context& io, const HttpUrl& url, std::string body, PostDone done);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_SCOREBOARD_HTTP_POST_H_
