#include "tools/replay/report/audit_table.h"

#include <vector>

#include "tools/replay/host/boundary_values.h"
#include "tools/replay/inputs/linear_time.h"
#include "tools/replay/report/html_escape.h"
#include "tools/replay/report/html_table.h"

namespace kevo::replay {

namespace {

// The exchange when the contact raised the multipliers: the multiplier it brought.
std::string NewMultiplier(const ContactPoint& contact) {
  return contact.new_mults.value_or(0) > 0 ? contact.received : "";
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

std::string CheckAnswerWords(const ContactPoint& contact) {
  switch (contact.check_code) {
    case kCheckDuplicate:
      return contact.check_text.empty() ? "duplicate" : "duplicate: " + contact.check_text;
    case kCheckNoNewMultiplier:
      return "no new multiplier";
    case kCheckNewMultiplier:
      return contact.check_text.empty() ? "new multiplier"
                                        : "new multiplier, expects " + contact.check_text;
    case kCheckBandsDiffer:
      return "band texts differ";
  }
  return "answer " + std::to_string(contact.check_code);
}

AuditTotals SumAudit(const ReportData& data) {
  AuditTotals totals;
  for (const ContactPoint& contact : data.contacts) {
    totals.points += contact.points.value_or(0);
    totals.mults += contact.new_mults.value_or(0);
  }
  return totals;
}

std::string AuditSection(const ReportData& data) {
  std::string out = "<h2 id=\"audit\">Every contact</h2>\n";
  if (data.contacts.empty()) return out + "<p>None.</p>\n";
  out +=
      "<p>Each contact's points and new multipliers are how far the library's total points "
      "and multipliers rose with it; they add up to the score's. The same rows are written "
      "by <code>--csv FILE</code>.</p>\n";
  out += "<details>\n<summary>The " + Plural(data.contacts.size(), "contact", "contacts") +
         " in time order</summary>\n";
  out += OpenTable("Every contact as the library answered it", {{"Line", true},
                                                                {"Time (UTC)", false},
                                                                {"Call", false},
                                                                {"Band", false},
                                                                {"Mode", false},
                                                                {"Exchange", false},
                                                                {"Points", true},
                                                                {"New multiplier", false},
                                                                {"Call check", false}});
  for (const ContactPoint& c : data.contacts) {
    out += "<tr>";
    out += Cell(std::to_string(c.line), true);
    out += Cell(FormatUtc(c.time));
    out += RowHeader(EscapeHtml(c.call));
    out += Cell(EscapeHtml(c.band));
    out += Cell(EscapeHtml(c.mode));
    out += Cell(EscapeHtml(c.received));
    out += Cell(c.points ? Number(*c.points) : "?", true);
    out += Cell(EscapeHtml(NewMultiplier(c)));
    out += Cell(EscapeHtml(CheckAnswerWords(c)));
    out += "</tr>\n";
  }
  AuditTotals totals = SumAudit(data);
  out += "</tbody>\n<tfoot><tr>" + Cell("") + Cell("") + RowHeader("Total") + Cell("") + Cell("") +
         Cell("") + Cell(Number(totals.points), true) +
         Cell(Number(totals.mults) + " multipliers") + Cell("") +
         "</tr></tfoot>\n</table>\n</details>\n";
  return out;
}

std::string AuditCsv(const ReportData& data) {
  std::string out =
      "line,time_utc,call,band,mode,exchange,points,multipliers,new_multiplier,duplicate,"
      "check_code,check_answer\r\n";
  for (const ContactPoint& c : data.contacts) {
    std::vector<std::string> fields = {std::to_string(c.line),
                                       c.time ? FormatUtc(c.time) : "",
                                       c.call,
                                       c.band,
                                       c.mode,
                                       c.received,
                                       OptionalNumber(c.points),
                                       OptionalNumber(c.new_mults),
                                       NewMultiplier(c),
                                       c.check_code == kCheckDuplicate ? "yes" : "no",
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
