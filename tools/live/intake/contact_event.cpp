#include "tools/live/intake/contact_event.h"

#include <algorithm>
#include <cstdint>

#include "tools/host/bands.h"
#include "tools/host/ole_date.h"

namespace kevo::live {

namespace {

constexpr std::uint64_t kMHz = 1000000;

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

// Loggers write a band by its whole megahertz, also where the band starts above it: 10 for
// the band at 10.1 MHz. A frequency inside each such band stands for it.
struct WholeMegahertz {
  std::uint64_t megahertz;
  std::uint64_t inside_hz;
};
constexpr WholeMegahertz kWholeMegahertz[] = {
    {5, 5357 * 1000},
    {10, 10120 * 1000},
    {18, 18100 * 1000},
    {24, 24940 * 1000},
};

// A serial number of 0 means the contest uses none.
bool IsZeroNumber(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

std::string NumberUnlessZero(const std::string& text) {
  std::string number = Trimmed(text);
  return IsZeroNumber(number) ? std::string() : number;
}

bool IsSerialElement(const std::string& name) { return name == "rcvnr" || name == "nr"; }

std::string ReceivedOf(const Datagram& datagram, const ElementNames& names) {
  for (const std::string& name : names.received) {
    std::string value = Trimmed(datagram.Text(name));
    if (IsSerialElement(name) && IsZeroNumber(value)) continue;
    if (!value.empty()) return value;
  }
  return {};
}

// The band from `band`, else `rxfreq`, else `txfreq` (tens of hertz; 0 means not given).
std::optional<std::string> BandOf(const Datagram& datagram) {
  if (auto band = BandFromMegahertz(datagram.Text("band"))) return band;
  for (const char* element : {"rxfreq", "txfreq"}) {
    if (auto tens = host::DecimalToHertz(Trimmed(datagram.Text(element)), 1)) {
      if (auto band = host::BandFromHertz(*tens)) return band;
    }
  }
  return std::nullopt;
}

// "True", "yes" and "1" in any case; anything else is false.
bool IsTrue(const std::string& text) {
  std::string upper = UpperAscii(Trimmed(text));
  return upper == "TRUE" || upper == "YES" || upper == "1";
}

// A contact the logger says must not count: IsClaimedQso 0 in one family of loggers, xqso or
// invalid true in another.
bool MarkedNotToCount(const Datagram& datagram) {
  std::string claimed = UpperAscii(Trimmed(datagram.Text("isclaimedqso")));
  bool unclaimed = claimed == "0" || claimed == "FALSE" || claimed == "NO";
  return unclaimed || IsTrue(datagram.Text("xqso")) || IsTrue(datagram.Text("invalid"));
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

std::optional<std::string> BandFromMegahertz(const std::string& text) {
  std::string value = Trimmed(text);
  std::replace(value.begin(), value.end(), ',', '.');  // a decimal comma: "3,5"
  if (std::optional<std::uint64_t> hertz = host::DecimalToHertz(value, 6)) {
    if (auto band = host::BandFromHertz(*hertz)) return band;
    for (const WholeMegahertz& whole : kWholeMegahertz) {
      if (*hertz == whole.megahertz * kMHz) return host::BandFromHertz(whole.inside_hz);
    }
    return std::nullopt;
  }
  return host::BandFromAdifName(value);  // "20m", "70cm"
}

std::optional<COleDateTime> ParseLoggerTime(const std::string& text) {
  std::string value = Trimmed(text);
  if (!value.empty() && (value.back() == 'Z' || value.back() == 'z')) value.pop_back();
  // Fractional seconds after "YYYY-MM-DD HH:MM:SS".
  constexpr std::size_t kWholeSeconds = 19;
  if (value.size() > kWholeSeconds + 1 && value[kWholeSeconds] == '.' &&
      std::all_of(value.begin() + kWholeSeconds + 1, value.end(),
                  [](char c) { return c >= '0' && c <= '9'; })) {
    value.resize(kWholeSeconds);
  }
  // A date alone is no contact time: the rates and the library's identity need the minute.
  if (value.size() <= 10) return std::nullopt;
  return host::ParseIsoDateTime(value);
}

EventMapping MapDatagram(const Datagram& datagram, const ElementNames& names) {
  EventMapping mapping;
  ContactEvent& event = mapping.event;
  event.kind = datagram.kind;
  host::Contact& contact = event.contact;
  contact.call = UpperAscii(Trimmed(datagram.Text("call")));
  event.timestamp = Trimmed(datagram.Text("timestamp"));
  event.station = Trimmed(datagram.Text("stationname"));
  event.contest = Trimmed(datagram.Text("contestname"));
  event.mycall = UpperAscii(Trimmed(datagram.Text("mycall")));
  if (contact.call.empty()) return Refused("no call", {});
  std::optional<COleDateTime> time = ParseLoggerTime(event.timestamp);
  if (!time) return Refused("no time", "'" + event.timestamp + "'");
  contact.time = *time;
  event.id = UpperAscii(Trimmed(datagram.Text("id")));
  if (event.id.empty()) event.id = UpperAscii(Trimmed(datagram.Text("guid")));
  if (datagram.kind != DatagramKind::kContactDelete) {
    std::optional<std::string> band = BandOf(datagram);
    if (!band) {
      return Refused("no band", "looked at band '" + datagram.Text("band") + "', rxfreq '" +
                                    datagram.Text("rxfreq") + "', txfreq '" +
                                    datagram.Text("txfreq") + "'");
    }
    contact.band = *band;
    contact.mode = LiveMode(datagram.Text("mode"));
    contact.sent = NumberUnlessZero(datagram.Text("sntnr"));
    contact.received = ReceivedOf(datagram, names);
    contact.prefix = Trimmed(datagram.Text(names.prefix));
    contact.region = Trimmed(datagram.Text(names.region));
    event.counts = !MarkedNotToCount(datagram);
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
