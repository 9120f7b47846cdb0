#include "tools/replay/options.h"

#include "tools/host/long_options.h"
#include "tools/host/tokens.h"

namespace kevo::replay {

namespace {

enum OptionId : int {
  kHelp = 256,
  kVersion,
  kNoRates,
  kDecorated,
  kOwnNumber,
  kOwnRegion,
  kExchangeList,
  kExtlog,
  kWorkdir,
  kPrefixField,
  kRegionField,
  kLibrary,
  kScript,
  kVerbose,
  kRcvdField,
  kReport,
  kSummaryAt,
  kOrder,
  kCsv,
  kBreakMinutes,
  kCompare,
};

constexpr option kLongOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"no-rates", no_argument, nullptr, kNoRates},
    {"decorated", no_argument, nullptr, kDecorated},
    {"own-number", required_argument, nullptr, kOwnNumber},
    {"own-region", required_argument, nullptr, kOwnRegion},
    {"exchange-list", required_argument, nullptr, kExchangeList},
    {"extlog", required_argument, nullptr, kExtlog},
    {"workdir", required_argument, nullptr, kWorkdir},
    {"prefix-field", required_argument, nullptr, kPrefixField},
    {"region-field", required_argument, nullptr, kRegionField},
    {"library", required_argument, nullptr, kLibrary},
    {"script", required_argument, nullptr, kScript},
    {"verbose", no_argument, nullptr, kVerbose},
    {"rcvd-field", required_argument, nullptr, kRcvdField},
    {"report", required_argument, nullptr, kReport},
    {"summary-at", required_argument, nullptr, kSummaryAt},
    {"order", required_argument, nullptr, kOrder},
    {"csv", required_argument, nullptr, kCsv},
    {"break-minutes", required_argument, nullptr, kBreakMinutes},
    {"compare", required_argument, nullptr, kCompare},
    {nullptr, 0, nullptr, 0},
};

// Sets `target` to an option's value that must name something: the empty text names no file or
// folder. False with the message for the user.
bool SetNamed(const std::string& value, std::string& target, const char* message,
              std::string& error) {
  if (value.empty()) {
    error = message;
    return false;
  }
  target = value;
  return true;
}

// getopt_long's answer for one argument turned into the option's effect. False with the
// message for the user.
bool Apply(int id, const std::string& value, Options& options, std::string& error) {
  switch (id) {
    case kHelp:
      options.help = true;
      break;
    case kVersion:
      options.version = true;
      break;
    case kNoRates:
      options.settings.rate_suppression = 1;
      break;
    case kDecorated:
      options.names = host::NameStyle::kDecorated;
      break;
    case kOwnNumber:
      if (std::optional<std::int32_t> number = host::ParseInt32(value)) {
        options.settings.own_number = *number;
      } else {
        error = "--own-number needs a signed 32-bit integer, not '" + value + "'";
        return false;
      }
      break;
    case kOwnRegion:
      options.settings.own_region = value;
      break;
    case kExchangeList:
      options.exchange_list = value;
      break;
    case kExtlog:
      options.extlog = value;
      break;
    case kWorkdir:
      return SetNamed(value, options.workdir, "--workdir needs a directory", error);
    case kPrefixField:
      options.adif_fields.prefix = value;
      break;
    case kRegionField:
      options.adif_fields.region = value;
      break;
    case kRcvdField:
      options.adif_fields.received = value;
      break;
    case kVerbose:
      options.verbose = true;
      break;
    case kReport:
      return SetNamed(value, options.report_file, "--report needs a file name", error);
    case kCsv:
      return SetNamed(value, options.csv_file, "--csv needs a file name", error);
    case kCompare:
      if (value.empty()) {
        error = "--compare needs a log file";
        return false;
      }
      options.compare_files.push_back(value);
      break;
    case kBreakMinutes:
      if (std::optional<std::int32_t> minutes = host::ParseInt32(value);
          minutes && *minutes >= 1 && *minutes <= 1440) {
        options.break_minutes = *minutes;
      } else {
        error =
            "--break-minutes needs a whole number of minutes from 1 to 1440, not '" + value + "'";
        return false;
      }
      break;
    case kSummaryAt:
      if (value == "each") {
        options.summary_at = SummaryAt::kEachContact;
      } else if (value == "end") {
        options.summary_at = SummaryAt::kEnd;
      } else {
        error = "--summary-at takes each or end, not '" + value + "'";
        return false;
      }
      break;
    case kOrder:
      if (value == "time") {
        options.order = RecordOrder::kTime;
      } else if (value == "file") {
        options.order = RecordOrder::kFile;
      } else {
        error = "--order takes time or file, not '" + value + "'";
        return false;
      }
      break;
    case kLibrary:
      options.library = value;
      break;
    case kScript:
      return SetNamed(value, options.script_file, "--script needs a file", error);
  }
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
         "  --rcvd-field NAME     ADIF field giving the received exchange (default SRX_STRING,\n"
         "                        else SRX)\n"
         "  --summary-at WHEN     each: ask for the score summary after every contact, as a\n"
         "                        host does (default); end: only once, after the last one\n"
         "  --order ORDER         time: give the library the records in time order\n"
         "                        (default); file: in the order the file lists them\n"
         "  --verbose             list every skipped record, not one line per reason\n"
         "  --report FILE.html    also write the replay as one self-contained HTML page:\n"
         "                        the score with its warnings, band table, charts over the\n"
         "                        contest, every contact's points, duplicates, skips\n"
         "  --break-minutes N     the shortest pause between contacts that the report counts\n"
         "                        as an off-time (default 30)\n"
         "  --compare OTHER       show another log (ADIF or Cabrillo) beside this one on the\n"
         "                        report, replayed through its own fresh session; once or\n"
         "                        twice\n"
         "  --csv FILE.csv        also write every contact's audit row (time, call, band,\n"
         "                        mode, exchange, points, new multiplier, call check answer)\n"
         "  --library PATH        the plug-in to load (default: the one next to kevo-replay,\n"
         "                        else the installed one)\n"
         "  --decorated           find the entries by their decorated names\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 all records used, 3 some records skipped (or script lines rejected),\n"
         "1 a file could not be read or recognised, 2 bad usage.\n";
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  std::vector<std::string> positional;
  auto apply = [&options](int id, const std::string& value, std::string& message) {
    return Apply(id, value, options, message);
  };
  if (!host::ParseLongOptions(arguments, kLongOptions, apply, positional, error)) return false;

  if (options.help || options.version) return true;
  if (!options.script_file.empty()) {
    if (!positional.empty()) {
      error = "--script takes no log file";
      return false;
    }
    if (!options.report_file.empty() || !options.csv_file.empty()) {
      error = std::string(options.report_file.empty() ? "--csv" : "--report") +
              " needs a log file, not --script";
      return false;
    }
    return true;
  }
  if (positional.size() != 1) {
    error = positional.empty() ? "no log file given" : "more than one log file given";
    return false;
  }
  if ((!options.report_file.empty() || !options.csv_file.empty()) &&
      options.summary_at == SummaryAt::kEnd) {
    // The page and the audit read every contact's figures from the summary that followed it.
    error = std::string(options.report_file.empty() ? "--csv" : "--report") +
            " needs the summary after every contact, not --summary-at end";
    return false;
  }
  if (!options.compare_files.empty() && options.report_file.empty()) {
    error = "--compare needs --report, where the logs are shown side by side";
    return false;
  }
  if (options.compare_files.size() > 2) {
    error = "--compare takes two other logs at most";
    return false;
  }
  options.log_file = positional.front();
  return true;
}

}  // namespace kevo::replay
