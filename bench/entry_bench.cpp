// One benchmark per entry at 1,000, 10,000 and 100,000 contacts. Each iteration is one call,
// so the reported time is the time per call.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "contest_data.h"
#include "export/ext_log.h"
#include "scoring/call_check.h"
#include "scoring/score_summary.h"

namespace kevo::bench {
namespace {

constexpr std::size_t kRound = 100;  // calls between two untimed restorations of the log

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(1000)->Arg(10000)->Arg(100000); }

void BM_CheckCall(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  const ContestState& state = PrefilledState(size);
  std::vector<CheckQuery> queries = MakeQueries(size, 4096, 7);
  char hint[256];
  char dupe[512];
  std::size_t i = 0;
  for (auto _ : st) {
    CallCheckQuery query = ToCallCheckQuery(queries[i++ % queries.size()]);
    benchmark::DoNotOptimize(CheckCall(state, query, hint, dupe));
  }
}
BENCHMARK(BM_CheckCall)->Apply(Sizes)->Unit(benchmark::kMicrosecond);

// Adds contacts that continue the contest; every round of 100 is taken out again untimed so
// that the log keeps its size.
void BM_AddData(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  ContestState state = PrefilledState(size);
  const std::vector<CQsoEntry> fresh = MakeContacts(size, size, kRound);
  std::size_t i = 0;
  for (auto _ : st) {
    CQsoEntry probe = fresh[i];  // the entry builds its own copies of the host's texts
    state.log.Add(probe);
    if (++i == kRound) {
      st.PauseTiming();
      for (const CQsoEntry& entry : fresh) state.log.Remove(entry);
      i = 0;
      st.ResumeTiming();
    }
  }
}
BENCHMARK(BM_AddData)->Apply(Sizes)->Unit(benchmark::kMicrosecond);

// Removes entries from anywhere in the log; each round's victims are added back untimed.
void BM_RemoveData(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  ContestState state = PrefilledState(size);
  std::vector<CQsoEntry> victims;
  unsigned pick = 12345;
  auto choose_victims = [&] {
    victims.clear();
    std::vector<std::size_t> live_slots;  // the entries in log order
    for (std::size_t slot = 0; slot < state.log.slot_count(); ++slot) {
      if (state.log.keys(slot).live) live_slots.push_back(slot);
    }
    for (std::size_t k = 0; k < kRound; ++k) {
      pick = pick * 1103515245u + 12345u;
      const CQsoEntry& entry = state.log.entry(live_slots[(pick >> 8) % live_slots.size()]);
      bool taken = false;
      for (const CQsoEntry& v : victims) taken = taken || SameQso(v, entry);
      if (!taken) victims.push_back(entry);
    }
  };
  choose_victims();
  std::size_t i = 0;
  for (auto _ : st) {
    CQsoEntry probe = victims[i];
    state.log.Remove(probe);
    if (++i == victims.size()) {
      st.PauseTiming();
      for (const CQsoEntry& entry : victims) state.log.Add(entry);
      choose_victims();
      i = 0;
      st.ResumeTiming();
    }
  }
}
BENCHMARK(BM_RemoveData)->Apply(Sizes)->Unit(benchmark::kMicrosecond);

void BM_GetResult(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  ContestState state = PrefilledState(size);
  std::string text;
  for (auto _ : st) {
    benchmark::DoNotOptimize(BuildScoreSummary(state, &text));
  }
}
BENCHMARK(BM_GetResult)->Apply(Sizes)->Unit(benchmark::kMicrosecond);

// Writes ExtLog.txt into a fresh temporary folder, removed afterwards.
void BM_RunCommand0(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  ContestState state = PrefilledState(size);
  char folder[] = "/tmp/kevo-bench-XXXXXX";
  char* previous = getcwd(nullptr, 0);
  if (mkdtemp(folder) == nullptr || previous == nullptr || chdir(folder) != 0) {
    std::free(previous);
    st.SkipWithError("no temporary folder");
    return;
  }
  for (auto _ : st) {
    WriteExtLog(state, SystemPlatform(), "ABC");
  }
  std::remove(kExtLogFileName);
  if (chdir(previous) != 0) st.SkipWithError("cannot return to the working folder");
  rmdir(folder);
  std::free(previous);
}
BENCHMARK(BM_RunCommand0)->Apply(Sizes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kevo::bench
