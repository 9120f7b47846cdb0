// A logger's datagram turned into what the contact book acts on: which contact (its ID), what
// happened to it, and the contact as a host hands it to the library. The mapping follows
// kevo-replay's band names and modes: the band from `band` (megahertz, "3.5", "3,5", "14",
// whole megahertz for the WARC bands), else from `rxfreq`, else from `txfreq` (tens of hertz);
// USB and LSB are SSB; the time from the timestamp (ISO forms too); the received exchange from
// the first non-empty element of a list.
#ifndef KEVO_TOOLS_LIVE_INTAKE_CONTACT_EVENT_H_
#define KEVO_TOOLS_LIVE_INTAKE_CONTACT_EVENT_H_

#include <optional>
#include <string>
#include <vector>

#include "tools/host/host_session.h"
#include "tools/live/intake/datagram.h"

namespace kevo::live {

// Which elements feed the parameters the library reads besides call, band, mode and time.
struct ElementNames {
  // Tried in order, the first non-empty one used; a serial number of 0 (rcvnr, nr) is empty.
  std::vector<std::string> received = DefaultReceived();
  std::string prefix = "countryprefix";
  std::string region = "section";

  static std::vector<std::string> DefaultReceived() {
    return {"exchange1", "exch1", "rcvnr", "nr"};
  }
};

struct ContactEvent {
  DatagramKind kind = DatagramKind::kContactInfo;
  std::string id;         // the logger's ID; for a logger that sends none, made from the contact
  host::Contact contact;  // for a delete only call and time are known
  bool counts = true;     // false for a contact the logger marks as not to count (X-contact)
  std::string timestamp;  // as the logger wrote it, for the page
  std::string station;    // StationName: which PC sent it
  std::string contest;    // contestname, as written (trimmed)
  std::string mycall;     // the station's own call, upper case
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

// The band text kevo-replay gives for a logger's `band` element (megahertz in any of the
// shapes loggers write); empty when it names no amateur band.
std::optional<std::string> BandFromMegahertz(const std::string& text);

// "YYYY-MM-DD HH:MM[:SS]" with a space or a T, fractional seconds and a trailing Z allowed;
// the fraction is dropped. Empty when it is no date and time.
std::optional<COleDateTime> ParseLoggerTime(const std::string& text);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_INTAKE_CONTACT_EVENT_H_
