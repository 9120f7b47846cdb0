// Tells an ADIF file from a Cabrillo file by what it holds; the file name only breaks a tie.
#ifndef KEVO_REPLAY_LOG_FORMAT_H_
#define KEVO_REPLAY_LOG_FORMAT_H_

#include <string_view>

namespace kevo::replay {

enum class LogFormat { kUnknown, kAdif, kCabrillo };

const char* LogFormatName(LogFormat format);

LogFormat DetectLogFormat(std::string_view content, std::string_view file_name);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_LOG_FORMAT_H_
