#include "contest/exchange_list.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "contest/contest_state.h"
#include "test_support.h"

namespace kevo::test {
namespace {

struct LineCase {
  const char* name;
  std::string file;
  ListContent expected;
};

TEST(ExchangeListFile, LineRules) {
  const std::string long_value(100000, 'v');
  const LineCase cases[] = {
      {"trim and skip", "Q1ABC=12\n  Q2XYZ =  07  \nQ3AA\n", {{"Q1ABC", "12"}, {"Q2XYZ", "07"}}},
      {"leading equals vs empty key", "=12\n =13\n", {{"", "13"}}},
      {"value keeps equals, empty value", "K=X=Y\nL=\n", {{"K", "X=Y"}, {"L", ""}}},
      {"last wins, case counts", "A=1\nA=2\na=1\n", {{"A", "2"}, {"a", "1"}}},
      {"CR LF ends", "A=1\r\nB=2\r\n", {{"A", "1"}, {"B", "2"}}},
      {"last line without end", "A=1\nB=2", {{"A", "1"}, {"B", "2"}}},
      {"0x1A ends the file",
       "A=1\n\x1A"
       "B=2\n",
       {{"A", "1"}}},
      {"0x1A inside a line", "A=1\nB\x1A=2\n", {{"A", "1"}}},
      {"0x1A after a value", "A=1\x1A\nB=2", {{"A", "1"}}},
      {"blank lines", "\n   \n\t\r\n\r\n", {}},
      {"no comment syntax", "#Q1=5\n", {{"#Q1", "5"}}},
      {"BOM is part of the key", "\xEF\xBB\xBFQ1=5\n", {{"\xEF\xBB\xBFQ1", "5"}}},
      {"lone CR is a byte", "A=1\rB=2\n", {{"A", "1\rB=2"}}},
      {"CR inside key", "A\rB=1\n", {{"A\rB", "1"}}},
      {"CR before EOF trimmed", "A=1\r", {{"A", "1"}}},
      {"all six blanks", "\x0b A\x0c = \t1\x0b\r\n", {{"A", "1"}}},
      {"high bytes are not blanks", "\xA0K=\xA0\n", {{"\xA0K", "\xA0"}}},
      {"inner blanks stay", "A B = 1 2\n", {{"A B", "1 2"}}},
      {"long line", "K=" + long_value + "\nL=1\n", {{"K", long_value}, {"L", "1"}}},
  };
  // Pieces of 1 and 3 bytes put line ends and CR LF pairs across read boundaries.
  for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
    for (const LineCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", chunk " + std::to_string(chunk));
      FakeInputFile file(c.file, chunk, static_cast<std::size_t>(-1));
      ExchangeList list;
      EXPECT_TRUE(ReadExchangeList(file, &list));
      ExpectExchangeList(list, c.expected);
    }
  }
}

TEST(ExchangeListFile, ReadErrorKeepsLinesReadSoFar) {
  FakePlatform platform;
  platform.files["RADL.lst"] = "A=1\nB=2\nC=3\n";
  platform.read_fail_after = 8;  // just after "B=2\n"
  ContestState state;
  state.log.Add(Qso({}));
  ResetStatistics(state, platform, 0, 5, "AB");
  ExpectExchangeList(state.exchanges, {{"A", "1"}, {"B", "2"}});
  EXPECT_TRUE(state.log.empty());
  EXPECT_EQ(state.settings.own_number, 5);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(ExchangeListFile, FallsBackToPluginsOnlyWhenFirstWontOpen) {
  FakePlatform platform;
  platform.files["Plugins/RADL.lst"] = "P=1\n";
  ExchangeList list;
  EXPECT_TRUE(LoadExchangeList(platform, &list));
  ExpectExchangeList(list, {{"P", "1"}});
  EXPECT_EQ(platform.opened, (std::vector<std::string>{"RADL.lst", "Plugins/RADL.lst"}));

  platform.files["RADL.lst"] = "";  // an empty first file still wins
  platform.opened.clear();
  list.Clear();
  EXPECT_TRUE(LoadExchangeList(platform, &list));
  ExpectExchangeList(list, {});
  EXPECT_EQ(platform.opened, std::vector<std::string>{"RADL.lst"});
}

// The same rules on real files in a fresh working directory.
class ExchangeListOnDisk : public TempDirTest {
 protected:
  void Reset(int32_t flag = 0, int32_t number = 0, const char* region = nullptr) {
    ResetStatistics(state_, SystemPlatform(), flag, number, region);
  }
  void WritePlugins(const std::string& bytes) {
    std::filesystem::create_directory("Plugins");
    WriteAll("Plugins/RADL.lst", bytes);
  }
  ContestState state_;
};

TEST_F(ExchangeListOnDisk, FirstFileWinsOverPlugins) {
  WriteAll("RADL.lst", "A=1\n");
  WritePlugins("B=2\n");
  Reset();
  ExpectExchangeList(state_.exchanges, {{"A", "1"}});
}

TEST_F(ExchangeListOnDisk, PluginsReadWhenFirstMissing) {
  WritePlugins("B=2\r\n");
  Reset();
  ExpectExchangeList(state_.exchanges, {{"B", "2"}});
}

TEST_F(ExchangeListOnDisk, NoFileLeavesListEmpty) {
  state_.exchanges.Set("OLD", "1");
  Reset();
  ExpectExchangeList(state_.exchanges, {});
}

TEST_F(ExchangeListOnDisk, DirectoryNamedRadlFallsThrough) {
  std::filesystem::create_directory("RADL.lst");
  WritePlugins("B=2\n");
  Reset();
  ExpectExchangeList(state_.exchanges, {{"B", "2"}});
}

TEST_F(ExchangeListOnDisk, FifoWithoutWriterNeitherBlocksNorCounts) {
  ASSERT_EQ(mkfifo("RADL.lst", 0644), 0);
  WritePlugins("B=2\n");
  Reset();
  ExpectExchangeList(state_.exchanges, {{"B", "2"}});
}

TEST_F(ExchangeListOnDisk, SecondResetTakesOnlyTheNewContent) {
  WriteAll("RADL.lst", "A=1\nB=2\n");
  Reset();
  WriteAll("RADL.lst", "B=3\nC=4\n");
  Reset();
  ExpectExchangeList(state_.exchanges, {{"B", "3"}, {"C", "4"}});
}

TEST_F(ExchangeListOnDisk, ResetReplacesSettingsAndEmptiesLog) {
  state_.log.Add(Qso({}));
  Reset(1, 12, "AB");
  EXPECT_EQ(state_.settings.rate_suppression, 1);
  EXPECT_EQ(state_.settings.own_number, 12);
  EXPECT_EQ(state_.settings.own_region, "AB");
  EXPECT_TRUE(state_.log.empty());
  EXPECT_TRUE(state_.log.bands().empty());
  Reset(0, -3, nullptr);
  EXPECT_EQ(state_.settings.rate_suppression, 0);
  EXPECT_EQ(state_.settings.own_number, -3);
  EXPECT_EQ(state_.settings.own_region, "");
}

}  // namespace
}  // namespace kevo::test
