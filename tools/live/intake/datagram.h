// One logger broadcast read as XML: the root element says what happened (a contact logged,
// edited or deleted) and its direct children carry the contact's values. Element names are
// matched without regard to case, unknown elements are kept but never asked for, and a missing
// element reads as empty, because every logger writes its own dialect.
#ifndef KEVO_TOOLS_LIVE_INTAKE_DATAGRAM_H_
#define KEVO_TOOLS_LIVE_INTAKE_DATAGRAM_H_

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace kevo::live {

// The largest payload a UDP datagram over IPv4 can carry; anything longer did not come whole
// from one datagram.
inline constexpr std::size_t kMaxDatagramBytes = 65507;

enum class DatagramKind { kContactInfo, kContactReplace, kContactDelete };

struct Datagram {
  DatagramKind kind = DatagramKind::kContactInfo;
  std::map<std::string, std::string> elements;  // lower-case name -> text (the last one wins)

  // The text of the child element `name` (lower case); empty when there is none.
  const std::string& Text(const std::string& name) const;
};

struct DatagramParse {
  bool ok = false;
  Datagram datagram;
  std::string reason;  // why the datagram was refused, a short fixed phrase (a counter's key)
  std::string detail;  // what the parser said, for the log
};

// Reads the bytes with a conforming XML parser: anything not well-formed, with a root other
// than the three known ones, or longer than a datagram can be is refused with its reason.
DatagramParse ParseDatagram(std::string_view bytes);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_INTAKE_DATAGRAM_H_
