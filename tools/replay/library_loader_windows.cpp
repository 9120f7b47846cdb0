// LoadLibraryA-based loader for the Windows build.
#ifdef _WIN32

#include <windows.h>

#include <string>

#include "tools/replay/library_loader.h"

namespace kevo::replay {

namespace {

class WindowsLibrary : public SharedLibrary {
 public:
  explicit WindowsLibrary(HMODULE module) : module_(module) {}
  ~WindowsLibrary() override { ::FreeLibrary(module_); }
  WindowsLibrary(const WindowsLibrary&) = delete;
  WindowsLibrary& operator=(const WindowsLibrary&) = delete;

  void* FindSymbol(const char* name) override {
    return reinterpret_cast<void*>(::GetProcAddress(module_, name));
  }

 private:
  HMODULE module_;
};

}  // namespace

std::unique_ptr<SharedLibrary> OpenSharedLibrary(const std::string& path, std::string& error) {
  // No error dialog for a missing or broken DLL: the tool reports it itself.
  UINT old_mode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = ::LoadLibraryA(path.c_str());
  DWORD code = ::GetLastError();
  ::SetErrorMode(old_mode);
  if (module == nullptr) {
    error = "cannot load " + path + " (Windows error " + std::to_string(code) + ")";
    return nullptr;
  }
  return std::make_unique<WindowsLibrary>(module);
}

const char* PluginFileName() { return "StatsKEVO.dll"; }

std::string ExecutableFolder() {
  char buffer[MAX_PATH + 1];
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string path(buffer, length);
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace kevo::replay

#endif  // _WIN32
