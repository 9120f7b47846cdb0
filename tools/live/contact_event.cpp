#include "tools/live/contact_event.h"

#include <algorithm>

#include "tools/replay/inputs/ole_date.h"
#include "tools/replay/inputs/qso_mapping.h"

namespace kevo::live {

namespace {

std::string Trimmed(const std::string& text) {
  auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  auto first = std::find_if_not(text.begin(), text.end(), blank);
  auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The band from `band` (megahertz, "3.5", "14"), else from `rxfreq` (tens of hertz).
std::optional<std::string> BandOf(const Datagram& datagram) {
  if (auto hertz = replay::DecimalToHertz(Trimmed(datagram.Text("band")), 6)) {
    if (auto band = replay::BandFromHertz(*hertz)) return band;
  }
  if (auto hertz = replay::DecimalToHertz(Trimmed(datagram.Text("rxfreq")), 1)) {
    return replay::BandFromHertz(*hertz);
  }
  return std::nullopt;
}

// A serial number of 0 means the contest uses none.
std::string NumberUnlessZero(const std::string& text) {
  std::string number = Trimmed(text);
  bool zero =
      !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c == '0'; });
  return zero ? std::string() : number;
}

std::string ReceivedOf(const Datagram& datagram, const ElementNames& names) {
  if (names.received) return Trimmed(datagram.Text(*names.received));
  std::string exchange = Trimmed(datagram.Text("exchange1"));
  return exchange.empty() ? NumberUnlessZero(datagram.Text("rcvnr")) : exchange;
}

EventMapping Refused(std::string reason, std::string detail) {
  EventMapping mapping;
  mapping.reason = std::move(reason);
  mapping.detail = std::move(detail);
  return mapping;
}

}  // namespace

std::string LiveMode(const std::string& mode) {
  std::string upper = UpperAscii(Trimmed(mode));
  return upper == "USB" || upper == "LSB" ? "SSB" : upper;
}

EventMapping MapDatagram(const Datagram& datagram, const ElementNames& names) {
  EventMapping mapping;
  ContactEvent& event = mapping.event;
  event.kind = datagram.kind;
  replay::Contact& contact = event.contact;
  contact.call = UpperAscii(Trimmed(datagram.Text("call")));
  event.timestamp = Trimmed(datagram.Text("timestamp"));
  event.station = Trimmed(datagram.Text("stationname"));
  if (contact.call.empty()) return Refused("no call", {});
  // A date alone is no contact time: the rates and the library's identity need the minute.
  std::optional<COleDateTime> time;
  if (event.timestamp.size() > 10) time = replay::ParseIsoDateTime(event.timestamp);
  if (!time) return Refused("no time", "'" + event.timestamp + "'");
  contact.time = *time;
  event.id = UpperAscii(Trimmed(datagram.Text("id")));
  if (datagram.kind != DatagramKind::kContactDelete) {
    std::optional<std::string> band = BandOf(datagram);
    if (!band) {
      return Refused("no band", "band '" + datagram.Text("band") + "', rxfreq '" +
                                    datagram.Text("rxfreq") + "'");
    }
    contact.band = *band;
    contact.mode = LiveMode(datagram.Text("mode"));
    contact.sent = NumberUnlessZero(datagram.Text("sntnr"));
    contact.received = ReceivedOf(datagram, names);
    contact.prefix = Trimmed(datagram.Text(names.prefix));
    contact.region = Trimmed(datagram.Text(names.region));
  }
  if (event.id.empty()) {
    // Without an ID the contact's identity in the library stands in for it; a delete then
    // finds the contact only when it names the same call and time.
    event.id = contact.call + "|" + event.timestamp;
  }
  mapping.ok = true;
  return mapping;
}

}  // namespace kevo::live
