// Gathers the report's data while a log is replayed. The replay hands over, for every contact,
// what the library answered (the call check's code and duplicate message, then the summary
// and score of GetResult0 after AddData0); the collector only reads those answers back.
#ifndef KEVO_REPLAY_REPORT_COLLECTOR_H_
#define KEVO_REPLAY_REPORT_COLLECTOR_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/replay/qso_mapping.h"
#include "tools/replay/report_data.h"

namespace kevo::replay {

class ReportCollector {
 public:
  explicit ReportCollector(ReportData& data) : data_(data) {}

  // `check_answer` 0 means the call check flagged a duplicate; `dupe_message` is then the
  // text it wrote.
  void AddContact(const QsoValues& qso, std::int32_t check_answer, std::string_view dupe_message,
                  std::string_view summary, std::int32_t score);

  // The summary and score of the replay's last GetResult0.
  void Finish(std::string_view summary, std::int32_t score);

 private:
  ReportData& data_;
  std::vector<BandFigures> previous_bands_;  // of the last summary that could be read
};

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_REPORT_COLLECTOR_H_
