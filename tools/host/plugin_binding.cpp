#include "tools/host/plugin_binding.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace kevo::host {

namespace {

// A symbol address becomes a function pointer of the entry's own type. Copying the bits avoids
// the object-to-function pointer cast, which the language leaves conditionally supported.
template <typename Function>
void Assign(void* address, Function& target) {
  static_assert(sizeof(Function) == sizeof(void*));
  std::memcpy(&target, &address, sizeof target);
}

// The values a host passes for the parameters that the plug-in does not read.
const COleDateTime kNoTime{0.0, kTimeValid};
const char* const kNoText = "";

template <typename Entry>
std::int32_t CallQsoEntry(Entry entry, const QsoArguments& q) {
  const char* e = kNoText;
  return entry(e, q.call, &q.time, &kNoTime, &kNoTime, &kNoTime, 0, 0, q.mode, e, e, q.sent,
               q.received, e, e, e, e, e, e, e, e, e, q.prefix, 0, 0, 0, 0.0, 0.0, e, q.region, e,
               q.band, e);
}

constexpr char kFill = '\xAA';
constexpr std::size_t kGuard = 64;
constexpr std::size_t kSlack = 64;

bool IsNonRegularFile(const std::filesystem::path& path) {
  std::error_code code;
  std::filesystem::file_status status = std::filesystem::status(path, code);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

std::size_t FileBytes(const std::filesystem::path& path) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<std::size_t>(size);
}

}  // namespace

bool ResolveEntries(SharedLibrary& library, NameStyle style, EntryPoints& entries,
                    std::string& error) {
  EntryPoints result;
  std::string missing;
  const EntryName* name = kEntryNames;
  auto resolve = [&](auto& target) {
    const char* export_name = style == NameStyle::kPlain ? name->plain : name->decorated;
    ++name;
    void* address = library.FindSymbol(export_name);
    if (address == nullptr) {
      missing += (missing.empty() ? "" : ", ") + std::string(export_name);
    } else {
      Assign(address, target);
    }
  };
#define KEVO_REPLAY_RESOLVE(plain, itanium, msvc) resolve(result.plain);
  KEVO_EXPORTED_ENTRIES(KEVO_REPLAY_RESOLVE)
#undef KEVO_REPLAY_RESOLVE
  if (!missing.empty()) {
    error = "the library does not export " + missing;
    return false;
  }
  entries = result;
  return true;
}

std::string DefaultPluginPath(const std::string& installed_dir) {
  std::filesystem::path folder = ExecutableFolder();
  std::filesystem::path beside = folder / PluginFileName();
  if (installed_dir.empty()) return beside.string();
  std::filesystem::path installed = (folder / installed_dir / PluginFileName()).lexically_normal();
  std::error_code code;
  if (!std::filesystem::exists(beside, code) && std::filesystem::exists(installed, code)) {
    return installed.string();
  }
  return beside.string();
}

bool LoadPlugin(const std::string& path, NameStyle style, LoadedPlugin& plugin,
                std::string& error) {
  // Opening a FIFO or a device would block or read for ever; a library is a regular file.
  if (IsNonRegularFile(path)) {
    error = path + " is not a regular file";
    return false;
  }
  std::string load_error;
  std::unique_ptr<SharedLibrary> library = OpenSharedLibrary(path, load_error);
  if (!library) {
    error = load_error;
    return false;
  }
  EntryPoints entries;
  if (!ResolveEntries(*library, style, entries, error)) return false;
  plugin.library = std::move(library);
  plugin.entries = entries;
  return true;
}

std::int32_t CallReset(const EntryPoints& entries, std::int32_t no_rates, std::int32_t own_number,
                       const char* own_region) {
  const char* e = kNoText;
  return entries.ResetStats0(e, no_rates, e, &kNoTime, &kNoTime, e, e, e, e, e, e, e, e, e, e, 0,
                             own_number, 0, 0.0, 0.0, e, own_region, e);
}

std::int32_t CallAdd(const EntryPoints& entries, const QsoArguments& qso) {
  return CallQsoEntry(entries.AddData0, qso);
}

std::int32_t CallRemove(const EntryPoints& entries, const QsoArguments& qso) {
  return CallQsoEntry(entries.RemoveData0, qso);
}

std::int32_t CallCheck(const EntryPoints& entries, const CheckArguments& c) {
  const char* e = kNoText;
  return entries.CheckCall0(c.call, 0, 0, c.mode, e, e, e, e, e, e, e, e, e, c.prefix, 0, c.number,
                            0, 0.0, 0.0, e, e, e, e, e, c.band, c.band2, c.hint, c.dupe_message);
}

CheckBuffer::CheckBuffer(std::size_t room, const std::optional<std::string>& initial)
    : room_(std::max(room, initial ? initial->size() + 1 : 0)), bytes_(room_ + kGuard, kFill) {
  if (initial) {
    std::copy(initial->begin(), initial->end(), bytes_.begin());
    bytes_[initial->size()] = '\0';
  }
  before_ = bytes_;
}

bool CheckBuffer::GuardIntact() const {
  return std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(room_), bytes_.end(),
                     [](char c) { return c == kFill; });
}

std::optional<std::string> CheckBuffer::Text() const {
  auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(room_);
  auto zero = std::find(bytes_.begin(), end, '\0');
  if (zero == end) return std::nullopt;
  return std::string(bytes_.begin(), zero);
}

std::size_t HintRoom(std::size_t longest_received, std::size_t exchange_list_bytes) {
  // The numeric fallback "-2147483648?" is the longest fixed form.
  return std::max<std::size_t>({longest_received + 2, exchange_list_bytes, 13}) + 1 + kSlack;
}

std::size_t DupeMessageRoom(std::size_t call_length) { return call_length + 16 + 5 + 1 + kSlack; }

std::size_t ExchangeListBytes() {
  return FileBytes("RADL.lst") + FileBytes(std::filesystem::path("Plugins") / "RADL.lst");
}

}  // namespace kevo::host
