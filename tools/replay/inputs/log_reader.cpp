#include "tools/replay/inputs/log_reader.h"

#include <algorithm>
#include <map>
#include <string>

#include "text/ascii.h"
#include "tools/host/linear_time.h"
#include "tools/host/tokens.h"
#include "tools/replay/inputs/lines.h"

namespace kevo::replay {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// Offset of the first line whose tag is QSO or START-OF-LOG, or npos.
std::size_t FirstCabrilloLine(std::string_view text) {
  for (std::size_t start = 0; start < text.size();) {
    std::size_t line_start = start;
    std::string tag = CabrilloTag(TrimAsciiSpace(NextLine(text, start)));
    if (tag == "QSO" || tag == "START-OF-LOG") return line_start;
  }
  return kNotFound;
}

// Offset of the first <EOH> or <EOR>, or npos. A lone field proves nothing: Cabrillo soapbox
// lines may hold anything.
std::size_t FirstAdifMarker(std::string_view text) {
  for (std::size_t at = text.find('<'); at != kNotFound; at = text.find('<', at + 1)) {
    std::string_view candidate = text.substr(at, 5);
    if (EqualsIgnoringAsciiCase(candidate, "<EOR>") ||
        EqualsIgnoringAsciiCase(candidate, "<EOH>")) {
      return at;
    }
  }
  return kNotFound;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// A log whose exchange sits in another field would be scored as if none had been received.
void WarnOfMissingExchanges(const AdifFieldNames& names, ReplayInput& input) {
  std::size_t missing = 0;
  for (const host::QsoValues& qso : input.qsos) missing += qso.received.empty() ? 1 : 0;
  if (missing == 0 || missing * 2 <= input.qsos.size()) return;
  std::string where = names.received ? "field " + *names.received : "SRX_STRING or SRX";
  input.notes.push_back(
      {0, std::to_string(missing) + " of " + std::to_string(input.qsos.size()) +
              " records have no received exchange (" + where +
              "): they are scored with an empty one; --rcvd-field NAME reads it from another "
              "field"});
}

void ReadAdif(std::string_view content, const AdifFieldNames& names, ReplayInput& input) {
  AdifLog log = ParseAdif(content);
  input.notes = std::move(log.problems);
  input.records_read = log.records.size();
  for (const AdifRecord& record : log.records) {
    host::QsoValues qso;
    std::string reason;
    if (MapAdifRecord(record, names, qso, reason)) {
      input.qsos.push_back(std::move(qso));
    } else {
      input.skipped.push_back({record.line, reason});
    }
  }
  WarnOfMissingExchanges(names, input);
}

void ReadCabrillo(std::string_view content, ReplayInput& input) {
  CabrilloLog log = ParseCabrillo(content);
  input.records_read = log.qsos.size() + log.rejected.size();
  input.skipped = std::move(log.rejected);
  for (const CabrilloQso& record : log.qsos) {
    host::QsoValues qso;
    std::string reason;
    if (MapCabrilloQso(record, qso, reason)) {
      input.qsos.push_back(std::move(qso));
    } else {
      input.skipped.push_back({record.line, reason});
    }
  }
  // Rejected lines were collected first; keep the report in file order.
  std::stable_sort(input.skipped.begin(), input.skipped.end(),
                   [](const host::Problem& a, const host::Problem& b) { return a.line < b.line; });
  if (!log.has_start) input.notes.push_back({1, "no START-OF-LOG line"});
  if (log.ignored_contacts > 0) {
    input.notes.push_back({0, std::to_string(log.ignored_contacts) +
                                  " X-QSO line(s) left out, as the operator asked"});
  }
  if (log.qtc_lines > 0) {
    input.notes.push_back({0, std::to_string(log.qtc_lines) +
                                  " QTC line(s) left out: traffic sent after contacts is not "
                                  "scored here"});
  }
  input.header = std::move(log.header);
  if (input.records_read > 0) input.layout = log.layout.Name();
}

// The library sees the contacts in the order they were made, so the score after each contact
// rises with time as it did on the day, and the window is found over every timed contact. The
// count of records out of time order and the window hold in either order.
void OrderRecords(ReplayInput& input) {
  std::vector<std::pair<std::optional<double>, host::QsoValues>> timed;
  timed.reserve(input.qsos.size());
  std::vector<host::TimedLine> times;
  std::optional<double> latest;
  for (host::QsoValues& qso : input.qsos) {
    std::optional<double> day = host::LinearDay(qso.time);
    if (day) {
      if (latest && *day < *latest) ++input.out_of_order;
      latest = latest ? std::max(*latest, *day) : *day;
      times.push_back({*day, qso.line});
    }
    timed.emplace_back(day, std::move(qso));
  }
  input.window = host::FindContestWindow(times);
  if (input.order == RecordOrder::kFile) {
    for (std::size_t i = 0; i < timed.size(); ++i) input.qsos[i] = std::move(timed[i].second);
    return;
  }
  std::stable_sort(timed.begin(), timed.end(), [](const auto& a, const auto& b) {
    return a.first && (!b.first || *a.first < *b.first);
  });
  for (std::size_t i = 0; i < timed.size(); ++i) input.qsos[i] = std::move(timed[i].second);
}

}  // namespace

const char* LogFormatName(LogFormat format) {
  switch (format) {
    case LogFormat::kAdif:
      return "ADIF";
    case LogFormat::kCabrillo:
      return "Cabrillo";
    case LogFormat::kUnknown:
      break;
  }
  return "unknown";
}

LogFormat DetectLogFormat(std::string_view content, std::string_view file_name) {
  std::size_t cabrillo = FirstCabrilloLine(content);
  std::size_t adif = FirstAdifMarker(content);
  if (cabrillo == kNotFound && adif == kNotFound) {
    // A log cut off before its first <EOR> still shows its fields.
    for (std::size_t at = content.find('<'); at != kNotFound; at = content.find('<', at + 1)) {
      if (StartsAdifSpecifier(content, at)) return LogFormat::kAdif;
    }
    return LogFormat::kUnknown;
  }
  if (cabrillo == kNotFound) return LogFormat::kAdif;
  if (adif == kNotFound) return LogFormat::kCabrillo;
  if (EndsWith(file_name, ".adi") || EndsWith(file_name, ".adif")) return LogFormat::kAdif;
  if (EndsWith(file_name, ".cbr") || EndsWith(file_name, ".log")) return LogFormat::kCabrillo;
  return cabrillo < adif ? LogFormat::kCabrillo : LogFormat::kAdif;
}

ReplayInput ReadLog(std::string_view content, std::string_view file_name,
                    const AdifFieldNames& names, RecordOrder order) {
  ReplayInput input;
  input.order = order;
  input.format = DetectLogFormat(content, file_name);
  if (input.format == LogFormat::kAdif) ReadAdif(content, names, input);
  if (input.format == LogFormat::kCabrillo) ReadCabrillo(content, input);
  OrderRecords(input);
  return input;
}

}  // namespace kevo::replay
