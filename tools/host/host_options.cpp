#include "tools/host/host_options.h"

#include <cstdint>
#include <optional>

#include "tools/host/tokens.h"

namespace kevo::host {

namespace {

enum SharedOptionId : int {
  kOwnNumber = 256,
  kOwnRegion,
  kNoRates,
  kExchangeList,
  kWorkdir,
  kLibrary,
  kDecorated,
  kHelp,
  kVersion,
};

struct SharedOption {
  const char* name;
  int has_arg;
  SharedOptionId id;
  const char* value_name;  // in the usage line; empty for a flag
  const char* usage;       // lines after the first start at the description column
};

constexpr SharedOption kSharedOptions[] = {
    {"own-number", required_argument, kOwnNumber, "N",
     "own number for the statistics reset (default 0)"},
    {"own-region", required_argument, kOwnRegion, "TEXT", "own region code (default empty)"},
    {"no-rates", no_argument, kNoRates, "", "set the rate-suppression flag"},
    {"exchange-list", required_argument, kExchangeList, "FILE",
     "copied to RADL.lst in the working directory before\nthe reset"},
    {"workdir", required_argument, kWorkdir, "DIR",
     "where the library reads and writes its files\n(default: a fresh temporary directory)"},
    {"library", required_argument, kLibrary, "PATH",
     "the plug-in to load (default: the one next to the\nprogram, else the installed one)"},
    {"decorated", no_argument, kDecorated, "", "find the entries by their decorated names"},
    {"help", no_argument, kHelp, "", "this text"},
    {"version", no_argument, kVersion, "", "the program's version"},
};

static_assert(kVersion < kFirstOwnOptionId);

bool ApplyShared(int id, const std::string& value, HostOptions& options, std::string& error) {
  switch (id) {
    case kOwnNumber:
      if (std::optional<std::int32_t> number = ParseInt32(value)) {
        options.settings.own_number = *number;
        return true;
      }
      error = "--own-number needs a signed 32-bit integer, not '" + value + "'";
      return false;
    case kOwnRegion:
      options.settings.own_region = value;
      return true;
    case kNoRates:
      options.settings.rate_suppression = 1;
      return true;
    case kExchangeList:
      options.exchange_list = value;
      return true;
    case kWorkdir:
      // The empty text names no folder; the temporary one is had by leaving the option out.
      if (value.empty()) {
        error = "--workdir needs a directory";
        return false;
      }
      options.workdir = value;
      return true;
    case kLibrary:
      options.library = value;
      return true;
    case kDecorated:
      options.names = NameStyle::kDecorated;
      return true;
    case kHelp:
      options.help = true;
      return true;
    case kVersion:
      options.version = true;
      return true;
  }
  return true;
}

}  // namespace

bool ParseHostAndOwnOptions(const std::vector<std::string>& arguments, const option* own,
                            const ApplyOption& apply_own, HostOptions& shared,
                            std::vector<std::string>& operands, std::string& error) {
  std::vector<option> table;
  for (const option* o = own; o->name != nullptr; ++o) table.push_back(*o);
  for (const SharedOption& o : kSharedOptions) table.push_back({o.name, o.has_arg, nullptr, o.id});
  table.push_back({nullptr, 0, nullptr, 0});
  auto apply = [&](int id, const std::string& value, std::string& message) {
    return id >= kFirstOwnOptionId ? apply_own(id, value, message)
                                   : ApplyShared(id, value, shared, message);
  };
  return ParseLongOptions(arguments, table.data(), apply, operands, error);
}

std::string HostOptionsUsage(std::size_t column) {
  std::string text;
  for (const SharedOption& o : kSharedOptions) {
    std::string head = std::string("  --") + o.name;
    if (*o.value_name != '\0') {
      head += ' ';
      head += o.value_name;
    }
    head.resize(column < head.size() + 1 ? head.size() + 1 : column, ' ');
    text += head;
    for (const char* c = o.usage; *c != '\0'; ++c) {
      text += *c;
      if (*c == '\n') text.append(column, ' ');
    }
    text += '\n';
  }
  return text;
}

}  // namespace kevo::host
