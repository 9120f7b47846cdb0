// The socket the loggers' datagrams arrive on (Boost.Asio). It runs on a thread of its own and
// does nothing but receive and hand each datagram on, so that a burst of contacts waits in
// memory while the contacts before it are scored, never in the kernel's small buffer, where
// datagrams that do not fit are dropped.
#ifndef KEVO_TOOLS_LIVE_INTAKE_UDP_INTAKE_H_
#define KEVO_TOOLS_LIVE_INTAKE_UDP_INTAKE_H_

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/live/intake/sender_filter.h"

namespace kevo::live {

// Called on the intake's thread with the datagrams that arrived together, in their order.
using DatagramSink = std::function<void(std::vector<std::string> batch)>;

class UdpIntake {
 public:
  // Datagrams from senders `filter` does not allow are counted and dropped unread.
  UdpIntake(boost::asio::io_context& io, SenderFilter filter, DatagramSink sink);

  // Binds and starts receiving; false with `error`. The port is kevo-live's alone unless
  // `share` is set: a second listener that shares it takes every datagram sent to this
  // computer's own address, leaving the first with broadcasts only.
  bool Listen(const boost::asio::ip::udp::endpoint& where, bool share, std::string& error);
  boost::asio::ip::udp::endpoint local_endpoint() const { return socket_.local_endpoint(); }
  // Datagrams dropped for their sender; read from any thread.
  std::uint64_t refused_senders() const { return refused_senders_.load(); }

 private:
  void Receive();
  // Adds the datagrams already waiting in the socket, so that a burst is journaled in batches.
  void TakeWaiting(std::vector<std::string>& batch);
  // Adds what one receive gave; false when it gave nothing.
  bool Keep(const boost::system::error_code& error, std::size_t size,
            std::vector<std::string>& batch);

  boost::asio::ip::udp::socket socket_;
  boost::asio::ip::udp::endpoint sender_;
  std::vector<char> buffer_;
  SenderFilter filter_;
  DatagramSink sink_;
  std::atomic<std::uint64_t> refused_senders_{0};
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_INTAKE_UDP_INTAKE_H_
