#include "tools/replay/options.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace kevo::replay {

namespace {

bool ParseInt32(const std::string& text, std::int32_t& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < std::numeric_limits<std::int32_t>::min() ||
      parsed > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  value = static_cast<std::int32_t>(parsed);
  return true;
}

}  // namespace

const char* UsageText() {
  return "Usage: kevo-replay [options] LOGFILE      replay an ADIF or Cabrillo log\n"
         "       kevo-replay [options] --script FILE  run a scripted session\n"
         "\n"
         "Options:\n"
         "  --own-number N        own number for the statistics reset (default 0)\n"
         "  --own-region TEXT     own region code (default empty)\n"
         "  --no-rates            set the rate-suppression flag\n"
         "  --exchange-list FILE  copied to RADL.lst in the working directory before the reset\n"
         "  --extlog ARG          run command 0 with ARG and tell where ExtLog.txt was written\n"
         "  --workdir DIR         where the library reads and writes its files (default: a\n"
         "                        fresh temporary directory; ExtLog.txt is then copied to the\n"
         "                        current directory)\n"
         "  --prefix-field NAME   ADIF field giving the country prefix (default PFX)\n"
         "  --region-field NAME   ADIF field giving the region code (default STATE)\n"
         "  --library PATH        the plug-in to load (default: the one next to kevo-replay)\n"
         "  --decorated           find the entries by their decorated names\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 all records used, 3 some records skipped (or script lines rejected),\n"
         "1 a file could not be read or recognised, 2 bad usage.\n";
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options,
                  std::string& error) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (argument.size() < 2 || argument.compare(0, 2, "--") != 0 || argument == "--") {
      if (argument == "--") {
        positional.insert(positional.end(), arguments.begin() + static_cast<long>(i) + 1,
                          arguments.end());
        break;
      }
      positional.push_back(argument);
      continue;
    }
    std::optional<std::string> inline_value;
    std::size_t equals = argument.find('=');
    if (equals != std::string::npos) {
      inline_value = argument.substr(equals + 1);
      argument.resize(equals);
    }
    auto flag = [&]() {
      if (inline_value) error = argument + " takes no value";
      return !inline_value;
    };
    auto value = [&](std::string& target) {
      if (inline_value) {
        target = *inline_value;
        return true;
      }
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return false;
      }
      target = arguments[++i];
      return true;
    };
    std::string text;
    if (argument == "--help") {
      if (!flag()) return false;
      options.help = true;
    } else if (argument == "--version") {
      if (!flag()) return false;
      options.version = true;
    } else if (argument == "--no-rates") {
      if (!flag()) return false;
      options.settings.no_rates = 1;
    } else if (argument == "--decorated") {
      if (!flag()) return false;
      options.names = NameStyle::kDecorated;
    } else if (argument == "--own-number") {
      if (!value(text)) return false;
      if (!ParseInt32(text, options.settings.own_number)) {
        error = "--own-number needs a signed 32-bit integer, not '" + text + "'";
        return false;
      }
    } else if (argument == "--own-region") {
      if (!value(options.settings.own_region)) return false;
    } else if (argument == "--exchange-list") {
      if (!value(options.exchange_list)) return false;
    } else if (argument == "--extlog") {
      if (!value(text)) return false;
      options.extlog = text;
    } else if (argument == "--workdir") {
      if (!value(options.workdir)) return false;
      if (options.workdir.empty()) {
        error = "--workdir needs a directory";
        return false;
      }
    } else if (argument == "--prefix-field") {
      if (!value(options.adif_fields.prefix)) return false;
    } else if (argument == "--region-field") {
      if (!value(options.adif_fields.region)) return false;
    } else if (argument == "--library") {
      if (!value(options.library)) return false;
    } else if (argument == "--script") {
      if (!value(options.script_file)) return false;
      if (options.script_file.empty()) {
        error = "--script needs a file";
        return false;
      }
    } else {
      error = "unknown option " + argument;
      return false;
    }
  }
  if (options.help || options.version) return true;
  if (!options.script_file.empty()) {
    if (!positional.empty()) {
      error = "--script takes no log file";
      return false;
    }
    return true;
  }
  if (positional.size() != 1) {
    error = positional.empty() ? "no log file given" : "more than one log file given";
    return false;
  }
  options.log_file = positional.front();
  return true;
}

}  // namespace kevo::replay
