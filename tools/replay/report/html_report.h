// The replay's report as one self-contained HTML page: inline CSS and SVG, no scripts, no
// requests, nothing beside it, so it opens from a USB stick on a station PC and prints on A4.
#ifndef KEVO_TOOLS_REPLAY_REPORT_HTML_REPORT_H_
#define KEVO_TOOLS_REPLAY_REPORT_HTML_REPORT_H_

#include <string>

#include "tools/figures/report_data.h"

namespace kevo::replay {

std::string BuildHtmlReport(const figures::ReportData& data);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_REPORT_HTML_REPORT_H_
