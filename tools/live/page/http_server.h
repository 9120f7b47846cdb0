// The live page's HTTP server (Boost.Beast): GET and HEAD only, answers from a handler that
// runs on the server's own thread and reads nothing but the latest snapshot. It keeps serving
// when clients misbehave: a request it cannot read gets its status (400, 413, 414, 431)
// before the connection closes, open connections stay below a limit (the one waiting longest
// for a request makes room for a new one), and a failing accept (no descriptors left) waits a
// little before trying again rather than spinning.
#ifndef KEVO_TOOLS_LIVE_PAGE_HTTP_SERVER_H_
#define KEVO_TOOLS_LIVE_PAGE_HTTP_SERVER_H_

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace kevo::live {

struct HttpAnswer {
  unsigned status = 200;
  std::string content_type = "text/plain; charset=utf-8";
  std::string body;
  std::string policy;  // Content-Security-Policy, when the answer is a page
};

// `target` is the request's path without the query.
using HttpHandler = std::function<HttpAnswer(const std::string& target)>;

struct ConnectionRegistry;

class HttpServer {
 public:
  // At most `connection_limit` connections are open at once.
  HttpServer(boost::asio::io_context& io, HttpHandler handler, std::size_t connection_limit);
  ~HttpServer();

  // Binds and listens; false with `error`. Then serves as long as the io_context runs.
  bool Listen(const boost::asio::ip::tcp::endpoint& where, std::string& error);
  boost::asio::ip::tcp::endpoint local_endpoint() const { return acceptor_.local_endpoint(); }
  // Accepts that failed (no descriptors left, say), for the status.
  std::size_t accept_failures() const { return accept_failures_; }

 private:
  void Accept();
  // After a failed accept: a pause that doubles up to a second, then Accept.
  void AcceptLater();

  boost::asio::io_context& io_;
  boost::asio::ip::tcp::acceptor acceptor_;
  HttpHandler handler_;
  boost::asio::steady_timer pause_;
  std::chrono::milliseconds backoff_{0};
  std::size_t accept_failures_ = 0;
  std::shared_ptr<ConnectionRegistry> registry_;
};

// A descriptor budget for connections: what the process may open, less what it needs besides.
std::size_t DefaultConnectionLimit();

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_PAGE_HTTP_SERVER_H_
