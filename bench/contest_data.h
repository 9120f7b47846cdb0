// Synthetic contest logs for the benchmarks: six bands, two modes, about 5% duplicates,
// exchanges 1 to 40 (the single digits become "0x" on the first scoring pass) and a few
// single-letter exchanges.
#ifndef KEVO_BENCH_CONTEST_DATA_H_
#define KEVO_BENCH_CONTEST_DATA_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "contest/contest_state.h"
#include "scoring/call_check.h"

namespace kevo::bench {

// Contacts number `first` to `first + count - 1` of a contest of about `log_size` contacts,
// 20 seconds apart. The pool of calls is sized so that about one contact in twenty repeats a
// call on the same band and mode. Every contact depends only on its number, the size and the
// seed, so contacts beyond the log's end continue the same contest.
std::vector<CQsoEntry> MakeContacts(std::size_t log_size, std::size_t first, std::size_t count,
                                    uint32_t seed = 1);

// Settings as a reset would leave them: rates shown, own number 12, own region "AB".
void ApplyBenchSettings(ContestState* state);

// A contest state holding the contacts 0 to count - 1 of MakeContacts(count, ...). Built once
// per size through QsoLog::Add and copied for every benchmark run.
const ContestState& PrefilledState(std::size_t count);

// What a host asks while the operator types: calls from the log's pool on any band and mode,
// so some are duplicates, some have an earlier exchange and some are new.
struct CheckQuery {
  std::string call;
  std::string band;
  std::string mode;
  std::string prefix;
};
std::vector<CheckQuery> MakeQueries(std::size_t log_size, std::size_t count, uint32_t seed);
CallCheckQuery ToCallCheckQuery(const CheckQuery& query);
// The call check a host makes before logging the contact with these texts.
CallCheckQuery ToCallCheckQuery(const std::string& call, const std::string& mode,
                                const std::string& prefix, const std::string& band);

// Resident set size of this process in bytes, from /proc/self/statm; 0 when not available.
std::size_t ResidentBytes();

}  // namespace kevo::bench

#endif  // KEVO_BENCH_CONTEST_DATA_H_
