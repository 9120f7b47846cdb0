// The scoring thread's work, the only thread that calls the plug-in: each batch of datagrams
// journaled and applied in arrival order, the state handed on at once and the charts within
// kChartsEvery of the last change, and once a second the datagrams that wait for a full disk
// tried again. Everything runs on the io_context given, which one thread runs.
#ifndef KEVO_TOOLS_LIVE_SCORING_LOOP_H_
#define KEVO_TOOLS_LIVE_SCORING_LOOP_H_

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/live/keeping/live_engine.h"

namespace kevo::live {

// The charts cost a walk over every contact; redrawn at most this often.
inline constexpr std::chrono::seconds kChartsEvery{1};

class ScoringLoop {
 public:
  // Called on the scoring thread with each new state; hands it to the thread that shows it.
  using Publish = std::function<void(std::shared_ptr<const LiveSnapshot>)>;

  ScoringLoop(boost::asio::io_context& io, LiveEngine& engine, Publish publish);

  // From any thread.
  void Take(std::vector<std::string> batch);
  // From any thread: the batches already taken are applied and journaled, the engine
  // finishes, and the io_context's run returns.
  void Stop();

 private:
  void Tick();
  void ChartsSoon();
  void PublishNow(bool with_charts);

  boost::asio::io_context& io_;
  LiveEngine& engine_;
  Publish publish_;
  boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_;
  boost::asio::steady_timer charts_timer_;
  boost::asio::steady_timer tick_timer_;
  bool charts_due_ = false;
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_SCORING_LOOP_H_
