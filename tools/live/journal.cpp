#include "tools/live/journal.h"

#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "tools/replay/inputs/escapes.h"
#include "tools/replay/session/files.h"

namespace kevo::live {

namespace fs = std::filesystem;

namespace {

bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fdatasync(fileno(file)) == 0;
#endif
}

}  // namespace

std::string JournalLine(const std::string& datagram) { return replay::EscapeText(datagram); }

bool DatagramOfLine(const std::string& line, std::string& datagram, std::string& error) {
  return replay::UnescapeText(line, datagram, error);
}

Journal::~Journal() {
  if (file_ != nullptr) std::fclose(file_);
}

bool Journal::Open(const fs::path& path, JournalContents& contents, std::string& error) {
  std::string bytes;
  std::error_code code;
  if (fs::exists(path, code) && !replay::ReadWholeFile(path.string(), bytes, error)) return false;
  std::size_t start = 0;
  std::size_t number = 1;
  for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos;
       start = end + 1, ++number) {
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // edited on Windows
    if (line.empty()) continue;
    std::string datagram;
    std::string why;
    if (!DatagramOfLine(line, datagram, why)) {
      contents.warnings.push_back(path.string() + ":" + std::to_string(number) +
                                  ": not a journal line (" + why + "), left out");
      continue;
    }
    contents.datagrams.push_back(std::move(datagram));
  }
  if (start < bytes.size()) {
    contents.warnings.push_back(path.string() + ":" + std::to_string(number) +
                                ": the last line was cut short (" +
                                std::to_string(bytes.size() - start) +
                                " bytes without a line end); read up to the line before it");
    fs::resize_file(path, start, code);
    if (code) {
      error = "cannot cut the short line off " + path.string() + ": " + code.message();
      return false;
    }
  }
  file_ = std::fopen(path.string().c_str(), "ab");
  if (file_ == nullptr) {
    error = "cannot open the journal " + path.string() + " for writing";
    return false;
  }
  return true;
}

bool Journal::Append(const std::vector<std::string>& datagrams) {
  if (file_ == nullptr) return false;
  std::string lines;
  for (const std::string& datagram : datagrams) lines += JournalLine(datagram) + '\n';
  if (std::fwrite(lines.data(), 1, lines.size(), file_) != lines.size()) return false;
  if (std::fflush(file_) != 0) return false;
  return !sync_ || SyncToDisk(file_);
}

}  // namespace kevo::live
