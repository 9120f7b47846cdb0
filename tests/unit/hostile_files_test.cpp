// Files an operator's disk can hold in place of the ones the plug-in reads and writes: a huge
// exchange list, one that cannot be read or never ends, an extended log that cannot be
// created, and a disk that fills while it is written. None may hang the host, crash it, or
// pass for a success. Cases that could hang or that change process limits run in a child.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "export/ext_log.h"
#include "test_support.h"

namespace kevo::test {
namespace {

constexpr uid_t kNobody = 65534;

// Runs `body` in a child process with `seconds` to finish, as the user nobody when asked;
// true when it finished in time and `body` returned true.
bool PassesInChild(int seconds, const std::function<bool()>& body, bool as_nobody = false) {
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    alarm(static_cast<unsigned>(seconds));
    if (as_nobody && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class HostileFiles : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    platform_.use_disk = true;
    std::filesystem::create_directory("Plugins");
    WriteAll("Plugins/RADL.lst", "P=1\n");
  }
  // The reset falls back to Plugins/RADL.lst when RADL.lst can't be opened.
  bool ResetReadsTheFallback() {
    ResetStatistics(state_, platform_, 0, 12, "AB");
    const std::string* value = state_.exchanges.Find("P");
    return state_.exchanges.size() == 1 && value != nullptr && *value == "1";
  }
  void AddQsos(int count) {
    for (int i = 0; i < count; ++i) {
      CQsoEntry entry = Qso({.rcvd = "7", .prefix = "DL"});
      // append, not "Q" + std::string: GCC 12 warns falsely (-Wrestrict) on that at -O3.
      entry.m_strCall = std::string("Q").append(std::to_string(i)) + "ABC";
      state_.log.Add(entry);
    }
  }
  // The one message box the writer shows, and no entry was rewritten when nothing was written.
  bool ShowedOnly(const char* text) const {
    return platform_.messages.size() == 1 && platform_.messages[0].text == text &&
           platform_.messages[0].caption == "Error";
  }

  ContestState state_;
  FakePlatform platform_;
};

// Lines of several shapes up to `megabytes` in all; the count of distinct keys is returned.
std::size_t WriteLargeList(const std::string& path, std::size_t megabytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const std::string value(1000, 'v');
  std::size_t written = 0, keys = 0;
  const std::size_t limit = megabytes << 20;
  for (std::size_t i = 0; written < limit; ++i, ++keys) {
    // Mostly long lines, some short ones with CR LF, a blank line now and then. (append, not
    // "S" + std::string: GCC 12 warns falsely (-Wrestrict) on that at -O3.)
    std::string line = i % 4 == 0 ? std::string("S").append(std::to_string(i)) + " = " +
                                        std::to_string(i % 97) + "\r\n"
                                  : std::string("L").append(std::to_string(i)) + "=" + value + "\n";
    if (i % 1000 == 0) line += "   \n";
    written += std::fwrite(line.data(), 1, line.size(), file);
  }
  // A last line with no line end, and a huge one without "=" before it.
  std::string huge(2u << 20, 'h');
  huge += "\nLAST=end";
  std::fwrite(huge.data(), 1, huge.size(), file);
  std::fclose(file);
  return keys + 1;
}

// 20 MB by default; KEVO_HOSTILE_LIST_MB=200 checks the full 200 MB.
TEST_F(HostileFiles, HugeExchangeListReadsInOnePass) {
  const char* setting = std::getenv("KEVO_HOSTILE_LIST_MB");
  const std::size_t megabytes = setting ? std::strtoul(setting, nullptr, 10) : 20;
  const std::size_t keys = WriteLargeList("RADL.lst", megabytes);
  ASSERT_GT(keys, 0u);
  const auto start = std::chrono::steady_clock::now();
  ResetStatistics(state_, platform_, 0, 12, "AB");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(state_.exchanges.size(), keys);
  ASSERT_NE(state_.exchanges.Find("S0"), nullptr);
  EXPECT_EQ(*state_.exchanges.Find("S0"), "0");
  ASSERT_NE(state_.exchanges.Find("L1"), nullptr);
  EXPECT_EQ(state_.exchanges.Find("L1")->size(), 1000u);
  ASSERT_NE(state_.exchanges.Find("LAST"), nullptr);
  EXPECT_EQ(*state_.exchanges.Find("LAST"), "end");
  EXPECT_EQ(state_.exchanges.Find("P"), nullptr);  // the first file wins
  // A report, not a limit: the time depends on the machine and the build.
  std::printf("[ report ] %zu MB exchange list read in %.2f s (%.0f MB/s)\n", megabytes, seconds,
              megabytes / (seconds > 0 ? seconds : 1e-9));
  RecordProperty("seconds", std::to_string(seconds));
}

TEST_F(HostileFiles, UnreadableExchangeListFallsBack) {
  WriteAll("RADL.lst", "R=1\n");
  ASSERT_EQ(chmod("RADL.lst", 0), 0);
  if (geteuid() != 0) {
    EXPECT_TRUE(ResetReadsTheFallback());
    return;
  }
  // Permissions don't stop root: read as the user nobody, who may enter the folder.
  ASSERT_EQ(chmod(".", 0755), 0);
  EXPECT_TRUE(PassesInChild(
      20, [this] { return ResetReadsTheFallback(); }, true));
}

TEST_F(HostileFiles, EndlessDevicesAsExchangeListAreRefused) {
  for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
    if (access(device, R_OK) != 0) continue;
    SCOPED_TRACE(device);
    std::filesystem::remove("RADL.lst");
    ASSERT_EQ(symlink(device, "RADL.lst"), 0);
    // Reading /dev/zero would never end: the reset must refuse it, not try.
    EXPECT_TRUE(PassesInChild(20, [this] { return ResetReadsTheFallback(); }));
  }
}

TEST_F(HostileFiles, DanglingLinksAsExchangeListFallBack) {
  ASSERT_EQ(symlink("missing/RADL.lst", "RADL.lst"), 0);
  EXPECT_TRUE(ResetReadsTheFallback());
}

TEST_F(HostileFiles, ExtLogThatCannotBeCreated) {
  struct Case {
    const char* name;
    std::function<void()> prepare;
  } cases[] = {
      {"FIFO without a reader", [] { ASSERT_EQ(mkfifo("ExtLog.txt", 0644), 0); }},
      {"link into a missing folder", [] { ASSERT_EQ(symlink("missing/x.txt", "ExtLog.txt"), 0); }},
      {"link loop", [] { ASSERT_EQ(symlink("ExtLog.txt", "ExtLog.txt"), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove("ExtLog.txt");
    c.prepare();
    state_.log.Clear();
    AddQsos(1);
    platform_.messages.clear();
    EXPECT_TRUE(PassesInChild(20, [this] {
      WriteExtLog(state_, platform_, "X");
      return ShowedOnly("Error creating ExtLog.txt") && Entries(state_.log).at(0).m_strRcvd == "7";
    }));
  }
}

TEST_F(HostileFiles, ExtLogInReadOnlyWorkingDirectory) {
  AddQsos(3);
  auto refused = [this] {
    WriteExtLog(state_, platform_, "X");
    return ShowedOnly("Error creating ExtLog.txt") && Entries(state_.log).at(0).m_strRcvd == "7" &&
           !std::filesystem::exists("ExtLog.txt");
  };
  ASSERT_EQ(chmod(".", 0555), 0);
  // Root writes anywhere: check as the user nobody, who may enter but not write.
  bool ok = geteuid() != 0 ? refused() : PassesInChild(20, refused, true);
  chmod(".", 0755);
  EXPECT_TRUE(ok);
}

// The disk fills in the middle of the file: a file size limit makes every write past 64 KB
// fail, as a full disk does, while the first block has already reached the file.
TEST_F(HostileFiles, DiskFillsWhileExtLogIsWritten) {
  AddQsos(5000);  // about 400 KB of records
  EXPECT_TRUE(PassesInChild(60, [this] {
    signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    const rlim_t old_limit = limit.rlim_cur;
    limit.rlim_cur = 100 * 1024;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    WriteExtLog(state_, platform_, "X");
    const auto size = std::filesystem::file_size("ExtLog.txt");
    bool reported = ShowedOnly("Error writing ExtLog.txt") && size > 0 && size <= 100 * 1024;
    // The log itself is whole, and the next export, with room again, writes every record.
    limit.rlim_cur = old_limit;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    platform_.messages.clear();
    WriteExtLog(state_, platform_, "X");
    std::string bytes = ReadAll("ExtLog.txt");
    std::size_t lines = 0;
    for (char c : bytes) lines += c == '\n';
    return reported && platform_.messages.empty() && state_.log.size() == 5000 && lines == 5001;
  }));
}

}  // namespace
}  // namespace kevo::test
