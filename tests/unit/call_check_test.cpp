#include "scoring/call_check.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "scoring/score_summary.h"
#include "test_support.h"

namespace kevo::test {
namespace {

const double k1405 = 45000.0 + (14 * 60 + 5) / 1440.0;
const double k1630Before = 44990.0 + (16 * 60 + 30) / 1440.0;

// Buffers start with a pattern so that any byte written beyond the text shows.
class Buffer {
 public:
  explicit Buffer(std::size_t size = 64) : bytes_(size) {
    for (std::size_t i = 0; i < size; ++i) bytes_[i] = static_cast<char>(0xA5 ^ (i * 7));
    pristine_ = bytes_;
  }
  char* data() { return bytes_.data(); }
  // Untouched for a null `text`; otherwise exactly the text, its zero byte and the old rest.
  void Expect(const char* text, const char* which) const {
    std::vector<char> expected = pristine_;
    if (text != nullptr) std::memcpy(expected.data(), text, std::strlen(text) + 1);
    EXPECT_TRUE(bytes_ == expected) << which << " buffer holds [" << bytes_.data() << "], want ["
                                    << (text ? text : "<untouched>") << "]";
  }

 private:
  std::vector<char> bytes_;
  std::vector<char> pristine_;
};

struct CheckCase {
  const char* name;
  std::vector<QsoFields> log;
  std::vector<std::pair<const char*, const char*>> list;
  CallCheckQuery query;
  int32_t code;
  const char* hint;  // null: the hint buffer stays untouched
  const char* dupe;  // null: the message buffer stays untouched
};

constexpr CallCheckQuery Q(const char* call, const char* band, const char* prefix = "DL",
                           int32_t number = 5, const char* mode = "CW",
                           const char* band2 = nullptr) {
  return {call, mode, prefix, number, band, band2};
}

QsoFields On(const char* call, const char* band, const char* rcvd, const char* mode = "CW",
             double day = k1405, int32_t status = kDateTimeValid) {
  return {.call = call, .band = band, .mode = mode, .rcvd = rcvd, .day = day, .status = status};
}

TEST(CallCheck, Cases) {
  const int32_t kMin = std::numeric_limits<int32_t>::min();
  const CheckCase cases[] = {
      {"list value", {}, {{"Q1ABC", "15"}}, Q("Q1ABC", "20M"), 2, "15", nullptr},
      {"list key is exact", {}, {{"q1abc", "15"}}, Q("Q1ABC", "20M"), 2, "KVDL?", nullptr},
      {"member prefix", {}, {}, Q("Q1ABC", "20M", "DL"), 2, "KVDL?", nullptr},
      {"member YU6", {}, {}, Q("Q1ABC", "20M", "YU6"), 2, "KVYU6?", nullptr},
      {"member YU", {}, {}, Q("Q1ABC", "20M", "YU"), 2, "KVYU?", nullptr},
      {"not member YU7", {}, {}, Q("Q1ABC", "20M", "YU7"), 2, "05?", nullptr},
      {"lower-case prefix", {}, {}, Q("Q1ABC", "20M", "dl"), 2, "05?", nullptr},
      {"empty prefix", {}, {}, Q("Q1ABC", "20M", ""), 2, "05?", nullptr},
      {"number 123", {}, {}, Q("Q1ABC", "20M", "", 123), 2, "123?", nullptr},
      {"number -5", {}, {}, Q("Q1ABC", "20M", "", -5), 2, "-5?", nullptr},
      {"number min", {}, {}, Q("Q1ABC", "20M", "", kMin), 2, "-2147483648?", nullptr},
      {"duplicate",
       {On("Q1ABC", "20M", "12")},
       {},
       Q("Q1ABC", "20M"),
       0,
       nullptr,
       "Q1ABC: QSO BEFORE at 14:05"},
      {"other mode",
       {On("Q1ABC", "20M", "12")},
       {},
       Q("Q1ABC", "20M", "DL", 5, "SSB"),
       1,
       "12",
       nullptr},
      {"band is exact", {On("Q1ABC", "20m", "12")}, {}, Q("Q1ABC", "20M"), 2, "12", nullptr},
      {"hint from other band", {On("Q1ABC", "40M", "12")}, {}, Q("Q1ABC", "20M"), 2, "12", nullptr},
      {"hint worked on band",
       {On("Q1ABC", "40M", "12"), On("Q2X", "20M", "12")},
       {},
       Q("Q1ABC", "20M"),
       1,
       "12",
       nullptr},
      {"last same call wins",
       {On("Q1ABC", "40M", "12"), On("Q1ABC", "15M", "13")},
       {{"Q1ABC", "99"}},
       Q("Q1ABC", "20M"),
       2,
       "13",
       nullptr},
      {"last empty: list",
       {On("Q1ABC", "40M", "12"), On("Q1ABC", "15M", "")},
       {{"Q1ABC", "99"}},
       Q("Q1ABC", "20M"),
       2,
       "99",
       nullptr},
      {"last empty: fallback",
       {On("Q1ABC", "40M", "12"), On("Q1ABC", "15M", "")},
       {},
       Q("Q1ABC", "20M"),
       2,
       "KVDL?",
       nullptr},
      {"first duplicate in log order",
       {On("Q1ABC", "20M", "1"), On("Q1ABC", "20M", "2", "CW", k1630Before)},
       {},
       Q("Q1ABC", "20M"),
       0,
       nullptr,
       "Q1ABC: QSO BEFORE at 14:05"},
      {"duplicate with null time",
       {On("Q1ABC", "20M", "12", "CW", k1405, kDateTimeNull)},
       {},
       Q("Q1ABC", "20M"),
       0,
       nullptr,
       "Q1ABC: QSO BEFORE at "},
      {"empty list value, band worked",
       {On("Q2X", "20M", "33")},
       {{"Q1ABC", ""}},
       Q("Q1ABC", "20M"),
       1,
       nullptr,
       nullptr},
      {"empty list value, band free",
       {On("Q2X", "40M", "33")},
       {{"Q1ABC", ""}},
       Q("Q1ABC", "20M"),
       2,
       nullptr,
       nullptr},
      {"fallback needs the question mark",
       {On("Q2X", "20M", "05")},
       {},
       Q("Q1ABC", "20M", ""),
       2,
       "05?",
       nullptr},
      {"fallback worked", {On("Q2X", "20M", "05?")}, {}, Q("Q1ABC", "20M", ""), 1, "05?", nullptr},
      {"band2 other case", {}, {}, Q("Q1ABC", "20M", "DL", 5, "CW", "20m"), 2, "KVDL?", nullptr},
      {"band2 differs", {}, {}, Q("Q1ABC", "20M", "DL", 5, "CW", "40M"), 4, nullptr, nullptr},
      {"band2 empty", {}, {}, Q("Q1ABC", "20M", "DL", 5, "CW", ""), 4, nullptr, nullptr},
      {"band2 non-letter case",
       {},
       {},
       Q("Q1ABC", "2.M", "DL", 5, "CW", "2\x0EM"),
       4,
       nullptr,
       nullptr},
      {"band2 high bytes", {}, {}, Q("Q1ABC", "\xC4", "DL", 5, "CW", "\xE4"), 4, nullptr, nullptr},
      {"null prefix",
       {On("Q1ABC", "20M", "12")},
       {},
       Q("Q1ABC", "20M", nullptr),
       1,
       nullptr,
       nullptr},
      {"null prefix, bands differ",
       {On("Q1ABC", "20M", "12")},
       {},
       Q("Q1ABC", "20M", nullptr, 5, "CW", "40M"),
       4,
       nullptr,
       nullptr},
      {"null call",
       {On("", "20M", "12")},
       {},
       Q(nullptr, "20M"),
       0,
       nullptr,
       ": QSO BEFORE at 14:05"},
      {"null band",
       {On("Q1ABC", "", "12")},
       {},
       Q("Q1ABC", nullptr),
       0,
       nullptr,
       "Q1ABC: QSO BEFORE at 14:05"},
      {"null band, band2 given",
       {},
       {},
       Q("Q1ABC", nullptr, "DL", 5, "CW", "20M"),
       4,
       nullptr,
       nullptr},
      {"null mode",
       {On("Q1ABC", "20M", "12", "")},
       {},
       Q("Q1ABC", "20M", "DL", 5, nullptr),
       0,
       nullptr,
       "Q1ABC: QSO BEFORE at 14:05"},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    ContestState state;
    for (const QsoFields& fields : c.log) state.log.Add(Qso(fields));
    for (const auto& [key, value] : c.list) state.exchanges.Set(key, value);
    for (int round = 0; round < 2; ++round) {  // the check changes nothing
      Buffer hint, dupe;
      EXPECT_EQ(CheckCall(state, c.query, hint.data(), dupe.data()), c.code);
      hint.Expect(c.hint, "hint");
      dupe.Expect(c.dupe, "dupe");
    }
    EXPECT_EQ(state.log.size(), c.log.size());
  }
}

TEST(CallCheck, NullBuffersAreNotWritten) {
  ContestState state;
  state.log.Add(Qso(On("Q1ABC", "20M", "12")));
  Buffer hint;
  EXPECT_EQ(CheckCall(state, Q("Q1ABC", "20M"), hint.data(), nullptr), 0);
  hint.Expect(nullptr, "hint");
  Buffer dupe;
  EXPECT_EQ(CheckCall(state, Q("Q1ABC", "40M"), nullptr, dupe.data()), 2);
  dupe.Expect(nullptr, "dupe");
}

// Stores one-byte exchanges normalised, as every summary does.
void RunSummary(ContestState& state) {
  std::string text;
  CheckedSummary(state, &text);
}

TEST(CallCheck, SeesNormalisedExchange) {
  ContestState state;
  state.log.Add(Qso(On("Q1ABC", "40M", "7")));
  RunSummary(state);
  Buffer hint, dupe;
  EXPECT_EQ(CheckCall(state, Q("Q1ABC", "20M"), hint.data(), dupe.data()), 2);
  hint.Expect("07", "hint");
}

// Removals and normalisation change what the check finds; it always reads the log as it is.
TEST(CallCheck, FollowsRemovalsAndNormalisation) {
  ContestState state;
  auto check = [&state](const CallCheckQuery& query, int32_t code, const char* hint,
                        const char* dupe) {
    Buffer hint_buffer, dupe_buffer;
    EXPECT_EQ(CheckCall(state, query, hint_buffer.data(), dupe_buffer.data()), code);
    hint_buffer.Expect(hint, "hint");
    dupe_buffer.Expect(dupe, "dupe");
  };
  const QsoFields early = On("Q1ABC", "20M", "1"),
                  late = On("Q1ABC", "20M", "2", "CW", k1405 + 0.05);
  state.log.Add(Qso(early));
  state.log.Add(Qso(late));
  state.log.Remove(Qso(early));
  check(Q("Q1ABC", "20M"), 0, nullptr, "Q1ABC: QSO BEFORE at 15:17");
  state.log.Add(Qso(early));  // back at the end of the log: no longer the first
  check(Q("Q1ABC", "20M"), 0, nullptr, "Q1ABC: QSO BEFORE at 15:17");

  state = ContestState{};
  state.exchanges.Set("Q1ABC", "7");
  state.log.Add(Qso(On("Q1ABC", "40M", "12")));
  state.log.Add(Qso(On("Q1ABC", "15M", "13")));
  state.log.Add(Qso(On("Q2X", "20M", "7")));
  state.log.Remove(Qso(On("Q1ABC", "15M", "")));
  check(Q("Q1ABC", "20M"), 2, "12", nullptr);
  state.log.Remove(Qso(On("Q1ABC", "40M", "")));
  check(Q("Q1ABC", "20M"), 1, "7", nullptr);  // the list's 7 is on the band
  RunSummary(state);                          // stores the 7 as 07
  check(Q("Q1ABC", "20M"), 2, "7", nullptr);
  state.exchanges.Set("Q1ABC", "07");
  check(Q("Q1ABC", "20M"), 1, "07", nullptr);
  state.log.Remove(Qso(On("Q2X", "20M", "")));
  check(Q("Q1ABC", "20M"), 2, "07", nullptr);
}

TEST(CallCheck, LongTextsAreCopiedWhole) {
  const std::string call(10000, 'C'), rcvd(10000, 'R');
  ContestState state;
  state.log.Add(Qso(On(call.c_str(), "20M", rcvd.c_str())));
  Buffer hint(20100), dupe(20100);
  EXPECT_EQ(CheckCall(state, Q(call.c_str(), "40M"), hint.data(), dupe.data()), 2);
  hint.Expect(rcvd.c_str(), "hint");
  EXPECT_EQ(CheckCall(state, Q(call.c_str(), "20M"), hint.data(), dupe.data()), 0);
  dupe.Expect((call + ": QSO BEFORE at 14:05").c_str(), "dupe");
}

}  // namespace
}  // namespace kevo::test
