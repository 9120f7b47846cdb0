// Runs a replay script against the library's entries and prints every answer as a transcript
// (see PrintQuoted in text.h and the README section "kevo-replay" for its form). Files named by the
// script and "ExtLog.txt" are taken relative to the current directory.
#ifndef KEVO_TOOLS_REPLAY_SESSION_SCRIPT_RUNNER_H_
#define KEVO_TOOLS_REPLAY_SESSION_SCRIPT_RUNNER_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "tools/host/plugin_binding.h"
#include "tools/replay/inputs/script_reader.h"

namespace kevo::replay {

struct ScriptOutcome {
  std::size_t calls = 0;     // lines carried out
  std::size_t rejected = 0;  // lines reported as errors and left out
};

class ScriptRunner {
 public:
  // `errors` gets "name:line: message" for every rejected line, besides the transcript.
  ScriptRunner(const host::EntryPoints& entries, std::ostream& out, std::ostream& errors,
               std::string script_name);

  ScriptOutcome Run(std::string_view script_text);

 private:
  bool Execute(const ScriptLine& line, std::string& error);
  bool Reset(const ScriptLine& line, std::string& error);
  bool AddOrRemove(const ScriptLine& line, bool add, std::string& error);
  bool Check(const ScriptLine& line, std::string& error);
  bool Result(const ScriptLine& line, std::string& error);
  bool Command(const ScriptLine& line, std::string& error);
  bool SetName(const ScriptLine& line, std::string& error);
  bool File(const ScriptLine& line, std::string& error);
  void Reject(std::size_t line, const std::string& message);
  std::string Head(const ScriptLine& line) const;

  const host::EntryPoints& entries_;
  std::ostream& out_;
  std::ostream& errors_;
  std::string script_name_;
  std::size_t longest_received_ = 0;
  ScriptOutcome outcome_;
};

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_SESSION_SCRIPT_RUNNER_H_
