// Character classes of the ASCII range alone, whatever the host's code page: no byte from 0x80
// to 0xFF is a letter, a digit or white space, and only A-Z and a-z have a case.
#ifndef KEVO_TEXT_ASCII_H_
#define KEVO_TEXT_ASCII_H_

#include <cstddef>
#include <string_view>

namespace kevo {

// The blank 0x20 and the control bytes 0x09 to 0x0D.
constexpr bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

constexpr bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

constexpr char FoldAsciiCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal but for the case of A-Z and a-z.
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

// The text without ASCII white space at either end.
constexpr std::string_view TrimAsciiSpace(std::string_view text) {
  while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace kevo

#endif  // KEVO_TEXT_ASCII_H_
