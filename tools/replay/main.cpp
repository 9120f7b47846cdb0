// kevo-replay: loads the StatsKEVO plug-in through its exported entries and drives it with a
// contest log or a scripted session, as a logging host would.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/figures/report_collector.h"
#include "tools/host/files.h"
#include "tools/host/open_plugin.h"
#include "tools/host/plugin_binding.h"
#include "tools/replay/inputs/log_reader.h"
#include "tools/replay/options.h"
#include "tools/replay/report/audit_table.h"
#include "tools/replay/report/html_report.h"
#include "tools/replay/session/log_replay.h"
#include "tools/replay/session/replay_printout.h"
#include "tools/replay/session/script_runner.h"

#ifndef KEVO_VERSION
#define KEVO_VERSION "unknown"
#endif

namespace kevo::replay {

namespace {

namespace fs = std::filesystem;

constexpr const char* kExtLog = "ExtLog.txt";

// Standard output in binary mode on Windows, so that a script transcript has the same bytes
// (LF line ends) on every platform.
void UseBinaryStandardOutput() {
  std::cout.flush();
  std::fflush(stdout);
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
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
    if (!host::ReadWholeFile(input_name, content, error)) return Fail(error);
    ReplayInput input;
    if (!script) {
      input = ReadLog(content, input_name, options_.adif_fields, options_.order);
      if (input.format == LogFormat::kUnknown) {
        return Fail(input_name + ": neither an ADIF nor a Cabrillo log" +
                    (content.empty() ? " (the file is empty)" : ""));
      }
    }
    // Read now, while relative names still mean the current directory.
    for (const std::string& name : options_.compare_files) {
      std::string other;
      if (!host::ReadWholeFile(name, other, error)) return Fail(error);
      compared_.push_back(ReadLog(other, name, options_.adif_fields, options_.order));
      if (compared_.back().format == LogFormat::kUnknown) {
        return Fail(name + ": neither an ADIF nor a Cabrillo log");
      }
    }
    host::OpenedPlugin opened;
    if (!host::OpenPlugin(options_, host::kInstalledPluginDir, opened, error)) return Fail(error);
    return script ? RunScript(opened.entries(), content, opened.workdir)
                  : RunLog(opened.entries(), input, opened.workdir);
  }

 private:
  int Fail(const std::string& message) {
    errors_ << "kevo-replay: " << message << '\n';
    return kExitUnreadable;
  }

  int RunScript(const host::EntryPoints& entries, const std::string& content,
                host::WorkingDirectory& workdir) {
    UseBinaryStandardOutput();
    ScriptRunner runner(entries, out_, errors_, options_.script_file);
    ScriptOutcome outcome = runner.Run(content);
    workdir.Leave();
    return outcome.rejected > 0 ? kExitSkipped : kExitOk;
  }

