// Loads the built plug-in with dlopen, as a host does, and drives it only through its
// exported names.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "StatsKEVO.h"
#include "plugin/entry_table.h"

namespace {

struct EntryName {
  const char* plain;
  const char* decorated;
};

// The names come from the library's own table: the compiler's mangling of the C++ twins and
// the C bodies are the independent side, so a wrong name in the table still fails here.
#define KEVO_ITANIUM_NAME(plain, itanium, msvc) {#plain, itanium},
const EntryName kNames[] = {KEVO_ENTRY_TABLE(KEVO_ITANIUM_NAME)};
#undef KEVO_ITANIUM_NAME

void* Library() {
  static void* handle = dlopen(KEVO_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  return handle;
}

// One name scheme's view of the entries, one member per entry, named as the entry.
struct Api {
#define KEVO_API_MEMBER(plain, itanium, msvc) decltype(&::plain) plain;
  KEVO_ENTRY_TABLE(KEVO_API_MEMBER)
#undef KEVO_API_MEMBER
};

Api Resolve(bool decorated) {
  Api api{};
#define KEVO_RESOLVE(plain, itanium, msvc) \
  api.plain = reinterpret_cast<decltype(&::plain)>(dlsym(Library(), decorated ? itanium : #plain));
  KEVO_ENTRY_TABLE(KEVO_RESOLVE)
#undef KEVO_RESOLVE
  return api;
}

// Every defined symbol in the library's dynamic symbol table.
std::set<std::string> ExportedNames() {
  std::ifstream in(KEVO_PLUGIN_PATH, std::ios::binary);
  const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(image.data());
  const auto* sections = reinterpret_cast<const ElfW(Shdr)*>(image.data() + header->e_shoff);
  std::set<std::string> names;
  for (int s = 0; s < header->e_shnum; ++s) {
    if (sections[s].sh_type != SHT_DYNSYM) continue;
    const char* strings = image.data() + sections[sections[s].sh_link].sh_offset;
    const auto* symbols = reinterpret_cast<const ElfW(Sym)*>(image.data() + sections[s].sh_offset);
    for (std::size_t i = 1; i < sections[s].sh_size / sizeof(ElfW(Sym)); ++i) {
      if (symbols[i].st_shndx != SHN_UNDEF) names.insert(strings + symbols[i].st_name);
    }
  }
  return names;
}

// Collects what the library writes to a standard stream while it lives.
class StreamCapture {
 public:
  explicit StreamCapture(int fd) : fd_(fd), file_(std::tmpfile()) {
    std::fflush(nullptr);
    saved_ = dup(fd_);
    dup2(fileno(file_), fd_);
  }
  std::string Finish() {
    std::fflush(nullptr);
    dup2(saved_, fd_);
    close(saved_);
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(file_);
    return text;
  }

 private:
  int fd_;
  int saved_;
  FILE* file_;
};

class PluginBoundary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Library(), nullptr) << dlerror();
    char pattern[] = "/tmp/kevo_boundary_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    old_cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_cwd_);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_, old_cwd_;
};

const double kT = 45000.0 + 14.0 / 24;  // 2023-03-15 14:00

struct Report {
  const char* call;
  COleDateTime time;
  const char* mode;
  const char* sent;
  const char* rcvd;
  const char* prefix;
  const char* region;
  const char* band;
  bool null_time = false;
};

int32_t Send(decltype(&AddData0) fn, const Report& r) {
  return fn("p1", r.call, r.null_time ? nullptr : &r.time, nullptr, nullptr, nullptr, 7u, 8u,
            r.mode, "p10", nullptr, r.sent, r.rcvd, nullptr, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr, r.prefix, 24, 25, 26, 27.0, 28.0, nullptr, r.region,
            nullptr, r.band, "p33");
}

struct CheckAnswer {
  int32_t code;
  std::string hint, dupe;
  bool operator==(const CheckAnswer&) const = default;
};

CheckAnswer Check(const Api& api, const char* call, const char* mode, const char* prefix,
                  int32_t number, const char* band, const char* band2) {
  char hint[64] = "untouched", dupe[64] = "untouched";
  int32_t code =
      api.CheckCall0(call, 2u, 3u, mode, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, prefix, 15, number, 17, 18.0, 19.0, nullptr,
                     nullptr, nullptr, nullptr, nullptr, band, band2, hint, dupe);
  return {code, hint, dupe};
}

COleDateTime At(double minutes_before) { return {kT - minutes_before / 1440.0, 0}; }

struct Transcript {
  std::vector<int32_t> returns;
  std::vector<CheckAnswer> checks;
  std::string summary, summary_again;
  int32_t score = -1;
  std::string ext_log, command_result, output;
  bool operator==(const Transcript&) const = default;
};

// A host's whole session: reset, reports, a removal, checks, the summary and the extended log.
Transcript RunSession(const Api& api) {
  Transcript t;
  { std::ofstream("RADL.lst", std::ios::binary) << "Q9ZZ=33\r\nQ1ABC = 15 \r\n"; }
  StreamCapture out(1);
  t.returns.push_back(api.ResetStats0(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, 16, 12, 18, 19.0, 20.0, nullptr, "AB", nullptr));
  const Report reports[] = {
      {"Q1ABC", At(70), "CW", "001", "12", "DL", "AB", "20M"},
      {"Q2BB", At(30), "CW", "002", "7", "OE", "CD", "40M"},
      {"Q1ABC", At(20), "CW", "003", "12", "DL", "AB", "20M"},
      {"Q3CC", At(5), "SSB", "004", "5", "HA", "AB", "20M"},
      {"Q4DD", At(3), "CW", "005", "9", "SP", "CD", "15M"},
      {"Q1ABC", At(0), "SSB", "006", "12", "DL", "AB", "20M"},
      {"Q1ABC", At(70), "CW", "999", "99", "XX", "XX", "20M"},  // re-reported: ignored
  };
  for (const Report& r : reports) t.returns.push_back(Send(api.AddData0, r));
  t.returns.push_back(Send(api.RemoveData0, {"Q4DD", At(3), "CW", "", "other", "", "", "15M"}));
  t.checks.push_back(Check(api, "Q1ABC", "CW", "DL", 5, "20M", "20m"));
  t.checks.push_back(Check(api, "Q2BB", "SSB", "OE", 5, "40M", nullptr));
  t.checks.push_back(Check(api, "Q9ZZ", "CW", "XX", 5, "20M", nullptr));
  t.checks.push_back(Check(api, "Q5EE", "CW", "XX", 7, "40M", "80M"));
  t.checks.push_back(Check(api, "Q5EE", "CW", nullptr, 7, "40M", nullptr));
  t.summary = api.GetResult0(&t.score);
  t.checks.push_back(Check(api, "Q2BB", "SSB", "OE", 5, "40M", nullptr));
  t.command_result = api.RunCommand0(0, "ABC");
  t.summary_again = api.GetResult0(nullptr);
  t.output = out.Finish();
  std::ifstream in("ExtLog.txt", std::ios::binary);
  t.ext_log.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return t;
}

TEST_F(PluginBoundary, ExportsExactlyTheTwentyTwoNames) {
  std::set<std::string> expected;
  for (const EntryName& name : kNames) {
    expected.insert(name.plain);
    expected.insert(name.decorated);
    EXPECT_NE(dlsym(Library(), name.plain), nullptr) << name.plain;
    EXPECT_NE(dlsym(Library(), name.decorated), nullptr) << name.decorated;
  }
  EXPECT_EQ(ExportedNames(), expected);
  EXPECT_EQ(dlsym(Library(), "_ZN4kevo9CheckCallERKNS_12ContestStateERKNS_14CallCheckQueryEPcS6_"),
            nullptr);
}

TEST_F(PluginBoundary, SmallEntriesAnswerAlikeUnderBothNames) {
  for (bool decorated : {false, true}) {
    SCOPED_TRACE(decorated ? "decorated" : "plain");
    const Api api = Resolve(decorated);
    EXPECT_STREQ(api.GetSetName(0), "KEVO");
    EXPECT_STREQ(api.GetSetName(1), "");
    EXPECT_STREQ(api.GetSetName(-1), "");
    EXPECT_EQ(api.GetNumberOfSets(), 1);
    EXPECT_EQ(api.GetExchgCount0(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(api.IsValidExchg0("a", nullptr, "c", nullptr, 1, 2, 3), 0);
    EXPECT_EQ(api.RunCommand0(7, "x"),
              Resolve(false).RunCommand0(1, nullptr));  // one constant text
    EXPECT_STREQ(api.RunCommand0(-1, nullptr), "");
    EXPECT_FALSE(std::filesystem::exists("ExtLog.txt"));
    StreamCapture err(2);
    api.SetupSet0();
    EXPECT_EQ(err.Finish(), "[Message] No additional setup for this contest filter\n");
  }
}

TEST_F(PluginBoundary, WholeSessionAsAHost) {
  const Transcript plain = RunSession(Resolve(false));
  EXPECT_EQ(plain.returns, std::vector<int32_t>(9, 1));
  const std::vector<CheckAnswer> checks = {
      {0, "untouched", "Q1ABC: QSO BEFORE at 12:50"},
      {1, "7", "untouched"},
      {2, "33", "untouched"},
      {4, "untouched", "untouched"},
      {1, "untouched", "untouched"},
      {1, "07", "untouched"},  // the summary stored the received 7 as 07
  };
  EXPECT_EQ(plain.checks, checks);
  const std::string summary =
      "\tQSO\tPoints\tMults\r\n40M\t1\t5\t1\r\n20M\t3\t5\t2\r\n15M\t0\t0\t0\r\n"
      "Total\t4\t10\t3\r\n\r\n"
      "Hourly (10min) QSO rate:     3 (12) QSOs/hour\r\n"
      "Hourly (10min) pts rate:     9 (24) points/hour\r\n\r\n"
      "\r\nScore: 10*3 = 30 points\r\n";
  EXPECT_EQ(plain.summary, summary);
  EXPECT_EQ(plain.summary_again, summary);
  EXPECT_EQ(plain.score, 30);
  EXPECT_EQ(plain.command_result, "");
  EXPECT_EQ(plain.output, "");  // the library never writes to standard output
  EXPECT_EQ(plain.ext_log,
            "   DATE    TIME BAND MODE   Nr sent     CALL         Nr rcvd      Pts Mults\r\n"
            "2023-03-15 1250 20M  CW     599 001 ABC Q1ABC        599 12        1 DL    \r\n"
            "2023-03-15 1330 40M  CW     599 002 ABC Q2BB         599 07        5 OE    \r\n"
            "2023-03-15 1340 20M  CW     599 003 ABC Q1ABC        599 12        0 \r\n"
            "2023-03-15 1355 20M  SSB    599 004 ABC Q3CC         599 05        3 HA    \r\n"
            "2023-03-15 1400 20M  SSB    599 006 ABC Q1ABC        599 12        1 \r\n");
  // The C++ twins lead to the same code: the same session gives the same transcript.
  std::filesystem::remove("ExtLog.txt");
  EXPECT_TRUE(RunSession(Resolve(true)) == plain);
}

TEST_F(PluginBoundary, NullDateTimeKeepsTheContact) {
  const Api api = Resolve(false);
  api.ResetStats0(nullptr, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr,
                  nullptr, nullptr);
  Report r{"Q1ABC", {}, "CW", "001", "5", "DL", "X", "20M", true};
  EXPECT_EQ(Send(api.AddData0, r), 1);
  EXPECT_EQ(Send(api.AddData0, r), 1);  // the same null date-time: the same QSO
  int32_t score = -1;
  EXPECT_STREQ(api.GetResult0(&score),
               "\tQSO\tPoints\tMults\r\n20M\t1\t5\t1\r\nTotal\t1\t5\t1\r\n"
               "\r\nScore: 5*1 = 5 points\r\n");
  EXPECT_EQ(score, 5);
  EXPECT_EQ(Check(api, "Q1ABC", "CW", "DL", 0, "20M", nullptr),
            (CheckAnswer{0, "untouched", "Q1ABC: QSO BEFORE at "}));
  api.RunCommand0(0, nullptr);
  std::ifstream in("ExtLog.txt", std::ios::binary);
  std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(lines.substr(77),
            "  20M  CW     599 001 (null) Q1ABC        599 05        5 DL    \r\n");
  EXPECT_EQ(Send(api.RemoveData0, r), 1);
  EXPECT_STREQ(api.GetResult0(nullptr),
               "\tQSO\tPoints\tMults\r\n20M\t0\t0\t0\r\nTotal\t0\t0\t0\r\n"
               "\r\nScore: 0*0 = 0 points\r\n");
}

}  // namespace
