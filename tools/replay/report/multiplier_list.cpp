#include "tools/replay/report/multiplier_list.h"

#include <vector>

#include "tools/replay/inputs/linear_time.h"
#include "tools/replay/report/html_escape.h"
#include "tools/replay/report/html_table.h"
#include "tools/replay/report/points_reason.h"
#include "tools/replay/report/report_charts.h"

namespace kevo::replay {

std::string MultiplierSection(const ReportData& data) {
  std::vector<std::string> bands = ReportBands(data);
  std::vector<std::vector<const ContactPoint*>> firsts(bands.size());
  for (const ContactPoint& contact : data.contacts) {
    if (contact.new_mults.value_or(0) <= 0) continue;
    for (std::size_t i = 0; i < bands.size(); ++i) {
      if (bands[i] == contact.band) firsts[i].push_back(&contact);
    }
  }
  std::string out = "<h2 id=\"multipliers\">Multipliers</h2>\n";
  std::string tables;
  for (std::size_t i = 0; i < bands.size(); ++i) {
    if (firsts[i].empty()) continue;
    std::string band = EscapeHtml(BandLabel(bands[i]));
    tables += "<details>\n<summary>" + band + ": " +
              Plural(firsts[i].size(), "multiplier", "multipliers") + "</summary>\n";
    tables += OpenBox("Multipliers on " + band);
    tables += OpenTable("Multipliers on " + band + ", in the order they were first worked",
                        {{"Multiplier", false},
                         {"First worked (UTC)", false},
                         {"Call", false},
                         {"Mode", false},
                         {"Line", true}});
    for (const ContactPoint* contact : firsts[i]) {
      tables += "<tr>" + RowHeader(EscapeHtml(MultiplierName(contact->received))) +
                Cell(FormatUtc(contact->time)) + Cell(EscapeHtml(contact->call)) +
                Cell(EscapeHtml(contact->mode)) + Cell(std::to_string(contact->line), true) +
                "</tr>\n";
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
