// Reader of Cabrillo 3.0 logs for this contest: tag lines "NAME: value", QSO lines
// "QSO: freq mo date time own-call rst exch call rst exch [transmitter]". A pure function over
// bytes; the values are checked later, when they are mapped to the library's parameters.
#ifndef KEVO_REPLAY_CABRILLO_READER_H_
#define KEVO_REPLAY_CABRILLO_READER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/replay/text.h"

namespace kevo::replay {

struct CabrilloQso {
  std::size_t line = 0;
  std::string frequency;
  std::string mode;
  std::string date;
  std::string time;
  std::string own_call;
  std::string sent_report;
  std::string sent_exchange;
  std::string call;
  std::string received_report;
  std::string received_exchange;
  std::string transmitter;  // empty when the line has none
};

struct CabrilloLog {
  std::vector<CabrilloQso> qsos;
  std::vector<Problem> rejected;     // QSO lines that do not fit this contest's layout
  std::size_t ignored_contacts = 0;  // X-QSO lines: contacts the operator asked to ignore
  bool has_start = false;            // a START-OF-LOG line was seen
};

CabrilloLog ParseCabrillo(std::string_view text);

// Reads one "QSO:" line's values (the text after the tag). False with the reason when the
// tokens do not fit one report and one exchange token on each side.
bool ParseCabrilloQsoFields(std::string_view values, CabrilloQso& qso, std::string& reason);

// The tag of a line ("QSO", "START-OF-LOG"), upper case; empty when the line has none.
std::string CabrilloTag(std::string_view line);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_CABRILLO_READER_H_
