// The audit: one row per contact with what the library answered for it (the call check before
// it, the rise of the summary's totals after it), as a folded table on the page and as CSV.
// Its points and multipliers add up to the final summary's because each row's figures are
// the rises of that very summary's totals.
#ifndef KEVO_TOOLS_REPLAY_REPORT_AUDIT_TABLE_H_
#define KEVO_TOOLS_REPLAY_REPORT_AUDIT_TABLE_H_

#include <cstdint>
#include <string>

#include "tools/figures/report_data.h"

namespace kevo::replay {

// The call check's answer in words: "new multiplier, expects 15", "duplicate: ...".
std::string CheckAnswerWords(const figures::ContactPoint& contact);

// The page's section (a heading and a folded table).
std::string AuditSection(const figures::ReportData& data);

// The same rows as comma-separated values with a header line, texts byte for byte as the log
// gave them, CR LF line ends.
std::string AuditCsv(const figures::ReportData& data);

// The sums of the rows' points and multipliers.
struct AuditTotals {
  std::int64_t points = 0;
  std::int64_t mults = 0;
};
AuditTotals SumAudit(const figures::ReportData& data);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_REPORT_AUDIT_TABLE_H_
