#include "platform/text_reader.h"

#include <algorithm>
#include <cstring>

namespace kevo {

namespace {
constexpr char kEndOfFileByte = 0x1A;
}

bool TextLineReader::FillBuffer() {
  if (at_end_) return false;
  long count = file_.Read(buffer_.data(), buffer_.size());
  if (count < 0) failed_ = true;
  if (count <= 0) {
    at_end_ = true;
    return false;
  }
  begin_ = 0;
  end_ = static_cast<std::size_t>(count);
  // Text mode stops at 0x1A: nothing from that byte on exists.
  const char* stop = static_cast<const char*>(std::memchr(buffer_.data(), kEndOfFileByte, end_));
  if (stop != nullptr) {
    end_ = static_cast<std::size_t>(stop - buffer_.data());
    at_end_ = true;
  }
  return end_ > 0;
}

bool TextLineReader::NextLine(std::string* line) {
  line->clear();
  bool have_bytes = false;
  for (;;) {
    if (begin_ == end_ && !FillBuffer()) {
      // A last line without a line end is still a line. A CR just before the end of the
      // file is an ordinary byte: only CR LF is a line end. A line cut short by a read
      // error is not a line: its value could be wrong.
      return have_bytes && !failed_;
    }
    have_bytes = true;
    const char* start = buffer_.data() + begin_;
    const char* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    if (newline == nullptr) {
      line->append(start, end_ - begin_);
      begin_ = end_;
      continue;
    }
    line->append(start, static_cast<std::size_t>(newline - start));
    begin_ = static_cast<std::size_t>(newline - buffer_.data()) + 1;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
  }
}

std::string ToTextModeBytes(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  for (char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

}  // namespace kevo
