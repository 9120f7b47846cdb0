#include "tools/live/keeping/live_figures.h"

namespace kevo::live {

void CollectChange(figures::ReportCollector& collector, figures::ReportData& report,
                   const ContactEvent& event, const BookOutcome& outcome) {
  host::QsoValues qso;
  static_cast<host::Contact&>(qso) = event.contact;
  switch (outcome.change) {
    case BookChange::kAdded:
      collector.AddContact(qso, outcome.check, outcome.summary, event.id);
      return;
    case BookChange::kReplaced:
      collector.ReplaceContact(event.id, qso, outcome.check, outcome.summary);
      // The rate chart follows the pace of new contacts; after an edit the library's rates are
      // measured from the edited contact's old time and would leave a spike for good.
      report.contacts.back().rates.reset();
      return;
    case BookChange::kDeleted:
    case BookChange::kLeftOut:  // a contact edited to not count leaves the library too
      collector.RemoveContact(event.id, outcome.summary);
      return;
    case BookChange::kRepeat:
    case BookChange::kUnknownDelete:
      return;
  }
}

}  // namespace kevo::live
