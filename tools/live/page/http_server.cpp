#include "tools/live/page/http_server.h"

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <list>
#include <optional>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace kevo::live {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

class Connection;

// The open connections, shared by the server and each connection, so that whichever goes
// last, nothing points at what is gone.
struct ConnectionRegistry {
  std::list<Connection*> open;
  std::size_t limit = 0;
  bool accept_paused = false;
  std::function<void()> resume;  // empty once the server is gone
};

namespace {

// A browser gives up on an idle connection long before this; a stuck client is dropped.
constexpr std::chrono::seconds kIdleLimit{30};
constexpr std::size_t kHeaderLimit = 8192;
constexpr std::size_t kBodyLimit = 64 * 1024;  // a GET carries none; room for odd clients
constexpr std::size_t kTargetLimit = 2048;
constexpr std::chrono::milliseconds kLongestPause{1000};

}  // namespace

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, const HttpHandler& handler,
             std::shared_ptr<ConnectionRegistry> registry)
      : stream_(std::move(socket)), handler_(handler), registry_(std::move(registry)) {
    place_ = registry_->open.insert(registry_->open.end(), this);
  }
  ~Connection() {
    registry_->open.erase(place_);
    if (registry_->accept_paused && registry_->resume) registry_->resume();
  }

  void Read() {
    parser_.emplace();
    parser_->header_limit(kHeaderLimit);
    parser_->body_limit(kBodyLimit);
    waiting_ = true;
    waiting_since_ = std::chrono::steady_clock::now();
    stream_.expires_after(kIdleLimit);
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) {
                       self->waiting_ = false;
                       if (!error) {
                         self->Answer(self->parser_->get());
                       } else {
                         self->Refuse(error);
                       }
                     });
  }

  // Waiting for a request (idle, or a client too slow to send one), and since when.
  bool waiting() const { return waiting_; }
  std::chrono::steady_clock::time_point waiting_since() const { return waiting_since_; }
  void Close() {
    beast::error_code ignored;
    stream_.socket().close(ignored);
  }

 private:
  // A request that could not be read gets its status, when there is anyone left to tell.
  void Refuse(const beast::error_code& error) {
    unsigned status = 0;
    if (error == http::error::body_limit) {
      status = 413;
    } else if (error == http::error::header_limit || error == http::error::buffer_overflow) {
      // With no target read, the request line alone did not fit: its target is too long.
      status = parser_->get().target().empty() ? 414 : 431;
    } else if (error.category() == http::make_error_code(http::error::bad_target).category() &&
               error != http::error::end_of_stream && error != http::error::partial_message) {
      status = 400;
    }
    if (status == 0) return;  // closed, reset or timed out: nobody to answer
    auto response = std::make_shared<http::response<http::string_body>>();
    response->result(status);
    response->version(11);
    response->keep_alive(false);
    response->set(http::field::server, "kevo-live");
    response->set(http::field::content_type, "text/plain; charset=utf-8");
    response->body() = std::string(response->reason()) + "\n";
    Send(response);
  }

  void Answer(const http::request<http::string_body>& request) {
    auto response = std::make_shared<http::response<http::string_body>>();
    response->version(request.version());
    response->keep_alive(request.keep_alive());
    response->set(http::field::server, "kevo-live");
    response->set(http::field::cache_control, "no-store");
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
      response->result(http::status::method_not_allowed);
      response->set(http::field::allow, "GET, HEAD");
    } else if (request.target().size() > kTargetLimit) {
      response->result(http::status::uri_too_long);
      response->keep_alive(false);
    } else {
      std::string target(request.target());
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
    if (request.method() == http::verb::head) response->body().clear();
    Send(response);
  }

  void Send(const std::shared_ptr<http::response<http::string_body>>& response) {
    if (response->body().empty() && response->result_int() >= 400) response->prepare_payload();
    stream_.expires_after(kIdleLimit);
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
  beast::flat_buffer buffer_{kHeaderLimit};
  std::optional<http::request_parser<http::string_body>> parser_;
  const HttpHandler& handler_;
  std::shared_ptr<ConnectionRegistry> registry_;
  std::list<Connection*>::iterator place_;
  bool waiting_ = false;
  std::chrono::steady_clock::time_point waiting_since_{};
};

std::size_t DefaultConnectionLimit() {
  // What the process needs besides: the plug-in, the journal, the sockets, the poster's
  // connection, Asio's own descriptors, and some room.
  constexpr std::size_t kMost = 1000;
#ifdef _WIN32
  return kMost;
#else
  constexpr std::size_t kReserve = 32;
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMost;
  if (limit.rlim_cur <= kReserve + 8) return 8;
  return std::min<std::size_t>(kMost, static_cast<std::size_t>(limit.rlim_cur) - kReserve);
#endif
}

HttpServer::HttpServer(asio::io_context& io, HttpHandler handler, std::size_t connection_limit)
    : io_(io), acceptor_(io), pause_(io), registry_(std::make_shared<ConnectionRegistry>()) {
  registry_->limit = connection_limit < 1 ? 1 : connection_limit;
  handler_ = std::move(handler);
  registry_->resume = [this] {
    registry_->accept_paused = false;
    Accept();
  };
}

HttpServer::~HttpServer() {
  registry_->resume = nullptr;
  // Connections still queued in the io_context close with it and must not call back here.
  for (Connection* connection : registry_->open) connection->Close();
}

bool HttpServer::Listen(const tcp::endpoint& where, std::string& error) {
  beast::error_code code;
  acceptor_.open(where.protocol(), code);
#ifndef _WIN32
  // On Windows this option would let a second server take the port over; elsewhere it only
  // lets a restart bind while old connections linger.
  if (!code) acceptor_.set_option(asio::socket_base::reuse_address(true), code);
#endif
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
  if (!acceptor_.is_open()) return;
  ConnectionRegistry& registry = *registry_;
  if (registry.open.size() >= registry.limit) {
    // Room for the newcomer: the connection waiting longest for a request goes. With none
    // waiting, accepting waits for one to end.
    Connection* oldest = nullptr;
    for (Connection* connection : registry.open) {
      if (connection->waiting() &&
          (oldest == nullptr || connection->waiting_since() < oldest->waiting_since())) {
        oldest = connection;
      }
    }
    registry.accept_paused = true;
    if (oldest != nullptr) oldest->Close();
    return;
  }
  acceptor_.async_accept(io_, [this](beast::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted) return;
    if (error) {
      ++accept_failures_;
      AcceptLater();
      return;
    }
    backoff_ = std::chrono::milliseconds(0);
    std::make_shared<Connection>(std::move(socket), handler_, registry_)->Read();
    Accept();
  });
}

void HttpServer::AcceptLater() {
  backoff_ =
      backoff_.count() == 0 ? std::chrono::milliseconds(50) : std::min(backoff_ * 2, kLongestPause);
  pause_.expires_after(backoff_);
  pause_.async_wait([this](beast::error_code error) {
    if (!error) Accept();
  });
}

}  // namespace kevo::live
