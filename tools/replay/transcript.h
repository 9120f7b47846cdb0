// The stable text form of the library's answers in a script transcript.
//
// A text prints in double quotes with the escapes of EscapeText; a null pointer prints as
// null. A text that holds line feeds is split after each \n into quoted pieces, one per
// output line; every piece after the first starts on a new line, indented by `indent` blanks.
// Joining the pieces gives the text back.
#ifndef KEVO_REPLAY_TRANSCRIPT_H_
#define KEVO_REPLAY_TRANSCRIPT_H_

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace kevo::replay {

void PrintQuoted(std::ostream& out, std::string_view text, std::size_t indent);
void PrintQuoted(std::ostream& out, const char* text, std::size_t indent);

// Turns CR LF into the terminal's line end ("\n"; text-mode output puts CR LF back on
// Windows).
std::string ToTerminalLineEnds(std::string_view text);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_TRANSCRIPT_H_
