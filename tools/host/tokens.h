// Byte-text pieces of the readers and the options: case, digits, blank-separated tokens and
// 32-bit numbers. Character classes are the library's own (text/ascii.h): bytes 0x80-0xFF are
// never letters, digits or blanks, whatever the code page of the file.
#ifndef KEVO_TOOLS_HOST_TOKENS_H_
#define KEVO_TOOLS_HOST_TOKENS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ascii.h"

namespace kevo::host {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool AllDigits(std::string_view text);  // false for the empty text

// Splits at runs of blanks and tabs; no empty tokens.
std::vector<std::string_view> SplitBlanks(std::string_view line);

// A decimal signed 32-bit integer filling the whole text (leading blanks and a sign allowed);
// empty when the text is no such number.
std::optional<std::int32_t> ParseInt32(const std::string& text);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_TOKENS_H_
