// Loads StatsKEVO.dll with LoadLibraryA as the host does, resolves all 22 names with
// GetProcAddress and drives one short contest through the plain names and once more through the
// decorated names. Both names of an entry must be the same code, and both runs must give the same
// texts, results, buffers and ExtLog.txt bytes.
// Usage: kevo_dll_names_test <path of StatsKEVO.dll>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "StatsKEVO.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  if (!ok) {
    ++failures;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

// The entries of one name set, typed from the public header.
struct Entries {
  decltype(&::GetSetName) get_set_name;
  decltype(&::GetNumberOfSets) get_number_of_sets;
  decltype(&::GetExchgCount0) get_exchg_count;
  decltype(&::IsValidExchg0) is_valid_exchg;
  decltype(&::SetupSet0) setup_set;
  decltype(&::RunCommand0) run_command;
  decltype(&::ResetStats0) reset_stats;
  decltype(&::AddData0) add_data;
  decltype(&::RemoveData0) remove_data;
  decltype(&::CheckCall0) check_call;
  decltype(&::GetResult0) get_result;
};

struct NamePair {
  const char* plain;
  const char* decorated;
};

// Same order as the members of Entries.
constexpr NamePair kNames[] = {
    {"GetSetName", "?GetSetName@@YAPBDH@Z"},
    {"GetNumberOfSets", "?GetNumberOfSets@@YAHXZ"},
    {"GetExchgCount0", "?StatsGetExchgCount0@@YAHPBD00@Z"},
    {"IsValidExchg0", "?StatsIsValidExchg0@@YAHPBD000HHH@Z"},
    {"SetupSet0", "?SetupSet0@@YAXXZ"},
    {"RunCommand0", "?RunCommand0@@YAPBDHPBD@Z"},
    {"ResetStats0", "?ResetStats0@@YAHPBDH0PBVCOleDateTime@@10000000000HHHNN000@Z"},
    {"AddData0", "?AddData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z"},
    {"RemoveData0", "?RemoveData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z"},
    {"CheckCall0", "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z"},
    {"GetResult0", "?GetResult0@@YAPBDPAH@Z"},
};
constexpr int kEntryCount = sizeof(kNames) / sizeof(kNames[0]);
static_assert(sizeof(Entries) == kEntryCount * sizeof(void*), "one pointer per entry");

Entries Resolve(HMODULE module, bool decorated) {
  Entries entries{};
  FARPROC* slots = reinterpret_cast<FARPROC*>(&entries);
  for (int i = 0; i < kEntryCount; ++i) {
    const char* name = decorated ? kNames[i].decorated : kNames[i].plain;
    slots[i] = ::GetProcAddress(module, name);
    Check(slots[i] != nullptr, std::string("GetProcAddress(") + name + ")");
  }
  return entries;
}

std::string Quote(const char* text) {
  if (text == nullptr) return "null";
  std::string quoted = "\"";
  quoted.append(text).push_back('"');
  return quoted;
}

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

COleDateTime At(double day) { return COleDateTime{day, 0}; }

int Add(const Entries& e, bool remove, const char* call, const COleDateTime& time, const char* mode,
        const char* sent, const char* rcvd, const char* prefix, const char* band) {
  auto entry = remove ? e.remove_data : e.add_data;
  return entry("", call, &time, &time, &time, &time, 0, 0, mode, "", "", sent, rcvd, "", "", "", "",
               "", "", "", "", "", prefix, 0, 0, 0, 0.0, 0.0, "", "KV", "", band, "");
}

std::string Check(const Entries& e, const char* call, const char* prefix, int number,
                  const char* band, const char* band2) {
  char hint[64];
  char dupe[128];
  std::memset(hint, '#', sizeof hint);
  std::memset(dupe, '#', sizeof dupe);
  hint[63] = dupe[127] = '\0';
  int code = e.check_call(call, 0, 0, "CW", "", "", "", "", "", "", "", "", "", prefix, 0, number,
                          0, 0.0, 0.0, "", "", "", "", "", band, band2, hint, dupe);
  return std::to_string(code) + " hint=" + hint + " dupe=" + dupe;
}

