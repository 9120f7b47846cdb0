#include "tools/replay/report/html_escape.h"

#include <cstdint>

namespace kevo::replay {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 at 0x80-0x9F; the five unassigned bytes show as the replacement character.
constexpr char32_t kWindows1252High[32] = {
    0x20AC,       kReplacement, 0x201A, 0x0192, 0x201E, 0x2026,       0x2020, 0x2021,
    0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement, 0x017D, kReplacement,
    kReplacement, 0x2018,       0x2019, 0x201C, 0x201D, 0x2022,       0x2013, 0x2014,
    0x02DC,       0x2122,       0x0161, 0x203A, 0x0153, kReplacement, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the well-formed UTF-8 sequence of two to four bytes at the start of `text`, or 0.
// C1 control characters (U+0080-U+009F) do not count: HTML forbids them.
std::size_t Utf8SequenceLength(std::string_view text) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  std::uint8_t lead = byte(0);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (lead < 0xC2 || lead > 0xF4 || text.size() < length) return 0;
  std::uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead == 0xC2) low = 0xA0;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;  // no surrogates
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string EscapeHtml(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size();) {
    auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (byte >= 0x80) {
      std::size_t length = Utf8SequenceLength(bytes.substr(i));
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

}  // namespace kevo::replay
