// Which logs kevo-live scores when several share the port: loggers of another contest or
// another station broadcast to the same network, and their contacts would otherwise be scored
// with ours without a word.
#ifndef KEVO_TOOLS_LIVE_INTAKE_LOG_FILTER_H_
#define KEVO_TOOLS_LIVE_INTAKE_LOG_FILTER_H_

#include <string>

#include "tools/live/intake/contact_event.h"

namespace kevo::live {

struct LogFilter {
  std::string contest;  // --only-contest: empty keeps every contest name
  std::string call;     // --only-call: empty keeps every station
};

// Contest names match without regard to case, calls as upper case. A delete names neither
// and always passes: it changes only an ID the book already holds.
bool PassesFilter(const LogFilter& filter, const ContactEvent& event);

// Upper case, ASCII letters only.
std::string AsciiUpperCopy(const std::string& text);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_INTAKE_LOG_FILTER_H_
