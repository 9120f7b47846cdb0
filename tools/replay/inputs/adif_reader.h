// Reader of the ADI (text) form of ADIF: an optional header ended by <EOH>, then records of
// <NAME:LENGTH[:TYPE]>data specifiers ended by <EOR>. A pure function over bytes.
#ifndef KEVO_TOOLS_REPLAY_INPUTS_ADIF_READER_H_
#define KEVO_TOOLS_REPLAY_INPUTS_ADIF_READER_H_

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/problem.h"

namespace kevo::replay {

struct AdifRecord {
  std::size_t line = 0;                       // where the record's first specifier starts
  std::map<std::string, std::string> fields;  // upper-case name -> data bytes, unchanged
  std::string damage;                         // why the record can't be trusted; empty if sound
};

struct AdifLog {
  std::vector<AdifRecord> records;      // damaged records included, marked
  std::vector<host::Problem> problems;  // trouble outside any record (the header, the file's end)
};

AdifLog ParseAdif(std::string_view text);

// True when `text` at `offset` starts a well-formed specifier: <EOH>, <EOR> or
// <NAME:DIGITS> / <NAME:DIGITS:TYPE>.
bool StartsAdifSpecifier(std::string_view text, std::size_t offset);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_INPUTS_ADIF_READER_H_
