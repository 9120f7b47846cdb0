// The platform seam of the binding: the shared-library loader of each platform.
#include "tools/host/plugin_binding.h"

#ifdef _WIN32

#include <windows.h>

namespace kevo::host {

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

}  // namespace kevo::host

#else  // POSIX

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace kevo::host {

namespace {

class PosixLibrary : public SharedLibrary {
 public:
  explicit PosixLibrary(void* handle) : handle_(handle) {}
  ~PosixLibrary() override { ::dlclose(handle_); }
  PosixLibrary(const PosixLibrary&) = delete;
  PosixLibrary& operator=(const PosixLibrary&) = delete;

  void* FindSymbol(const char* name) override { return ::dlsym(handle_, name); }

 private:
  void* handle_;
};

}  // namespace

std::unique_ptr<SharedLibrary> OpenSharedLibrary(const std::string& path, std::string& error) {
  // A bare file name would make dlopen search the system folders; a path never does.
  // RTLD_LOCAL keeps the plug-in's symbols out of the global namespace so that its plain names
  // never bind to anything of ours, and RTLD_NOW reports a missing dependency at load time
  // rather than at the first call.
  std::string name = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = ::dlerror();
    error = reason != nullptr ? reason : "cannot load " + path;
    return nullptr;
  }
  return std::make_unique<PosixLibrary>(handle);
}

const char* PluginFileName() { return "StatsKEVO.so"; }

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return {};
  std::string path(buffer, static_cast<std::size_t>(length));
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace kevo::host

#endif  // _WIN32
