// Reading the lines of the operator's exchange list into the map.
#include "contest/exchange_list.h"
#include "platform/text_reader.h"
#include "text/ascii.h"

namespace kevo {

void ApplyExchangeLine(std::string_view line, ExchangeList* list) {
  // The list hands its values to the host as zero-terminated texts: a zero byte ends the
  // line's text, or the host would be given bytes beyond the end it can see.
  line = line.substr(0, line.find('\0'));
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return;
  list->Set(std::string(TrimAsciiSpace(line.substr(0, equals))),
            std::string(TrimAsciiSpace(line.substr(equals + 1))));
}

bool ReadExchangeList(InputFile& file, ExchangeList* list) {
  TextLineReader reader(file);
  std::string line;
  while (reader.NextLine(&line)) ApplyExchangeLine(line, list);
  return !reader.failed();
}

}  // namespace kevo
