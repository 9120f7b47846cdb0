#include "tools/host/open_plugin.h"

namespace kevo::host {

bool OpenPlugin(const HostOptions& options, const std::string& installed_dir, OpenedPlugin& opened,
                std::string& error) {
  std::string exchange_list;
  if (!options.exchange_list.empty() &&
      !ReadWholeFile(options.exchange_list, exchange_list, error)) {
    return false;
  }
  opened.path = options.library.empty() ? DefaultPluginPath(installed_dir) : options.library;
  // Messages built by appending: GCC 12 for 64-bit Windows sees a false overlap in
  // "literal" + std::string (-Wrestrict) and stops the build.
  if (!LoadPlugin(opened.path, options.names, opened.plugin, error)) {
    std::string reason = error;
    error = "cannot use the library ";
    error += opened.path;
    error += ": ";
    error += reason;
    return false;
  }
  if (!opened.workdir.Open(options.workdir, error)) return false;
  if (!options.exchange_list.empty() &&
      !WriteWholeFile(opened.workdir.path() / "RADL.lst", exchange_list)) {
    error = "cannot write RADL.lst in ";
    error += opened.workdir.path().string();
    return false;
  }
  return opened.workdir.Enter(error);
}

}  // namespace kevo::host
