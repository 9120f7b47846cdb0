#include "tools/replay/inputs/script_reader.h"

#include <cstdlib>

#include "tools/host/boundary_values.h"
#include "tools/host/escapes.h"
#include "tools/host/ole_date.h"
#include "tools/host/tokens.h"
#include "tools/replay/inputs/lines.h"

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
    if (!host::UnescapeText(line.substr(start, i - start), text, error)) return false;
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
    error =
        "a line starts with a command word (reset, add, remove, check, result, command, "
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
  ForEachLine(text, [&](std::string_view line, std::size_t number) {
    std::string_view content = TrimAsciiSpace(line);
    if (content.empty() || content.front() == '#') return;
    ScriptLine parsed;
    std::string error;
    if (ParseScriptLine(line, parsed, error)) {
      parsed.line = number;
      script.lines.push_back(std::move(parsed));
    } else {
      script.errors.push_back({number, error});
    }
  });
  return script;
}

ScriptArguments::ScriptArguments(const ScriptLine& line)
    : line_(line), used_(line.arguments.size(), false) {}

const ScriptArgument* ScriptArguments::Take(const char* key) {
  for (std::size_t i = 0; i < line_.arguments.size(); ++i) {
    if (line_.arguments[i].key == key) {
      used_[i] = true;
      return &line_.arguments[i];
    }
  }
  return nullptr;
}

bool ScriptArguments::Has(const char* key) const {
  for (const ScriptArgument& argument : line_.arguments) {
    if (argument.key == key) return true;
  }
  return false;
}

TextValue ScriptArguments::Text(const char* key, TextValue fallback) {
  const ScriptArgument* argument = Take(key);
  return argument ? argument->value : fallback;
}

std::int32_t ScriptArguments::Integer(const char* key, std::int32_t fallback) {
  const ScriptArgument* argument = Take(key);
  if (!argument) return fallback;
  if (argument->value) {
    if (std::optional<std::int32_t> value = host::ParseInt32(*argument->value)) return *value;
  }
  if (error_.empty()) error_ = std::string(key) + " needs a signed 32-bit integer";
  return fallback;
}

COleDateTime ScriptArguments::DateTime(const char* key, const char* status_key) {
  COleDateTime value{0.0, host::kTimeValid};
  const ScriptArgument* argument = Take(key);
  if (argument) {
    const std::string text = argument->value.value_or("");
    std::optional<COleDateTime> iso = host::ParseIsoDateTime(text);
    if (iso) {
      value = *iso;
    } else {
      char* end = nullptr;
      double days = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0') {
        if (error_.empty()) {
          error_ = std::string(key) + " needs YYYY-MM-DD[THH:MM[:SS]] or a day count";
        }
      } else {
        value.m_dt = days;
      }
    }
  }
  value.m_status = Integer(status_key, value.m_status);
  return value;
}

bool ScriptArguments::Finish(std::string& error) {
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  for (std::size_t i = 0; i < used_.size(); ++i) {
    if (!used_[i]) {
      error = "'" + line_.verb + "' takes no key '" + line_.arguments[i].key + "'";
      return false;
    }
  }
  return true;
}

}  // namespace kevo::replay
