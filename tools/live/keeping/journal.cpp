#include "tools/live/keeping/journal.h"

#include <algorithm>
#include <cstring>

#include "tools/host/escapes.h"
#include "tools/live/intake/datagram.h"

namespace kevo::live {

namespace fs = std::filesystem;

namespace {

// Read in pieces of this size, so that a restart holds one piece and one line, never the file.
constexpr std::size_t kReadPiece = 1 << 16;

// A journal from before headers starts with a datagram kevo-live accepted, which is always
// well-formed XML; a log, a contest file or a text never is.
bool IsDatagramLine(const std::string& line) {
  std::string datagram;
  std::string ignored;
  if (!DatagramOfLine(line, datagram, ignored)) return false;
  DatagramParse parse = ParseDatagram(datagram);
  return parse.ok || parse.reason == "unknown root";
}

}  // namespace

std::string JournalHeader() { return kJournalHeaderPrefix + std::to_string(kJournalFormat); }

HeaderCheck CheckHeader(const std::string& line) {
  HeaderCheck check;
  const std::string prefix = kJournalHeaderPrefix;
  if (line.compare(0, prefix.size(), prefix) != 0) return check;
  check.is_header = true;
  std::string digits = line.substr(prefix.size());
  if (digits.empty() || digits.size() > 6 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return check;
  }
  check.version = std::stoi(digits);
  return check;
}

std::string JournalLine(const std::string& datagram) { return host::EscapeText(datagram); }

bool DatagramOfLine(const std::string& line, std::string& datagram, std::string& error) {
  return host::UnescapeText(line, datagram, error);
}

bool Journal::Open(const fs::path& path, JournalContents& contents, std::string& error) {
  return Open(
      path,
      [&contents](const std::string& datagram, std::size_t) {
        contents.datagrams.push_back(datagram);
      },
      contents.warnings, error);
}

bool Journal::Open(const fs::path& path, const JournalReader& each,
                   std::vector<std::string>& warnings, std::string& error) {
  path_ = path;
  std::string why;
  if (!file_.Open(path, why)) {
    error = "cannot open the journal " + path.string() + ": " + why;
    return false;
  }
  bool held = false;
  if (!file_.Lock(held, why)) {
    if (held) {
      error = "the journal " + path.string() +
              " is in use by another kevo-live (it holds the file's lock); stop that one or "
              "name another file with --journal";
      return false;
    }
    // A file system without locks (some network shares) still keeps the journal; only the
    // guard against a second kevo-live is gone.
    warnings.push_back("cannot lock the journal " + path.string() + " (" + why +
                       "); make sure no other kevo-live writes to it");
  }
  return Read(each, warnings, error);
}

bool Journal::Read(const JournalReader& each, std::vector<std::string>& warnings,
                   std::string& error) {
  const std::string name = path_.string();
  std::vector<char> piece(kReadPiece);
  std::string line;              // the line being gathered, over pieces when long
  std::uint64_t offset = 0;      // bytes read
  std::uint64_t line_start = 0;  // where `line` starts in the file
  std::size_t number = 0;
  bool judged = false;  // the first line that is not empty was read
  std::string why;

  // False when the file must be left alone.
  auto take = [&](std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();  // edited on Windows
    if (text.empty()) return true;
    if (!judged) {
      judged = true;
      HeaderCheck header = CheckHeader(text);
      if (header.is_header) {
        if (header.version == kJournalFormat) return true;
        error = name + " is a journal of format " +
                (header.version ? std::to_string(header.version) : "'" + text + "'") +
                ", which this kevo-live cannot read (it reads format " +
                std::to_string(kJournalFormat) + "); the file is left unchanged";
        return false;
      }
      if (!IsDatagramLine(text)) {
        error = name + " is not a kevo-live journal: its first line is neither '" +
                JournalHeader() +
                "' nor a datagram. The file is left unchanged; name another one with --journal";
        return false;
      }
    }
    std::string datagram;
    if (!DatagramOfLine(text, datagram, why)) {
      warnings.push_back(name + ":" + std::to_string(number) + ": not a journal line (" + why +
                         "), left out");
      return true;
    }
    each(datagram, number);
    return true;
  };

  for (;;) {
    long long got = file_.Read(offset, piece.data(), piece.size(), why);
    if (got < 0) {
      error = "cannot read the journal " + name + ": " + why;
      return false;
    }
    if (got == 0) break;
    offset += static_cast<std::uint64_t>(got);
    const char* at = piece.data();
    const char* end = at + got;
    while (at < end) {
      const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
      if (found == nullptr) {
        line.append(at, end);
        break;
      }
      const char* line_end = static_cast<const char*>(found);
      line.append(at, line_end);
      at = line_end + 1;
      ++number;
      std::uint64_t length = line.size() + 1;
      if (!take(line)) return false;
      line.clear();
      line_start += length;
    }
  }

  if (!line.empty()) {
    // A first line cut short is a header cut short when it could be one; anything else that
    // is not known to be a journal stays as it is.
    std::string header = JournalHeader();
    bool header_cut =
        !judged && line.size() < header.size() && header.compare(0, line.size(), line) == 0;
    if (!judged && !header_cut) {
      error = name + " is not a kevo-live journal (it holds " + std::to_string(offset) +
              " bytes without a line end). The file is left unchanged; name another one with "
              "--journal";
      return false;
    }
    if (!header_cut) {
      warnings.push_back(name + ":" + std::to_string(number + 1) +
                         ": the last line was cut short (" + std::to_string(line.size()) +
                         " bytes without a line end); read up to the line before it");
    }
    if (!file_.Truncate(line_start, why)) {
      error = "cannot cut the short line off " + name + ": " + why;
      return false;
    }
  }
  whole_ = line_start;
  if (!judged) {
    // New or empty: the header goes first, before any datagram can.
    std::string text = JournalHeader() + "\n";
    if (file_.Write(text.data(), text.size(), why) != text.size() || !file_.Sync(why)) {
      std::string ignored;
      file_.Truncate(whole_, ignored);
      error = "cannot write the journal " + name + ": " + why;
      return false;
    }
    whole_ += text.size();
  }
  return true;
}

bool Journal::Repair() {
  std::uint64_t size = 0;
  std::string why;
  if (!file_.Size(size, why)) {
    last_error_ = why;
    return false;
  }
  if (size <= whole_) {
    whole_ = size;
    return true;
  }
  if (!file_.Truncate(whole_, why)) {
    last_error_ = "cannot cut off a half-written line: " + why;
    return false;
  }
  return true;
}

std::size_t Journal::Append(const std::vector<std::string>& datagrams) {
  last_error_.clear();
  if (!file_.is_open()) {
    last_error_ = "the journal is not open";
    return 0;
  }
  if (datagrams.empty() || !Repair()) return 0;
  std::string lines;
  std::vector<std::size_t> ends;  // where each datagram's line ends in `lines`
  ends.reserve(datagrams.size());
  for (const std::string& datagram : datagrams) {
    lines += JournalLine(datagram);
    lines += '\n';
    ends.push_back(lines.size());
  }
  std::string why;
  std::size_t written = file_.Write(lines.data(), lines.size(), why);
  std::size_t whole =
      static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), written) - ends.begin());
  std::uint64_t end = whole_ + (whole == 0 ? 0 : ends[whole - 1]);
  if (written < lines.size()) {
    last_error_ = why;
    // What did not fit is cut off now; should that fail too, Repair tries again first thing.
    std::string ignored;
    if (whole_ + written != end) file_.Truncate(end, ignored);
  }
  if (whole > 0 && sync_ && !file_.Sync(why)) {
    last_error_ = why;
    std::string ignored;
    file_.Truncate(whole_, ignored);
    return 0;
  }
  whole_ = end;
  return whole;
}

}  // namespace kevo::live
