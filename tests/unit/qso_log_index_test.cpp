// Randomized sessions against a plain model: every operation is applied both to the real
// contest state and to a model that keeps the log as a bare vector and answers every question
// by scanning it with string keys. The model applies the library's own rules (points, keys,
// normalisation) to plain texts, so what it checks is the log's indexing and the passes' use of
// it: any lookup structure that drifts from the log shows up as a difference in the entries,
// the band list, a call check, a summary or the extended log.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "contest/contest_state.h"
#include "export/ext_log.h"
#include "platform/text_reader.h"
#include "scoring/call_check.h"
#include "scoring/qso_keys.h"
#include "scoring/qso_rules.h"
#include "scoring/score_summary.h"
#include "test_support.h"

namespace kevo {
namespace {

// The log as a bare vector, every question answered by a scan.
struct PlainLog {
  std::vector<CQsoEntry> entries;
  std::vector<std::string> bands;
  ContestSettings settings;

  std::size_t Find(const CQsoEntry& probe) const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (SameQso(entries[i], probe)) return i;
    }
    return entries.size();
  }
  void Add(const CQsoEntry& probe) {
    bool known = false;
    for (const std::string& band : bands) known = known || band == probe.m_strBand;
    if (!known) bands.push_back(probe.m_strBand);
    if (Find(probe) == entries.size()) entries.push_back(probe);
  }
  void Remove(const CQsoEntry& probe) {
    std::size_t index = Find(probe);
    if (index < entries.size()) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
  }
  void Normalize(std::size_t index) {
    if (std::optional<std::string> stored = NormalizedRcvd(entries[index].m_strRcvd))
      entries[index].m_strRcvd = *stored;
  }
  int32_t Points(const CQsoEntry& e) const {
    const QsoPointsByRegion points = QsoPoints(e.m_strRcvd, settings.own_number);
    return e.m_strRegion == settings.own_region ? points.own_region : points.other_region;
  }
  static std::string Mult(const CQsoEntry& e) { return MultKey(e.m_strBand, e.m_strRcvd); }

  static std::string Padded(const std::string& band) {
    return band.size() < 20 ? std::string(20 - band.size(), '0') + band : band;
  }

