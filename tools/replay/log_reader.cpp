#include "tools/replay/log_reader.h"

#include <algorithm>
#include <string>

namespace kevo::replay {

namespace {

void ReadAdif(std::string_view content, const AdifFieldNames& names, ReplayInput& input) {
  AdifLog log = ParseAdif(content);
  input.notes = std::move(log.problems);
  input.records_read = log.records.size();
  for (const AdifRecord& record : log.records) {
    QsoValues qso;
    std::string reason;
    if (MapAdifRecord(record, names, qso, reason)) {
      input.qsos.push_back(std::move(qso));
    } else {
      input.skipped.push_back({record.line, reason});
    }
  }
}

void ReadCabrillo(std::string_view content, ReplayInput& input) {
  CabrilloLog log = ParseCabrillo(content);
  input.records_read = log.qsos.size() + log.rejected.size();
  input.skipped = std::move(log.rejected);
  for (const CabrilloQso& record : log.qsos) {
    QsoValues qso;
    std::string reason;
    if (MapCabrilloQso(record, qso, reason)) {
      input.qsos.push_back(std::move(qso));
    } else {
      input.skipped.push_back({record.line, reason});
    }
  }
  // Rejected lines were collected first; keep the report in file order.
  std::stable_sort(input.skipped.begin(), input.skipped.end(),
                   [](const Problem& a, const Problem& b) { return a.line < b.line; });
  if (!log.has_start) input.notes.push_back({1, "no START-OF-LOG line"});
  if (log.ignored_contacts > 0) {
    input.notes.push_back({0, std::to_string(log.ignored_contacts) +
                                  " X-QSO line(s) left out, as the operator asked"});
  }
}

}  // namespace

ReplayInput ReadLog(std::string_view content, std::string_view file_name,
                    const AdifFieldNames& names) {
  ReplayInput input;
  input.format = DetectLogFormat(content, file_name);
  if (input.format == LogFormat::kAdif) ReadAdif(content, names, input);
  if (input.format == LogFormat::kCabrillo) ReadCabrillo(content, input);
  return input;
}

}  // namespace kevo::replay
