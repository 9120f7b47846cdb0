// printf-style pieces for texts of any length: no fixed buffer ever cuts a band or a call.
#ifndef KEVO_TEXT_TEXT_FORMAT_H_
#define KEVO_TEXT_TEXT_FORMAT_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kevo {

// Appends the counter as a signed 32-bit decimal ("%i"), right-aligned to `width` ("%5i").
// Written out by hand: the summary prints a dozen numbers per call, and snprintf was most of
// its cost.
inline void AppendInt(std::string* text, uint32_t value, int width = 0) {
  const bool negative = static_cast<int32_t>(value) < 0;
  uint32_t magnitude = negative ? 0u - value : value;  // INT32_MIN's magnitude fits unsigned
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude != 0);
  const int length = count + (negative ? 1 : 0);
  if (width > length) text->append(static_cast<std::size_t>(width - length), ' ');
  if (negative) text->push_back('-');
  while (count > 0) text->push_back(digits[--count]);
}

// Appends `s` left-aligned and blank-padded to at least `width` ("%-Ns"), never cut.
inline void AppendPadded(std::string* text, std::string_view s, std::size_t width) {
  text->append(s);
  if (s.size() < width) text->append(width - s.size(), ' ');
}

// "%s\t%i\t%i\t%i\r\n"
inline void AppendTabbedLine(std::string* text, std::string_view label, uint32_t qsos,
                             uint32_t points, uint32_t mults) {
  text->append(label);
  text->push_back('\t');
  AppendInt(text, qsos);
  text->push_back('\t');
  AppendInt(text, points);
  text->push_back('\t');
  AppendInt(text, mults);
  text->append("\r\n");
}

}  // namespace kevo

#endif  // KEVO_TEXT_TEXT_FORMAT_H_
