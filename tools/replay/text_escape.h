// C-style escapes, both ways. Output: printable ASCII stays, except '"' and '\', which are
// escaped like \t, \r and \n; every other byte becomes \xHH (two upper-case hex digits,
// always exactly two). Input: \\ \" \' \? \a \b \f \n \r \t \v, \xHH (one or two hex digits)
// and octal \ooo (one to three digits); a zero byte cannot be written, since the library's
// texts end at one.
#ifndef KEVO_REPLAY_TEXT_ESCAPE_H_
#define KEVO_REPLAY_TEXT_ESCAPE_H_

#include <string>
#include <string_view>

namespace kevo::replay {

std::string EscapeText(std::string_view text);

// `body` is what stands between the quotes. False with a reason on a bad escape.
bool UnescapeText(std::string_view body, std::string& text, std::string& error);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_TEXT_ESCAPE_H_
