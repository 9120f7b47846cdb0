// The exchange list is opened for exclusive reading: while another process holds "RADL.lst"
// open, the reset must read "Plugins\RADL.lst" instead, and with both held it must read none.
// A second copy of this program, started with --hold, is that other process.
// Usage: kevo_radl_lock_test <path of StatsKEVO.dll>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "StatsKEVO.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  if (!ok) ++failures;
}

// Under Wine on an emulated CPU a process start takes long; the wait only guards a hang.
constexpr DWORD kWaitMs = 600000;

// Child: opens the named files one after another without sharing, keeping the earlier ones
// open. After each it reports ready and waits for the go-ahead; after the last go-ahead it
// closes them all. One process for every step: each start is slow under an emulated CPU.
int Hold(const char* ready_name, const char* next_name, int count, char** paths) {
  HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, ready_name);
  HANDLE next = ::OpenEventA(SYNCHRONIZE, FALSE, next_name);
  if (ready == nullptr || next == nullptr) return 3;
  std::vector<HANDLE> held;
  for (int i = 0; i < count; ++i) {
    HANDLE file = ::CreateFileA(paths[i], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 4;
    held.push_back(file);
    ::SetEvent(ready);
    if (::WaitForSingleObject(next, kWaitMs) != WAIT_OBJECT_0) return 5;
  }
  for (HANDLE file : held) ::CloseHandle(file);
  return 0;
}

class Holder {
 public:
  ~Holder() {
    if (process_.hProcess) {
      ::TerminateProcess(process_.hProcess, 1);
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
    if (ready_) ::CloseHandle(ready_);
    if (next_) ::CloseHandle(next_);
  }

  // Starts the holding process and returns once it holds the first file.
  bool Start(const std::string& self, const std::vector<std::string>& paths) {
    std::string tag = std::to_string(::GetCurrentProcessId());
    std::string ready_name = "kevo-radl-ready-" + tag;
    std::string next_name = "kevo-radl-next-" + tag;
    ready_ = ::CreateEventA(nullptr, FALSE, FALSE, ready_name.c_str());
    next_ = ::CreateEventA(nullptr, FALSE, FALSE, next_name.c_str());
    std::string command = "\"" + self + "\" --hold " + ready_name + " " + next_name;
    for (const std::string& path : paths) command += " \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_)) {
      std::printf("FAIL: CreateProcessA: error %lu\n", ::GetLastError());
      return false;
    }
    return WaitReady();
  }

  // Lets the holder open its next file and returns once it holds it.
  bool HoldNext() {
    ::SetEvent(next_);
    return WaitReady();
  }

  // Lets the holder close everything and waits for it to end.
  bool Release() {
    ::SetEvent(next_);
    DWORD code = 1;
    if (::WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0) return false;
    ::GetExitCodeProcess(process_.hProcess, &code);
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION{};
    return code == 0;
  }

 private:
  bool WaitReady() {
    HANDLE waits[2] = {ready_, process_.hProcess};
    if (::WaitForMultipleObjects(2, waits, FALSE, kWaitMs) == WAIT_OBJECT_0) return true;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    std::printf("FAIL: the holding process did not get its file (exit %lu)\n", code);
    return false;
  }

  PROCESS_INFORMATION process_{};
  HANDLE ready_ = nullptr;
  HANDLE next_ = nullptr;
};

// The hint the call check gives for Q1LIST on an empty log: the exchange list's value when
// the reset found the call there, else the fallback "03?".
std::string HintAfterReset(HMODULE module) {
  // Through void*: FARPROC's own type has nothing to do with the entry's.
  auto reset = reinterpret_cast<decltype(&::ResetStats0)>(
      reinterpret_cast<void*>(::GetProcAddress(module, "ResetStats0")));
  auto check = reinterpret_cast<decltype(&::CheckCall0)>(
      reinterpret_cast<void*>(::GetProcAddress(module, "CheckCall0")));
  if (reset == nullptr || check == nullptr) return "<entries missing>";
  COleDateTime now{45000.5, 0};
  reset("", 0, "", &now, &now, "", "", "", "", "", "", "", "", "", "", 0, 0, 0, 0.0, 0.0, "", "",
        "");
  char hint[64] = "<untouched>";
  char dupe[128] = "";
  check("Q1LIST", 0, 0, "CW", "", "", "", "", "", "", "", "", "", "Q", 0, 3, 0, 0.0, 0.0, "", "",
        "", "", "", "20", "20", hint, dupe);
  return hint;
}

void Write(const char* path, const char* text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "--hold") == 0) {
    return Hold(argv[2], argv[3], argc - 4, argv + 4);
  }
  if (argc != 2) {
    std::printf("usage: kevo_radl_lock_test <StatsKEVO.dll>\n");
    return 2;
  }
  char dll[MAX_PATH];
  char self[MAX_PATH];
  if (::GetFullPathNameA(argv[1], MAX_PATH, dll, nullptr) == 0) return 2;
  if (::GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return 2;
  char temp[MAX_PATH];
  char folder[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::snprintf(folder, sizeof folder, "%skevo-radl-%lu", temp, ::GetCurrentProcessId());
  ::CreateDirectoryA(folder, nullptr);
  if (!::SetCurrentDirectoryA(folder) || !::CreateDirectoryA("Plugins", nullptr)) {
    std::printf("FAIL: cannot prepare %s\n", folder);
    return 1;
  }
  Write("RADL.lst", "Q1LIST=11\r\n");
  Write("Plugins\\RADL.lst", "Q1LIST=22\r\n");
  std::string top = std::string(folder) + "\\RADL.lst";
  std::string sub = std::string(folder) + "\\Plugins\\RADL.lst";

  HMODULE module = ::LoadLibraryA(dll);
  if (module == nullptr) {
    std::printf("FAIL: LoadLibraryA(%s): error %lu\n", dll, ::GetLastError());
    return 1;
  }

  Check(HintAfterReset(module) == "11", "nothing held: RADL.lst is read");
  {
    HANDLE again = ::CreateFileA("RADL.lst", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Check(again != INVALID_HANDLE_VALUE, "the reset closed RADL.lst");
    if (again != INVALID_HANDLE_VALUE) ::CloseHandle(again);
  }

  Holder holder;
  if (holder.Start(self, {top, sub})) {
    Check(HintAfterReset(module) == "22",
          "RADL.lst held by another process: Plugins\\RADL.lst is read");
    if (holder.HoldNext()) {
      std::string hint = HintAfterReset(module);
      Check(hint == "03?", "both held: no exchange list (hint " + hint + ")");
    } else {
      ++failures;
    }
    Check(holder.Release(), "the holding process ended cleanly");
  } else {
    ++failures;
  }
  Check(HintAfterReset(module) == "11", "released: RADL.lst is read again");

  ::FreeLibrary(module);
  ::DeleteFileA("Plugins\\RADL.lst");
  ::RemoveDirectoryA("Plugins");
  ::DeleteFileA("RADL.lst");
  ::SetCurrentDirectoryA(temp);
  ::RemoveDirectoryA(folder);
  std::printf("%s: exclusive reading of the exchange list, %d failure(s)\n",
              failures ? "FAIL" : "ok", failures);
  return failures ? 1 : 0;
}