  int32_t Summary(std::string* text) {
    const bool rates = settings.rate_suppression == 0;
    COleDateTime reference = MakeDateTime(0.0);
    if (rates && entries.size() > 1) reference = entries.back().m_time;
    for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
      for (std::size_t j = i + 1; j < bands.size(); ++j) {
        // std::string compares its bytes as unsigned char.
        if (Padded(bands[i]) < Padded(bands[j])) std::swap(bands[i], bands[j]);
      }
    }
    char line[512];
    *text = "\tQSO\tPoints\tMults\r\n";
    uint32_t qsos = 0, points = 0, mults = 0, q60 = 0, p60 = 0, q10 = 0, p10 = 0;
    for (const std::string& band : bands) {
      std::unordered_set<std::string> dupes, band_mults;
      uint32_t band_qsos = 0, band_points = 0;
      for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].m_strBand != band) continue;
        const CQsoEntry& e = entries[i];
        if (!dupes.insert(SummaryDupeKey(e.m_strCall, e.m_strBand, e.m_strMode)).second) continue;
        uint32_t p = static_cast<uint32_t>(Points(e));
        if (rates) {
          int32_t age = SpanWholeMinutes(DateTimeDifference(reference, entries[i].m_time));
          if (age < 60) q60 += 1, p60 += p;
          if (age < 10) q10 += 1, p10 += p;
        }
        band_qsos += 1;
        band_points += p;
        Normalize(i);
        band_mults.insert(Mult(entries[i]));
      }
      std::snprintf(line, sizeof line, "%s\t%i\t%i\t%i\r\n", band.c_str(),
                    static_cast<int32_t>(band_qsos), static_cast<int32_t>(band_points),
                    static_cast<int32_t>(band_mults.size()));
      text->append(line);
      qsos += band_qsos;
      points += band_points;
      mults += static_cast<uint32_t>(band_mults.size());
    }
    std::snprintf(line, sizeof line, "Total\t%i\t%i\t%i\r\n", static_cast<int32_t>(qsos),
                  static_cast<int32_t>(points), static_cast<int32_t>(mults));
    text->append(line);
    if (rates && !entries.empty()) {
      std::snprintf(line, sizeof line,
                    "\r\nHourly (10min) QSO rate: %5i (%i) QSOs/hour\r\n"
                    "Hourly (10min) pts rate: %5i (%i) points/hour\r\n\r\n",
                    static_cast<int32_t>(q60), static_cast<int32_t>(q10 * 6u),
                    static_cast<int32_t>(p60), static_cast<int32_t>(p10 * 6u));
      text->append(line);
    }
    const uint32_t score = points * mults;
    std::snprintf(line, sizeof line, "\r\nScore: %i*%i = %i points\r\n",
                  static_cast<int32_t>(points), static_cast<int32_t>(mults),
                  static_cast<int32_t>(score));
    text->append(line);
    return static_cast<int32_t>(score);
  }

  std::string ExtLog(const char* argument) {
    std::string bytes = ToTextModeBytes(kExtLogHeader) + "\r\n";
    std::unordered_set<std::string> dupes, mults;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const CQsoEntry& e = entries[i];
      int32_t points = Points(e);
      bool duplicate = !dupes.insert(ExtLogDupeKey(e.m_strCall, e.m_strBand, e.m_strMode)).second;
      if (duplicate) points = 0;
      Normalize(i);
      bool new_mult = !duplicate && mults.insert(Mult(e)).second;
      bytes += ToTextModeBytes(ExtLogRecord(entries[i], argument, points, new_mult)) + "\r\n";
    }
    return bytes;
  }

  int32_t Check(const ExchangeList& list, const CallCheckQuery& q, std::string* hint_out,
                std::string* dupe_out) const {
    const std::string call = q.call, band = q.band, mode = q.mode ? q.mode : "";
    if (q.band2 != nullptr) {
      auto fold = [](std::string s) {
        for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        return s;
      };
      if (fold(band) != fold(q.band2)) return 4;
    }
    if (q.prefix == nullptr) return 1;
    std::string hint;
    for (const CQsoEntry& e : entries) {
      if (e.m_strCall != call) continue;
      hint = e.m_strRcvd;
      if (e.m_strBand == band && e.m_strMode == mode) {
        *dupe_out = call + ": QSO BEFORE at " + FormatDateTime(e.m_time, "%H:%M");
        return 0;
      }
    }
    if (hint.empty()) {
      const std::string* listed = list.Find(call);
      hint = listed ? *listed : FallbackHint(q.prefix, q.number);
    }
    bool new_mult = true;
    for (const CQsoEntry& e : entries) {
      if (e.m_strBand == band && (hint.empty() || e.m_strRcvd == hint)) new_mult = false;
    }
    if (!hint.empty()) *hint_out = hint;
    return new_mult ? 2 : 1;
  }
};

// Keeps what WriteExtLog writes; nothing else of the platform is used.
class CapturingPlatform : public Platform {
 public:
  class Sink : public OutputFile {
   public:
    explicit Sink(std::string* bytes) : bytes_(bytes) {}
    bool Write(const char* data, std::size_t size) override {
      bytes_->append(data, size);
      return true;
    }
    bool Close() override { return true; }

   private:
    std::string* bytes_;
  };
  void ShowMessage(MessageOwner, const char*, const char*) override { ++messages; }
  std::unique_ptr<InputFile> OpenExclusiveForReading(const std::string&) override {
    return nullptr;
  }
  std::unique_ptr<OutputFile> CreateSharedRead(const std::string&) override {
    written.clear();
    return std::make_unique<Sink>(&written);
  }
  std::string JoinPath(const std::string& a, const std::string& b) const override {
    return a + "/" + b;
  }
  std::string written;
  int messages = 0;
};

// Small alphabets so that calls, bands, modes, times and keys collide often. "A"+"20"+"B20X"
// and "A20B"+"20"+"X" spell the same summary key; "7" and "07" pad alike.
const std::vector<std::string> kCalls = {"B20X", "X", "Q1ABC", "q1abc", "DL1A", ""};
const std::vector<std::string> kBands = {"20", "40", "7", "07", " 20", "", "160"};
const std::vector<std::string> kModes = {"A", "A20B", "CW", "SSB", ""};
const std::vector<std::string> kRcvds = {"",
                                         "1",
                                         "A",
                                         "z",
                                         "12",
                                         "012",
                                         "7",
                                         "07",
                                         " 12",
                                         "0A",
                                         "-3",
                                         "\xC4"
                                         "5"};
