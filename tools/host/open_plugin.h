// The start-up every host program makes before its first call of the plug-in: the library
// loaded (the one named, else the one beside the program, else the installed one) with its
// entries found by the chosen names, the working folder opened (a fresh temporary one or
// --workdir) with the exchange list copied there as RADL.lst, and the process moved into it.
#ifndef KEVO_TOOLS_HOST_OPEN_PLUGIN_H_
#define KEVO_TOOLS_HOST_OPEN_PLUGIN_H_

#include <string>

#include "tools/host/files.h"
#include "tools/host/host_options.h"
#include "tools/host/plugin_binding.h"

namespace kevo::host {

// Where an install puts the plug-in relative to the program's folder: the build defines
// KEVO_INSTALLED_PLUGIN_DIR for each installed program's own sources; empty in a build tree.
// Each file that includes this header has its own copy, so a program's main.cpp sees its value.
#ifdef KEVO_INSTALLED_PLUGIN_DIR
constexpr const char* kInstalledPluginDir = KEVO_INSTALLED_PLUGIN_DIR;
#else
constexpr const char* kInstalledPluginDir = "";
#endif

// The library and the folder it works in, for one run of a program. The folder is left (and a
// temporary one removed) before the library is unloaded.
struct OpenedPlugin {
  std::string path;  // the library loaded, as the messages name it
  LoadedPlugin plugin;
  WorkingDirectory workdir;

  const EntryPoints& entries() const { return plugin.entries; }
  // Back to the folder the program was started in, where the user's relative names point.
  void Leave() { workdir.Leave(); }
};

// The start-up above, after which the current folder is the library's. Relative names in
// `options` are read before the move. False with the message for the user in `error`.
bool OpenPlugin(const HostOptions& options, const std::string& installed_dir, OpenedPlugin& opened,
                std::string& error);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_OPEN_PLUGIN_H_
