#include "tools/live/intake/sender_filter.h"

#include <boost/system/error_code.hpp>

#include "tools/host/tokens.h"

namespace kevo::live {

namespace ip = boost::asio::ip;

namespace {

ip::address Plain(const ip::address& address) {
  if (address.is_v6() && address.to_v6().is_v4_mapped()) {
    return ip::make_address_v4(ip::v4_mapped, address.to_v6());
  }
  return address;
}

template <typename Bytes>
bool SamePrefix(const Bytes& a, const Bytes& b, unsigned bits) {
  for (std::size_t i = 0; i < a.size() && bits > 0; ++i, bits = bits >= 8 ? bits - 8 : 0) {
    unsigned mask = bits >= 8 ? 0xFFu : (0xFFu << (8 - bits)) & 0xFFu;
    if ((a[i] & mask) != (b[i] & mask)) return false;
  }
  return true;
}

}  // namespace

std::optional<Network> ParseNetwork(const std::string& text) {
  std::size_t slash = text.find('/');
  boost::system::error_code code;
  Network network;
  network.address = ip::make_address(text.substr(0, slash), code);
  if (code) return std::nullopt;
  unsigned most = network.address.is_v4() ? 32 : 128;
  network.bits = most;
  if (slash != std::string::npos) {
    std::optional<std::int32_t> bits = host::ParseInt32(text.substr(slash + 1));
    if (!bits || *bits < 0 || static_cast<unsigned>(*bits) > most) return std::nullopt;
    network.bits = static_cast<unsigned>(*bits);
  }
  return network;
}

std::string NetworkText(const Network& network) {
  return network.address.to_string() + "/" + std::to_string(network.bits);
}

bool SenderFilter::Allows(const ip::address& sender) const {
  if (networks_.empty()) return true;
  ip::address plain = Plain(sender);
  for (const Network& network : networks_) {
    if (network.address.is_v4() && plain.is_v4()) {
      if (SamePrefix(network.address.to_v4().to_bytes(), plain.to_v4().to_bytes(), network.bits)) {
        return true;
      }
    } else if (network.address.is_v6() && plain.is_v6()) {
      if (SamePrefix(network.address.to_v6().to_bytes(), plain.to_v6().to_bytes(), network.bits)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace kevo::live
