#include "tools/live/scoring_loop.h"

#include <boost/asio/post.hpp>
#include <utility>

namespace kevo::live {

namespace asio = boost::asio;

ScoringLoop::ScoringLoop(asio::io_context& io, LiveEngine& engine, Publish publish)
    : io_(io),
      engine_(engine),
      publish_(std::move(publish)),
      work_(asio::make_work_guard(io)),
      charts_timer_(io),
      tick_timer_(io) {
  Tick();
}

void ScoringLoop::Take(std::vector<std::string> batch) {
  asio::post(io_, [this, batch = std::move(batch)] {
    engine_.Receive(batch);
    PublishNow(false);
    ChartsSoon();
  });
}

void ScoringLoop::Stop() {
  asio::post(io_, [this] {
    charts_timer_.cancel();
    tick_timer_.cancel();
    engine_.Finish();
    work_.reset();
  });
}

// Every second: datagrams waiting for a full disk are tried again, held messages summed.
void ScoringLoop::Tick() {
  tick_timer_.expires_after(std::chrono::seconds(1));
  tick_timer_.async_wait([this](boost::system::error_code code) {
    if (code) return;
    bool was_waiting = engine_.counters().journal_waiting != 0;
    bool waiting = engine_.Tick();
    if (was_waiting || waiting) PublishNow(was_waiting && !waiting);
    Tick();
  });
}

void ScoringLoop::ChartsSoon() {
  if (charts_due_) return;
  charts_due_ = true;
  charts_timer_.expires_after(kChartsEvery);
  charts_timer_.async_wait([this](boost::system::error_code code) {
    charts_due_ = false;
    if (!code) PublishNow(true);
  });
}

void ScoringLoop::PublishNow(bool with_charts) { publish_(engine_.Snapshot(with_charts)); }

}  // namespace kevo::live
