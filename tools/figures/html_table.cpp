#include "tools/figures/html_table.h"

namespace kevo::figures {

std::string Number(std::int64_t value) {
  // Unsigned, so that the lowest 64-bit value has a magnitude too.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string out = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Plural(std::size_t count, const char* one, const char* many) {
  return Number(static_cast<std::int64_t>(count)) + ' ' + (count == 1 ? one : many);
}

std::string Cell(const std::string& html, bool number) {
  return (number ? "<td class=\"n\">" : "<td>") + html + "</td>";
}

std::string RowHeader(const std::string& html) { return "<th scope=\"row\">" + html + "</th>"; }

std::string Count(std::int64_t count, const char* one, const char* many) {
  return Number(count) + " " + (count == 1 ? one : many);
}

std::string OpenBox(const std::string& name) {
  return "<div class=\"wide\" tabindex=\"0\" role=\"region\" aria-label=\"" + name + "\">";
}

std::string OpenTable(const std::string& caption, std::initializer_list<Column> columns) {
  std::string out = "<table>\n";
  if (!caption.empty()) out += "<caption>" + caption + "</caption>\n";
  out += "<thead><tr>";
  for (const Column& column : columns) {
    out += std::string(column.number ? "<th scope=\"col\" class=\"n\">" : "<th scope=\"col\">") +
           column.name + "</th>";
  }
  return out + "</tr></thead>\n<tbody>\n";
}

}  // namespace kevo::figures
