// The journal's first line, and a file that ends in half a line: what is read, what is
// refused and left as it was, and what the file holds after a write that did not fit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/host/plugin_binding.h"
#include "tools/live/keeping/journal.h"
#include "tools/live/keeping/live_engine.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace kevo::live {
namespace {

namespace fs = std::filesystem;

const std::string kDatagram = "<contactinfo><call>DL1AA</call></contactinfo>";

class JournalFileTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() /
            ("kevo-live-header-" +
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

TEST(JournalHeaderTest, FirstLines) {
  struct Case {
    std::string line;
    bool is_header;
    int version;
  };
  const Case cases[] = {
      {JournalHeader(), true, kJournalFormat},
      {"# kevo-live journal, format 2", true, 2},
      {"# kevo-live journal, format ", true, 0},
      {"# kevo-live journal, format x1", true, 0},
      {"# kevo-live journal", false, 0},
      {"<contactinfo></contactinfo>", false, 0},
      {"", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    HeaderCheck check = CheckHeader(c.line);
    EXPECT_EQ(check.is_header, c.is_header);
    EXPECT_EQ(check.version, c.version);
  }
}

TEST_F(JournalFileTest, WhatOpensAndWhatIsLeftAlone) {
  const std::string header = JournalHeader() + "\n";
  const std::string line = JournalLine(kDatagram) + "\n";
  struct Case {
    const char* name;
    std::string before;
    bool opens;
    std::size_t datagrams;
    std::string after;    // the file after opening; unchanged when refused
    const char* message;  // a piece of the error when refused
  };
  const Case cases[] = {
      {"empty", "", true, 0, header, ""},
      {"only blank lines", "\n\n", true, 0, "\n\n" + header, ""},
      {"header only", header, true, 0, header, ""},
      {"header cut short", header.substr(0, 10), true, 0, header, ""},
      {"with header", header + line + line, true, 2, header + line + line, ""},
      {"old, no header", line + line, true, 2, line + line, ""},
      {"old, CR LF", JournalLine(kDatagram) + "\r\n", true, 1, JournalLine(kDatagram) + "\r\n", ""},
      {"cut-short datagram", header + line + "<contactinfo><ca", true, 1, header + line, ""},
      {"ADIF with a header", "Log\n<EOH>\n<CALL:5>DL1AA <EOR>\n", false, 0, "", "not a kevo-live"},
      {"ADIF records only", "<CALL:5>DL1AA <EOR>\n", false, 0, "", "not a kevo-live"},
      {"Cabrillo", "START-OF-LOG: 3.0\nCALLSIGN: Q1X\n", false, 0, "", "not a kevo-live"},
      {"no line end at all", "<CALL:5>DL1AA <EOR>", false, 0, "", "without a line end"},
      {"newer format", "# kevo-live journal, format 9\n" + line, false, 0, "", "format 9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(path_);
    WriteRaw(c.before);
    std::string error;
    JournalContents contents;
    {
      Journal journal;
      EXPECT_EQ(journal.Open(path_, contents, error), c.opens) << error;
    }
    if (c.opens) {
      EXPECT_EQ(contents.datagrams.size(), c.datagrams);
      EXPECT_EQ(ReadRaw(), c.after);
    } else {
      EXPECT_EQ(ReadRaw(), c.before);  // left exactly as it was
      EXPECT_NE(error.find(c.message), std::string::npos) << error;
      EXPECT_NE(error.find(path_.string()), std::string::npos) << error;
    }
  }
}

TEST_F(JournalFileTest, ASecondOpenIsRefusedWhileTheFirstHoldsTheLock) {
  Journal first;
  JournalContents contents;
  std::string error;
  ASSERT_TRUE(first.Open(path_, contents, error)) << error;
  Journal second;
  EXPECT_FALSE(second.Open(path_, contents, error));
  EXPECT_NE(error.find("in use by another kevo-live"), std::string::npos) << error;
}

TEST_F(JournalFileTest, AHalfLineLeftByOthersIsCutOffBeforeTheNextWrite) {
  Journal journal;
  JournalContents contents;
  std::string error;
  ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
  ASSERT_EQ(journal.Append({"<one/>"}), 1u);
  std::ofstream(path_, std::ios::binary | std::ios::app) << "<two";  // a write cut short
  ASSERT_EQ(journal.Append({"<three/>", "<four/>"}), 2u);
  EXPECT_EQ(ReadRaw(), JournalHeader() + "\n<one/>\n<three/>\n<four/>\n");
}

std::string Contact(int n) {
  return "<contactinfo><ID>" + std::to_string(n) + "</ID><call>DL" + std::to_string(n) +
         "AA</call><timestamp>2026-03-14 10:" + (n < 10 ? "0" : "") + std::to_string(n) +
         ":00</timestamp><band>14</band><mode>CW</mode><exchange1>" + std::to_string(10 + n) +
         "</exchange1></contactinfo>";
}

#ifndef _WIN32
// A file-size limit stands in for a full disk: the write stops part-way, as on a full one.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(JournalFileTest, AWriteThatDoesNotFitKeepsItsWholeLinesOnly) {
  Journal journal;
  JournalContents contents;
  std::string error;
  ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
  const std::string header = JournalHeader() + "\n";
  const std::vector<std::string> lines = {"<a>1</a>", "<b>22</b>", "<c>333</c>", "<d>4444</d>"};
  std::size_t written = 0;
  {
    // Room for the header, the first line and half the second.
    FileSizeLimit limit(header.size() + lines[0].size() + 1 + 4);
    written = journal.Append(lines);
    EXPECT_FALSE(journal.last_error().empty());
    EXPECT_EQ(journal.Append({"<e/>"}), 0u);  // still no room; nothing half written either
  }
  EXPECT_EQ(written, 1u);
  EXPECT_EQ(ReadRaw(), header + lines[0] + "\n");
  // Room again: the rest goes on after the last whole line.
  ASSERT_EQ(journal.Append({lines.begin() + 1, lines.end()}), 3u);
  EXPECT_EQ(ReadRaw(), header + "<a>1</a>\n<b>22</b>\n<c>333</c>\n<d>4444</d>\n");
}

// What the page shows as kept is what the journal holds: datagrams the disk did not take
// wait, unscored, and are written and scored in their order once it does.
TEST_F(JournalFileTest, DatagramsWaitForAFullDiskAndCountOnlyOnceWritten) {
  host::LoadedPlugin plugin;
  std::string error;
  ASSERT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin, error));
  host::HostSession session(plugin.entries);
  session.Reset({0, 12, "W"});
  Journal journal;
  JournalContents contents;
  ASSERT_TRUE(journal.Open(path_, contents, error)) << error;
  std::vector<std::string> logged;
  LiveEngine engine(session, &journal, {},
                    [&](const std::string& line) { logged.push_back(line); });
  engine.Receive({Contact(1), Contact(2)});
  std::uintmax_t room = fs::file_size(path_) + JournalLine(Contact(3)).size() + 1;
  {
    FileSizeLimit limit(room);
    engine.Receive({Contact(3), Contact(4), Contact(5)});
    engine.Receive({Contact(6)});
    EXPECT_TRUE(engine.Tick());
    std::shared_ptr<const LiveSnapshot> full = engine.Snapshot(false);
    EXPECT_EQ(full->contacts, 3u);
    EXPECT_EQ(full->counters.journal_waiting, 3u);
    EXPECT_FALSE(full->journal_problem.empty());
  }
  ASSERT_EQ(logged.size(), 1u);  // told once, not per datagram or per try
  EXPECT_NE(logged[0].find(path_.string()), std::string::npos) << logged[0];
  EXPECT_FALSE(engine.Tick());
  std::shared_ptr<const LiveSnapshot> after = engine.Snapshot(false);
  EXPECT_EQ(after->contacts, 6u);
  EXPECT_EQ(after->counters.journal_waiting, 0u);
  EXPECT_TRUE(after->journal_problem.empty());
  std::string expected = JournalHeader() + "\n";
  for (int n = 1; n <= 6; ++n) expected += JournalLine(Contact(n)) + "\n";
  EXPECT_EQ(ReadRaw(), expected);
}
#endif

// After an edit the library's rates are measured from the edited contact's time: the page
// names it until the next new contact.
TEST(LiveEngineRatesTest, AnEditIsNamedUntilTheNextNewContact) {
  host::LoadedPlugin plugin;
  std::string error;
  ASSERT_TRUE(host::LoadPlugin(KEVO_PLUGIN_PATH, host::NameStyle::kPlain, plugin, error));
  host::HostSession session(plugin.entries);
  session.Reset({0, 12, "W"});
  LiveEngine engine(session, nullptr, {}, {});
  std::string edit = Contact(1);
  edit.replace(0, 13, "<contactreplace>");
  edit.replace(edit.size() - 14, 14, "</contactreplace>");
  edit.replace(edit.find("<exchange1>11"), 13, "<exchange1>44");
  struct Step {
    std::string datagram;
    std::string rates_from_edit;
  };
  const Step steps[] = {
      {Contact(1), ""},
      {Contact(2), ""},
      {edit, "2026-03-14 10:01:00"},
      {"<contactdelete><ID>99</ID><call>DL9ZZ</call><timestamp>2026-03-14 10:09:00</timestamp>"
       "</contactdelete>",
       "2026-03-14 10:01:00"},
      {Contact(3), ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.datagram);
    engine.Receive({step.datagram});
    EXPECT_EQ(engine.Snapshot(false)->rates_from_edit, step.rates_from_edit);
  }
  EXPECT_EQ(engine.counters().replaced, 1u);
  EXPECT_EQ(engine.counters().unknown_deletes, 1u);
  EXPECT_EQ(engine.counters().repeats, 0u);
}

}  // namespace
}  // namespace kevo::live
