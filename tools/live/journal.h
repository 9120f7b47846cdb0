// The journal: every datagram kevo-live accepted, one per line in the order they came, written
// and handed to the operating system before the datagram is applied, so that after a crash, a
// power cut or a restart the same datagrams replayed give the same state. A line is the
// datagram with kevo-replay's C-style escapes, so line feeds inside it stay inside the line
// and the file stays readable.
#ifndef KEVO_LIVE_JOURNAL_H_
#define KEVO_LIVE_JOURNAL_H_

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace kevo::live {

struct JournalContents {
  std::vector<std::string> datagrams;  // in the order they were accepted
  std::vector<std::string> warnings;   // a cut-short last line, a line that cannot be read
};

class Journal {
 public:
  Journal() = default;
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;
  ~Journal();

  // Reads what the file holds (a missing file holds nothing) and opens it for appending. A
  // last line without its line end was cut short while being written: it is dropped from the
  // file, with a warning, so that the next line starts clean. False with `error` when the file
  // cannot be read or written.
  bool Open(const std::filesystem::path& path, JournalContents& contents, std::string& error);

  // Writes the datagrams, one line each, and pushes them to the disk; false when that failed.
  bool Append(const std::vector<std::string>& datagrams);

  // Each Append waits for the disk (the default): a power cut loses nothing accepted. Off, a
  // crash of the process still loses nothing, a power cut may lose the last seconds.
  void set_sync(bool sync) { sync_ = sync; }

 private:
  std::FILE* file_ = nullptr;
  bool sync_ = true;
};

// The journal's line for a datagram and back; false when the line is no journal line.
std::string JournalLine(const std::string& datagram);
bool DatagramOfLine(const std::string& line, std::string& datagram, std::string& error);

}  // namespace kevo::live

#endif  // KEVO_LIVE_JOURNAL_H_
