// Which contacts of two logs are the same contact. Logs of one contest written by different
// programs agree on the call, band and mode but not always on the time: Cabrillo drops the
// seconds, some loggers round them. So contacts pair by call, band and mode first, then by the
// nearest time within a few minutes; a duplicate pairs only with a duplicate, so that a call
// worked twice within a minute pairs first with first and second with second.
#ifndef KEVO_TOOLS_FIGURES_CONTACT_PAIRING_H_
#define KEVO_TOOLS_FIGURES_CONTACT_PAIRING_H_

#include <optional>
#include <vector>

#include "tools/figures/report_data.h"

namespace kevo::figures {

// How far apart two logs' times of one contact may be.
inline constexpr double kPairingMinutes = 5.0;

struct ContactPair {
  const ContactPoint* own;
  const ContactPoint* other;
};

struct Pairing {
  std::vector<ContactPair> both;                // in the own log's time order
  std::vector<const ContactPoint*> only_own;    // in time order
  std::vector<const ContactPoint*> only_other;  // in time order
};

// `shift` (days) is added to the other log's times first: logs of other dates are set side by
// side by the time since each log's start.
Pairing PairContacts(const ReportData& own, const ReportData& other, double shift);

// A log's first and last contact: of its contest window, or of all its timed contacts.
struct LogSpan {
  double first;
  double last;
};
std::optional<LogSpan> SpanOf(const ReportData& data);

// The days added to a compared log's times to set it beside this one: nothing when the two
// logs' dates overlap, else the difference of their starts.
double ShiftOf(const ReportData& data, const ReportData& other);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_CONTACT_PAIRING_H_
