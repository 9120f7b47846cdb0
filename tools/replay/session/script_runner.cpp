#include "tools/replay/session/script_runner.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tools/host/escapes.h"
#include "tools/host/files.h"

namespace kevo::replay {

namespace {

constexpr std::size_t kDetailIndent = 3;

// Script files stay inside the working directory.
bool IsSafeRelativeName(const std::string& name) {
  std::filesystem::path path(name);
  if (name.empty() || path.is_absolute() || path.has_root_name() || path.has_root_directory()) {
    return false;
  }
  for (const std::filesystem::path& part : path) {
    if (part == "..") return false;
  }
  return true;
}

void PrintBuffer(std::ostream& out, const char* label, const host::CheckBuffer* buffer,
                 std::size_t indent) {
  out << std::string(kDetailIndent, ' ') << label << ": ";
  if (buffer == nullptr) {
    out << "null";
  } else if (!buffer->GuardIntact()) {
    out << "OVERRUN: the library wrote past the room given";
  } else if (!buffer->Changed()) {
    out << "not written";
  } else if (std::optional<std::string> text = buffer->Text()) {
    host::PrintQuoted(out, *text, indent);
  } else {
    out << "written without a zero byte";
  }
  out << '\n';
}

}  // namespace

ScriptRunner::ScriptRunner(const host::EntryPoints& entries, std::ostream& out,
                           std::ostream& errors, std::string script_name)
    : entries_(entries), out_(out), errors_(errors), script_name_(std::move(script_name)) {}

std::string ScriptRunner::Head(const ScriptLine& line) const {
  return std::to_string(line.line) + ": " + line.verb + " -> ";
}

void ScriptRunner::Reject(std::size_t line, const std::string& message) {
  out_ << line << ": error: " << message << '\n';
  errors_ << script_name_ << ':' << line << ": " << message << '\n';
  ++outcome_.rejected;
}

ScriptOutcome ScriptRunner::Run(std::string_view script_text) {
  Script script = ParseScript(script_text);
  std::size_t next_error = 0;
  for (const ScriptLine& line : script.lines) {
    while (next_error < script.errors.size() && script.errors[next_error].line < line.line) {
      Reject(script.errors[next_error].line, script.errors[next_error].message);
      ++next_error;
    }
    std::string error;
    if (Execute(line, error)) {
      ++outcome_.calls;
    } else {
      Reject(line.line, error);
    }
  }
  for (; next_error < script.errors.size(); ++next_error) {
    Reject(script.errors[next_error].line, script.errors[next_error].message);
  }
  out_ << "end: " << outcome_.calls << " line(s) run, " << outcome_.rejected << " rejected\n";
  return outcome_;
}

bool ScriptRunner::Execute(const ScriptLine& line, std::string& error) {
  if (line.verb == "reset") return Reset(line, error);
  if (line.verb == "add") return AddOrRemove(line, true, error);
  if (line.verb == "remove") return AddOrRemove(line, false, error);
  if (line.verb == "check") return Check(line, error);
  if (line.verb == "result") return Result(line, error);
  if (line.verb == "command") return Command(line, error);
  if (line.verb == "setname") return SetName(line, error);
  if (line.verb == "file") return File(line, error);
  error = "unknown command '" + line.verb + "'";
  return false;
}

bool ScriptRunner::Reset(const ScriptLine& line, std::string& error) {
  ScriptArguments args(line);
  std::int32_t no_rates = args.Integer("no_rates", 0);
  std::int32_t own_number = args.Integer("own_number", 0);
  TextValue own_region = args.Text("own_region");
  if (!args.Finish(error)) return false;
  longest_received_ = 0;
  std::int32_t result = host::CallReset(entries_, no_rates, own_number, Pointer(own_region));
  out_ << Head(line) << result << '\n';
  return true;
}

bool ScriptRunner::AddOrRemove(const ScriptLine& line, bool add, std::string& error) {
  ScriptArguments args(line);
  TextValue call = args.Text("call");
  TextValue band = args.Text("band");
  TextValue mode = args.Text("mode");
  TextValue sent = args.Text("sent");
  TextValue received = args.Text("rcvd");
  TextValue prefix = args.Text("prefix");
  TextValue region = args.Text("region");
  host::QsoArguments qso;
  qso.time = args.DateTime("time", "status");
  if (!args.Finish(error)) return false;
  qso.call = Pointer(call);
  qso.band = Pointer(band);
  qso.mode = Pointer(mode);
  qso.sent = Pointer(sent);
  qso.received = Pointer(received);
  qso.prefix = Pointer(prefix);
  qso.region = Pointer(region);
  if (add && received) longest_received_ = std::max(longest_received_, received->size());
  std::int32_t result = add ? host::CallAdd(entries_, qso) : host::CallRemove(entries_, qso);
  out_ << Head(line) << result << '\n';
  return true;
}

bool ScriptRunner::Check(const ScriptLine& line, std::string& error) {
  ScriptArguments args(line);
  TextValue call = args.Text("call");
  TextValue mode = args.Text("mode");
  TextValue prefix = args.Text("prefix");
  TextValue band = args.Text("band");
  TextValue band2 = args.Text("band2", std::nullopt);
  std::int32_t number = args.Integer("number", 0);
  // hint=/dupe= give the buffers' content before the call; the word null passes no buffer.
  bool hint_given = args.Has("hint");
  TextValue hint_initial = args.Text("hint", std::nullopt);
  bool dupe_given = args.Has("dupe");
  TextValue dupe_initial = args.Text("dupe", std::nullopt);
  if (!args.Finish(error)) return false;

  std::optional<host::CheckBuffer> hint;
  if (!hint_given || hint_initial) {
    hint.emplace(host::HintRoom(longest_received_, host::ExchangeListBytes()), hint_initial);
  }
  std::optional<host::CheckBuffer> dupe;
  if (!dupe_given || dupe_initial) {
    dupe.emplace(host::DupeMessageRoom(call ? call->size() : 0), dupe_initial);
  }
  host::CheckArguments check;
  check.call = Pointer(call);
  check.mode = Pointer(mode);
  check.prefix = Pointer(prefix);
  check.band = Pointer(band);
  check.band2 = Pointer(band2);
  check.number = number;
  check.hint = hint ? hint->data() : nullptr;
  check.dupe_message = dupe ? dupe->data() : nullptr;
  std::int32_t result = host::CallCheck(entries_, check);
  out_ << Head(line) << result << '\n';
  std::size_t indent = kDetailIndent + 6;
  PrintBuffer(out_, "hint", hint ? &*hint : nullptr, indent);
  PrintBuffer(out_, "dupe", dupe ? &*dupe : nullptr, indent);
  return true;
}

bool ScriptRunner::Result(const ScriptLine& line, std::string& error) {
  ScriptArguments args(line);
  TextValue score_given = args.Text("score", std::string("buffer"));
  if (!args.Finish(error)) return false;
  if (score_given && *score_given != "buffer") {
    error = "score takes only the word null (no place for the score)";
    return false;
  }
  // A value the library must overwrite; it shows if the score is not written.
  std::int32_t score = -1234567;
  const char* text = entries_.GetResult0(score_given ? &score : nullptr);
  std::string head = Head(line);
  out_ << head;
  host::PrintQuoted(out_, text, head.size());
  out_ << '\n' << std::string(kDetailIndent, ' ') << "score: ";
  if (score_given) {
    out_ << score;
  } else {
    out_ << "null";
  }
  out_ << '\n';
  return true;
}

bool ScriptRunner::Command(const ScriptLine& line, std::string& error) {
  ScriptArguments args(line);
  std::int32_t number = args.Integer("number", 0);
  TextValue argument = args.Text("arg");
  if (!args.Finish(error)) return false;
  const char* text = entries_.RunCommand0(number, Pointer(argument));
  out_ << Head(line);
  host::PrintQuoted(out_, text, kDetailIndent);
  out_ << '\n' << std::string(kDetailIndent, ' ') << "ExtLog.txt: ";
  std::string extlog;
  std::string ignored;
  if (!host::ReadWholeFile("ExtLog.txt", extlog, ignored)) {
    out_ << "none\n";
    return true;
  }
  out_ << extlog.size() << " bytes\n" << std::string(kDetailIndent + 2, ' ');
  host::PrintQuoted(out_, extlog, kDetailIndent + 2);
  out_ << '\n';
  return true;
}

bool ScriptRunner::SetName(const ScriptLine& line, std::string& error) {
  ScriptArguments args(line);
  std::int32_t index = args.Integer("index", 0);
  if (!args.Finish(error)) return false;
  out_ << Head(line);
  host::PrintQuoted(out_, entries_.GetSetName(index), kDetailIndent);
  out_ << '\n';
  return true;
}

bool ScriptRunner::File(const ScriptLine& line, std::string& error) {
  ScriptArguments args(line);
  TextValue name = args.Text("name");
  TextValue text = args.Text("text");
  if (!args.Finish(error)) return false;
  if (!name || !IsSafeRelativeName(*name)) {
    error = "file needs a relative name inside the working directory";
    return false;
  }
  std::filesystem::path path(*name);
  if (host::IsNonRegularFile(path)) {
    error = *name + " is not a regular file";
    return false;
  }
  std::error_code ignored;
  if (!text) {
    bool removed = std::filesystem::remove(path, ignored);
    out_ << Head(line) << (removed ? "removed" : "absent") << '\n';
    return true;
  }
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  if (!host::WriteWholeFile(path, *text)) {
    error = "cannot write " + *name;
    return false;
  }
  out_ << Head(line) << text->size() << " bytes written\n";
  return true;
}

}  // namespace kevo::replay
