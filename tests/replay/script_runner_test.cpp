// The script runner against fake entries: what reaches the library for each script line, and
// how its answers are printed.
#include "tools/replay/session/script_runner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

namespace kevo::replay {
namespace {

struct Seen {
  int calls = 0;
  std::string verb;
  const char* call = "unset";
  const char* band = "unset";
  const char* mode = "unset";
  const char* received = "unset";
  const char* prefix = "unset";
  const char* region = "unset";
  const char* band2 = "unset";
  bool hint_null = false;
  bool unused_pointers_valid = false;
  // COleDateTime is packed to 4 bytes: keep its fields apart so they are read aligned.
  double day = -1.0;
  std::int32_t status = -1;
  std::int32_t number = 0;
  std::int32_t no_rates = -1;
  std::int32_t own_number = -1;
  const char* own_region = "unset";
  // What the fake CheckCall0 writes: nothing, a hint, or more bytes than the room given.
  enum { kWriteNothing, kWriteHint, kOverrun } check_writes = kWriteHint;
  bool score_null = false;
};
Seen seen;

// Texts the entries receive are only valid during the call; keep copies.
std::string saved[8];
const char* Keep(int slot, const char* text) {
  if (text == nullptr) return nullptr;
  saved[slot] = text;
  return saved[slot].c_str();
}

std::int32_t FakeReset(const char*, std::int32_t no_rates, const char*, const COleDateTime* p4,
                       const COleDateTime* p5, const char*, const char*, const char*, const char*,
                       const char*, const char*, const char*, const char*, const char*, const char*,
                       std::int32_t, std::int32_t own_number, std::int32_t, double, double,
                       const char*, const char* own_region, const char*) {
  ++seen.calls;
  seen.verb = "reset";
  seen.no_rates = no_rates;
  seen.own_number = own_number;
  seen.own_region = Keep(0, own_region);
  seen.unused_pointers_valid = p4 != nullptr && p5 != nullptr;
  return 1;
}

std::int32_t FakeAdd(const char* p1, const char* call, const COleDateTime* time,
                     const COleDateTime* p4, const COleDateTime* p5, const COleDateTime* p6,
                     std::uint32_t, std::uint32_t, const char* mode, const char*, const char*,
                     const char*, const char* rcvd, const char*, const char*, const char*,
                     const char*, const char*, const char*, const char*, const char*, const char*,
                     const char* prefix, std::int32_t, std::int32_t, std::int32_t, double, double,
                     const char*, const char* region, const char*, const char* band,
                     const char* p33) {
  ++seen.calls;
  seen.verb = "add";
  seen.call = Keep(0, call);
  seen.day = time->m_dt;
  seen.status = time->m_status;
  seen.mode = Keep(1, mode);
  seen.received = Keep(2, rcvd);
  seen.prefix = Keep(3, prefix);
  seen.region = Keep(4, region);
  seen.band = Keep(5, band);
  seen.unused_pointers_valid =
      p1 != nullptr && p4 != nullptr && p5 != nullptr && p6 != nullptr && p33 != nullptr;
  return 1;
}

std::int32_t FakeCheck(const char* call, std::uint32_t, std::uint32_t, const char* mode,
                       const char*, const char*, const char*, const char*, const char*, const char*,
                       const char*, const char*, const char*, const char* prefix, std::int32_t,
                       std::int32_t number, std::int32_t, double, double, const char*, const char*,
                       const char*, const char*, const char*, const char* band, const char* band2,
                       char* hint, char* dupe) {
  ++seen.calls;
  seen.verb = "check";
  seen.call = Keep(0, call);
  seen.mode = Keep(1, mode);
  seen.prefix = Keep(2, prefix);
  seen.band = Keep(3, band);
  seen.band2 = Keep(4, band2);
  seen.number = number;
  seen.hint_null = hint == nullptr;
  if (seen.check_writes == Seen::kWriteHint && hint != nullptr) std::strcpy(hint, "KVDL?");
  if (seen.check_writes == Seen::kOverrun && dupe != nullptr)
    std::memset(dupe, 'x', 100);  // past the room for call "A", inside the guard
  return 2;
}

const char* FakeResult(std::int32_t* score) {
  ++seen.calls;
  seen.score_null = score == nullptr;
  if (score != nullptr) *score = 30;
  return "\tQSO\r\nScore: 30\r\n";
}

const char* FakeSetName(std::int32_t index) { return index == 0 ? "KEVO" : nullptr; }

host::EntryPoints Fakes() {
  host::EntryPoints entries;
  entries.ResetStats0 = FakeReset;
  entries.AddData0 = FakeAdd;
  entries.RemoveData0 = FakeAdd;
  entries.CheckCall0 = FakeCheck;
  entries.GetResult0 = FakeResult;
  entries.GetSetName = FakeSetName;
  return entries;
}

class ScriptRunnerTest : public testing::Test {
 protected:
  void SetUp() override { seen = Seen(); }
  ScriptOutcome Run(const std::string& script) {
    out_.str("");
    errors_.str("");
    host::EntryPoints entries = Fakes();
    ScriptRunner runner(entries, out_, errors_, "s.txt");
    return runner.Run(script);
  }
  std::ostringstream out_;
  std::ostringstream errors_;
};

TEST_F(ScriptRunnerTest, AddPassesTextsNullsAndDateTimes) {
  Run("add call=\"D\\xC4\" band=20 rcvd=null time=2023-03-15T12:00 status=2");
  EXPECT_EQ(seen.calls, 1);
  EXPECT_STREQ(seen.call, "D\xC4");
  EXPECT_STREQ(seen.band, "20");
  EXPECT_STREQ(seen.mode, "");
  EXPECT_EQ(seen.received, nullptr);
  EXPECT_EQ(seen.day, 45000.5);
  EXPECT_EQ(seen.status, 2);
  EXPECT_TRUE(seen.unused_pointers_valid);
  EXPECT_EQ(out_.str(), "1: add -> 1\nend: 1 line(s) run, 0 rejected\n");

  Run("add time=-1.25");
  EXPECT_EQ(seen.day, -1.25);
  EXPECT_EQ(seen.status, 0);
}

TEST_F(ScriptRunnerTest, ResetPassesTheSettings) {
  Run("reset no_rates=1 own_number=-2147483648 own_region=null");
  EXPECT_EQ(seen.no_rates, 1);
  EXPECT_EQ(seen.own_number, INT32_MIN);
  EXPECT_EQ(seen.own_region, nullptr);
  EXPECT_TRUE(seen.unused_pointers_valid);
  Run("reset");
  EXPECT_EQ(seen.no_rates, 0);
  EXPECT_EQ(seen.own_number, 0);
  EXPECT_STREQ(seen.own_region, "");
}

TEST_F(ScriptRunnerTest, CheckShowsWhichBufferWasWritten) {
  Run("check call=DL1AB band=20 band2=20m prefix=DL number=-7");
  EXPECT_STREQ(seen.band2, "20m");
  EXPECT_EQ(seen.number, -7);
  EXPECT_FALSE(seen.hint_null);
  EXPECT_EQ(out_.str(),
            "1: check -> 2\n   hint: \"KVDL?\"\n   dupe: not written\n"
            "end: 1 line(s) run, 0 rejected\n");

  Run("check call=DL1AB hint=null");
  EXPECT_TRUE(seen.hint_null);
  EXPECT_EQ(seen.band2, nullptr);  // no second band unless given
  EXPECT_NE(out_.str().find("hint: null"), std::string::npos);

  seen.check_writes = Seen::kWriteNothing;
  Run("check call=DL1AB hint=\"old\" dupe=\"\"");
  EXPECT_NE(out_.str().find("hint: not written\n   dupe: not written"), std::string::npos);
}

TEST_F(ScriptRunnerTest, CheckCatchesAWriteBeyondTheRoomGiven) {
  seen.check_writes = Seen::kOverrun;
  Run("check call=A");
  EXPECT_NE(out_.str().find("dupe: OVERRUN"), std::string::npos) << out_.str();
}

TEST_F(ScriptRunnerTest, ResultPrintsTheTextInPiecesAndTheScore) {
  Run("result\nresult score=null");
  EXPECT_EQ(out_.str(),
            "1: result -> \"\\tQSO\\r\\n\"\n"
            "             \"Score: 30\\r\\n\"\n"
            "   score: 30\n"
            "2: result -> \"\\tQSO\\r\\n\"\n"
            "             \"Score: 30\\r\\n\"\n"
            "   score: null\n"
            "end: 2 line(s) run, 0 rejected\n");
  EXPECT_TRUE(seen.score_null);
}

TEST_F(ScriptRunnerTest, SetNamePrintsANullResultAsNull) {
  Run("setname\nsetname index=3");
  EXPECT_EQ(out_.str(),
            "1: setname -> \"KEVO\"\n2: setname -> null\nend: 2 line(s) run, 0 rejected\n");
}

TEST_F(ScriptRunnerTest, RejectedLinesMakeNoCallAndAreReportedInOrder) {
  ScriptOutcome outcome =
      Run("add cal=x\n"
          "add time=2023-02-30\n"
          "reset own_number=99999999999\n"
          "check number=\n"
          "result score=7\n"
          "file name=../x text=y\n"
          "add call=\"open\n"
          "frobnicate\n"
          "reset\n");
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(outcome.calls, 1u);
  EXPECT_EQ(outcome.rejected, 8u);
  EXPECT_EQ(out_.str(),
            "1: error: 'add' takes no key 'cal'\n"
            "2: error: time needs YYYY-MM-DD[THH:MM[:SS]] or a day count\n"
            "3: error: own_number needs a signed 32-bit integer\n"
            "4: error: number needs a signed 32-bit integer\n"
            "5: error: score takes only the word null (no place for the score)\n"
            "6: error: file needs a relative name inside the working directory\n"
            "7: error: a quoted text has no closing quote\n"
            "8: error: unknown command 'frobnicate'\n"
            "9: reset -> 1\n"
            "end: 1 line(s) run, 8 rejected\n");
  EXPECT_NE(errors_.str().find("s.txt:7: a quoted text has no closing quote\n"), std::string::npos);
}

}  // namespace
}  // namespace kevo::replay
