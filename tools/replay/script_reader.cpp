#include "tools/replay/script_reader.h"

#include "tools/replay/text_escape.h"
#include "tools/replay/text_util.h"

namespace kevo::replay {

namespace {

bool IsKeyByte(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a value at `i`; leaves `i` after it.
bool ReadValue(std::string_view line, std::size_t& i, std::optional<std::string>& value,
               std::string& error) {
  if (i < line.size() && line[i] == '"') {
    std::size_t start = ++i;
    while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
    if (i >= line.size()) {
      error = "a quoted text has no closing quote";
      return false;
    }
    std::string text;
    if (!UnescapeText(line.substr(start, i - start), text, error)) return false;
    ++i;
    if (i < line.size() && !IsBlank(line[i])) {
      error = "a blank must follow a quoted text";
      return false;
    }
    value = std::move(text);
    return true;
  }
  std::size_t start = i;
  while (i < line.size() && !IsBlank(line[i])) {
    if (line[i] == '"') {
      error = "a quote inside a bare value (quote the whole value)";
      return false;
    }
    ++i;
  }
  std::string_view word = line.substr(start, i - start);
  if (word == "null") {
    value.reset();
  } else {
    value = std::string(word);
  }
  return true;
}

}  // namespace

bool ParseScriptLine(std::string_view line, ScriptLine& parsed, std::string& error) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  std::size_t start = i;
  while (i < line.size() && IsKeyByte(line[i])) ++i;
  if (i == start || (i < line.size() && !IsBlank(line[i]))) {
    error = "a line starts with a command word (reset, add, remove, check, result, command, "
            "setname, file)";
    return false;
  }
  parsed.verb = std::string(line.substr(start, i - start));
  parsed.arguments.clear();
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return true;
    start = i;
    while (i < line.size() && IsKeyByte(line[i])) ++i;
    if (i == start || i >= line.size() || line[i] != '=') {
      error = "arguments are written key=value";
      return false;
    }
    ScriptArgument argument;
    argument.key = std::string(line.substr(start, i - start));
    ++i;
    if (!ReadValue(line, i, argument.value, error)) return false;
    for (const ScriptArgument& earlier : parsed.arguments) {
      if (earlier.key == argument.key) {
        error = "key '" + argument.key + "' given twice";
        return false;
      }
    }
    parsed.arguments.push_back(std::move(argument));
  }
}

Script ParseScript(std::string_view text) {
  Script script;
  std::size_t number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    start = end + 1;
    std::string_view content = TrimAsciiSpace(line);
    if (content.empty() || content.front() == '#') continue;
    ScriptLine parsed;
    std::string error;
    if (ParseScriptLine(line, parsed, error)) {
      parsed.line = number;
      script.lines.push_back(std::move(parsed));
    } else {
      script.errors.push_back({number, error});
    }
  }
  return script;
}

}  // namespace kevo::replay
