#include "tools/replay/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace kevo::replay {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

std::vector<std::string_view> SplitBlanks(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

std::optional<std::int32_t> ParseInt32(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::string_view NextLine(std::string_view text, std::size_t& start) {
  std::size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) end = text.size();
  std::string_view line = text.substr(start, end - start);
  start = end;
  if (start < text.size()) start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
  return line;
}

LineIndex::LineIndex(std::string_view text) {
  line_starts_.push_back(0);
  for (std::size_t start = 0; start < text.size();) {
    std::string_view line = NextLine(text, start);
    bool ended = static_cast<std::size_t>(line.data() - text.data()) + line.size() < start;
    if (ended) line_starts_.push_back(start);
  }
}

std::size_t LineIndex::LineOf(std::size_t offset) const {
  auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  return static_cast<std::size_t>(after - line_starts_.begin());
}

std::string EscapeText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (u >= 0x20 && u < 0x7F) {
          out += c;
        } else {
          out += "\\x";
          out += kHex[u >> 4];
          out += kHex[u & 0x0F];
        }
    }
  }
  return out;
}

bool UnescapeText(std::string_view body, std::string& text, std::string& error) {
  std::string out;
  for (std::size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == body.size()) {
      error = "a text ends in a lone backslash";
      return false;
    }
    char e = body[i];
    unsigned value = 0;
    switch (e) {
      case '\\':
      case '"':
      case '\'':
      case '?':
        out += e;
        continue;
      case 'a':
        out += '\a';
        continue;
      case 'b':
        out += '\b';
        continue;
      case 'f':
        out += '\f';
        continue;
      case 'n':
        out += '\n';
        continue;
      case 'r':
        out += '\r';
        continue;
      case 't':
        out += '\t';
        continue;
      case 'v':
        out += '\v';
        continue;
      case 'x': {
        std::size_t digits = 0;
        while (digits < 2 && i + 1 < body.size() && HexValue(body[i + 1]) >= 0) {
          value = value * 16 + static_cast<unsigned>(HexValue(body[++i]));
          ++digits;
        }
        if (digits == 0) {
          error = "\\x without a hex digit";
          return false;
        }
        break;
      }
      default:
        if (e < '0' || e > '7') {
          error = std::string("unknown escape \\") + e;
          return false;
        }
        value = static_cast<unsigned>(e - '0');
        for (int n = 1; n < 3 && i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '7';
             ++n) {
          value = value * 8 + static_cast<unsigned>(body[++i] - '0');
        }
        if (value > 0xFF) {
          error = "octal escape above \\377";
          return false;
        }
    }
    if (value == 0) {
      error = "a text cannot hold a zero byte (write null for a null pointer, \"\" for empty)";
      return false;
    }
    out += static_cast<char>(value);
  }
  text = std::move(out);
  return true;
}

void PrintQuoted(std::ostream& out, std::string_view text, std::size_t indent) {
  std::size_t start = 0;
  bool first = true;
  do {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    if (!first) out << '\n' << std::string(indent, ' ');
    out << '"' << EscapeText(text.substr(start, end - start)) << '"';
    first = false;
    start = end;
  } while (start < text.size());
}

void PrintQuoted(std::ostream& out, const char* text, std::size_t indent) {
  if (text == nullptr) {
    out << "null";
  } else {
    PrintQuoted(out, std::string_view(text), indent);
  }
}

std::string ToTerminalLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace kevo::replay
