// Host texts (calls, messages, file names) made safe for an HTML page or a JSON document. The
// library's texts are 8-bit in the host's code page and are never decoded by it, so whoever
// shows them decides what each byte means. Both escapers read the bytes the same way, so one
// byte shows as one character on the report, the live page and /status.json alike:
// well-formed UTF-8 stays as it is, and every other byte is read as Windows-1252, the usual
// code page of logging hosts.
#ifndef KEVO_TOOLS_HOST_TEXT_ESCAPE_H_
#define KEVO_TOOLS_HOST_TEXT_ESCAPE_H_

#include <string>
#include <string_view>

namespace kevo::host {

// The characters the bytes stand for. A well-formed UTF-8 sequence is one character, except
// one of a C1 control (U+0080-U+009F): HTML forbids those, and such bytes are far likelier to
// be two Windows-1252 characters. Any other byte at or above 0x80 is its Windows-1252
// character; the five bytes that code page leaves unassigned are U+FFFD.
std::u32string DecodeHostText(std::string_view bytes);

// Valid UTF-8 for text content and for attribute values in double quotes: markup characters
// become entities and control bytes U+FFFD, so no text can break the page or its tables. Tabs
// and line ends stay.
std::string EscapeHtml(std::string_view bytes);

// A JSON string literal with its quotes, always valid UTF-8; control bytes are escaped.
std::string JsonString(std::string_view bytes);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_TEXT_ESCAPE_H_
