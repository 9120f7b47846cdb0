// How the tool reaches the library: its eleven entries as function pointers resolved by name
// from one loaded library, and calls of them with every parameter the library does not read
// filled in as a host fills it. Everything the tool does to the library goes through
// EntryPoints, so tests can fill it with fakes and the real run fills it from the library.
#ifndef KEVO_TOOLS_HOST_PLUGIN_BINDING_H_
#define KEVO_TOOLS_HOST_PLUGIN_BINDING_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "StatsKEVO.h"
#include "kevo_exported_entries.h"
#include "tools/host/boundary_values.h"

namespace kevo::host {

// One member per entry, named as the entry's plain export.
struct EntryPoints {
#define KEVO_REPLAY_ENTRY_POINTER(plain, itanium, msvc) decltype(&::plain) plain = nullptr;
  KEVO_EXPORTED_ENTRIES(KEVO_REPLAY_ENTRY_POINTER)
#undef KEVO_REPLAY_ENTRY_POINTER
};

// Each entry is exported under its plain C name and under the decorated C++ name that this
// platform's hosts look up: MSVC's on Windows, the Itanium ABI's elsewhere.
enum class NameStyle { kPlain, kDecorated };

struct EntryName {
  const char* plain;
  const char* decorated;
};

#ifdef _WIN32
#define KEVO_REPLAY_ENTRY_NAME(plain, itanium, msvc) EntryName{#plain, msvc},
#else
#define KEVO_REPLAY_ENTRY_NAME(plain, itanium, msvc) EntryName{#plain, itanium},
#endif
// In the order of the members of EntryPoints.
inline constexpr EntryName kEntryNames[] = {KEVO_EXPORTED_ENTRIES(KEVO_REPLAY_ENTRY_NAME)};
#undef KEVO_REPLAY_ENTRY_NAME

// Opens a shared library and finds symbols in it by name: dlopen/dlsym on POSIX,
// LoadLibraryA/GetProcAddress on Windows. The library stays loaded while the object lives.
class SharedLibrary {
 public:
  virtual ~SharedLibrary() = default;
  // The address of the exported symbol, or null when the library has no such export.
  virtual void* FindSymbol(const char* name) = 0;
};

// Loads the library at `path`; null with a readable reason in `error` on failure.
std::unique_ptr<SharedLibrary> OpenSharedLibrary(const std::string& path, std::string& error);

// The file name of the plug-in on this platform ("StatsKEVO.so", "StatsKEVO.dll").
const char* PluginFileName();

// The folder holding the running executable, empty when it cannot be found.
std::string ExecutableFolder();

// The plug-in a program loads when none is named: the one beside the executable (a build tree,
// the Windows zip), else, where `installed_dir` is not empty, the one an install puts there
// relative to the executable's folder (bin/../lib/.../statskevo).
std::string DefaultPluginPath(const std::string& installed_dir);

struct LoadedPlugin {
  std::unique_ptr<SharedLibrary> library;  // keeps the entries valid
  EntryPoints entries;
};

// Resolves all eleven entries in `library`; false with the missing names in `error` when any
// is absent. `entries` is filled only on success.
bool ResolveEntries(SharedLibrary& library, NameStyle style, EntryPoints& entries,
                    std::string& error);

// Opens the library and resolves its entries; false with a reason in `error`.
bool LoadPlugin(const std::string& path, NameStyle style, LoadedPlugin& plugin, std::string& error);

// The parameters of the working entries that the tool sets; texts may be null where a script
// says so.
struct QsoArguments {
  const char* call = "";
  const char* band = "";
  const char* mode = "";
  const char* sent = "";
  const char* received = "";
  const char* prefix = "";
  const char* region = "";
  COleDateTime time{0.0, kTimeValid};
};

struct CheckArguments {
  const char* call = "";
  const char* mode = "";
  const char* prefix = "";
  const char* band = "";
  const char* band2 = nullptr;  // no second band: no band pre-check
  std::int32_t number = 0;
  char* hint = nullptr;
  char* dupe_message = nullptr;
};

std::int32_t CallReset(const EntryPoints& entries, std::int32_t no_rates, std::int32_t own_number,
                       const char* own_region);
std::int32_t CallAdd(const EntryPoints& entries, const QsoArguments& qso);
std::int32_t CallRemove(const EntryPoints& entries, const QsoArguments& qso);
std::int32_t CallCheck(const EntryPoints& entries, const CheckArguments& check);

// One of the two caller buffers of CheckCall0. The library never learns their size, so the
// caller must make them large enough: the hint can be as long as the longest received
// exchange stored or the longest value of the exchange list file. The buffer is pre-filled
// with a known pattern, which tells whether the library wrote it, and guarded at the end,
// which catches a text longer than the room given.
class CheckBuffer {
 public:
  // `room` bytes for a text and its zero byte; `initial` (if any) is written there first.
  CheckBuffer(std::size_t room, const std::optional<std::string>& initial);

  char* data() { return bytes_.data(); }
  bool Changed() const { return bytes_ != before_; }
  bool GuardIntact() const;
  // The text up to the first zero byte within the room; empty when there is none.
  std::optional<std::string> Text() const;

 private:
  std::size_t room_;
  std::vector<char> bytes_;
  std::vector<char> before_;
};

// Room for the hint: longest exchange the library may hand back, plus slack.
std::size_t HintRoom(std::size_t longest_received, std::size_t exchange_list_bytes);
// Room for "CALL: QSO BEFORE at HH:MM", plus slack.
std::size_t DupeMessageRoom(std::size_t call_length);

// Bytes of "RADL.lst" and "Plugins/RADL.lst" in the current directory (0 for a missing file).
std::size_t ExchangeListBytes();

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_PLUGIN_BINDING_H_
