#include "tools/replay/report/audit_table.h"

#include <vector>

#include "tools/figures/html_table.h"
#include "tools/host/boundary_values.h"
#include "tools/host/linear_time.h"
#include "tools/host/text_escape.h"
#include "tools/replay/report/points_reason.h"

namespace kevo::replay {

namespace {

// The exchange when the contact raised the multipliers: the multiplier it brought.
std::string NewMultiplier(const figures::ContactPoint& contact) {
  return contact.new_mults.value_or(0) > 0 ? MultiplierName(contact.received) : "";
}

std::string OptionalNumber(const std::optional<std::int32_t>& value) {
  return value ? std::to_string(*value) : "";
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

}  // namespace

// The call check's guess before the contact was logged, apart from what the contact turned
// out to bring (the "New multiplier" column).
std::string CheckAnswerWords(const figures::ContactPoint& contact) {
  std::string expects = contact.check_text.empty() ? "" : "expects " + contact.check_text + ", ";
  switch (contact.check_code) {
    case host::kCheckDuplicate:
      return contact.check_text.empty() ? "duplicate" : "duplicate: " + contact.check_text;
    case host::kCheckNoNewMultiplier:
      return expects + "would not be new";
    case host::kCheckNewMultiplier:
      return expects + "would be new";
    case host::kCheckBandsDiffer:
      return "band texts differ";
  }
  return "answer " + std::to_string(contact.check_code);
}

AuditTotals SumAudit(const figures::ReportData& data) {
  AuditTotals totals;
  for (const figures::ContactPoint& contact : data.contacts) {
    totals.points += contact.points.value_or(0);
    totals.mults += contact.new_mults.value_or(0);
  }
  return totals;
}

std::string AuditSection(const figures::ReportData& data) {
  std::string out = "<h2 id=\"audit\">Every contact</h2>\n";
  if (data.contacts.empty()) return out + "<p>None.</p>\n";
  out +=
      "<p>Each contact's points and new multipliers are how far the library's total points "
      "and multipliers rose with it; they add up to the score's. The same rows are written "
      "by <code>--csv FILE</code>.</p>\n";
  out += "<details>\n<summary>The " + figures::Plural(data.contacts.size(), "contact", "contacts") +
         " in time order</summary>\n";
  out += figures::OpenBox("Every contact");
  out += figures::OpenTable("Every contact as the library answered it",
                            {{"Line", true},
                             {"Time (UTC)", false},
                             {"Call", false},
                             {"Band", false},
                             {"Mode", false},
                             {"Exchange", false},
                             {"Points", true},
                             {"Why these points", false},
                             {"Region", false},
                             {"New multiplier", false},
                             {"Call check before logging", false}});
  for (const figures::ContactPoint& c : data.contacts) {
    out += "<tr>";
    out += figures::Cell(std::to_string(c.line), true);
    out += figures::Cell(host::FormatUtc(c.time));
    out += figures::RowHeader(host::EscapeHtml(c.call));
    out += figures::Cell(host::EscapeHtml(c.band));
    out += figures::Cell(host::EscapeHtml(c.mode));
    out += figures::Cell(host::EscapeHtml(c.received));
    out += figures::Cell(c.points ? figures::Number(*c.points) : "?", true);
    out += figures::Cell(host::EscapeHtml(PointsReason(c, data.own_number, data.own_region)));
    out += figures::Cell(host::EscapeHtml(c.region));
    out += figures::Cell(host::EscapeHtml(NewMultiplier(c)));
    out += figures::Cell(host::EscapeHtml(CheckAnswerWords(c)));
    out += "</tr>\n";
  }
  AuditTotals totals = SumAudit(data);
  out += "</tbody>\n<tfoot><tr>" + figures::Cell("") + figures::Cell("") +
         figures::RowHeader("Total") + figures::Cell("") + figures::Cell("") + figures::Cell("") +
         figures::Cell(figures::Number(totals.points), true) + figures::Cell("") +
         figures::Cell("") + figures::Cell(figures::Number(totals.mults) + " multipliers") +
         figures::Cell("") + "</tr></tfoot>\n</table></div>\n</details>\n";
  return out;
}

std::string AuditCsv(const figures::ReportData& data) {
  std::string out =
      "line,time_utc,call,band,mode,exchange,region,points,points_reason,multipliers,"
      "new_multiplier,duplicate,check_code,check_answer\r\n";
  for (const figures::ContactPoint& c : data.contacts) {
    std::vector<std::string> fields = {std::to_string(c.line),
                                       host::FormatUtcSeconds(c.time),
                                       c.call,
                                       c.band,
                                       c.mode,
                                       c.received,
                                       c.region,
                                       OptionalNumber(c.points),
                                       PointsReason(c, data.own_number, data.own_region),
                                       OptionalNumber(c.new_mults),
                                       NewMultiplier(c),
                                       c.check_code == host::kCheckDuplicate ? "yes" : "no",
                                       std::to_string(c.check_code),
                                       CheckAnswerWords(c)};
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out += ',';
      out += CsvField(fields[i]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace kevo::replay
