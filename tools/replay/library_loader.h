// Opens a shared library and finds symbols in it by name: dlopen/dlsym on POSIX,
// LoadLibraryA/GetProcAddress on Windows. The library stays loaded while the object lives.
#ifndef KEVO_REPLAY_LIBRARY_LOADER_H_
#define KEVO_REPLAY_LIBRARY_LOADER_H_

#include <memory>
#include <string>

namespace kevo::replay {

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

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_LIBRARY_LOADER_H_
