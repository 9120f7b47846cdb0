#include "tools/replay/script_arguments.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "tools/replay/ole_date.h"

namespace kevo::replay {

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
  const std::string* text = argument->value ? &*argument->value : nullptr;
  if (text != nullptr && !text->empty()) {
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text->c_str(), &end, 10);
    if (errno == 0 && *end == '\0' && value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
      return static_cast<std::int32_t>(value);
    }
  }
  if (error_.empty()) error_ = std::string(key) + " needs a signed 32-bit integer";
  return fallback;
}

COleDateTime ScriptArguments::DateTime(const char* key, const char* status_key) {
  COleDateTime value{0.0, 0};
  const ScriptArgument* argument = Take(key);
  if (argument) {
    const std::string text = argument->value.value_or("");
    std::optional<COleDateTime> iso = ParseIsoDateTime(text);
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
