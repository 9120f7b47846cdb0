// Shared pieces of the unit tests: a platform that serves files from memory and records message
// boxes, a fresh temporary working directory, and a compact way to spell a QSO.
#ifndef KEVO_TESTS_UNIT_TEST_SUPPORT_H_
#define KEVO_TESTS_UNIT_TEST_SUPPORT_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "contest/contest_state.h"
#include "platform/platform.h"
#include "summary_twins.h"

namespace kevo::test {

// Serves `data` in pieces of at most `chunk` bytes; after `fail_after` bytes reads fail.
class FakeInputFile : public InputFile {
 public:
  FakeInputFile(std::string data, std::size_t chunk, std::size_t fail_after)
      : data_(std::move(data)), chunk_(chunk), fail_after_(fail_after) {}
  long Read(char* buffer, std::size_t size) override {
    if (pos_ >= fail_after_) return -1;
    std::size_t count = std::min({size, chunk_, data_.size() - pos_, fail_after_ - pos_});
    std::copy_n(data_.data() + pos_, count, buffer);
    pos_ += count;
    return static_cast<long>(count);
  }

 private:
  std::string data_;
  std::size_t chunk_;
  std::size_t fail_after_;
  std::size_t pos_ = 0;
};

struct FileBehaviour {
  bool fail_write = false;
  bool fail_close = false;
};

class FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(std::string* sink, FileBehaviour behaviour) : sink_(sink), how_(behaviour) {}
  bool Write(const char* data, std::size_t size) override {
    if (how_.fail_write) return false;
    sink_->append(data, size);
    return true;
  }
  bool Close() override { return !how_.fail_close; }

 private:
  std::string* sink_;
  FileBehaviour how_;
};

struct ShownMessage {
  MessageOwner owner;
  std::string text;
  std::string caption;  // "<null>" for a null caption
};

// Files come from `files` (or from the real disk when `use_disk` is set); every message box
// is recorded instead of shown.
class FakePlatform : public Platform {
 public:
  void ShowMessage(MessageOwner owner, const char* text, const char* caption) override {
    messages.push_back({owner, text ? text : "<null>", caption ? caption : "<null>"});
  }
  std::unique_ptr<InputFile> OpenExclusiveForReading(const std::string& path) override {
    opened.push_back(path);
    if (use_disk) return SystemPlatform().OpenExclusiveForReading(path);
    auto found = files.find(path);
    if (found == files.end()) return nullptr;
    return std::make_unique<FakeInputFile>(found->second, read_chunk, read_fail_after);
  }
  std::unique_ptr<OutputFile> CreateSharedRead(const std::string& path) override {
    created.push_back(path);
    if (use_disk) return SystemPlatform().CreateSharedRead(path);
    if (create_fails) return nullptr;
    written.clear();
    return std::make_unique<FakeOutputFile>(&written, output);
  }
  std::string JoinPath(const std::string& folder, const std::string& file) const override {
    return SystemPlatform().JoinPath(folder, file);
  }

  bool use_disk = false;
  std::map<std::string, std::string> files;
  std::size_t read_chunk = 1u << 20;
  std::size_t read_fail_after = static_cast<std::size_t>(-1);
  bool create_fails = false;
  FileBehaviour output;
  std::string written;
  std::vector<std::string> opened;
  std::vector<std::string> created;
  std::vector<ShownMessage> messages;
};

// Runs each test in a fresh empty directory and goes back (and cleans up) afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kevo_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    old_cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_cwd_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  static std::string ReadAll(const std::string& path);
  static void WriteAll(const std::string& path, const std::string& bytes);

  std::filesystem::path dir_;
  std::filesystem::path old_cwd_;
};

inline std::string TempDirTest::ReadAll(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

inline void TempDirTest::WriteAll(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// A QSO spelled with designated initializers: Qso({.call = "Q1ABC", .rcvd = "12"}).
constexpr double kDay = 45000.5;  // 2023-03-15 12:00
struct QsoFields {
  const char* call = "Q1ABC";
  const char* band = "20";
  const char* mode = "CW";
  const char* rcvd = "";
  const char* region = "";
  double day = kDay;
  int32_t status = kDateTimeValid;
  const char* prefix = "";
  const char* sent = "";
};

// Each text is built, then moved in: GCC 12 at -O3 warns falsely (-Wrestrict) when an
// assignment from a short literal such as "" is inlined into its caller.
inline CQsoEntry Qso(const QsoFields& s) {
  CQsoEntry entry;
  entry.m_strCall = std::string(s.call);
  entry.m_strBand = std::string(s.band);
  entry.m_strMode = std::string(s.mode);
  entry.m_strRcvd = std::string(s.rcvd);
  entry.m_strRegion = std::string(s.region);
  entry.m_strPrefix = std::string(s.prefix);
  entry.m_strSent = std::string(s.sent);
  entry.m_time = MakeDateTime(s.day, s.status);
  return entry;
}

// The log's entries in log order, read as the scoring passes read them: slot by slot, the
// removed ones skipped.
inline std::vector<CQsoEntry> Entries(const QsoLog& log) {
  std::vector<CQsoEntry> entries;
  for (std::size_t slot = 0; slot < log.slot_count(); ++slot) {
    if (log.keys(slot).live) entries.push_back(log.entry(slot));
  }
  return entries;
}

// The content an exchange list should hold: every key with its value.
using ListContent = std::map<std::string, std::string>;

inline void ExpectExchangeList(const ExchangeList& list, const ListContent& expected) {
  EXPECT_EQ(list.size(), expected.size());
  for (const auto& [key, value] : expected) {
    const std::string* found = list.Find(key);
    ASSERT_NE(found, nullptr) << "missing key [" << key << "]";
    EXPECT_EQ(*found, value) << "key [" << key << "]";
  }
}

// The day count `minutes` before `day`.
inline double MinutesBefore(double day, double minutes) { return day - minutes / 1440.0; }

// The library's summary, with the full walk over the same log run beside it: text, score and
// the log after the call must be the same.
inline int32_t CheckedSummary(ContestState& state, std::string* text) {
  std::string difference;
  const int32_t score = reference::SummaryBesideFullWalk(state, text, &difference);
  EXPECT_EQ(difference, "");
  return score;
}

}  // namespace kevo::test

#endif  // KEVO_TESTS_UNIT_TEST_SUPPORT_H_
