// Which hosts may send contacts: --allow ADDRESS/BITS, as often as needed. With no network
// named every sender is taken, as loggers broadcasting on the station's LAN expect.
#ifndef KEVO_TOOLS_LIVE_INTAKE_SENDER_FILTER_H_
#define KEVO_TOOLS_LIVE_INTAKE_SENDER_FILTER_H_

#include <boost/asio/ip/address.hpp>
#include <optional>
#include <string>
#include <vector>

namespace kevo::live {

struct Network {
  boost::asio::ip::address address;
  unsigned bits = 0;  // the leading bits that must match
};

// "192.168.1.0/24", "fd00::/8", or one address ("10.0.0.7" is 10.0.0.7/32); empty when
// malformed or when BITS is too large for the address.
std::optional<Network> ParseNetwork(const std::string& text);
std::string NetworkText(const Network& network);

class SenderFilter {
 public:
  SenderFilter() = default;
  explicit SenderFilter(std::vector<Network> networks) : networks_(std::move(networks)) {}

  // An IPv4 sender seen through an IPv6 socket counts as the IPv4 address.
  bool Allows(const boost::asio::ip::address& sender) const;
  bool empty() const { return networks_.empty(); }
  const std::vector<Network>& networks() const { return networks_; }

 private:
  std::vector<Network> networks_;
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_INTAKE_SENDER_FILTER_H_
