// Loads the plug-in and resolves every entry by the chosen kind of export name.
#ifndef KEVO_REPLAY_PLUGIN_BINDING_H_
#define KEVO_REPLAY_PLUGIN_BINDING_H_

#include <memory>
#include <string>

#include "tools/replay/entry_names.h"
#include "tools/replay/entry_points.h"
#include "tools/replay/library_loader.h"

namespace kevo::replay {

struct LoadedPlugin {
  std::unique_ptr<SharedLibrary> library;  // keeps the entries valid
  EntryPoints entries;
};

// Resolves all eleven entries in `library`; false with the missing names in `error` when any
// is absent. `entries` is filled only on success.
bool ResolveEntries(SharedLibrary& library, NameStyle style, EntryPoints& entries,
                    std::string& error);

// Opens the library and resolves its entries; false with a reason in `error`.
bool LoadPlugin(const std::string& path, NameStyle style, LoadedPlugin& plugin,
                std::string& error);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_PLUGIN_BINDING_H_
