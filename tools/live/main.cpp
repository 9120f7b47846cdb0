// kevo-live: listens for the contacts that contest loggers broadcast, drives the StatsKEVO
// plug-in with them exactly as a logging host does, and shows the score on a live page and on
// a scoreboard. Three threads, each with its own job: the intake thread only receives, the
// scoring thread journals and applies each datagram in arrival order (the only one that calls
// the plug-in), and the main thread serves the page and posts the score from the snapshots
// the scoring thread hands over.
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/files.h"
#include "tools/host/host_session.h"
#include "tools/host/plugin_binding.h"
#include "tools/live/console_close.h"
#include "tools/live/intake/udp_intake.h"
#include "tools/live/keeping/live_engine.h"
#include "tools/live/live_options.h"
#include "tools/live/page/http_server.h"
#include "tools/live/page/live_page.h"
#include "tools/live/page/status_json.h"
#include "tools/live/scoreboard/score_poster.h"

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

// An address or a host name ("localhost") to the address to bind; an IPv4 one when the name
// has both, since loggers send to IPv4 addresses. False with `error`.
template <typename Protocol>
bool Resolve(const Endpoint& endpoint, const char* option, typename Protocol::endpoint& where,
             std::string& error) {
  boost::system::error_code code;
  asio::ip::address address = asio::ip::make_address(endpoint.host, code);
  if (!code) {
    where = {address, endpoint.port};
    return true;
  }
  asio::io_context io;
  typename Protocol::resolver resolver(io);
  auto results = resolver.resolve(endpoint.host, std::to_string(endpoint.port),
                                  Protocol::resolver::numeric_service, code);
  if (code || results.empty()) {
    error = std::string(option) + ": cannot find the address of '" + endpoint.host +
            "': " + (code ? code.message() : std::string("no address"));
    return false;
  }
  where = results.begin()->endpoint();
  for (const auto& result : results) {
    if (result.endpoint().address().is_v4()) {
      where = result.endpoint();
      break;
    }
  }
  return true;
}

std::string Exposure(const asio::ip::udp::endpoint& at, const std::vector<Network>& allow,
                     bool shared) {
  std::string text;
  if (!allow.empty()) {
    // Appended piece by piece: GCC 12 for 64-bit Windows sees a false overlap in
    // " " + std::string (-Wrestrict) and stops the build.
    text = "datagrams taken only from";
    for (const Network& network : allow) {
      text += ' ';
      text += NetworkText(network);
    }
  } else if (at.address().is_unspecified()) {
    text =
        "every host on the network can add and delete contacts here (--allow ADDRESS/BITS "
        "limits the senders)";
  } else if (at.address().is_loopback()) {
    text = "only this computer can send contacts";
  } else {
    text = "every host that reaches ";
    text += at.address().to_string();
    text += " can send contacts";
  }
  return text + (shared ? "; the port is shared" : "");
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
#ifdef SIGXFSZ
    // A file-size limit makes a write fail with its reason instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Names are resolved before the library loads, so that a typing error costs nothing.
    asio::ip::tcp::endpoint http_where;
    asio::ip::udp::endpoint udp_where;
    if (!Resolve<asio::ip::tcp>(options_.http, "--http", http_where, error) ||
        !Resolve<asio::ip::udp>(options_.udp, "--udp", udp_where, error)) {
      return Fail(error);
    }
    // Named before the move into the library's working directory: relative names are the
    // operator's, from the folder kevo-live was started in.
    fs::path journal_path =
        fs::absolute(options_.journal.empty() ? kJournalDefault : options_.journal);
    std::string exchange_list;
    if (!options_.exchange_list.empty() &&
        !host::ReadWholeFile(options_.exchange_list, exchange_list, error)) {
      return Fail(error);
    }
    std::string library =
        options_.library.empty() ? host::DefaultPluginPath(kInstalledPluginDir) : options_.library;
    host::LoadedPlugin plugin;
    if (!host::LoadPlugin(library, options_.names, plugin, error)) {
      return Fail("cannot use the library " + library + ": " + error);
    }
    host::WorkingDirectory workdir;
    if (!workdir.Open(options_.workdir, error)) return Fail(error);
    if (!options_.exchange_list.empty() &&
        !host::WriteWholeFile(workdir.path() / "RADL.lst", exchange_list)) {
      return Fail("cannot write RADL.lst in " + workdir.path().string());
    }
    if (!workdir.Enter(error)) return Fail(error);

    host::HostSession session(plugin.entries);
    session.Reset(options_.settings);
    Journal journal;
    journal.set_sync(options_.journal_sync);
    LiveEngine engine(session, &journal, options_.elements, LogError);
    engine.set_filter(options_.filter);
    engine.set_station_call(options_.post.station.call);
    std::vector<std::string> warnings;
    std::size_t replayed = 0;
    // Read line by line and replayed as read: the journal's text is never held whole.
    auto replay = [&](const std::string& datagram, std::size_t line) {
      engine.Replay(datagram, line);
      ++replayed;
    };
    if (!journal.Open(journal_path, replay, warnings, error)) return Fail(error);
    for (const std::string& warning : warnings) LogError("warning: " + warning);

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
    // Every second: datagrams waiting for a full disk are tried again, held messages summed.
    asio::steady_timer tick_timer(scoring_io);
    std::function<void()> tick = [&] {
      tick_timer.expires_after(std::chrono::seconds(1));
      tick_timer.async_wait([&](boost::system::error_code code) {
        if (code) return;
        bool was_waiting = engine.counters().journal_waiting != 0;
        bool waiting = engine.Tick();
        if (was_waiting || waiting) publish(was_waiting && !waiting);
        tick();
      });
    };
    tick();
    UdpIntake intake(intake_io, SenderFilter(options_.allow), [&](std::vector<std::string> batch) {
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

    HttpServer server(
        main_io,
        [&](const std::string& target) {
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
            LiveSnapshot now = *current;  // with the intake's own count
            now.counters.refused_senders = intake.refused_senders();
            answer.body = StatusJson(now, poster.status());
          } else if (target == "/charts") {
            answer.content_type = "text/html; charset=utf-8";
            answer.body = current->charts ? *current->charts : std::string();
          } else {
            answer.status = 404;
            answer.body = "not found\n";
          }
          return answer;
        },
        DefaultConnectionLimit());

    if (!server.Listen(http_where, error)) return Fail(error);
    if (!intake.Listen(udp_where, options_.share_udp, error)) return Fail(error);

    auto http_at = server.local_endpoint();
    auto udp_at = intake.local_endpoint();
    std::cout << "kevo-live " << KEVO_VERSION << ": contacts on udp "
              << Where(udp_at.address(), udp_at.port()) << ", live page http://"
              << Where(http_at.address(), http_at.port()) << "/\n"
              << "  udp: " << Exposure(udp_at, options_.allow, options_.share_udp) << "\n"
              << "  journal: " << journal_path.string() << " (" << replayed
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
        tick_timer.cancel();
        engine.Finish();
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
