#include "tools/replay/plugin_binding.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace kevo::replay {

namespace {

// A symbol address becomes a function pointer of the entry's own type. Copying the bits avoids
// the object-to-function pointer cast, which the language leaves conditionally supported.
template <typename Function>
void Assign(void* address, Function& target) {
  static_assert(sizeof(Function) == sizeof(void*));
  std::memcpy(&target, &address, sizeof target);
}

}  // namespace

bool ResolveEntries(SharedLibrary& library, NameStyle style, EntryPoints& entries,
                    std::string& error) {
  void* found[static_cast<std::size_t>(Entry::kCount)] = {};
  std::string missing;
  for (std::size_t i = 0; i < static_cast<std::size_t>(Entry::kCount); ++i) {
    const char* name = NameOf(static_cast<Entry>(i), style);
    found[i] = library.FindSymbol(name);
    if (found[i] == nullptr) missing += (missing.empty() ? "" : ", ") + std::string(name);
  }
  if (!missing.empty()) {
    error = "the library does not export " + missing;
    return false;
  }
  auto at = [&](Entry entry) { return found[static_cast<std::size_t>(entry)]; };
  EntryPoints result;
  Assign(at(Entry::kGetSetName), result.get_set_name);
  Assign(at(Entry::kGetNumberOfSets), result.get_number_of_sets);
  Assign(at(Entry::kGetExchgCount), result.get_exchg_count);
  Assign(at(Entry::kIsValidExchg), result.is_valid_exchg);
  Assign(at(Entry::kSetupSet), result.setup_set);
  Assign(at(Entry::kRunCommand), result.run_command);
  Assign(at(Entry::kResetStats), result.reset_stats);
  Assign(at(Entry::kAddData), result.add_data);
  Assign(at(Entry::kRemoveData), result.remove_data);
  Assign(at(Entry::kCheckCall), result.check_call);
  Assign(at(Entry::kGetResult), result.get_result);
  entries = result;
  return true;
}

bool LoadPlugin(const std::string& path, NameStyle style, LoadedPlugin& plugin,
                std::string& error) {
  // Opening a FIFO or a device would block or read for ever; a library is a regular file.
  std::error_code code;
  std::filesystem::file_status status = std::filesystem::status(path, code);
  if (!code && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
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

}  // namespace kevo::replay
