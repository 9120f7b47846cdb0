#include "tools/replay/options.h"

#include <utility>

#include "tools/host/tokens.h"

namespace kevo::replay {

namespace {

enum OptionId : int {
  kExtlog = host::kFirstOwnOptionId,
  kPrefixField,
  kRegionField,
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
    {"extlog", required_argument, nullptr, kExtlog},
    {"prefix-field", required_argument, nullptr, kPrefixField},
    {"region-field", required_argument, nullptr, kRegionField},
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

bool SetBreakMinutes(const std::string& value, int& target, std::string& error) {
  std::optional<std::int32_t> minutes = host::ParseInt32(value);
  if (!minutes || *minutes < 1 || *minutes > 1440) {
    error = "--break-minutes needs a whole number of minutes from 1 to 1440, not '" + value + "'";
    return false;
  }
  target = *minutes;
  return true;
}

// An option that takes one of two words, each naming a value.
template <typename Value>
bool SetChoice(const std::string& value, const char* option,
               const std::pair<const char*, Value>& first,
               const std::pair<const char*, Value>& second, Value& target, std::string& error) {
  if (value == first.first) {
    target = first.second;
  } else if (value == second.first) {
    target = second.second;
  } else {
    error = std::string(option) + " takes " + first.first + " or " + second.first + ", not '" +
            value + "'";
    return false;
  }
  return true;
}

// getopt_long's answer for one argument turned into the option's effect. False with the
// message for the user.
bool Apply(int id, const std::string& value, Options& options, std::string& error) {
  switch (id) {
    case kExtlog:
      options.extlog = value;
      break;
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
      return SetBreakMinutes(value, options.break_minutes, error);
    case kSummaryAt:
      return SetChoice(value, "--summary-at", {"each", SummaryAt::kEachContact},
                       {"end", SummaryAt::kEnd}, options.summary_at, error);
    case kOrder:
      return SetChoice(value, "--order", {"time", RecordOrder::kTime}, {"file", RecordOrder::kFile},
                       options.order, error);
    case kScript:
      return SetNamed(value, options.script_file, "--script needs a file", error);
  }
  return true;
}

}  // namespace

std::string UsageText() {
  std::string text =
      "Usage: kevo-replay [options] LOGFILE      replay an ADIF or Cabrillo log\n"
      "       kevo-replay [options] --script FILE  run a scripted session\n"
      "\n"
      "Options:\n"
      "  --extlog ARG          run command 0 with ARG and tell where ExtLog.txt was written\n"
      "                        (copied to the current directory when the working\n"
      "                        directory is a temporary one)\n"
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
      "                        mode, exchange, points, new multiplier, call check answer)\n";
  text += host::HostOptionsUsage(24);
  text +=
      "\n"
      "Exit status: 0 all records used, 3 some records skipped (or script lines rejected),\n"
      "1 a file could not be read or recognised, 2 bad usage.\n";
  return text;
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  std::vector<std::string> positional;
  auto apply = [&options](int id, const std::string& value, std::string& message) {
    return Apply(id, value, options, message);
  };
  if (!host::ParseHostAndOwnOptions(arguments, kLongOptions, apply, options, positional, error)) {
    return false;
  }

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
