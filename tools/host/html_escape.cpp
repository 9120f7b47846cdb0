#include "tools/host/html_escape.h"

#include <cstdint>

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

// A well-formed UTF-8 sequence, but no C1 control character (U+0080-U+009F): HTML forbids
// them, so their bytes are read as Windows-1252 like any other stray byte.
std::size_t HtmlUtf8Length(std::string_view text) {
  std::size_t length = Utf8SequenceLength(text);
  bool c1 = length == 2 && static_cast<std::uint8_t>(text[0]) == 0xC2 &&
            static_cast<std::uint8_t>(text[1]) < 0xA0;
  return c1 ? 0 : length;
}

}  // namespace

std::string EscapeHtml(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size();) {
    auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (byte >= 0x80) {
      std::size_t length = HtmlUtf8Length(bytes.substr(i));
      if (length > 0) {
        out.append(bytes.substr(i, length));
        i += length;
        continue;
      }
      AppendUtf8(out, byte < 0xA0 ? kWindows1252High[byte - 0x80] : char32_t{byte});
    } else if (byte == '<') {
      out += "&lt;";
    } else if (byte == '>') {
      out += "&gt;";
    } else if (byte == '&') {
      out += "&amp;";
    } else if (byte == '"') {
      out += "&quot;";
    } else if (byte == '\'') {
      out += "&#39;";
    } else if (byte == '\t' || byte == '\n' || byte == '\r' || (byte >= 0x20 && byte < 0x7F)) {
      out += static_cast<char>(byte);
    } else {
      AppendUtf8(out, kReplacement);
    }
    ++i;
  }
  return out;
}

}  // namespace kevo::host