// One short contest; everything observable goes into the transcript.
std::string Session(const Entries& e) {
  std::ostringstream out;
  out << "set names: " << Quote(e.get_set_name(0)) << ' ' << Quote(e.get_set_name(1)) << ' '
      << Quote(e.get_set_name(-1)) << '\n';
  out << "counts: " << e.get_number_of_sets() << ' ' << e.get_exchg_count(nullptr, nullptr, nullptr)
      << ' ' << e.is_valid_exchg(nullptr, "", "", "", 1, 2, 3) << '\n';
  ::DeleteFileA("ExtLog.txt");
  out << "command 1: " << Quote(e.run_command(1, "X")) << " file after: "
      << (::GetFileAttributesA("ExtLog.txt") == INVALID_FILE_ATTRIBUTES ? "none" : "written")
      << '\n';

  COleDateTime start = At(45000.5);
  out << "reset: "
      << e.reset_stats("", 0, "", &start, &start, "", "", "", "", "", "", "", "", "", "", 0, 7, 0,
                       0.0, 0.0, "", "KV", "")
      << '\n';
  out << "add: " << Add(e, false, "DL1ABC", At(45000.51), "CW", "007", "5", "DL", "20")
      << Add(e, false, "OK1XY", At(45000.52), "CW", "007", "12", "OK", "20")
      << Add(e, false, "OK1XY", At(45000.52), "CW", "007", "12", "OK", "20")
      << Add(e, false, "K1AA", At(45000.53), "SSB", "007", "", "K", "40")
      << Add(e, false, "W1ZZ", At(45000.54), "CW", "007", "3", "W", "40") << '\n';
  out << "remove: " << Add(e, true, "W1ZZ", At(45000.54), "CW", "007", "3", "W", "40") << '\n';
  out << "check dupe: " << Check(e, "DL1ABC", "DL", 0, "20", "20") << '\n';
  out << "check listed: " << Check(e, "Q1LIST", "Q", 3, "20", nullptr) << '\n';
  out << "check member: " << Check(e, "HA5X", "HA", 3, "40", "40") << '\n';
  out << "check bands: " << Check(e, "HA5X", "HA", 3, "40", "80") << '\n';
  int score = -1;
  const char* summary = e.get_result(&score);
  out << "score: " << score << "\nsummary:\n" << (summary ? summary : "<null>") << '\n';
  out << "command 0: " << Quote(e.run_command(0, "ABC")) << '\n';
  out << "ExtLog.txt:\n" << ReadFile("ExtLog.txt") << '\n';
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: kevo_dll_names_test <StatsKEVO.dll>\n");
    return 2;
  }
  // A fresh folder as the working directory: the plug-in reads RADL.lst and writes ExtLog.txt
  // there. The DLL path is made absolute before the folder changes.
  char dll[MAX_PATH];
  if (::GetFullPathNameA(argv[1], MAX_PATH, dll, nullptr) == 0) return 2;
  char temp[MAX_PATH];
  char folder[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::snprintf(folder, sizeof folder, "%skevo-names-%lu", temp, ::GetCurrentProcessId());
  ::CreateDirectoryA(folder, nullptr);
  if (!::SetCurrentDirectoryA(folder)) {
    std::printf("FAIL: cannot use %s\n", folder);
    return 1;
  }
  { std::ofstream("RADL.lst", std::ios::binary) << "Q1LIST=42\r\n"; }

  HMODULE module = ::LoadLibraryA(dll);
  if (module == nullptr) {
    std::printf("FAIL: LoadLibraryA(%s): error %lu\n", dll, ::GetLastError());
    return 1;
  }
  Entries plain = Resolve(module, false);
  Entries decorated = Resolve(module, true);
  if (failures) return 1;

  // Both names must be the very same function, not two copies that agree today.
  const FARPROC* a = reinterpret_cast<const FARPROC*>(&plain);
  const FARPROC* b = reinterpret_cast<const FARPROC*>(&decorated);
  for (int i = 0; i < kEntryCount; ++i) {
    Check(a[i] == b[i], std::string(kNames[i].plain) + " and " + kNames[i].decorated +
                            " lead to different addresses");
  }

  std::string by_plain = Session(plain);
  std::string by_decorated = Session(decorated);
  Check(by_plain == by_decorated, "the two name sets give different answers");
  Check(by_plain.find("set names: \"KEVO\" \"\" \"\"\ncounts: 1 1 0\n") == 0,
        "GetSetName, GetNumberOfSets, GetExchgCount0 or IsValidExchg0 answers");
  Check(by_plain.find("command 1: \"\" file after: none") != std::string::npos,
        "RunCommand0(1) must write nothing and return the empty text");
  Check(by_plain.find("check listed: 2 hint=42 dupe=#") != std::string::npos,
        "the exchange list from RADL.lst must give the hint");
  Check(by_plain.find("check dupe: 0 hint=#") != std::string::npos, "duplicate check");
  Check(by_plain.find("\r\n") != std::string::npos, "ExtLog.txt must have CR LF line ends");
  std::printf("%s", by_plain.c_str());
  if (by_plain != by_decorated) std::printf("--- decorated names:\n%s", by_decorated.c_str());

  ::FreeLibrary(module);
  ::DeleteFileA("ExtLog.txt");
  ::DeleteFileA("RADL.lst");
  ::SetCurrentDirectoryA(temp);
  ::RemoveDirectoryA(folder);
  std::printf("%s: 22 names resolved, %d failure(s)\n", failures ? "FAIL" : "ok", failures);
  return failures ? 1 : 0;
}
