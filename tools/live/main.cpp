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
#include <boost/asio/thread_pool.hpp>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/host_session.h"
#include "tools/host/open_plugin.h"
#include "tools/live/console_close.h"
#include "tools/live/intake/udp_intake.h"
#include "tools/live/keeping/live_engine.h"
#include "tools/live/live_options.h"
#include "tools/live/page/http_server.h"
#include "tools/live/page/page_routes.h"
#include "tools/live/scoreboard/score_poster.h"
#include "tools/live/scoring_loop.h"

#ifndef KEVO_VERSION
#define KEVO_VERSION "unknown"
#endif

namespace kevo::live {

namespace {

namespace asio = boost::asio;
namespace fs = std::filesystem;

// One line on standard error; whole lines, whichever thread writes them.
void LogError(const std::string& line) {
  std::string text = "kevo-live: " + line + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

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

// Where the intake and the page listen, resolved.
struct ListenAt {
  asio::ip::udp::endpoint udp;
  asio::ip::tcp::endpoint http;
};

// Names are resolved before the library loads, so that a typing error costs nothing.
bool ResolveListeners(const LiveOptions& options, ListenAt& at, std::string& error) {
  return Resolve<asio::ip::tcp>(options.http, "--http", at.http, error) &&
         Resolve<asio::ip::udp>(options.udp, "--udp", at.udp, error);
}

// What the journal gave back at start, for the start-up message.
struct Restart {
  std::filesystem::path journal;
  std::size_t replayed = 0;
};

// The threads and the page of one run, once the plug-in is open and the journal replayed: the
// intake thread receives, the scoring thread applies, the main thread serves and posts.
class LiveService {
 public:
  LiveService(const LiveOptions& options, LiveEngine& engine)
      : options_(options),
        engine_(engine),
        current_(engine.Snapshot(true)),
        scoring_(scoring_io_, engine, [this](auto snapshot) { Show(std::move(snapshot)); }),
        poster_(main_io_, options.post, KEVO_VERSION, LogError),
        intake_(intake_io_, SenderFilter(options.allow),
                [this](std::vector<std::string> batch) { scoring_.Take(std::move(batch)); }),
        server_(
            main_io_,
            [this](const std::string& target) {
              return PageAnswer(target, {*current_, intake_.refused_senders(), poster_.status()});
            },
            DefaultConnectionLimit()) {}

  bool Start(const ListenAt& at, std::string& error) {
    if (!poster_.Start(error)) return false;
    poster_.Update(current_);
    return server_.Listen(at.http, error) && intake_.Listen(at.udp, options_.share_udp, error);
  }

  void PrintStartUp(const Restart& restart, const std::string& library) const {
    auto http_at = server_.local_endpoint();
    auto udp_at = intake_.local_endpoint();
    const PostStatus& post = poster_.status();
    std::cout << "kevo-live " << KEVO_VERSION << ": contacts on udp "
              << Where(udp_at.address(), udp_at.port()) << ", live page http://"
              << Where(http_at.address(), http_at.port()) << "/\n"
              << "  udp: " << Exposure(udp_at, options_.allow, options_.share_udp) << "\n"
              << "  journal: " << restart.journal.string() << " (" << restart.replayed
              << " datagram(s) replayed, " << engine_.book().size() << " contact(s), score "
              << current_->score << ")\n"
              << "  library: " << library << "\n"
              << "  scoreboard: " << (post.enabled ? post.target : std::string("off")) << '\n'
              << std::flush;
  }

  // Until Ctrl+C or a stop: then no more datagrams are taken, those already taken are scored
  // and journaled, and the server stops. Closing the console window on Windows stops the same
  // way; `close_wait` is told when the run is over.
  void RunUntilStopped(CloseWait& close_wait) {
    asio::thread_pool threads(2);
    asio::post(threads, [this] { intake_io_.run(); });
    asio::post(threads, [this] { scoring_io_.run(); });
    signals_.add(SIGINT);
    signals_.add(SIGTERM);
    signals_.async_wait([this](boost::system::error_code, int) { Stop(); });
    close_wait.Arm([this] { asio::post(main_io_, [this] { Stop(); }); });
    main_io_.run();
    intake_work_.reset();
    threads.join();
  }

 private:
  void Stop() {
    asio::post(intake_io_, [this] { intake_io_.stop(); });
    scoring_.Stop();
    main_io_.stop();
  }

  // On the scoring thread: the new state goes to the main thread, which shows and posts it.
  void Show(std::shared_ptr<const LiveSnapshot> snapshot) {
    asio::post(main_io_, [this, snapshot] {
      current_ = snapshot;
      poster_.Update(snapshot);
    });
  }

  const LiveOptions& options_;
  LiveEngine& engine_;
  asio::io_context main_io_;
  asio::io_context intake_io_;
  asio::io_context scoring_io_;
  asio::executor_work_guard<asio::io_context::executor_type> intake_work_ =
      asio::make_work_guard(intake_io_);
  std::shared_ptr<const LiveSnapshot> current_;  // read and replaced on the main thread only
  ScoringLoop scoring_;
  ScorePoster poster_;
  UdpIntake intake_;
  HttpServer server_;
  // Kept to the end of the run: a second Ctrl+C while the journal closes changes nothing.
  asio::signal_set signals_{main_io_};
};

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
    ListenAt at;
    if (!ResolveListeners(options_, at, error)) return Fail(error);
    // Named before the move into the library's working directory: relative names are the
    // operator's, from the folder kevo-live was started in.
    Restart restart;
    restart.journal = fs::absolute(options_.journal.empty() ? kJournalDefault : options_.journal);
    host::OpenedPlugin opened;
    if (!host::OpenPlugin(options_, host::kInstalledPluginDir, opened, error)) return Fail(error);

    host::HostSession session(opened.entries());
    session.Reset(options_.settings);
    Journal journal;
    journal.set_sync(options_.journal_sync);
    LiveEngine engine(session, &journal, options_.elements, LogError);
    engine.set_filter(options_.filter);
    engine.set_station_call(options_.post.station.call);
    if (!ReplayJournal(journal, engine, restart, error)) return Fail(error);

    LiveService service(options_, engine);
    if (!service.Start(at, error)) return Fail(error);
    service.PrintStartUp(restart, opened.path);
    CloseWait& close_wait = InstallConsoleCloseWait();
    service.RunUntilStopped(close_wait);
    opened.Leave();
    close_wait.Finished();
    return true;
  }

  // Read line by line and replayed as read: the journal's text is never held whole.
  static bool ReplayJournal(Journal& journal, LiveEngine& engine, Restart& restart,
                            std::string& error) {
    std::vector<std::string> warnings;
    auto replay = [&](const std::string& datagram, std::size_t line) {
      engine.Replay(datagram, line);
      ++restart.replayed;
    };
    if (!journal.Open(restart.journal, replay, warnings, error)) return false;
    for (const std::string& warning : warnings) LogError("warning: " + warning);
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
