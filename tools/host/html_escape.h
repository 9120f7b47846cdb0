// Host texts (calls, messages, file names) made safe for an HTML page. The library's texts
// are 8-bit in the host's code page and are never decoded by it, so the page decides how to
// show each byte: well-formed UTF-8 stays as it is, and every other byte is read as
// Windows-1252, the usual code page of logging hosts. Markup characters become entities and
// control bytes the replacement character, so no text can break the page or its tables.
#ifndef KEVO_TOOLS_HOST_HTML_ESCAPE_H_
#define KEVO_TOOLS_HOST_HTML_ESCAPE_H_

#include <string>
#include <string_view>

namespace kevo::host {

// Valid UTF-8 for text content and for attribute values in double quotes. Tabs and line ends
// stay.
std::string EscapeHtml(std::string_view bytes);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_HTML_ESCAPE_H_