  int RunLog(const host::EntryPoints& entries, const ReplayInput& input,
             host::WorkingDirectory& workdir) {
    auto start = std::chrono::steady_clock::now();
    figures::ReportData report;
    figures::ReportCollector collector(report);
    bool reporting = !options_.report_file.empty() || !options_.csv_file.empty();
    ContactObserver observer;
    if (reporting) {
      // The page is a view of this very session: it reads the answers the replay got anyway.
      observer = [&collector](const RecordOutcome& outcome, const host::Summary& summary) {
        collector.AddContact(outcome.qso, outcome.check, summary);
      };
    }
    ReplayResult result =
        ReplayLog(entries, options_.settings, input.qsos, options_.summary_at, observer);
    if (reporting) {
      collector.Finish(result.summary);
      DescribeLog(report, entries, input);
    }
    bool extlog_written = false;
    if (options_.extlog) {
      std::error_code ignored;
      fs::remove(kExtLog, ignored);  // so that a failed write never shows an old file
      entries.RunCommand0(0, options_.extlog->c_str());
      extlog_written = fs::is_regular_file(kExtLog, ignored);
    }
    // After ExtLog.txt: the library has one log at a time, and each compared log starts
    // afresh with its own reset.
    for (std::size_t i = 0; i < compared_.size(); ++i) {
      report.compared.push_back(CollectCompared(entries, options_.compare_files[i], compared_[i]));
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    workdir.Leave();
    PrintStyle style;
    style.verbose = options_.verbose;
    PrintReplayReport(out_, options_.log_file, input, result, seconds, style);
    if (!options_.report_file.empty() && !WriteReport(report, input, result)) {
      return Fail("cannot write the report " + options_.report_file);
    }
    if (!options_.csv_file.empty()) {
      if (!host::WriteWholeFile(options_.csv_file, AuditCsv(report))) {
        return Fail("cannot write the audit " + options_.csv_file);
      }
      out_ << "  audit rows:         " << options_.csv_file << '\n';
    }
    if (options_.extlog && !TellExtLog(workdir, extlog_written)) return kExitUnreadable;
    return input.skipped.empty() ? kExitOk : kExitSkipped;
  }

  // Tells where ExtLog.txt is: in the working directory, or in the current one when the working
  // directory is a temporary one, removed at the end. False when there is none to show.
  bool TellExtLog(const host::WorkingDirectory& workdir, bool written) {
    if (!written) {
      Fail("the library did not write ExtLog.txt");
      return false;
    }
    fs::path where = workdir.path() / kExtLog;
    if (workdir.temporary()) {
      std::error_code code;
      fs::path target = fs::absolute(kExtLog, code);
      fs::copy_file(where, target, fs::copy_options::overwrite_existing, code);
      if (code) {
        Fail("cannot copy ExtLog.txt to the current directory: " + code.message());
        return false;
      }
      where = target;
    }
    out_ << "  ExtLog.txt:         " << where.string() << '\n';
    return true;
  }

  figures::ReportData CollectCompared(const host::EntryPoints& entries, const std::string& name,
                                      const ReplayInput& input) {
    figures::ReportData data;
    figures::ReportCollector collector(data);
    ReplayResult result =
        ReplayLog(entries, options_.settings, input.qsos, SummaryAt::kEachContact,
                  [&collector](const RecordOutcome& outcome, const host::Summary& summary) {
                    collector.AddContact(outcome.qso, outcome.check, summary);
                  });
    collector.Finish(result.summary);
    data.log_name = fs::path(name).filename().string();
    DescribeLog(data, entries, input);
    compared_lines_.push_back("  compared:           " + name + " (" + LogFormatName(input.format) +
                              "), score " + std::to_string(result.summary.score) +
                              ", from its own reset\n");
    return data;
  }

  // What the page tells of a log besides the library's answers: its dates and contest, and
  // the settings its contacts were scored with.
  void DescribeLog(figures::ReportData& data, const host::EntryPoints& entries,
                   const ReplayInput& input) {
    data.window = input.window;
    data.contest = input.header.contest;
    data.claimed_score = input.header.claimed_score;
    const char* set_name = entries.GetSetName != nullptr ? entries.GetSetName(0) : nullptr;
    data.set_name = set_name != nullptr ? set_name : "";
    data.own_number = options_.settings.own_number;
    data.own_region = options_.settings.own_region;
    data.break_minutes = options_.break_minutes;
  }

  // The page: what the collector took from the library during the replay, and the facts of
  // the log file beside it.
  bool WriteReport(figures::ReportData& report, const ReplayInput& input,
                   const ReplayResult& result) {
    // The name alone: a folder in a shared page would tell where the operator keeps files.
    report.log_name = fs::path(options_.log_file).filename().string();
    report.format_name = LogFormatName(input.format);
    report.generator = std::string("kevo-replay ") + KEVO_VERSION;
    report.records_read = input.records_read;
    report.records_used = result.records.size();
    report.claimed_score = input.header.claimed_score;
    report.window = input.window;
    report.out_of_order = input.out_of_order;
    report.file_order = input.order == RecordOrder::kFile;
    report.break_minutes = options_.break_minutes;
    const CabrilloHeader& header = input.header;
    if (!header.contest.empty()) report.log_facts = "Contest " + header.contest;
    if (!header.callsign.empty()) {
      report.log_facts +=
          (report.log_facts.empty() ? "Call sign " : ", call sign ") + header.callsign;
    }
    const host::HostSettings& settings = options_.settings;
    report.settings =
        "own number " + std::to_string(settings.own_number) +
        (settings.own_region.empty() ? ", no own region" : ", own region " + settings.own_region) +
        (settings.rate_suppression != 0 ? ", rates suppressed" : "");
    auto note = [](const std::string& what, const host::Problem& problem) {
      return what + (problem.line > 0 ? " (line " + std::to_string(problem.line) + ")" : "") +
             ": " + problem.message;
    };
    for (const host::Problem& problem : input.notes) report.notes.push_back(note("Note", problem));
    for (const host::Problem& problem : result.library_faults) {
      report.notes.push_back(note("Library fault", problem));
    }
    report.skipped = host::GroupSkipped(input.skipped);
    if (!host::WriteWholeFile(options_.report_file, BuildHtmlReport(report))) return false;
    out_ << "  report:             " << options_.report_file << '\n';
    for (const std::string& line : compared_lines_) out_ << line;
    return true;
  }

  std::ostream& out_;
  std::ostream& errors_;
  Options options_;
  std::vector<ReplayInput> compared_;        // --compare logs, as read
  std::vector<std::string> compared_lines_;  // what the printout says of each
};

}  // namespace

}  // namespace kevo::replay

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  try {
    int code = kevo::replay::App(std::cout, std::cerr).Run(arguments);
    std::cout.flush();
    return code;
  } catch (const std::exception& error) {
    std::cerr << "kevo-replay: " << error.what() << '\n';
  }
  return kevo::replay::kExitUnreadable;
}
