// The journal: every datagram kevo-live accepted, one per line in the order they came, written
// and handed to the operating system before the datagram is applied, so that after a crash, a
// power cut or a restart the same datagrams replayed give the same state. A line is the
// datagram with kevo-replay's C-style escapes, so line feeds inside it stay inside the line
// and the file stays readable. The first line names the format and its version, so that a
// file that is something else (a log, a contest file) is never taken for a journal and
// written to.
#ifndef KEVO_TOOLS_LIVE_KEEPING_JOURNAL_H_
#define KEVO_TOOLS_LIVE_KEEPING_JOURNAL_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/live/keeping/journal_file.h"

namespace kevo::live {

// The first line of every journal kevo-live starts, and the format version it reads.
inline constexpr const char* kJournalHeaderPrefix = "# kevo-live journal, format ";
inline constexpr int kJournalFormat = 1;
std::string JournalHeader();

// What a journal's first line says: a header of some version, or no header at all (a journal
// from before headers, whose first line is a datagram, or a file that is no journal).
struct HeaderCheck {
  bool is_header = false;
  int version = 0;  // when is_header; 0 when the version cannot be read
};
HeaderCheck CheckHeader(const std::string& line);

struct JournalContents {
  std::vector<std::string> datagrams;  // in the order they were accepted
  std::vector<std::string> warnings;   // a cut-short last line, a line that cannot be read
};

// Called for each datagram as it is read, with its line number in the file.
using JournalReader = std::function<void(const std::string& datagram, std::size_t line)>;

class Journal {
 public:
  // Opens the file, creating it with its header when missing or empty, locks it and reads it
  // line by line, handing each datagram to `each` without keeping the file's text. A last
  // line without its line end was cut short while being written: it is dropped from the file,
  // with a warning, so that the next line starts clean. False with `error`, the file left
  // unchanged, when it is locked by another process, is not a journal, comes from a newer
  // kevo-live or cannot be read or written.
  bool Open(const std::filesystem::path& path, const JournalReader& each,
            std::vector<std::string>& warnings, std::string& error);
  // The same, with every datagram gathered (tests, small journals).
  bool Open(const std::filesystem::path& path, JournalContents& contents, std::string& error);

  // Writes the datagrams, one line each, and pushes them to the disk. Returns how many of
  // them, from the first, are now in the file whole; a line that did not fit is cut off
  // again, so the file always ends with a whole line. `last_error()` says why the rest failed.
  std::size_t Append(const std::vector<std::string>& datagrams);
  const std::string& last_error() const { return last_error_; }

  // Each Append waits for the disk (the default): a power cut loses nothing accepted. Off, a
  // crash of the process still loses nothing, a power cut may lose the last seconds.
  void set_sync(bool sync) { sync_ = sync; }
  const std::filesystem::path& path() const { return path_; }

 private:
  bool Read(const JournalReader& each, std::vector<std::string>& warnings, std::string& error);
  // Cuts the file back to the end of its last whole line, should a failed write have left
  // more; false when that failed.
  bool Repair();

  JournalFile file_;
  std::filesystem::path path_;
  std::uint64_t whole_ = 0;  // where the last whole line ends
  bool sync_ = true;
  std::string last_error_;
};

// The journal's line for a datagram and back; false when the line is no journal line.
std::string JournalLine(const std::string& datagram);
bool DatagramOfLine(const std::string& line, std::string& datagram, std::string& error);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_JOURNAL_H_
