// The journal on disk and the state it gives back: escapes that keep a datagram on one line, a
// last line cut short by a crash, and a restart that rebuilds the same score.
#include "tools/live/keeping/journal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/replay/plugin_session.h"
#include "tools/live/keeping/live_engine.h"

namespace kevo::live {
namespace {

namespace fs = std::filesystem;

class JournalTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() /
            ("kevo-live-journal-" +
             std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove(path_);
  }
  void TearDown() override { fs::remove(path_); }

  void WriteRaw(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string ReadRaw() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path path_;
};

TEST_F(JournalTest, DatagramsComeBackByteForByte) {
  const std::vector<std::string> datagrams = {
      "<contactinfo>\r\n  <call>DL1AA</call>\n</contactinfo>",
      "back\\slash \"quoted\" \t tab",
      "\xC3\xA4 and \xE4",
  };
  {
    Journal journal;
    JournalContents contents;
    std::string error;
    ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
    EXPECT_TRUE(contents.datagrams.empty());
    ASSERT_TRUE(journal.Append({datagrams[0]}));
    ASSERT_TRUE(journal.Append({datagrams[1], datagrams[2]}));
  }
  std::string raw = ReadRaw();
  EXPECT_EQ(raw.rfind(JournalHeader() + "\n", 0), 0u);  // a new journal says what it is
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 4);
  Journal again;
  JournalContents contents;
  std::string error;
  ASSERT_TRUE(again.Open(path_, contents, error)) << error;
  EXPECT_EQ(contents.datagrams, datagrams);
  EXPECT_TRUE(contents.warnings.empty());
}

TEST_F(JournalTest, CutShortLastLineIsReadUpToItWithAWarning) {
  WriteRaw(JournalLine("<one/>") + "\n" + JournalLine("<two/>") + "\n" + "<contactinfo><ca");
  Journal journal;
  JournalContents contents;
  std::string error;
  ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
  EXPECT_EQ(contents.datagrams, (std::vector<std::string>{"<one/>", "<two/>"}));
  ASSERT_EQ(contents.warnings.size(), 1u);
  EXPECT_NE(contents.warnings[0].find(":3: the last line was cut short"), std::string::npos)
      << contents.warnings[0];
  // The next datagram starts a line of its own.
  ASSERT_TRUE(journal.Append({"<three/>"}));
  EXPECT_EQ(ReadRaw(), "<one/>\n<two/>\n<three/>\n");
}

TEST_F(JournalTest, UnreadableLineIsLeftOutWithAWarning) {
  WriteRaw("<one/>\nbad \\q escape\n<two/>\n");
  Journal journal;
  JournalContents contents;
  std::string error;
  ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
  EXPECT_EQ(contents.datagrams, (std::vector<std::string>{"<one/>", "<two/>"}));
  ASSERT_EQ(contents.warnings.size(), 1u);
  EXPECT_NE(contents.warnings[0].find(":2: not a journal line"), std::string::npos);
}

std::string Datagram(const std::string& root, const std::string& id, const std::string& call,
                     const std::string& band, const std::string& exchange, int minute) {
  char time[32];
  std::snprintf(time, sizeof time, "2026-03-14 %02d:%02d:00", minute / 60, minute % 60);
  return "<" + root + "><ID>" + id + "</ID><call>" + call + "</call><timestamp>" + time +
         "</timestamp><band>" + band + "</band><mode>CW</mode><exchange1>" + exchange +
         "</exchange1></" + root + ">";
}

TEST_F(JournalTest, RestartFromTheJournalGivesTheSameState) {
  const std::vector<std::string> datagrams = {
      Datagram("contactinfo", "1", "DL1AA", "14", "5", 0),
      Datagram("contactinfo", "2", "OK1BB", "7", "A", 1),  // a one-letter exchange
      "<contactinfo><call>broken",
      Datagram("contactinfo", "2", "OK1BB", "7", "A", 1),
      Datagram("contactreplace", "2", "OK1BB", "7", "B", 1),
      Datagram("contactinfo", "3", "SP3CC", "3.5", "9", 2),
      Datagram("contactdelete", "1", "DL1AA", "", "", 0),
      Datagram("contactinfo", "4", "SP3CC", "3.5", "9", 3),
  };
  host::LoadedPlugin plugin;
  std::string error;
  ASSERT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin, error));
  host::HostSettings settings{0, 12, "W"};
  std::shared_ptr<const LiveSnapshot> before;
  {
    host::HostSession session(plugin.entries);
    session.Reset(settings);
    Journal journal;
    JournalContents contents;
    ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
    LiveEngine engine(session, &journal, {}, {});
    // In two batches, as the intake hands them over.
    engine.Receive({datagrams.begin(), datagrams.begin() + 3});
    engine.Receive({datagrams.begin() + 3, datagrams.end()});
    before = engine.Snapshot(false);
  }
  EXPECT_EQ(before->counters.rejected.at("not well-formed XML"), 1u);
  EXPECT_EQ(before->counters.repeats, 1u);
  host::HostSession session(plugin.entries);
  session.Reset(settings);
  Journal journal;
  JournalContents contents;
  ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
  EXPECT_EQ(contents.datagrams.size(), datagrams.size() - 1);  // the broken one was never kept
  LiveEngine engine(session, &journal, {}, {});
  for (const std::string& datagram : contents.datagrams) engine.Replay(datagram);
  std::shared_ptr<const LiveSnapshot> after = engine.Snapshot(false);
  EXPECT_EQ(after->summary, before->summary);
  EXPECT_EQ(after->score, before->score);
  EXPECT_EQ(after->contacts, 3u);
  EXPECT_EQ(after->counters.from_journal, datagrams.size() - 1);
  // The live score chart ends at the library's score, not at the report's empty default.
  std::shared_ptr<const LiveSnapshot> drawn = engine.Snapshot(true);
  ASSERT_TRUE(drawn->charts);
  EXPECT_NE(drawn->charts->find("ends at " + std::to_string(drawn->score)), std::string::npos);
  EXPECT_NE(drawn->score, 0);
}

}  // namespace
}  // namespace kevo::live
