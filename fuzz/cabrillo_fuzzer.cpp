// The replay tool's Cabrillo reader over any bytes, with the mapping of each QSO line and the
// whole path from a file's bytes to the contacts it replays.
#include <string_view>

#include "session_model.h"
#include "tools/host/problem.h"
#include "tools/host/tokens.h"
#include "tools/replay/inputs/cabrillo_reader.h"
#include "tools/replay/inputs/lines.h"
#include "tools/replay/inputs/log_reader.h"
#include "tools/replay/inputs/qso_mapping.h"

using namespace kevo::replay;
using namespace kevo::host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const LineIndex lines(text);
  const std::size_t last_line = lines.LineOf(size);

  CabrilloLog log = ParseCabrillo(text);
  std::size_t previous = 0;
  for (const CabrilloQso& qso : log.qsos) {
    KEVO_FUZZ_CHECK(qso.line >= 1 && qso.line <= last_line, "QSO line in the file");
    KEVO_FUZZ_CHECK(qso.line > previous, "one QSO per line, in file order");
    previous = qso.line;
    KEVO_FUZZ_CHECK(!qso.call.empty() && !qso.frequency.empty(), "a QSO line has its tokens");
    QsoValues values;
    std::string reason;
    if (!MapCabrilloQso(qso, values, reason)) {
      KEVO_FUZZ_CHECK(!reason.empty(), "a skipped QSO says why");
    }
    CabrilloMode(qso.mode);
  }
  for (const Problem& problem : log.rejected)
    KEVO_FUZZ_CHECK(problem.line >= 1 && problem.line <= last_line, "rejected line in the file");

  std::string tag = CabrilloTag(text);
  KEVO_FUZZ_CHECK(tag == AsciiUpper(tag), "tags upper case");
  KEVO_FUZZ_CHECK(log.qsos.size() + log.rejected.size() <= last_line, "at most a QSO a line");
  IsSignalReport(text.substr(0, 4));

  DetectLogFormat(text, "log.cbr");
  ReplayInput input = ReadLog(text, "log.cbr", AdifFieldNames{});
  for (const QsoValues& qso : input.qsos)
    KEVO_FUZZ_CHECK(qso.line >= 1 && qso.line <= last_line, "contact line in the file");
  std::size_t grouped = 0;
  for (const SkipGroup& group : GroupSkipped(input.skipped)) grouped += group.lines.size();
  KEVO_FUZZ_CHECK(grouped == input.skipped.size(), "every skipped record in one group");
  return 0;
}
