// An independent, deliberately plain reading of an exchange list file, for the fuzzers to
// compare the library's reader with: cut at the first 0x1A, split at LF, drop one CR before
// each LF, cut each line at a zero byte, then key=value with both sides trimmed of ASCII white
// space; the last line wins.
#ifndef KEVO_FUZZ_EXCHANGE_MODEL_H_
#define KEVO_FUZZ_EXCHANGE_MODEL_H_

#include <map>
#include <string>
#include <string_view>

namespace kevo_fuzz {

inline bool IsModelSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline std::string ModelTrim(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsModelSpace(text[first])) ++first;
  while (last > first && IsModelSpace(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

inline void ModelApplyLine(std::string_view line, std::map<std::string, std::string>* list) {
  line = line.substr(0, line.find('\0'));  // the host's texts end at a zero byte
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return;
  (*list)[ModelTrim(line.substr(0, equals))] = ModelTrim(line.substr(equals + 1));
}

// `read_error`: a read error follows the bytes; a last line it cuts short is dropped.
inline std::map<std::string, std::string> ModelExchangeList(std::string_view bytes,
                                                            bool read_error = false) {
  std::map<std::string, std::string> list;
  std::size_t end_of_file = bytes.find('\x1A');
  if (end_of_file != std::string_view::npos) {
    bytes = bytes.substr(0, end_of_file);
  } else if (read_error) {
    bytes = bytes.substr(0, bytes.rfind('\n') + 1);  // npos + 1 is 0: no whole line at all
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t newline = bytes.find('\n', start);
    std::size_t stop = newline == std::string_view::npos ? bytes.size() : newline;
    std::string_view line = bytes.substr(start, stop - start);
    if (newline != std::string_view::npos && !line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    ModelApplyLine(line, &list);
    if (newline == std::string_view::npos) break;
    start = newline + 1;
  }
  return list;
}

}  // namespace kevo_fuzz

#endif  // KEVO_FUZZ_EXCHANGE_MODEL_H_
