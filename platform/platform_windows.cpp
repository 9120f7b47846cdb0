// The Windows side of the platform layer: real message boxes and the share modes of CreateFileA.
// Text-mode rules live in TextLineReader and ToTextModeBytes, so files are opened in binary.
#include <windows.h>

#include <algorithm>

#include "platform/platform.h"

namespace kevo {

namespace {

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

// Only what the file system stores counts as a file; a console or pipe never does.
bool IsDiskFile(HANDLE handle) { return ::GetFileType(handle) == FILE_TYPE_DISK; }

class WindowsInputFile : public InputFile {
 public:
  explicit WindowsInputFile(HANDLE handle) : handle_(handle) {}
  ~WindowsInputFile() override { ::CloseHandle(handle_); }
  WindowsInputFile(const WindowsInputFile&) = delete;
  WindowsInputFile& operator=(const WindowsInputFile&) = delete;

  long Read(char* buffer, std::size_t size) override {
    DWORD count = 0;
    DWORD wanted = static_cast<DWORD>(std::min(size, kMaxChunk));
    if (!::ReadFile(handle_, buffer, wanted, &count, nullptr)) return -1;
    return static_cast<long>(count);
  }

 private:
  HANDLE handle_;
};

class WindowsOutputFile : public OutputFile {
 public:
  explicit WindowsOutputFile(HANDLE handle) : handle_(handle) {}
  ~WindowsOutputFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  WindowsOutputFile(const WindowsOutputFile&) = delete;
  WindowsOutputFile& operator=(const WindowsOutputFile&) = delete;

  bool Write(const char* data, std::size_t size) override {
    while (size > 0) {
      DWORD count = 0;
      DWORD wanted = static_cast<DWORD>(std::min(size, kMaxChunk));
      if (!::WriteFile(handle_, data, wanted, &count, nullptr) || count == 0) return false;
      data += count;
      size -= count;
    }
    return true;
  }

  bool Close() override {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

class WindowsPlatform : public Platform {
 public:
  void ShowMessage(MessageOwner owner, const char* text, const char* caption) override {
    // The box belongs to the host's window the operator is working in, when asked for; the
    // plug-in never has a window of its own. A null caption shows the system's title.
    HWND owner_window = owner == MessageOwner::kActiveWindow ? ::GetActiveWindow() : nullptr;
    ::MessageBoxA(owner_window, text ? text : "", caption, MB_OK);
  }

  std::unique_ptr<InputFile> OpenExclusiveForReading(const std::string& path) override {
    // Share mode 0: while the list is read nobody may change it, and a file another process
    // holds open fails here instead of being read half-written.
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    if (!IsDiskFile(handle)) {
      ::CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<WindowsInputFile>(handle);
  }

  std::unique_ptr<OutputFile> CreateSharedRead(const std::string& path) override {
    // Readers may watch the file grow; a second writer is kept out until it is closed.
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    DWORD type = ::GetFileType(handle);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_CHAR) {
      ::CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<WindowsOutputFile>(handle);
  }

  std::string JoinPath(const std::string& folder, const std::string& file) const override {
    return folder + "\\" + file;
  }
};

}  // namespace

Platform& SystemPlatform() {
  static WindowsPlatform platform;
  return platform;
}

}  // namespace kevo
