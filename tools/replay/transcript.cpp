#include "tools/replay/transcript.h"

#include "tools/replay/text_escape.h"

namespace kevo::replay {

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
