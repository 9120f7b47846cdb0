#include "tools/live/scoreboard/http_post.h"

#include <boost/asio/ip/tcp.hpp>
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

// A scoreboard that has not answered by then is taken as down; the next post tries again.
constexpr std::chrono::seconds kPostTimeLimit{15};

class Post : public std::enable_shared_from_this<Post> {
 public:
  Post(asio::io_context& io, HttpUrl url, std::string body, PostDone done)
      : resolver_(io), stream_(io), url_(std::move(url)), done_(std::move(done)) {
    request_.method(http::verb::post);
    request_.target(url_.path);
    request_.version(11);
    request_.set(http::field::host, HostHeader(url_));
    request_.set(http::field::user_agent, "kevo-live");
    request_.set(http::field::content_type, "text/xml; charset=utf-8");
    request_.set(http::field::connection, "close");
    request_.body() = std::move(body);
    request_.prepare_payload();
  }

  void Start() {
    resolver_.async_resolve(
        url_.host, url_.port,
        [self = shared_from_this()](beast::error_code error, tcp::resolver::results_type found) {
          if (error) return self->Fail("cannot find " + self->url_.host, error);
          self->stream_.expires_after(kPostTimeLimit);
          self->stream_.async_connect(found, [self](beast::error_code error, auto) {
            if (error) return self->Fail("cannot connect", error);
            self->Send();
          });
        });
  }

 private:
  void Send() {
    http::async_write(stream_, request_,
                      [self = shared_from_this()](beast::error_code error, std::size_t) {
                        if (error) return self->Fail("cannot send", error);
                        http::async_read(self->stream_, self->buffer_, self->response_,
                                         [self](beast::error_code error, std::size_t) {
                                           if (error) return self->Fail("no answer", error);
                                           self->Finish();
                                         });
                      });
  }

  void Finish() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    unsigned status = response_.result_int();
    std::string answer = std::to_string(status) + " " + std::string(response_.reason());
    done_(status >= 200 && status < 300, answer);
  }

  void Fail(const std::string& what, const beast::error_code& error) {
    done_(false, what + ": " + error.message());
  }

  tcp::resolver resolver_;
  beast::tcp_stream stream_;
  HttpUrl url_;
  PostDone done_;
  http::request<http::string_body> request_;
  beast::flat_buffer buffer_;
  http::response<http::string_body> response_;
};

}  // namespace

std::optional<HttpUrl> ParseHttpUrl(const std::string& url) {
  const std::string scheme = "http://";
  if (url.compare(0, scheme.size(), scheme) != 0) return std::nullopt;
  std::string rest = url.substr(scheme.size());
  HttpUrl parsed;
  std::size_t slash = rest.find('/');
  if (slash != std::string::npos) parsed.path = rest.substr(slash);
  std::string authority = rest.substr(0, slash);
  std::size_t colon = authority.rfind(':');
  if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
    parsed.port = authority.substr(colon + 1);
    authority.resize(colon);
    if (parsed.port.empty() || parsed.port.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
  }
  if (authority.size() > 2 && authority.front() == '[' && authority.back() == ']') {
    authority = authority.substr(1, authority.size() - 2);
  }
  if (authority.empty() || authority.find('@') != std::string::npos) return std::nullopt;
  parsed.host = authority;
  return parsed;
}

std::string HostHeader(const HttpUrl& url) {
  std::string host = url.host.find(':') != std::string::npos ? "[" + url.host + "]" : url.host;
  return url.port == "80" ? host : host + ":" + url.port;
}

void PostDocument(asio::io_context& io, const HttpUrl& url, std::string body, PostDone done) {
  std::make_shared<Post>(io, url, std::move(body), std::move(done))->Start();
}

}  // namespace kevo::live
