// C-style escapes of the script language and the transcript, both ways.
#ifndef KEVO_TOOLS_HOST_ESCAPES_H_
#define KEVO_TOOLS_HOST_ESCAPES_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace kevo::host {

// Output: printable ASCII stays, except '"' and '\', which are escaped like \t, \r and \n;
// every other byte becomes \xHH (two upper-case hex digits, always exactly two). Input: \\ \"
// \' \? \a \b \f \n \r \t \v, \xHH (one or two hex digits) and octal \ooo (one to three
// digits); a zero byte cannot be written, since the library's texts end at one.
std::string EscapeText(std::string_view text);
// `body` is what stands between the quotes. False with a reason on a bad escape.
bool UnescapeText(std::string_view body, std::string& text, std::string& error);

// A text in a transcript: in double quotes with the escapes of EscapeText; a null pointer as
// null. A text that holds line feeds is split after each \n into quoted pieces, one per output
// line; every piece after the first starts on a new line, indented by `indent` blanks. Joining
// the pieces gives the text back.
void PrintQuoted(std::ostream& out, std::string_view text, std::size_t indent);
void PrintQuoted(std::ostream& out, const char* text, std::size_t indent);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_ESCAPES_H_
