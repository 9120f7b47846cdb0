// The journal's file as the operating system sees it: one descriptor for reading at start and
// appending after, an advisory lock so that two kevo-live never write one journal, cutting
// back after a failed write, and the system's own words when something fails.
#ifndef KEVO_TOOLS_LIVE_KEEPING_JOURNAL_FILE_H_
#define KEVO_TOOLS_LIVE_KEEPING_JOURNAL_FILE_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kevo::live {

class JournalFile {
 public:
  JournalFile() = default;
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;
  ~JournalFile();

  // Opens the file for reading and appending, creating it when missing; false with the
  // system's reason.
  bool Open(const std::filesystem::path& path, std::string& error);
  // Takes the lock without waiting. False with `held` set when another process has it.
  bool Lock(bool& held, std::string& error);

  // Reads up to `size` bytes from `offset`: the count read (0 at the end), or -1 with `error`.
  long long Read(std::uint64_t offset, char* buffer, std::size_t size, std::string& error);
  // The file's length now; false with `error`.
  bool Size(std::uint64_t& size, std::string& error);
  // Appends at the end: the bytes written before an error (all of them when `error` stays
  // empty).
  std::size_t Write(const char* data, std::size_t size, std::string& error);
  bool Truncate(std::uint64_t size, std::string& error);
  // Hands what was written to the disk itself.
  bool Sync(std::string& error);

  bool is_open() const { return descriptor_ >= 0; }

 private:
  int descriptor_ = -1;
};

// The system's reason for the last failed call ("No space left on device").
std::string SystemReason(int error_number);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_JOURNAL_FILE_H_
