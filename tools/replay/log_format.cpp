#include "tools/replay/log_format.h"

#include <string>

#include "tools/replay/adif_reader.h"
#include "tools/replay/cabrillo_reader.h"
#include "tools/replay/text_util.h"

namespace kevo::replay {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// Offset of the first line whose tag is QSO or START-OF-LOG, or npos.
std::size_t FirstCabrilloLine(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == kNotFound) end = text.size();
    std::string tag = CabrilloTag(TrimAsciiSpace(text.substr(start, end - start)));
    if (tag == "QSO" || tag == "START-OF-LOG") return start;
    start = end + 1;
  }
  return kNotFound;
}

// Offset of the first <EOH> or <EOR>, or npos. A lone field proves nothing: Cabrillo soapbox
// lines may hold anything.
std::size_t FirstAdifMarker(std::string_view text) {
  for (std::size_t at = text.find('<'); at != kNotFound; at = text.find('<', at + 1)) {
    std::string_view candidate = text.substr(at, 5);
    if ((EqualsIgnoringAsciiCase(candidate, "<EOR>") || EqualsIgnoringAsciiCase(candidate, "<EOH>"))) {
      return at;
    }
  }
  return kNotFound;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

const char* LogFormatName(LogFormat format) {
  switch (format) {
    case LogFormat::kAdif:
      return "ADIF";
    case LogFormat::kCabrillo:
      return "Cabrillo";
    case LogFormat::kUnknown:
      break;
  }
  return "unknown";
}

LogFormat DetectLogFormat(std::string_view content, std::string_view file_name) {
  std::size_t cabrillo = FirstCabrilloLine(content);
  std::size_t adif = FirstAdifMarker(content);
  if (cabrillo == kNotFound && adif == kNotFound) {
    // A log cut off before its first <EOR> still shows its fields.
    for (std::size_t at = content.find('<'); at != kNotFound; at = content.find('<', at + 1)) {
      if (StartsAdifSpecifier(content, at)) return LogFormat::kAdif;
    }
    return LogFormat::kUnknown;
  }
  if (cabrillo == kNotFound) return LogFormat::kAdif;
  if (adif == kNotFound) return LogFormat::kCabrillo;
  if (EndsWith(file_name, ".adi") || EndsWith(file_name, ".adif")) return LogFormat::kAdif;
  if (EndsWith(file_name, ".cbr") || EndsWith(file_name, ".log")) return LogFormat::kCabrillo;
  return cabrillo < adif ? LogFormat::kCabrillo : LogFormat::kAdif;
}

}  // namespace kevo::replay
