// The replay tool's ADIF reader, and the whole path from a file's bytes to the contacts it
// replays: any bytes must parse without a fault, and what comes out must be consistent.
#include <string_view>

#include "session_model.h"
#include "tools/host/problem.h"
#include "tools/host/tokens.h"
#include "tools/replay/inputs/adif_reader.h"
#include "tools/replay/inputs/lines.h"
#include "tools/replay/inputs/log_reader.h"
#include "tools/replay/inputs/qso_mapping.h"

using namespace kevo::replay;
using namespace kevo::host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const LineIndex lines(text);
  const std::size_t last_line = lines.LineOf(size);

  AdifLog log = ParseAdif(text);
  std::size_t previous = 0;
  AdifFieldNames names;
  for (const AdifRecord& record : log.records) {
    KEVO_FUZZ_CHECK(record.line >= 1 && record.line <= last_line, "record line in the file");
    KEVO_FUZZ_CHECK(record.line >= previous, "records in file order");
    previous = record.line;
    for (const auto& [name, value] : record.fields) {
      KEVO_FUZZ_CHECK(!name.empty() && name == AsciiUpper(name), "field names upper case");
      KEVO_FUZZ_CHECK(value.size() <= size, "field data from the file");
    }
    QsoValues qso;
    std::string reason;
    if (!MapAdifRecord(record, names, qso, reason)) {
      KEVO_FUZZ_CHECK(!reason.empty(), "a skipped record says why");
    }
  }
  for (const Problem& problem : log.problems)
    KEVO_FUZZ_CHECK(problem.line <= last_line && !problem.message.empty(), "problem report");

  // Specifier test at every offset, the end of the text included.
  for (std::size_t offset = 0; offset <= size && offset < 4096; ++offset)
    StartsAdifSpecifier(text, offset);

  ReplayInput input = ReadLog(text, "log.adi", names);
  KEVO_FUZZ_CHECK(input.qsos.size() + input.skipped.size() <= input.records_read ||
                      input.format != LogFormat::kAdif,
                  "every contact comes from a record");
  for (const QsoValues& qso : input.qsos)
    KEVO_FUZZ_CHECK(qso.line >= 1 && qso.line <= last_line, "contact line in the file");
  return 0;
}
