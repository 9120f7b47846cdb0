// A long session of random contacts: the log stays right after a million adds and removes,
// its memory does not creep while the same contacts come and go, and a reset gives back
// everything a large log and a large exchange list took.
#include <malloc.h>

#include <cstdint>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "scoring/score_summary.h"
#include "test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define KEVO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KEVO_UNDER_ASAN 1
#endif
#endif

#ifdef KEVO_UNDER_ASAN
// From the sanitizer runtime's allocator interface (its header is not always installed).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace kevo::test {
namespace {

#ifdef KEVO_UNDER_ASAN
constexpr int kOperations = 200'000;  // the sanitizers make each step ten times dearer
std::size_t AllocatedBytes() { return __sanitizer_get_current_allocated_bytes(); }
#else
constexpr int kOperations = 1'000'000;
std::size_t AllocatedBytes() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;  // small blocks in the arena plus mmapped large ones
}
#endif

// Slack for the allocator's own bookkeeping; far below what a kept table would hold.
constexpr std::size_t kTolerance = 64 * 1024;

// Contacts drawn from a space of `calls` calls, 8 bands, 3 modes and 600 minutes; `key` is
// the contact's identity (call, band, mode and minute) as one number.
class ContactSource {
 public:
  explicit ContactSource(uint32_t calls, uint32_t seed = 7) : calls_(calls), rng_(seed) {}

  CQsoEntry Next(uint64_t* key) {
    static const char* const kBands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
    static const char* const kModes[] = {"CW", "SSB", "RTTY"};
    const uint32_t call = Draw(calls_), band = Draw(8), mode = Draw(3), minute = Draw(600);
    *key = ((uint64_t{call} * 8 + band) * 3 + mode) * 600 + minute;
    CQsoEntry entry;
    entry.m_strCall = "Q" + std::to_string(call) + "ABC";
    entry.m_strBand = kBands[band];
    entry.m_strMode = kModes[mode];
    entry.m_strRcvd = std::to_string(Draw(40));
    entry.m_strRegion = Draw(2) ? "AB" : "CD";
    entry.m_time = MakeDateTime(kDay + minute / 1440.0);
    return entry;
  }
  uint32_t Draw(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }

 private:
  uint32_t calls_;
  std::mt19937 rng_;
};

// Adds and removes `operations` random contacts, keeping at most `cap` stored, and checks the
// log's size against a plain set of the stored contacts as it goes.
void RunSession(ContestState& state, ContactSource& source, int operations, std::size_t cap) {
  std::vector<std::pair<uint64_t, CQsoEntry>> stored;
  std::unordered_set<uint64_t> keys;
  for (int op = 0; op < operations; ++op) {
    if (stored.size() < cap && source.Draw(3) != 0) {
      uint64_t key;
      CQsoEntry entry = source.Next(&key);
      state.log.Add(entry);
      if (keys.insert(key).second) stored.emplace_back(key, std::move(entry));
    } else if (!stored.empty()) {
      std::size_t pick = source.Draw(static_cast<uint32_t>(stored.size()));
      // Another exchange in the removal report: only call, band, mode and time identify it.
      CQsoEntry probe = stored[pick].second;
      probe.m_strRcvd = "changed";
      state.log.Remove(probe);
      keys.erase(stored[pick].first);
      stored[pick] = std::move(stored.back());
      stored.pop_back();
    }
    if (op % 65536 == 0) {
      ASSERT_EQ(state.log.size(), stored.size()) << "after " << op;
    }
  }
  ASSERT_EQ(state.log.size(), stored.size());
  for (const auto& kept : stored) state.log.Remove(kept.second);
  ASSERT_TRUE(state.log.empty());
}

TEST(Stress, MillionRandomContactsThenResetGivesMemoryBack) {
  FakePlatform platform;
  platform.files["RADL.lst"] = "Q1ABC=12\nQ2ABC=07\n";
  ContestState state;
  ResetStatistics(state, platform, 0, 12, "AB");
  const std::size_t baseline = AllocatedBytes();

  ContactSource source(50'000);
  RunSession(state, source, kOperations, 256);
  std::string summary;
  CheckedSummary(state, &summary);

  ResetStatistics(state, platform, 0, 12, "AB");
  EXPECT_LE(AllocatedBytes(), baseline + kTolerance) << "baseline " << baseline;
}

TEST(Stress, SameContactsComingAndGoingDoNotGrowMemory) {
  FakePlatform platform;
  ContestState state;
  ContactSource source(60);  // 60 calls x 8 bands x 3 modes x 600 minutes, cap 500 stored
  RunSession(state, source, kOperations / 4, 500);
  const std::size_t settled = AllocatedBytes();
  RunSession(state, source, kOperations / 2, 500);
  EXPECT_LE(AllocatedBytes(), settled + kTolerance) << "settled at " << settled;
}

TEST(Stress, ResetAfterLargeLogAndListGivesMemoryBack) {
  FakePlatform platform;
  ContestState state;
  ResetStatistics(state, platform, 0, 12, "AB");
  const std::size_t baseline = AllocatedBytes();

  std::string list;
  // append, not "Q" + std::string: GCC 12 warns falsely (-Wrestrict) on that at -O3.
  for (int i = 0; i < 100'000; ++i) {
    list += std::string("Q").append(std::to_string(i)) + "ABC=" + std::to_string(i % 90) + "\n";
  }
  platform.files["RADL.lst"] = std::move(list);
  ResetStatistics(state, platform, 0, 12, "AB");
  ASSERT_EQ(state.exchanges.size(), 100'000u);
  const std::string long_text(40, 'x');  // too long for the short-string buffer
  for (int i = 0; i < 20'000; ++i) {
    CQsoEntry entry = Qso({.call = "", .band = i % 2 ? "20" : "40", .rcvd = "7"});
    entry.m_strCall = std::string("Q").append(std::to_string(i)) + long_text;
    entry.m_strPrefix = long_text;
    entry.m_time = MakeDateTime(kDay + i / 1440.0);
    state.log.Add(entry);
  }
  std::string summary;
  CheckedSummary(state, &summary);

  platform.files.clear();  // the next reset finds no list
  summary = std::string();
  ResetStatistics(state, platform, 0, 12, "AB");
  EXPECT_EQ(state.exchanges.size(), 0u);
  EXPECT_LE(AllocatedBytes(), baseline + kTolerance) << "baseline " << baseline;
}

}  // namespace
}  // namespace kevo::test
