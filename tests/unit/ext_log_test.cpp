#include "export/ext_log.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "scoring/score_summary.h"
#include "test_support.h"

namespace kevo::test {
namespace {

const std::string kHeaderLine =
    "   DATE    TIME BAND MODE   Nr sent     CALL         Nr rcvd      Pts Mults\r\n";
const double k20240504At130720 = 45416.0 + (13 * 3600 + 7 * 60 + 20) / 86400.0;

// The record line as the C library's printf formats it, line feeds stored as CR LF.
std::string PrintfRecord(const CQsoEntry& e, const char* arg, int points, bool mark) {
  std::string mark_text;
  if (mark)
    mark_text =
        e.m_strPrefix + std::string(e.m_strPrefix.size() < 6 ? 6 - e.m_strPrefix.size() : 0, ' ');
  const std::string date = FormatDateTime(e.m_time, "%Y-%m-%d"),
                    time = FormatDateTime(e.m_time, "%H%M");
  std::string line(e.m_strCall.size() + e.m_strBand.size() + e.m_strMode.size() +
                       e.m_strSent.size() + e.m_strRcvd.size() + mark_text.size() +
                       (arg ? std::strlen(arg) : 6) + 200,
                   '\0');
  int n = std::snprintf(line.data(), line.size(),
                        "%s %s %-4s %-6s %-3s %-3s %-3s %-12s %-3s %-7s %3i %s\n", date.c_str(),
                        time.c_str(), e.m_strBand.c_str(), e.m_strMode.c_str(), "599",
                        e.m_strSent.c_str(), arg ? arg : "(null)", e.m_strCall.c_str(), "599",
                        e.m_strRcvd.c_str(), points, mark_text.c_str());
  line.resize(static_cast<std::size_t>(n));
  std::string bytes;
  for (char c : line) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

class ExtLog : public ::testing::Test {
 protected:
  void Add(const QsoFields& fields) { state_.log.Add(Qso(fields)); }
  ContestState state_;
  FakePlatform platform_;
};

TEST_F(ExtLog, RecordColumnsAndDuplicate) {
  state_.settings = ContestSettings{0, 12, "AB"};
  Add({.call = "DL1XYZ",
       .band = "20",
       .mode = "CW",
       .rcvd = "7",
       .region = "CD",
       .day = k20240504At130720,
       .prefix = "DL",
       .sent = "015"});
  Add({.call = "DL1XYZ",
       .band = "20",
       .mode = "CW",
       .rcvd = "9",
       .region = "CD",
       .day = k20240504At130720 + 3 / 1440.0,
       .prefix = "DL",
       .sent = "016"});
  WriteExtLog(state_, platform_, "ABC");
  const std::string first =
      "2024-05-04 1307 20   CW     599 015 ABC DL1XYZ       599 07        5 DL    \r\n";
  const std::string second =
      "2024-05-04 1310 20   CW     599 016 ABC DL1XYZ       599 09        0 \r\n";
  EXPECT_EQ(platform_.written, kHeaderLine + first + second);
  EXPECT_EQ(first.size(), 77u);
  EXPECT_EQ(first.substr(28, 3) + first.substr(36, 3) + first.substr(53, 3), "599ABC599");
  EXPECT_EQ(first.substr(65, 4) + "|" + first.substr(69, 6), "  5 |DL    ");
  EXPECT_EQ(Entries(state_.log).at(0).m_strRcvd, "07");
  EXPECT_EQ(Entries(state_.log).at(1).m_strRcvd, "09");  // duplicates are normalised too
  EXPECT_EQ(platform_.created, std::vector<std::string>{"ExtLog.txt"});
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(ExtLog, SingleRecordsMatchPrintf) {
  const std::string long_text(10000, 'L');
  const char* L = long_text.c_str();
  struct Case {
    const char* name;
    QsoFields fields;
    const char* argument;
  };
  const Case cases[] = {
      {"null time", {.status = kDateTimeNull, .prefix = "OE"}, "X"},
      {"invalid time", {.status = kDateTimeInvalid}, "X"},
      {"null argument", {.prefix = "OE"}, nullptr},
      {"13-byte call", {.call = "Q1ABCDEFGHIJK"}, "X"},
      {"empty prefix mark", {.prefix = ""}, "X"},
      {"line feed inside texts", {.call = "A\nB", .rcvd = "\n", .prefix = "P\r\n"}, "a\nb"},
      {"lone CR stays", {.call = "A\rB"}, "\r"},
      {"long texts", {.call = L, .band = L, .mode = L, .rcvd = L, .prefix = L, .sent = L}, L},
      {"high bytes", {.call = "\xC4\xFF", .rcvd = "\xE9"}, "\xA0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state_ = ContestState{};
    Add(c.fields);
    WriteExtLog(state_, platform_, c.argument);
    // Own number 0: every one of these exchanges has the number 0 or starts with a letter.
    EXPECT_EQ(platform_.written,
              kHeaderLine + PrintfRecord(Entries(state_.log).at(0), c.argument, 1, true));
  }
}

TEST_F(ExtLog, DupesAndMarksOverTheWholePass) {
  Add({.call = "A", .band = "20", .rcvd = "5", .prefix = "P1"});
  Add({.call = "B", .band = "20", .rcvd = "05", .prefix = "P2"});  // same multiplier
  Add({.call = "A", .band = "20", .rcvd = "6", .day = kDay + 1});  // duplicate of the first
  Add({.call = "C", .band = "40", .rcvd = "5", .prefix = "P3"});   // other band: new
  Add({.call = "B20X", .band = "20", .mode = "A", .rcvd = "1", .prefix = "P4"});
  Add({.call = "X", .band = "20", .mode = "A20B", .rcvd = "2", .prefix = "P5"});
  // Texts with "-" in them: one dupe key and one multiplier key over two bands.
  Add({.call = "Y", .band = "20-CW", .mode = "X", .rcvd = "1-2", .prefix = "P6"});
  Add({.call = "Y", .band = "20", .mode = "CW-X", .rcvd = "1-2", .prefix = "P7"});
  Add({.call = "Z", .band = "20", .mode = "SSB", .rcvd = "CW-1-2", .prefix = "P8"});
  WriteExtLog(state_, platform_, "S");
  const int points[] = {3, 3, 0, 3, 3, 3, 3, 0, 1};
  const bool marks[] = {true, false, false, true, true, true, true, false, false};
  std::string expected = kHeaderLine;
  for (std::size_t i = 0; i < state_.log.size(); ++i)
    expected += PrintfRecord(Entries(state_.log).at(i), "S", points[i], marks[i]);
  EXPECT_EQ(platform_.written, expected);
}

// After a removal the first entry of a group in log order is the one that scores, in both
// passes, however the entries came and went.
TEST_F(ExtLog, GroupLeaderFollowsLogOrderAfterRemoval) {
  Add({.rcvd = "5", .prefix = "P1"});
  Add({.rcvd = "A", .day = kDay + 1, .prefix = "P2"});
  state_.log.Remove(Qso({}));
  Add({.rcvd = "5", .prefix = "P1"});  // back, now behind its duplicate
  std::string summary;
  EXPECT_EQ(CheckedSummary(state_, &summary), 1);       // the letter scores 1, one multiplier
  EXPECT_EQ(Entries(state_.log).at(1).m_strRcvd, "5");  // the duplicate was left alone
  WriteExtLog(state_, platform_, "S");  // the stored 0A has the own number 0: 1 point
  EXPECT_EQ(platform_.written, kHeaderLine + PrintfRecord(Entries(state_.log).at(0), "S", 1, true) +
                                   PrintfRecord(Entries(state_.log).at(1), "S", 0, false));
}

TEST_F(ExtLog, SecondRunRescoresNormalisedLetter) {
  state_.settings = ContestSettings{0, 12, "AB"};
  Add({.rcvd = "A", .region = "CD"});
  WriteExtLog(state_, platform_, "");
  const std::string first = platform_.written;
  WriteExtLog(state_, platform_, "");
  EXPECT_EQ(first, kHeaderLine + PrintfRecord(Entries(state_.log).at(0), "", 1, true));
  EXPECT_EQ(platform_.written, kHeaderLine + PrintfRecord(Entries(state_.log).at(0), "", 5, true));
  EXPECT_EQ(Entries(state_.log).at(0).m_strRcvd, "0A");
}

TEST_F(ExtLog, CreationFailureWritesAndNormalisesNothing) {
  Add({.rcvd = "7"});
  platform_.create_fails = true;
  WriteExtLog(state_, platform_, "X");
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].owner, MessageOwner::kNone);
  EXPECT_EQ(platform_.messages[0].text, "Error creating ExtLog.txt");
  EXPECT_EQ(platform_.messages[0].caption, "Error");
  EXPECT_EQ(Entries(state_.log).at(0).m_strRcvd, "7");
}

TEST_F(ExtLog, WriteOrCloseFailureIsReported) {
  Add({.rcvd = "7"});
  for (FileBehaviour how : {FileBehaviour{true, false}, FileBehaviour{false, true}}) {
    platform_.messages.clear();
    platform_.output = how;
    WriteExtLog(state_, platform_, "X");
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].owner, MessageOwner::kNone);
    EXPECT_EQ(platform_.messages[0].text, "Error writing ExtLog.txt");
    EXPECT_EQ(platform_.messages[0].caption, "Error");
  }
}

// The real platform in a fresh working directory; message boxes are still recorded.
class ExtLogOnDisk : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    platform_.use_disk = true;
    state_.log.Add(Qso({.rcvd = "7"}));
  }
  void ExpectOneMessage(const char* text) {
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, text);
    EXPECT_EQ(platform_.messages[0].caption, "Error");
  }
  ContestState state_;
  FakePlatform platform_;
};

