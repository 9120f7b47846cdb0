#include "tools/live/keeping/live_figures.h"

namespace kevo::live {

void CollectChange(figures::ReportCollector& collector, figures::ReportData& report,
                   const ContactEvent& event, const BookOutcome& outcome) {
  if (outcome.change != BookChange::kAdded && outcome.change != BookChange::kReplaced) return;
  host::QsoValues qso;
  static_cast<host::Contact&>(qso) = event.contact;
  collector.AddContact(qso, outcome.check, outcome.summary);
  // The rate chart follows the pace of new contacts; after an edit the library's rates are
  // measured from the edited contact's old time and would leave a spike for good.
  if (outcome.change == BookChange::kReplaced) report.contacts.back().rates.reset();
}

}  // namespace kevo::live
