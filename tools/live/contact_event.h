// A logger's datagram turned into what the contact book acts on: which contact (its ID), what
// happened to it, and the contact as a host hands it to the library. The mapping follows
// kevo-replay's: band from the band in megahertz, else from the receive frequency; USB and
// LSB are SSB; the time from the timestamp; the received exchange from exchange1, else from
// the serial number when it is not 0.
#ifndef KEVO_LIVE_CONTACT_EVENT_H_
#define KEVO_LIVE_CONTACT_EVENT_H_

#include <optional>
#include <string>

#include "tools/live/datagram.h"
#include "tools/replay/host/host_session.h"

namespace kevo::live {

// Which elements feed the parameters the library reads besides call, band, mode and time.
struct ElementNames {
  std::optional<std::string> received;  // unset: exchange1, else rcvnr when not 0
  std::string prefix = "countryprefix";
  std::string region = "section";
};

struct ContactEvent {
  DatagramKind kind = DatagramKind::kContactInfo;
  std::string id;           // the logger's ID; for a logger that sends none, made from the contact
  replay::Contact contact;  // for a delete only call and time are known
  std::string timestamp;    // as the logger wrote it, for the page
  std::string station;      // StationName: which PC sent it
};

struct EventMapping {
  bool ok = false;
  ContactEvent event;
  std::string reason;  // "no call", "no time", "no band" when refused
  std::string detail;
};

EventMapping MapDatagram(const Datagram& datagram, const ElementNames& names);

// The library's mode text for a logger's mode: sidebands are SSB, the rest as written.
std::string LiveMode(const std::string& mode);

}  // namespace kevo::live

#endif  // KEVO_LIVE_CONTACT_EVENT_H_
