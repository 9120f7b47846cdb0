// Whole-contest figures: reopening a log the way a host does it, and the memory the state of a
// large log takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "contest_data.h"
#include "scoring/call_check.h"
#include "scoring/score_summary.h"

namespace kevo::bench {
namespace {

// A host reopening a log: for each stored contact the call check, the add and a summary.
void BM_ReplayContest(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  const std::vector<CQsoEntry> contacts = MakeContacts(size, 0, size);
  char hint[256];
  char dupe[512];
  std::string text;
  for (auto _ : st) {
    ContestState state;
    ApplyBenchSettings(&state);
    for (const CQsoEntry& contact : contacts) {
      CallCheckQuery query = ToCallCheckQuery(contact.m_strCall, contact.m_strMode,
                                              contact.m_strPrefix, contact.m_strBand);
      benchmark::DoNotOptimize(CheckCall(state, query, hint, dupe));
      state.log.Add(contact);
      benchmark::DoNotOptimize(BuildScoreSummary(state, &text));
    }
  }
  st.counters["contacts"] = static_cast<double>(size);
}
BENCHMARK(BM_ReplayContest)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Resident memory taken by a log of this size after one summary, with the freed memory of
// earlier benchmarks handed back first so that it is not counted as reused.
void BM_StateMemory(benchmark::State& st) {
  const std::size_t size = static_cast<std::size_t>(st.range(0));
  const std::vector<CQsoEntry> contacts = MakeContacts(size, 0, size);
  double megabytes = 0;
  std::string text;
  for (auto _ : st) {
    malloc_trim(0);
    const std::size_t before = ResidentBytes();
    {
      ContestState state;
      ApplyBenchSettings(&state);
      for (const CQsoEntry& contact : contacts) state.log.Add(contact);
      BuildScoreSummary(state, &text);
      megabytes = static_cast<double>(ResidentBytes() - before) / 1e6;
    }
  }
  st.counters["state_MB"] = megabytes;
}
BENCHMARK(BM_StateMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kevo::bench
