// The tool's file access: whole files in and out, and the directory the library works in.
// Only regular files are opened: a FIFO or a device could block the tool for ever.
#ifndef KEVO_TOOLS_HOST_FILES_H_
#define KEVO_TOOLS_HOST_FILES_H_

#include <filesystem>
#include <string>

namespace kevo::host {

// True when something other than a regular file (a folder, a FIFO, a device) has this name.
bool IsNonRegularFile(const std::filesystem::path& path);

// Reads a regular file's bytes. False with "cannot read NAME: why" in `error`.
bool ReadWholeFile(const std::string& name, std::string& content, std::string& error);

// Creates or truncates the file and writes the bytes; false when that failed.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// The directory the library works in: it reads "RADL.lst" and writes "ExtLog.txt" relative to
// the current directory, so the tool moves there for the session and back afterwards.
class WorkingDirectory {
 public:
  // `requested` empty: a fresh temporary directory, removed with this object.
  // Otherwise that directory, created when missing and kept.
  bool Open(const std::string& requested, std::string& error);
  ~WorkingDirectory();

  const std::filesystem::path& path() const { return path_; }
  bool temporary() const { return temporary_; }

  // Moves the process into the directory until Leave (or destruction).
  bool Enter(std::string& error);
  void Leave();

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
  bool temporary_ = false;
  bool entered_ = false;
};

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_FILES_H_
