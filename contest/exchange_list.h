// Call-to-exchange map that the operator keeps in "RADL.lst"; the call check reads it.
#ifndef KEVO_CONTEST_EXCHANGE_LIST_H_
#define KEVO_CONTEST_EXCHANGE_LIST_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/platform.h"

namespace kevo {

class ExchangeList {
 public:
  // Also gives back the hash table itself, so a large list leaves nothing behind.
  void Clear() { std::unordered_map<std::string, std::string>().swap(values_); }
  // Stores the value under the key; a later line for the same key wins.
  void Set(std::string key, std::string value) { values_[std::move(key)] = std::move(value); }
  // The value for exactly this key (case and blanks count), or null when there is none.
  const std::string* Find(std::string_view call) const {
    auto found = values_.find(std::string(call));
    return found == values_.end() ? nullptr : &found->second;
  }
  std::size_t size() const { return values_.size(); }

 private:
  std::unordered_map<std::string, std::string> values_;
};

// Applies one line of the file: key=value, both trimmed of ASCII white space. A line without
// "=" or starting with "=" is ignored; a zero byte ends the line.
void ApplyExchangeLine(std::string_view line, ExchangeList* list);

// Reads every line of an opened file into the list. False when a read error cut it short;
// the lines read before it stay.
bool ReadExchangeList(InputFile& file, ExchangeList* list);

// Opens "RADL.lst", else "Plugins/RADL.lst", and reads the first that opens. False when
// neither could be opened.
bool LoadExchangeList(Platform& platform, ExchangeList* list);

}  // namespace kevo

#endif  // KEVO_CONTEST_EXCHANGE_LIST_H_
