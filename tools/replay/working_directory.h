// The directory the library works in: it reads "RADL.lst" and writes "ExtLog.txt" relative to
// the current directory, so the tool moves there for the session and back afterwards.
#ifndef KEVO_REPLAY_WORKING_DIRECTORY_H_
#define KEVO_REPLAY_WORKING_DIRECTORY_H_

#include <filesystem>
#include <string>

namespace kevo::replay {

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

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_WORKING_DIRECTORY_H_
