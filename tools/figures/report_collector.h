// Gathers the report's data while a log is replayed. The replay hands over, for every contact,
// what the library answered (the call check's code and duplicate message, then the summary
// and score of GetResult0 after AddData0); the collector only reads those answers back.
#ifndef KEVO_TOOLS_FIGURES_REPORT_COLLECTOR_H_
#define KEVO_TOOLS_FIGURES_REPORT_COLLECTOR_H_

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "tools/figures/report_data.h"
#include "tools/host/host_session.h"

namespace kevo::figures {

class ReportCollector {
 public:
  explicit ReportCollector(ReportData& data) : data_(data) {}

  // A contact, the call check's answer before it and the summary after it.
  void AddContact(const host::QsoValues& qso, const host::CheckAnswer& check,
                  const host::Summary& summary);

  // The replay's last summary.
  void Finish(const host::Summary& summary);

 private:
  ReportData& data_;
  std::vector<BandFigures> previous_bands_;  // of the last summary that could be read
  BandFigures previous_total_;
  // The first time each call, band and mode was logged, for the day of a duplicate's message.
  std::map<std::tuple<std::string, std::string, std::string>, ReportTime> first_worked_;
};

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_REPORT_COLLECTOR_H_
