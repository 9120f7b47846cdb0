// Reader of replay scripts: one entry call per line, "verb key=value key=value ...".
// A value is `null` (a null pointer), "..." with C escapes, or a bare word without blanks or
// quotes (taken as it is, possibly empty). Blank lines and lines starting with '#' are skipped.
#ifndef KEVO_TOOLS_REPLAY_INPUTS_SCRIPT_READER_H_
#define KEVO_TOOLS_REPLAY_INPUTS_SCRIPT_READER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "StatsKEVO.h"
#include "tools/host/problem.h"

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
  std::vector<host::Problem> errors;  // lines that could not be read, left out
};

Script ParseScript(std::string_view text);

// Reads one line; false with the reason when it is malformed.
bool ParseScriptLine(std::string_view line, ScriptLine& parsed, std::string& error);

// A text argument: nullopt stands for the null pointer.
using TextValue = std::optional<std::string>;

inline const char* Pointer(const TextValue& value) { return value ? value->c_str() : nullptr; }

// Every key must be used by the command; what is left over is an error, so a misspelt key
// never goes unnoticed.
class ScriptArguments {
 public:
  explicit ScriptArguments(const ScriptLine& line);

  TextValue Text(const char* key, TextValue fallback = std::string());
  bool Has(const char* key) const;
  std::int32_t Integer(const char* key, std::int32_t fallback);
  // "YYYY-MM-DD[THH:MM[:SS]]" or a raw day count; `status_key` overrides the status.
  COleDateTime DateTime(const char* key, const char* status_key);

  // False with the first problem: a bad value or a key no command reads.
  bool Finish(std::string& error);

 private:
  const ScriptArgument* Take(const char* key);

  const ScriptLine& line_;
  std::vector<bool> used_;
  std::string error_;
};

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_INPUTS_SCRIPT_READER_H_
