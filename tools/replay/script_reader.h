// Reader of replay scripts: one entry call per line, "verb key=value key=value ...".
// A value is `null` (a null pointer), "..." with C escapes, or a bare word without blanks or
// quotes (taken as it is, possibly empty). Blank lines and lines starting with '#' are skipped.
#ifndef KEVO_REPLAY_SCRIPT_READER_H_
#define KEVO_REPLAY_SCRIPT_READER_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/replay/log_problem.h"

namespace kevo::replay {

struct ScriptArgument {
  std::string key;
  std::optional<std::string> value;  // nullopt: the word null
};

struct ScriptLine {
  std::size_t line = 0;
  std::string verb;
  std::vector<ScriptArgument> arguments;
};

struct Script {
  std::vector<ScriptLine> lines;
  std::vector<Problem> errors;  // lines that could not be read, left out
};

Script ParseScript(std::string_view text);

// Reads one line; false with the reason when it is malformed.
bool ParseScriptLine(std::string_view line, ScriptLine& parsed, std::string& error);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_SCRIPT_READER_H_