const std::vector<std::string> kRegions = {"AB", "CD", ""};
const std::vector<double> kDays = {
    45000.5, 45000.5 + 5.0 / 1440, 45000.5 + 59.0 / 1440, 45000.5 + 61.0 / 1440, 0.0, -0.0, -1.25};

class Session {
 public:
  // A removal-heavy session empties the log again and again, so the dead slots that removals
  // leave behind are cleared away many times.
  Session(uint32_t seed, bool removal_heavy) : rng_(seed), removal_heavy_(removal_heavy) {
    state_.exchanges.Set("X", "33");
    state_.exchanges.Set("DL1A", "");
    NewSettings();
  }

  void Step() {
    if (removal_heavy_ && Pick(2) == 0 && !model_.entries.empty()) {
      RemoveBoth(model_.entries[Pick(model_.entries.size())]);
      ExpectSameLog();
      return;
    }
    const int op = Pick(100);
    if (op < 40) {
      AddBoth(RandomEntry());
    } else if (op < 50 && !model_.entries.empty()) {
      // Reported again, maybe with other exchanges: must stay one entry.
      CQsoEntry again = model_.entries[Pick(model_.entries.size())];
      again.m_strRcvd = Any(kRcvds);
      again.m_strPrefix = std::string{'P', static_cast<char>('0' + Pick(3))};
      AddBoth(again);
    } else if (op < 65 && !model_.entries.empty()) {
      CQsoEntry victim = model_.entries[Pick(model_.entries.size())];
      victim.m_strRcvd = Any(kRcvds);  // plays no part in finding it
      RemoveBoth(victim);
    } else if (op < 68) {
      RemoveBoth(RandomEntry());
    } else if (op < 69) {
      state_.log.Clear();
      model_.entries.clear();
      model_.bands.clear();
      NewSettings();
    } else if (op < 76) {
      Summary();
    } else if (op < 80) {
      ExtLog();
    } else {
      Check();
    }
    ExpectSameLog();
  }

 private:
  std::size_t Pick(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(rng_);
  }
  const std::string& Any(const std::vector<std::string>& from) { return from[Pick(from.size())]; }

  void NewSettings() {
    ContestSettings settings{static_cast<int32_t>(Pick(4) == 0), Pick(2) ? 12 : 0, Any(kRegions)};
    state_.settings = settings;
    model_.settings = settings;
  }

  CQsoEntry RandomEntry() {
    CQsoEntry e;
    e.m_strCall = Any(kCalls);
    e.m_strBand = Any(kBands);
    e.m_strMode = Any(kModes);
    e.m_strRcvd = Any(kRcvds);
    e.m_strRegion = Any(kRegions);
    e.m_strPrefix = "DL";
    e.m_strSent = std::to_string(Pick(1000));
    int32_t status = Pick(10) == 0 ? static_cast<int32_t>(1 + Pick(2)) : kDateTimeValid;
    e.m_time = MakeDateTime(kDays[Pick(kDays.size())], status);
    if (Pick(40) == 0) e.m_time.m_dt = std::nan("");  // never equal, so never found again
    return e;
  }

  void AddBoth(const CQsoEntry& e) {
    state_.log.Add(e);
    model_.Add(e);
  }
  void RemoveBoth(const CQsoEntry& e) {
    state_.log.Remove(e);
    model_.Remove(e);
  }

  void Summary() {
    std::string text, expected;
    int32_t score = test::CheckedSummary(state_, &text);
    int32_t expected_score = model_.Summary(&expected);
    ASSERT_EQ(text, expected);
    ASSERT_EQ(score, expected_score);
  }

  void ExtLog() {
    const char* argument = Pick(5) == 0 ? nullptr : "ABC";
    CapturingPlatform platform;
    WriteExtLog(state_, platform, argument);
    ASSERT_EQ(platform.written, model_.ExtLog(argument));
  }

