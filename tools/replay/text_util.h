// Small byte-text helpers. Character classes are ASCII only: bytes 0x80-0xFF are never
// letters, digits or blanks, whatever the code page of the log.
#ifndef KEVO_REPLAY_TEXT_UTIL_H_
#define KEVO_REPLAY_TEXT_UTIL_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kevo::replay {

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
std::string_view TrimAsciiSpace(std::string_view text);
bool AllDigits(std::string_view text);  // false for the empty text

// Splits at runs of blanks and tabs; no empty tokens.
std::vector<std::string_view> SplitBlanks(std::string_view line);

// Maps byte offsets of a text to 1-based line numbers. A line ends at LF, at CR LF, or at a CR
// that no LF follows.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text);
  std::size_t LineOf(std::size_t offset) const;

 private:
  std::vector<std::size_t> line_starts_;
};

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_TEXT_UTIL_H_
