// The replay tool's script reader over any bytes, and its quoting both ways: a text written
// with EscapeText reads back unchanged, inside a script line as well.
#include <string>
#include <string_view>

#include "session_model.h"
#include "tools/host/escapes.h"
#include "tools/host/problem.h"
#include "tools/replay/inputs/lines.h"
#include "tools/replay/inputs/script_reader.h"

using namespace kevo::replay;
using namespace kevo::host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const LineIndex lines(text);
  const std::size_t last_line = lines.LineOf(size);

  Script script = ParseScript(text);
  std::size_t previous = 0;
  for (const ScriptLine& line : script.lines) {
    KEVO_FUZZ_CHECK(line.line > previous && line.line <= last_line, "script lines in order");
    previous = line.line;
    KEVO_FUZZ_CHECK(!line.verb.empty(), "every line has its verb");
    for (const ScriptArgument& argument : line.arguments)
      KEVO_FUZZ_CHECK(!argument.key.empty(), "every argument has its key");
  }
  for (const Problem& error : script.errors)
    KEVO_FUZZ_CHECK(error.line >= 1 && error.line <= last_line && !error.message.empty(),
                    "script error report");

  ScriptLine parsed;
  std::string error;
  if (!ParseScriptLine(text, parsed, error)) KEVO_FUZZ_CHECK(!error.empty(), "says why");

  std::string unescaped;
  UnescapeText(text, unescaped, error);

  // Texts without a zero byte survive the round trip through the script's quoting.
  const std::string value(text.substr(0, text.find('\0')));
  const std::string escaped = EscapeText(value);
  std::string back;
  KEVO_FUZZ_CHECK(UnescapeText(escaped, back, error) && back == value, "escape round trip");
  ScriptLine round;
  KEVO_FUZZ_CHECK(ParseScriptLine("add call=\"" + escaped + "\" band=null", round, error) &&
                      round.arguments.size() == 2 && round.arguments[0].value == value &&
                      !round.arguments[1].value.has_value(),
                  "quoted value in a script line");
  return 0;
}
