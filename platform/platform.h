// The one seam between the plug-in and the operating system: a modal message box, opening an
// existing file for exclusive reading and creating a file that others may read but not write.
// Windows and POSIX each implement it; tests substitute their own.
#ifndef KEVO_PLATFORM_PLATFORM_H_
#define KEVO_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <memory>
#include <string>

namespace kevo {

// A file opened for reading; bytes come raw, text-mode rules are applied by TextLineReader.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes; returns the count, 0 at the end of the file, -1 on a read error.
  virtual long Read(char* buffer, std::size_t size) = 0;
};

// A file created for writing; bytes go out unchanged, text-mode rules are applied by the caller.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when not all bytes could be written.
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Flushes and closes; false when that fails. Called at most once.
  virtual bool Close() = 0;
};

enum class MessageOwner { kActiveWindow, kNone };

class Platform {
 public:
  virtual ~Platform() = default;

  // Shows a modal message box with an OK button and no icon and returns when it is closed.
  // A null caption shows the system's default title.
  virtual void ShowMessage(MessageOwner owner, const char* text, const char* caption) = 0;

  // Opens an existing regular file for exclusive reading; null when that is not possible
  // (missing, no permission, held open by another process, not a regular file). Never blocks.
  virtual std::unique_ptr<InputFile> OpenExclusiveForReading(const std::string& path) = 0;

  // Creates or truncates a file for writing while others may read it; null on failure.
  virtual std::unique_ptr<OutputFile> CreateSharedRead(const std::string& path) = 0;

  // Joins a folder name and a file name with the platform's separator.
  virtual std::string JoinPath(const std::string& folder, const std::string& file) const = 0;
};

// The real platform of this build.
Platform& SystemPlatform();

}  // namespace kevo

#endif  // KEVO_PLATFORM_PLATFORM_H_
