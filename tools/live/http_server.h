// The live page's HTTP server (Boost.Beast): GET and HEAD only, answers from a handler that
// runs on the server's own thread and reads nothing but the latest snapshot.
#ifndef KEVO_LIVE_HTTP_SERVER_H_
#define KEVO_LIVE_HTTP_SERVER_H_

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <functional>
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

class HttpServer {
 public:
  HttpServer(boost::asio::io_context& io, HttpHandler handler);

  // Binds and listens; false with `error`. Then serves as long as the io_context runs.
  bool Listen(const boost::asio::ip::tcp::endpoint& where, std::string& error);
  boost::asio::ip::tcp::endpoint local_endpoint() const { return acceptor_.local_endpoint(); }

 private:
  void Accept();

  boost::asio::io_context& io_;
  boost::asio::ip::tcp::acceptor acceptor_;
  HttpHandler handler_;
};

}  // namespace kevo::live

#endif  // KEVO_LIVE_HTTP_SERVER_H_
