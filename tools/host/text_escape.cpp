#include "tools/host/text_escape.h"

#include <cstdint>
#include <cstdio>

#include "tools/host/utf8.h"

namespace kevo::host {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 at 0x80-0x9F; the five unassigned bytes show as the replacement character.
constexpr char32_t kWindows1252High[32] = {
    0x20AC,       kReplacement, 0x201A, 0x0192, 0x201E, 0x2026,       0x2020, 0x2021,
    0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement, 0x017D, kReplacement,
    kReplacement, 0x2018,       0x2019, 0x201C, 0x201D, 0x2022,       0x2013, 0x2014,
    0x02DC,       0x2122,       0x0161, 0x203A, 0x0153, kReplacement, 0x017E, 0x0178};

char32_t Windows1252(std::uint8_t byte) {
  return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char32_t{byte};
}

// Length of the well-formed UTF-8 sequence at the start of `text` that is no C1 control, or 0.
std::size_t ShownUtf8Length(std::string_view text) {
  std::size_t length = Utf8SequenceLength(text);
  bool c1 = length == 2 && static_cast<std::uint8_t>(text[0]) == 0xC2 &&
            static_cast<std::uint8_t>(text[1]) < 0xA0;
  return c1 ? 0 : length;
}

// The code point of a well-formed sequence of `length` bytes.
char32_t Utf8CodePoint(std::string_view sequence, std::size_t length) {
  auto byte = [&](std::size_t i) { return char32_t{static_cast<std::uint8_t>(sequence[i])}; };
  char32_t c = byte(0) & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (byte(i) & 0x3F);
  return c;
}

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::u32string DecodeHostText(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    auto byte = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = byte >= 0x80 ? ShownUtf8Length(bytes.substr(i)) : 0;
    if (length > 0) {
      out += Utf8CodePoint(bytes.substr(i), length);
      i += length;
    } else {
      out += Windows1252(byte);
      ++i;
    }
  }
  return out;
}

std::string EscapeHtml(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char32_t c : DecodeHostText(bytes)) {
    if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '\'') {
      out += "&#39;";
    } else if (IsControl(c) && c != '\t' && c != '\n' && c != '\r') {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (char32_t c : DecodeHostText(bytes)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (IsControl(c)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      AppendUtf8(out, c);
    }
  }
  out += '"';
  return out;
}

}  // namespace kevo::host
