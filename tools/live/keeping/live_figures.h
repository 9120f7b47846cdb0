// The live page's charts follow the contact book: every change the book made reaches the
// report's collector with the summary after it.
#ifndef KEVO_TOOLS_LIVE_KEEPING_LIVE_FIGURES_H_
#define KEVO_TOOLS_LIVE_KEEPING_LIVE_FIGURES_H_

#include "tools/figures/report_collector.h"
#include "tools/figures/report_data.h"
#include "tools/live/keeping/contact_book.h"

namespace kevo::live {

// `report` is the one `collector` fills.
void CollectChange(figures::ReportCollector& collector, figures::ReportData& report,
                   const ContactEvent& event, const BookOutcome& outcome);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_LIVE_FIGURES_H_
