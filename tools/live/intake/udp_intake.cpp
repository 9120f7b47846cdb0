#include "tools/live/intake/udp_intake.h"

#include "tools/live/intake/datagram.h"

namespace kevo::live {

namespace asio = boost::asio;
using udp = asio::ip::udp;

namespace {

// As much as the system grants: a burst from several loggers then waits in the kernel while
// the intake thread is between two receives.
constexpr int kReceiveBufferBytes = 8 << 20;

}  // namespace

UdpIntake::UdpIntake(asio::io_context& io, SenderFilter filter, DatagramSink sink)
    : socket_(io),
      buffer_(kMaxDatagramBytes + 1),
      filter_(std::move(filter)),
      sink_(std::move(sink)) {}

bool UdpIntake::Listen(const udp::endpoint& where, bool share, std::string& error) {
  boost::system::error_code code;
  socket_.open(where.protocol(), code);
  if (!code && share) socket_.set_option(asio::socket_base::reuse_address(true), code);
#ifdef _WIN32
  if (!code && !share) {
    // On Windows a later socket with SO_REUSEADDR could otherwise take the port over.
    BOOL on = TRUE;
    setsockopt(socket_.native_handle(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
               reinterpret_cast<const char*>(&on), sizeof on);
  }
#endif
  if (!code) socket_.set_option(asio::socket_base::broadcast(true), code);
  if (!code) {
    boost::system::error_code ignored;  // a smaller buffer is no reason not to listen
    socket_.set_option(asio::socket_base::receive_buffer_size(kReceiveBufferBytes), ignored);
  }
  if (!code) socket_.bind(where, code);
  if (code) {
    error = "cannot receive UDP on " + where.address().to_string() + ":" +
            std::to_string(where.port()) + ": " + code.message();
    if (code == asio::error::address_in_use) {
      error +=
          " (another program, perhaps another kevo-live, listens there; --share-udp "
          "shares the port)";
    }
    return false;
  }
  Receive();
  return true;
}

void UdpIntake::Receive() {
  socket_.async_receive_from(asio::buffer(buffer_), sender_,
                             [this](boost::system::error_code error, std::size_t size) {
                               if (error == asio::error::operation_aborted) return;
                               std::vector<std::string> batch;
                               Keep(error, size, batch);
                               TakeWaiting(batch);
                               if (!batch.empty()) sink_(std::move(batch));
                               Receive();
                             });
}

bool UdpIntake::Keep(const boost::system::error_code& error, std::size_t size,
                     std::vector<std::string>& batch) {
  if (error == asio::error::message_size) {
    if (!filter_.Allows(sender_.address())) {
      ++refused_senders_;
      return true;
    }
    // Windows reports a datagram longer than the buffer as an error; it is still one
    // datagram, refused as oversize like any other.
    batch.push_back(std::string(buffer_.size() + 1, ' '));
    return true;
  }
  if (error) return false;
  if (!filter_.Allows(sender_.address())) {
    ++refused_senders_;
    return true;
  }
  batch.push_back(std::string(buffer_.data(), size));
  return true;
}

void UdpIntake::TakeWaiting(std::vector<std::string>& batch) {
  // Enough to keep one disk wait per batch, few enough that the page follows a burst.
  constexpr std::size_t kBatchLimit = 256;
  socket_.non_blocking(true);
  while (batch.size() < kBatchLimit) {
    boost::system::error_code error;
    std::size_t size = socket_.receive_from(asio::buffer(buffer_), sender_, 0, error);
    if (!Keep(error, size, batch)) break;  // would block: nothing more waiting
  }
  socket_.non_blocking(false);
}

}  // namespace kevo::live
