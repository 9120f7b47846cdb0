#include "contest_data.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>

namespace kevo::bench {

namespace {

constexpr std::array<const char*, 6> kBands = {"160", "80", "40", "20", "15", "10"};
constexpr std::array<const char*, 2> kModes = {"CW", "SSB"};
constexpr std::array<const char*, 8> kPrefixes = {"DL", "OE", "HA", "YU", "K", "JA", "G", "F"};
constexpr std::array<const char*, 4> kRegions = {"AB", "CD", "EF", "GH"};
constexpr double kFirstDay = 45000.25;  // a day in 2023, 06:00
constexpr double kSpacingDays = 20.0 / 86400.0;

// Small, fast and the same everywhere: each contact draws from its own stream.
uint64_t SplitMix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

struct Draw {
  explicit Draw(uint64_t seed) : state(seed) {}
  uint32_t Next(uint32_t bound) {
    state = SplitMix(state);
    return static_cast<uint32_t>(state % bound);
  }
  uint64_t state;
};

std::size_t CallPool(std::size_t log_size) { return log_size * 5 / 6 + 10; }

std::string CallOf(std::size_t k) {
  std::string call = kPrefixes[k % kPrefixes.size()];
  call.push_back(static_cast<char>('0' + (k / kPrefixes.size()) % 10));
  std::string letters;
  for (std::size_t rest = k; letters.size() < 3 || rest > 0; rest /= 26) {
    letters.push_back(static_cast<char>('A' + rest % 26));
  }
  return call + letters;
}

std::string ExchangeOf(Draw& draw) {
  // A few stations send a letter; everyone else a number 1 to 40.
  if (draw.Next(100) < 2) return std::string(1, static_cast<char>('A' + draw.Next(26)));
  return std::to_string(1 + draw.Next(40));
}

}  // namespace

std::vector<CQsoEntry> MakeContacts(std::size_t log_size, std::size_t first, std::size_t count,
                                    uint32_t seed) {
  std::vector<CQsoEntry> contacts;
  contacts.reserve(count);
  const std::size_t pool = CallPool(log_size);
  for (std::size_t i = first; i < first + count; ++i) {
    Draw draw((static_cast<uint64_t>(seed) << 40) ^ i);
    std::size_t k = draw.Next(static_cast<uint32_t>(pool));
    CQsoEntry entry;
    entry.m_strCall = CallOf(k);
    entry.m_strPrefix = kPrefixes[k % kPrefixes.size()];
    entry.m_strRegion = kRegions[k % kRegions.size()];
    entry.m_strBand = kBands[draw.Next(kBands.size())];
    entry.m_strMode = kModes[draw.Next(kModes.size())];
    entry.m_strRcvd = ExchangeOf(draw);
    char sent[8];
    std::snprintf(sent, sizeof sent, "%03u", static_cast<unsigned>(i % 1000));
    entry.m_strSent = sent;
    entry.m_time = MakeDateTime(kFirstDay + static_cast<double>(i) * kSpacingDays);
    contacts.push_back(std::move(entry));
  }
  return contacts;
}

void ApplyBenchSettings(ContestState* state) {
  state->settings.rate_suppression = 0;
  state->settings.own_number = 12;
  state->settings.own_region = "AB";
  // The log scores with them from the first entry on, as after a reset.
  state->log.SetScoring(state->settings.own_number, state->settings.own_region);
}

const ContestState& PrefilledState(std::size_t count) {
  static std::map<std::size_t, std::unique_ptr<ContestState>> built;
  std::unique_ptr<ContestState>& state = built[count];
  if (!state) {
    state = std::make_unique<ContestState>();
    ApplyBenchSettings(state.get());
    for (const CQsoEntry& entry : MakeContacts(count, 0, count)) state->log.Add(entry);
  }
  return *state;
}

std::vector<CheckQuery> MakeQueries(std::size_t log_size, std::size_t count, uint32_t seed) {
  std::vector<CheckQuery> queries;
  queries.reserve(count);
  const std::size_t pool = CallPool(log_size);
  for (std::size_t i = 0; i < count; ++i) {
    Draw draw((static_cast<uint64_t>(seed) << 40) ^ (i * 7919u));
    std::size_t k = draw.Next(static_cast<uint32_t>(pool));
    CheckQuery query;
    query.call = CallOf(k);
    query.prefix = kPrefixes[k % kPrefixes.size()];
    query.band = kBands[draw.Next(kBands.size())];
    query.mode = kModes[draw.Next(kModes.size())];
    queries.push_back(std::move(query));
  }
  return queries;
}

CallCheckQuery ToCallCheckQuery(const std::string& call, const std::string& mode,
                                const std::string& prefix, const std::string& band) {
  CallCheckQuery q;
  q.call = call.c_str();
  q.mode = mode.c_str();
  q.prefix = prefix.c_str();
  q.number = 7;
  q.band = band.c_str();
  q.band2 = band.c_str();
  return q;
}

CallCheckQuery ToCallCheckQuery(const CheckQuery& query) {
  return ToCallCheckQuery(query.call, query.mode, query.prefix, query.band);
}

std::size_t ResidentBytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return 0;
  unsigned long size = 0, resident = 0;
  int read = std::fscanf(file, "%lu %lu", &size, &resident);
  std::fclose(file);
  if (read != 2) return 0;
  return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace kevo::bench
