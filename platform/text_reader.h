// Reads a file as the Windows C runtime reads text mode, on every platform: LF ends a line and
// a CR directly before it belongs to the line end, a lone CR is an ordinary byte, and the byte
// 0x1A ends the file.
#ifndef KEVO_PLATFORM_TEXT_READER_H_
#define KEVO_PLATFORM_TEXT_READER_H_

#include <string>
#include <vector>

#include "platform/platform.h"

namespace kevo {

class TextLineReader {
 public:
  explicit TextLineReader(InputFile& file) : file_(file) {}

  // Puts the next line, without its line end, into *line. False at the end of the file or
  // after a read error (see failed()); a last line without a line end is still returned, a
  // line cut short by a read error is not.
  bool NextLine(std::string* line);

  bool failed() const { return failed_; }

 private:
  bool FillBuffer();

  InputFile& file_;
  std::vector<char> buffer_ = std::vector<char>(64 * 1024);
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
  bool failed_ = false;
};

// Text mode on the way out: every LF becomes CR LF, no other byte changes.
std::string ToTextModeBytes(const std::string& text);

}  // namespace kevo

#endif  // KEVO_PLATFORM_TEXT_READER_H_
