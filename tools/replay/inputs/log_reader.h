// Reads a whole log file's bytes into the contacts to replay: format detection, the format's
// reader and the mapping of every record. Pure: no file access, no library.
#ifndef KEVO_TOOLS_REPLAY_INPUTS_LOG_READER_H_
#define KEVO_TOOLS_REPLAY_INPUTS_LOG_READER_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/contest_window.h"
#include "tools/host/problem.h"
#include "tools/replay/inputs/cabrillo_reader.h"
#include "tools/replay/inputs/qso_mapping.h"

namespace kevo::replay {

enum class LogFormat { kUnknown, kAdif, kCabrillo };

const char* LogFormatName(LogFormat format);

// Tells an ADIF file from a Cabrillo file by what it holds; the file name only breaks a tie.
LogFormat DetectLogFormat(std::string_view content, std::string_view file_name);

// The order in which the library is given a log's records.
enum class RecordOrder {
  kTime,  // as the contest happened: the score after each contact rises with time
  kFile,  // as the file lists them, for a file known to hold the order they were logged in
};

struct ReplayInput {
  LogFormat format = LogFormat::kUnknown;
  std::size_t records_read = 0;  // records and QSO lines found, usable or not
  // In time order, as the contest happened, whatever their order in the file (records at the
  // same time, and those without a valid time, which come last, stay in file order); in file
  // order with RecordOrder::kFile.
  std::vector<host::QsoValues> qsos;
  RecordOrder order = RecordOrder::kTime;
  std::size_t out_of_order = 0;               // records dated before one above them in the file
  std::optional<host::ContestWindow> window;  // empty when no record has a valid time
  std::vector<host::Problem> skipped;  // one per record left out, with the reason, in file order
  std::vector<host::Problem> notes;    // trouble that skipped no record, and warnings
  CabrilloHeader header;               // Cabrillo only
  std::string layout;                  // the Cabrillo layout's name; empty without QSO lines
};

ReplayInput ReadLog(std::string_view content, std::string_view file_name,
                    const AdifFieldNames& names, RecordOrder order = RecordOrder::kTime);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_INPUTS_LOG_READER_H_
