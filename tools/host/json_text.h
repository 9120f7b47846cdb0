// A text as a JSON string literal, for /status.json. The library's texts are 8-bit in the
// host's code page: bytes that are not well-formed UTF-8 are read as Latin-1, so the document
// is always valid UTF-8 whatever a logger sent.
#ifndef KEVO_TOOLS_HOST_JSON_TEXT_H_
#define KEVO_TOOLS_HOST_JSON_TEXT_H_

#include <string>
#include <string_view>

namespace kevo::host {

std::string JsonString(std::string_view bytes);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_JSON_TEXT_H_
