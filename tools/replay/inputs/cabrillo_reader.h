// Reader of Cabrillo 3.0 logs: tag lines "NAME: value" and QSO lines
// "QSO: freq mo date time own-call sent... call received... [transmitter]". A pure function
// over bytes; the values are checked later, when they are mapped to the library's parameters.
//
// Contests differ in what follows each call, so the layout is decided once per file from all
// of its QSO lines: the number of tokens a side is the one most lines have (both sides carry
// the same number), and the first token of a side is a signal report when it looks like one on
// both sides of a clear majority of such lines (all but one, or 95%). The other tokens of a
// side are its exchange.
#ifndef KEVO_TOOLS_REPLAY_INPUTS_CABRILLO_READER_H_
#define KEVO_TOOLS_REPLAY_INPUTS_CABRILLO_READER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/problem.h"

namespace kevo::replay {

struct CabrilloQso {
  std::size_t line = 0;
  std::string frequency;
  std::string mode;
  std::string date;
  std::string time;
  std::string own_call;
  std::string sent_report;    // empty when the layout has no report column
  std::string sent_exchange;  // the side's exchange tokens joined by one blank
  std::string call;
  std::string received_report;
  std::string received_exchange;
  std::string transmitter;  // empty when the line has none
};

struct CabrilloLayout {
  std::size_t tokens_per_side = 0;  // report and exchange tokens after each call
  bool report_column = false;       // the first of them is a signal report

  std::size_t ExchangeTokens() const { return tokens_per_side - (report_column ? 1 : 0); }
  std::string Name() const;  // e.g. "signal report and 1 exchange token a side"
};

// The header facts a report shows; empty when the file has no such line.
struct CabrilloHeader {
  std::string contest;
  std::string callsign;
  std::string claimed_score;
};

struct CabrilloLog {
  std::vector<CabrilloQso> qsos;
  std::vector<host::Problem> rejected;  // QSO lines that do not fit the file's layout
  CabrilloLayout layout;
  CabrilloHeader header;
  std::size_t ignored_contacts = 0;  // X-QSO lines: contacts the operator asked to ignore
  std::size_t qtc_lines = 0;         // QTC lines: traffic sent after contacts, not contacts
  bool has_start = false;            // a START-OF-LOG line was seen
};

CabrilloLog ParseCabrillo(std::string_view text);

// The tag of a line ("QSO", "START-OF-LOG"), upper case; empty when the line has none.
std::string CabrilloTag(std::string_view line);

// A token shaped like a signal report, whatever the mode: operators log 599 on phone and 59
// on CW. Readability 1-5 and strength 1-9, perhaps a tone 1-9, with 9 possibly sent cut as N
// ("5NN"); or a signed dB figure such as "-10" or "+05".
bool IsSignalReport(std::string_view token);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_INPUTS_CABRILLO_READER_H_
