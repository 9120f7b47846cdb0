// The command line as kevo-replay and kevo-live take it: long options only, each spelled in
// full ("--own-number 12" or "--own-number=12", never "--own"), and operands in the order given;
// "-x" is an operand like "-", and so is everything after "--". getopt_long does the parsing.
#ifndef KEVO_TOOLS_HOST_LONG_OPTIONS_H_
#define KEVO_TOOLS_HOST_LONG_OPTIONS_H_

#include <getopt.h>

#include <functional>
#include <string>
#include <vector>

namespace kevo::host {

// Takes one option's effect: its `val` from the table and its value ("" for none). False with
// the message for the user in `error`.
using ApplyOption = std::function<bool(int id, const std::string& value, std::string& error)>;

// `options` ends with an all-zero entry. False with the message for the user (an unknown
// option, a value missing or given where none is taken, or what `apply` said).
bool ParseLongOptions(const std::vector<std::string>& arguments, const option* options,
                      const ApplyOption& apply, std::vector<std::string>& operands,
                      std::string& error);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_LONG_OPTIONS_H_
