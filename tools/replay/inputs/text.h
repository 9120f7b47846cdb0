// Byte-text helpers of the readers, the script machinery and the transcript. Character classes
// are the library's own (text/ascii.h): bytes 0x80-0xFF are never letters, digits or blanks,
// whatever the code page of the file.
#ifndef KEVO_REPLAY_TEXT_H_
#define KEVO_REPLAY_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "text/ascii.h"

namespace kevo::replay {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool AllDigits(std::string_view text);  // false for the empty text

// Splits at runs of blanks and tabs; no empty tokens.
std::vector<std::string_view> SplitBlanks(std::string_view line);

// A decimal signed 32-bit integer filling the whole text (leading blanks and a sign allowed);
// empty when the text is no such number.
std::optional<std::int32_t> ParseInt32(const std::string& text);

// Something wrong in an input file, at a 1-based line (0: the file as a whole).
struct Problem {
  std::size_t line = 0;
  std::string message;

  bool operator==(const Problem&) const = default;
};

// Every reader splits lines the same way: a line ends at LF, at CR LF, or at a CR that no LF
// follows. Returns the line that starts at `start`, without its end, and moves `start` to the
// next line.
std::string_view NextLine(std::string_view text, std::size_t& start);

// Calls visit(line, number) for every line, numbered from 1.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t number = 1;
  for (std::size_t start = 0; start < text.size();) visit(NextLine(text, start), number++);
}

// Maps byte offsets of a text to the 1-based numbers of the lines NextLine finds.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text);
  std::size_t LineOf(std::size_t offset) const;

 private:
  std::vector<std::size_t> line_starts_;
};

// C-style escapes, both ways. Output: printable ASCII stays, except '"' and '\', which are
// escaped like \t, \r and \n; every other byte becomes \xHH (two upper-case hex digits,
// always exactly two). Input: \\ \" \' \? \a \b \f \n \r \t \v, \xHH (one or two hex digits)
// and octal \ooo (one to three digits); a zero byte cannot be written, since the library's
// texts end at one.
std::string EscapeText(std::string_view text);
// `body` is what stands between the quotes. False with a reason on a bad escape.
bool UnescapeText(std::string_view body, std::string& text, std::string& error);

// A text in a transcript: in double quotes with the escapes of EscapeText; a null pointer as
// null. A text that holds line feeds is split after each \n into quoted pieces, one per output
// line; every piece after the first starts on a new line, indented by `indent` blanks. Joining
// the pieces gives the text back.
void PrintQuoted(std::ostream& out, std::string_view text, std::size_t indent);
void PrintQuoted(std::ostream& out, const char* text, std::size_t indent);

// Turns CR LF into the terminal's line end ("\n"; text-mode output puts CR LF back on
// Windows).
std::string ToTerminalLineEnds(std::string_view text);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_TEXT_H_
