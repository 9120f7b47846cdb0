// kevo-live: listens for the contacts that contest loggers broadcast, drives the StatsKEVO
// plug-in with them exactly as a logging host does, and shows the score on a live page and on
// a scoreboard. Three threads, each with its own job: the intake thread only receives, the
// scoring thread journals and applies each datagram in arrival order (the only one that calls
// the plug-in), and the main thread serves the page and posts the score from the snapshots
// the scoring thread hands over.
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tools/live/console_close.h"
#include "tools/live/http_server.h"
#include "tools/live/live_engine.h"
#include "tools/live/live_options.h"
#include "tools/live/live_page.h"
#include "tools/live/score_poster.h"
#include "tools/live/status_json.h"
#include "tools/live/udp_intake.h"
#include "tools/replay/host/host_session.h"
#include "tools/replay/host/plugin_binding.h"
#include "tools/replay/session/files.h"

#ifndef KEVO_VERSION
#define KEVO_VERSION "unknown"
#endif

namespace kevo::live {

namespace {

namespace asio = boost::asio;
namespace fs = std::filesystem;

// The charts cost a walk over every contact; redrawn at most this often.
constexpr std::chrono::seconds kChartsEvery{1};

// One line on standard error; whole lines, whichever thread writes them.
void LogError(const std::string& line) {
  std::string text = "kevo-live: " + line + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

// Where an install puts the plug-in relative to the executable's folder; empty in a build tree.
#ifdef KEVO_INSTALLED_PLUGIN_DIR
constexpr const char* kInstalledPluginDir = KEVO_INSTALLED_PLUGIN_DIR;
#else
constexpr const char* kInstalledPluginDir = "";
#endif

std::string Where(const asio::ip::address& address, unsigned short port) {
  std::string host = address.to_string();
  if (address.is_v6()) host = "[" + host + "]";
  return host + ":" + std::to_string(port);
}

class LiveApp {
 public:
  int Run(const std::vector<std::string>& arguments) {
    std::string error;
    if (!ParseLiveOptions(arguments, options_, error)) {
      std::cerr << "kevo-live: " << error << "\nTry 'kevo-live --help'.\n";
      return kLiveUsage;
    }
    if (options_.help) {
      std::cout << LiveUsageText();
      return kLiveOk;
    }
    if (options_.version) {
      std::cout << "kevo-live " << KEVO_VERSION << '\n';
      return kLiveOk;
    }
    return Serve() ? kLiveOk : kLiveFailed;
  }

 private:
  bool Fail(const std::string& message) {
    LogError(message);
    return false;
  }

  bool Serve() {
    std::string error;
    // Named before the move into the library's working directory: relative names are the
    // operator's, from the folder kevo-live was started in.
    fs::path journal_path =
        fs::absolute(options_.journal.empty() ? kJournalDefault : options_.journal);
    std::string exchange_list;
    if (!options_.exchange_list.empty() &&
        !replay::ReadWholeFile(options_.exchange_list, exchange_list, error)) {
      return Fail(error);
    }
    std::string library = options_.library.empty() ? replay::DefaultPluginPath(kInstalledPluginDir)
                                                   : options_.library;
    replay::LoadedPlugin plugin;
    if (!replay::LoadPlugin(library, options_.names, plugin, error)) {
      return Fail("cannot use the library " + library + ": " + error);
    }
    replay::WorkingDirectory workdir;
    if (!workdir.Open(options_.workdir, error)) return Fail(error);
    if (!options_.exchange_list.empty() &&
        !replay::WriteWholeFile(workdir.path() / "RADL.lst", exchange_list)) {
      return Fail("cannot write RADL.lst in " + workdir.path().string());
    }
    if (!workdir.Enter(error)) return Fail(error);

    replay::HostSession session(plugin.entries);
    session.Reset(options_.settings);
    Journal journal;
    journal.set_sync(options_.journal_sync);
    JournalContents contents;
    if (!journal.Open(journal_path, contents, error)) return Fail(error);
    for (const std::string& warning : contents.warnings) LogError("warning: " + warning);
    LiveEngine engine(session, &journal, options_.elements, LogError);
    for (const std::string& datagram : contents.datagrams) engine.Replay(datagram);

    asio::io_context main_io;
    asio::io_context intake_io;
    asio::io_context scoring_io;
    auto intake_work = asio::make_work_guard(intake_io);
    auto scoring_work = asio::make_work_guard(scoring_io);
    std::shared_ptr<const LiveSnapshot> current = engine.Snapshot(true);

    ScorePoster poster(main_io, options_.post, KEVO_VERSION, LogError);
    if (!poster.Start(error)) return Fail(error);
    poster.Update(current);

    // On the scoring thread: every datagram's state goes to the main thread at once; the
    // charts follow within kChartsEvery of the last change.
    asio::steady_timer charts_timer(scoring_io);
    bool charts_due = false;
    auto publish = [&](bool with_charts) {
      std::shared_ptr<const LiveSnapshot> snapshot = engine.Snapshot(with_charts);
      asio::post(main_io, [&, snapshot] {
        current = snapshot;
        poster.Update(snapshot);
      });
    };
    UdpIntake intake(intake_io, [&](std::vector<std::string> batch) {
      asio::post(scoring_io, [&, batch = std::move(batch)] {
        engine.Receive(batch);
        publish(false);
        if (charts_due) return;
        charts_due = true;
        charts_timer.expires_after(kChartsEvery);
        charts_timer.async_wait([&](boost::system::error_code code) {
          charts_due = false;
          if (!code) publish(true);
        });
      });
    });

    HttpServer server(main_io, [&](const std::string& target) {
      HttpAnswer answer;
      if (target == "/") {
        answer.content_type = "text/html; charset=utf-8";
        answer.body = LivePageHtml();
        answer.policy = LivePagePolicy();
      } else if (target == "/live.js") {
        answer.content_type = "text/javascript; charset=utf-8";
        answer.body = LivePageScript();
      } else if (target == "/summary") {
        answer.content_type = "text/plain";
        answer.body = current->summary;
      } else if (target == "/status.json") {
        answer.content_type = "application/json";
        answer.body = StatusJson(*current, poster.status());
      } else if (target == "/charts") {
        answer.content_type = "text/html; charset=utf-8";
        answer.body = current->charts ? *current->charts : std::string();
      } else {
        answer.status = 404;
        answer.body = "not found\n";
      }
      return answer;
    });

    boost::system::error_code code;
    auto http_address = asio::ip::make_address(options_.http.host, code);
    if (code) return Fail("--http: not an IP address: " + options_.http.host);
    auto udp_address = asio::ip::make_address(options_.udp.host, code);
    if (code) return Fail("--udp: not an IP address: " + options_.udp.host);
    if (!server.Listen({http_address, options_.http.port}, error)) return Fail(error);
    if (!intake.Listen({udp_address, options_.udp.port}, error)) return Fail(error);

    auto http_at = server.local_endpoint();
    auto udp_at = intake.local_endpoint();
    std::cout << "kevo-live " << KEVO_VERSION << ": contacts on udp "
              << Where(udp_at.address(), udp_at.port()) << ", live page http://"
              << Where(http_at.address(), http_at.port()) << "/\n"
              << "  journal: " << journal_path.string() << " (" << contents.datagrams.size()
              << " datagram(s) replayed, " << engine.book().size() << " contact(s), score "
              << current->score << ")\n"
              << "  library: " << library << "\n"
              << "  scoreboard: "
              << (poster.status().enabled ? poster.status().target : std::string("off")) << '\n'
              << std::flush;

    asio::thread_pool threads(2);
    asio::post(threads, [&] { intake_io.run(); });
    asio::post(threads, [&] { scoring_io.run(); });

    // Ctrl+C or a stop: no more datagrams are taken, those already taken are scored and
    // journaled, then the server stops. Closing the console window on Windows stops the same way.
    auto stop = [&] {
      asio::post(intake_io, [&] { intake_io.stop(); });
      asio::post(scoring_io, [&] {
        charts_timer.cancel();
        scoring_work.reset();
      });
      main_io.stop();
    };
    asio::signal_set signals(main_io, SIGINT, SIGTERM);
    signals.async_wait([&](boost::system::error_code, int) { stop(); });
    CloseWait& close_wait = InstallConsoleCloseWait();
    close_wait.Arm([&] { asio::post(main_io, stop); });
    main_io.run();
    intake_work.reset();
    threads.join();
    workdir.Leave();
    close_wait.Finished();
    return true;
  }

  LiveOptions options_;
};

}  // namespace

}  // namespace kevo::live

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  try {
    return kevo::live::LiveApp().Run(arguments);
  } catch (const std::exception& error) {
    std::cerr << "kevo-live: " << error.what() << '\n';
  }
  return kevo::live::kLiveFailed;
}
