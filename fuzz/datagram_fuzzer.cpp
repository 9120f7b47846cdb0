// kevo-live's datagram path: any bytes through the XML parser and the mapping onto a contact
// must come out without a fault, either refused with one of the known reasons or as an event
// the contact book can use.
#include <set>
#include <string>
#include <string_view>

#include "session_model.h"
#include "tools/host/text_escape.h"
#include "tools/live/intake/contact_event.h"
#include "tools/live/intake/datagram.h"

using namespace kevo::live;
using namespace kevo::host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::set<std::string> kParseReasons = {"not well-formed XML", "unknown root",
                                                      "oversize"};
  static const std::set<std::string> kMapReasons = {"no call", "no time", "no band"};
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DatagramParse parse = ParseDatagram(bytes);
  if (!parse.ok) {
    KEVO_FUZZ_CHECK(kParseReasons.count(parse.reason) == 1, "a known refusal");
    KEVO_FUZZ_CHECK(!JsonString(parse.detail).empty(), "the detail can be shown");
    return 0;
  }
  for (const auto& [name, text] : parse.datagram.elements) {
    KEVO_FUZZ_CHECK(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos,
                    "element names in lower case");
    KEVO_FUZZ_CHECK(text.size() <= size, "element text from the datagram");
  }
  ElementNames names;
  EventMapping mapping = MapDatagram(parse.datagram, names);
  if (!mapping.ok) {
    KEVO_FUZZ_CHECK(kMapReasons.count(mapping.reason) == 1, "a known mapping refusal");
    return 0;
  }
  const ContactEvent& event = mapping.event;
  KEVO_FUZZ_CHECK(event.kind == parse.datagram.kind, "the root's kind");
  KEVO_FUZZ_CHECK(!event.contact.call.empty() && !event.id.empty(), "a call and an ID");
  KEVO_FUZZ_CHECK(event.contact.time.m_status == 0, "a valid time");
  KEVO_FUZZ_CHECK(event.kind == DatagramKind::kContactDelete || !event.contact.band.empty(),
                  "a band for every contact added");
  return 0;
}
