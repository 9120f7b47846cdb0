#include "tools/host/escapes.h"

namespace kevo::host {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

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

}  // namespace kevo::host
