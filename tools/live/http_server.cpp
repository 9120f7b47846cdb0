#include "tools/live/http_server.h"

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <memory>

namespace kevo::live {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// A browser gives up on an idle connection long before this; a stuck client is dropped.
constexpr std::chrono::seconds kIdleLimit{30};

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, const HttpHandler& handler)
      : stream_(std::move(socket)), handler_(handler) {}

  void Read() {
    request_ = {};
    stream_.expires_after(kIdleLimit);
    http::async_read(stream_, buffer_, request_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) {
                       if (!error) self->Answer();
                     });
  }

 private:
  void Answer() {
    auto response = std::make_shared<http::response<http::string_body>>();
    response->version(request_.version());
    response->keep_alive(request_.keep_alive());
    response->set(http::field::server, "kevo-live");
    response->set(http::field::cache_control, "no-store");
    if (request_.method() != http::verb::get && request_.method() != http::verb::head) {
      response->result(http::status::method_not_allowed);
      response->set(http::field::allow, "GET, HEAD");
    } else {
      std::string target(request_.target());
      target = target.substr(0, target.find('?'));
      HttpAnswer answer = handler_(target);
      response->result(answer.status);
      response->set(http::field::content_type, answer.content_type);
      response->set("X-Content-Type-Options", "nosniff");
      if (!answer.policy.empty()) {
        response->set("Content-Security-Policy", answer.policy);
      }
      response->body() = std::move(answer.body);
    }
    response->prepare_payload();
    if (request_.method() == http::verb::head) response->body().clear();
    http::async_write(stream_, *response,
                      [self = shared_from_this(), response](beast::error_code error, std::size_t) {
                        if (error || !response->keep_alive()) {
                          beast::error_code ignored;
                          self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
                          return;
                        }
                        self->Read();
                      });
  }

  beast::tcp_stream stream_;
  beast::flat_buffer buffer_{8192};
  http::request<http::string_body> request_;
  const HttpHandler& handler_;
};

}  // namespace

HttpServer::HttpServer(asio::io_context& io, HttpHandler handler)
    : io_(io), acceptor_(io), handler_(std::move(handler)) {}

bool HttpServer::Listen(const tcp::endpoint& where, std::string& error) {
  beast::error_code code;
  acceptor_.open(where.protocol(), code);
  if (!code) acceptor_.set_option(asio::socket_base::reuse_address(true), code);
  if (!code) acceptor_.bind(where, code);
  if (!code) acceptor_.listen(asio::socket_base::max_listen_connections, code);
  if (code) {
    error = "cannot serve HTTP on " + where.address().to_string() + ":" +
            std::to_string(where.port()) + ": " + code.message();
    return false;
  }
  Accept();
  return true;
}

void HttpServer::Accept() {
  acceptor_.async_accept(io_, [this](beast::error_code error, tcp::socket socket) {
    if (!error) std::make_shared<Connection>(std::move(socket), handler_)->Read();
    if (acceptor_.is_open()) Accept();
  });
}

}  // namespace kevo::live
