// Well-formed UTF-8, for the pages and documents that show the host's 8-bit texts: a host
// never decodes its texts, so whoever shows them decides what each byte means.
#ifndef KEVO_TOOLS_HOST_UTF8_H_
#define KEVO_TOOLS_HOST_UTF8_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace kevo::host {

// Length of the well-formed UTF-8 sequence of two to four bytes at the start of `text`, or 0:
// no overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text);

// Appends the code point `c` as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_UTF8_H_
