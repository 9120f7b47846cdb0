#include "tools/replay/replay_app.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "tools/replay/console_mode.h"
#include "tools/replay/entry_calls.h"
#include "tools/replay/library_loader.h"
#include "tools/replay/log_reader.h"
#include "tools/replay/log_replay.h"
#include "tools/replay/options.h"
#include "tools/replay/plugin_binding.h"
#include "tools/replay/replay_report.h"
#include "tools/replay/script_runner.h"
#include "tools/replay/working_directory.h"

#ifndef KEVO_VERSION
#define KEVO_VERSION "unknown"
#endif

namespace kevo::replay {

namespace {

namespace fs = std::filesystem;

constexpr const char* kExtLog = "ExtLog.txt";

bool ReadFile(const std::string& name, std::string& content, std::string& error) {
  // Only regular files: a FIFO or a device could block the tool for ever.
  std::error_code code;
  fs::file_status status = fs::status(name, code);
  if (!code && fs::exists(status) && !fs::is_regular_file(status)) {
    error = "cannot read " + name + ": not a regular file";
    return false;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    error = "cannot read " + name + ": no such file or no permission";
    return false;
  }
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + name + ": read error";
    return false;
  }
  return true;
}

// The plug-in beside the executable (a build tree, the Windows zip), else where an install puts
// it relative to the executable's folder (bin/../lib/.../statskevo).
std::string DefaultLibrary() {
  fs::path folder = ExecutableFolder();
  fs::path beside = folder / PluginFileName();
#ifdef KEVO_INSTALLED_PLUGIN_DIR
  fs::path installed = (folder / KEVO_INSTALLED_PLUGIN_DIR / PluginFileName()).lexically_normal();
  std::error_code code;
  if (!fs::exists(beside, code) && fs::exists(installed, code)) return installed.string();
#endif
  return beside.string();
}

class App {
 public:
  App(std::ostream& out, std::ostream& errors) : out_(out), errors_(errors) {}

  int Run(const std::vector<std::string>& arguments) {
    std::string error;
    if (!ParseOptions(arguments, options_, error)) {
      errors_ << "kevo-replay: " << error << "\nTry 'kevo-replay --help'.\n";
      return kExitUsage;
    }
    if (options_.help) {
      out_ << UsageText();
      return kExitOk;
    }
    if (options_.version) {
      out_ << "kevo-replay " << KEVO_VERSION << '\n';
      return kExitOk;
    }
    bool script = !options_.script_file.empty();
    std::string input_name = script ? options_.script_file : options_.log_file;
    std::string content;
    std::string exchange_list;
    if (!ReadFile(input_name, content, error) ||
        (!options_.exchange_list.empty() && !ReadFile(options_.exchange_list, exchange_list, error))) {
      return Fail(error);
    }
    ReplayInput input;
    if (!script) {
      input = ReadLog(content, input_name, options_.adif_fields);
      if (input.format == LogFormat::kUnknown) {
        return Fail(input_name + ": neither an ADIF nor a Cabrillo log" +
                    (content.empty() ? " (the file is empty)" : ""));
      }
    }
    std::string library = options_.library.empty() ? DefaultLibrary() : options_.library;
    LoadedPlugin plugin;
    if (!LoadPlugin(library, options_.names, plugin, error)) {
      return Fail("cannot use the library " + library + ": " + error);
    }
    WorkingDirectory workdir;
    if (!workdir.Open(options_.workdir, error)) return Fail(error);
    if (!options_.exchange_list.empty() && !WriteFile(workdir.path() / "RADL.lst", exchange_list)) {
      return Fail("cannot write RADL.lst in " + workdir.path().string());
    }
    if (!workdir.Enter(error)) return Fail(error);
    return script ? RunScript(plugin.entries, content, workdir)
                  : RunLog(plugin.entries, input, workdir);
  }

 private:
  int Fail(const std::string& message) {
    errors_ << "kevo-replay: " << message << '\n';
    return kExitUnreadable;
  }

  static bool WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    return static_cast<bool>(file);
  }

  int RunScript(const EntryPoints& entries, const std::string& content,
                WorkingDirectory& workdir) {
    UseBinaryStandardOutput();
    ScriptRunner runner(entries, out_, errors_, options_.script_file);
    ScriptOutcome outcome = runner.Run(content);
    workdir.Leave();
    return outcome.rejected > 0 ? kExitSkipped : kExitOk;
  }

  int RunLog(const EntryPoints& entries, const ReplayInput& input, WorkingDirectory& workdir) {
    auto start = std::chrono::steady_clock::now();
    ReplayResult result = ReplayLog(entries, options_.settings, input.qsos);
    bool extlog_written = false;
    if (options_.extlog) {
      std::error_code ignored;
      fs::remove(kExtLog, ignored);  // so that a failed write never shows an old file
      entries.run_command(0, options_.extlog->c_str());
      extlog_written = fs::is_regular_file(kExtLog, ignored);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    workdir.Leave();
    PrintReplayReport(out_, options_.log_file, input, result, seconds);
    if (options_.extlog) {
      if (!extlog_written) return Fail("the library did not write ExtLog.txt");
      fs::path where = workdir.path() / kExtLog;
      if (workdir.temporary()) {
        std::error_code code;
        fs::path target = fs::absolute(kExtLog, code);
        fs::copy_file(where, target, fs::copy_options::overwrite_existing, code);
        if (code) return Fail("cannot copy ExtLog.txt to the current directory: " + code.message());
        where = target;
      }
      out_ << "  ExtLog.txt:         " << where.string() << '\n';
    }
    return input.skipped.empty() ? kExitOk : kExitSkipped;
  }

  std::ostream& out_;
  std::ostream& errors_;
  Options options_;
};

}  // namespace

int RunReplayApp(const std::vector<std::string>& arguments, std::ostream& out,
                 std::ostream& errors) {
  return App(out, errors).Run(arguments);
}

}  // namespace kevo::replay
