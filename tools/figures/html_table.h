// The pieces every table of the report is made of: numbers as people read them, cells, row
// headers, and a table's start with its caption and column headers.
#ifndef KEVO_TOOLS_FIGURES_HTML_TABLE_H_
#define KEVO_TOOLS_FIGURES_HTML_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace kevo::figures {

// "199,390", "-1,234": thousands separated, as the page's English text reads.
std::string Number(std::int64_t value);

// "1 record", "3 records".
std::string Plural(std::size_t count, const char* one, const char* many);

// "1 QSO", "1,200 QSOs": a figure with its word.
std::string Count(std::int64_t count, const char* one, const char* many);

// A data cell; `number` right-aligns it. The text must already be HTML.
std::string Cell(const std::string& html, bool number = false);

// The cell that names its row, for screen readers to announce with every cell of the row.
std::string RowHeader(const std::string& html);

struct Column {
  const char* name;
  bool number;  // right-aligned
};

// A box that scrolls sideways on its own where a wide table does not fit the screen, so that
// the page never does; focusable and named (`name`: HTML text) for keyboard and screen reader.
std::string OpenBox(const std::string& name);
inline constexpr const char* kCloseBox = "</div>\n";

// A table's start up to its body: the caption (HTML) and the column headers.
std::string OpenTable(const std::string& caption, std::initializer_list<Column> columns);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_HTML_TABLE_H_