  void Check() {
    std::string call = Pick(8) == 0 ? "Q9NEW" : Any(kCalls);
    std::string band = Any(kBands);
    std::string mode = Any(kModes);
    std::string band2 = Pick(10) == 0 ? "40" : band;
    CallCheckQuery q;
    q.call = call.c_str();
    q.band = band.c_str();
    q.band2 = Pick(3) == 0 ? nullptr : band2.c_str();
    q.mode = Pick(10) == 0 ? nullptr : mode.c_str();
    q.prefix = Pick(10) == 0 ? nullptr : (Pick(2) ? "DL" : "W");
    q.number = static_cast<int32_t>(Pick(20)) - 5;
    char hint[256] = "untouched", dupe[256] = "untouched";
    std::string expected_hint = "untouched", expected_dupe = "untouched";
    int32_t result = CheckCall(state_, q, hint, dupe);
    int32_t expected = model_.Check(state_.exchanges, q, &expected_hint, &expected_dupe);
    ASSERT_EQ(result, expected) << call << " " << band << " " << mode;
    ASSERT_EQ(std::string(hint), expected_hint);
    ASSERT_EQ(std::string(dupe), expected_dupe);
  }

  void ExpectSameLog() {
    const QsoLog& log = state_.log;
    ASSERT_EQ(log.size(), model_.entries.size());
    ASSERT_EQ(log.bands(), model_.bands);
    const std::vector<CQsoEntry> entries = test::Entries(log);
    ASSERT_EQ(entries.size(), model_.entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const CQsoEntry& a = entries[i];
      const CQsoEntry& b = model_.entries[i];
      ASSERT_EQ(a.m_strCall, b.m_strCall) << "entry " << i;
      ASSERT_EQ(a.m_strBand, b.m_strBand) << "entry " << i;
      ASSERT_EQ(a.m_strMode, b.m_strMode) << "entry " << i;
      ASSERT_EQ(a.m_strRcvd, b.m_strRcvd) << "entry " << i;
      ASSERT_EQ(a.m_strSent, b.m_strSent) << "entry " << i;
      ASSERT_EQ(a.m_strPrefix, b.m_strPrefix) << "entry " << i;
      ASSERT_EQ(a.m_strRegion, b.m_strRegion) << "entry " << i;
      ASSERT_EQ(a.m_time.m_status, b.m_time.m_status) << "entry " << i;
      ASSERT_EQ(std::memcmp(&a.m_time.m_dt, &b.m_time.m_dt, sizeof(double)), 0) << "entry " << i;
    }
  }

  std::mt19937 rng_;
  bool removal_heavy_;
  ContestState state_;
  PlainLog model_;
};

TEST(QsoLogIndex, RandomSessionsMatchAPlainScan) {
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Session session(seed, seed % 4 == 0);
    for (int step = 0; step < 400; ++step) {
      ASSERT_NO_FATAL_FAILURE(session.Step()) << "step " << step;
    }
  }
}

// A state copied mid-session must carry on as the original does.
TEST(QsoLogIndex, CopiedStateKeepsWorking) {
  ContestState original;
  for (int i = 0; i < 50; ++i) {
    CQsoEntry e;
    e.m_strCall = std::string{'C', static_cast<char>('0' + i % 7)};
    e.m_strBand = kBands[static_cast<std::size_t>(i) % kBands.size()];
    e.m_strRcvd = kRcvds[static_cast<std::size_t>(i) % kRcvds.size()];
    e.m_time = MakeDateTime(45000.0 + i);
    original.log.Add(e);
  }
  ContestState copy = original;
  original.log.Clear();
  for (int i = 0; i < 50; i += 2) {
    CQsoEntry e;
    e.m_strCall = std::string{'C', static_cast<char>('0' + i % 7)};
    e.m_strBand = kBands[static_cast<std::size_t>(i) % kBands.size()];
    e.m_time = MakeDateTime(45000.0 + i);
    copy.log.Remove(e);
  }
  const std::vector<CQsoEntry> entries = test::Entries(copy.log);
  ASSERT_EQ(copy.log.size(), 25u);
  ASSERT_EQ(entries.size(), 25u);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].m_time.m_dt, 45001.0 + 2.0 * static_cast<double>(i));
  }
}

}  // namespace
}  // namespace kevo
