// Typed access to the key=value arguments of one script line. Every key must be used by the
// command; what is left over is an error, so a misspelt key never goes unnoticed.
#ifndef KEVO_REPLAY_SCRIPT_ARGUMENTS_H_
#define KEVO_REPLAY_SCRIPT_ARGUMENTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "StatsKEVO.h"
#include "tools/replay/script_reader.h"

namespace kevo::replay {

// A text argument: nullopt stands for the null pointer.
using TextValue = std::optional<std::string>;

inline const char* Pointer(const TextValue& value) {
  return value ? value->c_str() : nullptr;
}

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

#endif  // KEVO_REPLAY_SCRIPT_ARGUMENTS_H_
