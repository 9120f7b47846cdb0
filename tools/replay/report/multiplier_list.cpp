#include "tools/replay/report/multiplier_list.h"

#include <vector>

#include "tools/figures/html_table.h"
#include "tools/figures/report_charts.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"
#include "tools/replay/report/points_reason.h"

namespace kevo::replay {

std::string MultiplierSection(const figures::ReportData& data) {
  std::vector<std::string> bands = figures::ReportBands(data);
  std::vector<std::vector<const figures::ContactPoint*>> firsts(bands.size());
  for (const figures::ContactPoint& contact : data.contacts) {
    if (contact.new_mults.value_or(0) <= 0) continue;
    for (std::size_t i = 0; i < bands.size(); ++i) {
      if (bands[i] == contact.band) firsts[i].push_back(&contact);
    }
  }
  std::string out = "<h2 id=\"multipliers\">Multipliers</h2>\n";
  std::string tables;
  for (std::size_t i = 0; i < bands.size(); ++i) {
    if (firsts[i].empty()) continue;
    std::string band = host::EscapeHtml(figures::BandLabel(bands[i]));
    tables += "<details>\n<summary>" + band + ": " +
              figures::Plural(firsts[i].size(), "multiplier", "multipliers") + "</summary>\n";
    tables += figures::OpenBox("Multipliers on " + band);
    tables += figures::OpenTable("Multipliers on " + band + ", in the order they were first worked",
                                 {{"Multiplier", false},
                                  {"First worked (UTC)", false},
                                  {"Call", false},
                                  {"Mode", false},
                                  {"Line", true}});
    for (const figures::ContactPoint* contact : firsts[i]) {
      tables += "<tr>" + figures::RowHeader(host::EscapeHtml(MultiplierName(contact->received))) +
                figures::Cell(host::FormatUtc(contact->time)) +
                figures::Cell(host::EscapeHtml(contact->call)) +
                figures::Cell(host::EscapeHtml(contact->mode)) +
                figures::Cell(std::to_string(contact->line), true) + "</tr>\n";
    }
    tables += "</tbody>\n</table></div>\n</details>\n";
  }
  if (tables.empty()) return out + "<p>None.</p>\n";
  return out +
         "<p>Each band's multipliers with the contact after which the library's "
         "multipliers rose.</p>\n" +
         tables;
}

}  // namespace kevo::replay