TEST_F(ExtLogOnDisk, EmptyLogGivesHeaderOnlyAndReplacesOldContent) {
  WriteAll("ExtLog.txt", std::string(500, 'x'));
  state_.log.Clear();
  WriteExtLog(state_, platform_, "X");
  EXPECT_EQ(ReadAll("ExtLog.txt"), kHeaderLine);
  EXPECT_EQ(ReadAll("ExtLog.txt").size(), 77u);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(ExtLogOnDisk, DirectoryInTheWay) {
  std::filesystem::create_directory("ExtLog.txt");
  WriteExtLog(state_, platform_, "X");
  ExpectOneMessage("Error creating ExtLog.txt");
  EXPECT_EQ(Entries(state_.log).at(0).m_strRcvd, "7");
}

TEST_F(ExtLogOnDisk, ReadOnlyFile) {
  WriteAll("ExtLog.txt", "old");
  ASSERT_EQ(chmod("ExtLog.txt", 0444), 0);
  auto refused = [this] {
    WriteExtLog(state_, platform_, "X");
    return platform_.messages.size() == 1 &&
           platform_.messages[0].text == "Error creating ExtLog.txt" &&
           Entries(state_.log).at(0).m_strRcvd == "7" && ReadAll("ExtLog.txt") == "old";
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(refused());
    return;
  }
  // Root writes read-only files anyway: check as an ordinary user in a child process.
  // The file belongs to that user, so only its mode keeps the writer out.
  ASSERT_EQ(chmod(".", 0777), 0);
  ASSERT_EQ(chown("ExtLog.txt", 65534, 65534), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && refused() ? 0 : 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(ExtLogOnDisk, FullDisk) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  ASSERT_EQ(symlink("/dev/full", "ExtLog.txt"), 0);
  WriteExtLog(state_, platform_, "X");
  ExpectOneMessage("Error writing ExtLog.txt");
}

}  // namespace
}  // namespace kevo::test
