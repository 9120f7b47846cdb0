#include "tools/host/json_text.h"

#include <cstdio>

#include "tools/host/utf8.h"

namespace kevo::host {

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (std::size_t length = host::Utf8SequenceLength(bytes.substr(i))) {
      out.append(bytes.substr(i, length));
      i += length - 1;
    } else {
      host::AppendUtf8(out, c);  // Latin-1 as UTF-8
    }
  }
  out += '"';
  return out;
}

}  // namespace kevo::host
