// The summary kept up to date against the summary as one walk over the whole log (the way it
// was computed before, kept in tests/support), measured in the same run: a summary at 100,000
// contacts and a host reloading a 20,000-contact log (call check, add, summary per contact).
// The counters give both CPU times and their ratio; nothing here asserts a time.
#include <benchmark/benchmark.h>
#include <time.h>

#include <string>

#include "contest_data.h"
#include "full_walk_summary.h"
#include "scoring/call_check.h"
#include "scoring/score_summary.h"

namespace kevo::bench {
namespace {

// CPU time of this thread: other work on a shared machine does not count, as in the CPU
// column of every benchmark.
class CpuClock {
 public:
  CpuClock() : start_(Now()) {}
  double Seconds() const { return Now() - start_; }

 private:
  static double Now() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
  }
  double start_;
};

using SummaryFunction = int32_t (*)(ContestState&, std::string*);

// Mean seconds of one summary over `calls` calls.
double SecondsPerSummary(ContestState& state, SummaryFunction summary, int calls) {
  std::string text;
  const CpuClock clock;
  for (int i = 0; i < calls; ++i) benchmark::DoNotOptimize(summary(state, &text));
  return clock.Seconds() / calls;
}

// Each iteration is one summary of the library; the full walk is timed once afterwards.
void BM_SummaryBesideFullWalk(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  ContestState state = PrefilledState(size);
  std::string text;
  // The first summary of the log normalises its one-byte exchanges; the calls after it are
  // what a host pays for each new contact.
  BuildScoreSummary(state, &text);
  const CpuClock clock;
  int64_t calls = 0;
  for (auto _ : st) {
    benchmark::DoNotOptimize(BuildScoreSummary(state, &text));
    ++calls;
  }
  const double running = clock.Seconds() / static_cast<double>(calls);
  const double walk = SecondsPerSummary(state, reference::FullWalkScoreSummary, 20);
  st.counters["running_us"] = running * 1e6;
  st.counters["full_walk_us"] = walk * 1e6;
  st.counters["speedup"] = walk / running;
}
BENCHMARK(BM_SummaryBesideFullWalk)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A host reopening a log: per contact the call check, the add and a summary.
double ReloadSeconds(const std::vector<CQsoEntry>& contacts, SummaryFunction summary) {
  char hint[256];
  char dupe[512];
  std::string text;
  ContestState state;
  ApplyBenchSettings(&state);
  const CpuClock clock;
  for (const CQsoEntry& contact : contacts) {
    CallCheckQuery query = ToCallCheckQuery(contact.m_strCall, contact.m_strMode,
                                            contact.m_strPrefix, contact.m_strBand);
    benchmark::DoNotOptimize(CheckCall(state, query, hint, dupe));
    state.log.Add(contact);
    benchmark::DoNotOptimize(summary(state, &text));
  }
  return clock.Seconds();
}

void BM_ReloadBesideFullWalk(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  const std::vector<CQsoEntry> contacts = MakeContacts(size, 0, size);
  double running = 0;
  for (auto _ : st) running = ReloadSeconds(contacts, BuildScoreSummary);
  const double walk = ReloadSeconds(contacts, reference::FullWalkScoreSummary);
  st.counters["running_ms"] = running * 1e3;
  st.counters["full_walk_ms"] = walk * 1e3;
  st.counters["speedup"] = walk / running;
}
BENCHMARK(BM_ReloadBesideFullWalk)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kevo::bench
