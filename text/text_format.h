// printf-style pieces for texts of any length: no fixed buffer ever cuts a band or a call.
#ifndef KEVO_TEXT_TEXT_FORMAT_H_
#define KEVO_TEXT_TEXT_FORMAT_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kevo {

// Appends the counter as a signed 32-bit decimal ("%i"), right-aligned to `width` ("%5i").
inline void AppendInt(std::string* text, uint32_t value, int width = 0) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%*i", width, static_cast<int>(static_cast<int32_t>(value)));
  text->append(digits);
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
