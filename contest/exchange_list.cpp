#include "contest/exchange_list.h"

#include "platform/text_reader.h"

namespace kevo {

namespace {

bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

const std::string* ExchangeList::Find(std::string_view call) const {
  auto found = values_.find(std::string(call));
  return found == values_.end() ? nullptr : &found->second;
}

void ApplyExchangeLine(std::string_view line, ExchangeList* list) {
  // The list hands its values to the host as zero-terminated texts: a zero byte ends the
  // line's text, or the host would be given bytes beyond the end it can see.
  line = line.substr(0, line.find('\0'));
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return;
  list->Set(std::string(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1))));
}

bool ReadExchangeList(InputFile& file, ExchangeList* list) {
  TextLineReader reader(file);
  std::string line;
  while (reader.NextLine(&line)) ApplyExchangeLine(line, list);
  return !reader.failed();
}

}  // namespace kevo
