// The fixed-column lines of "ExtLog.txt".
#include "export/ext_log.h"
#include "text/text_format.h"

namespace kevo {

const char kExtLogFileName[] = "ExtLog.txt";
const char kExtLogHeader[] =
    "   DATE    TIME BAND MODE   Nr sent     CALL         Nr rcvd      Pts Mults";

std::string ExtLogRecord(const CQsoEntry& entry, const char* argument, int32_t points,
                         bool new_multiplier) {
  // "%s %s %-4s %-6s %-3s %-3s %-3s %-12s %-3s %-7s %3i %s": long texts push the later
  // columns right rather than being cut.
  std::string line;
  line.reserve(96);
  line.append(FormatDateTime(entry.m_time, "%Y-%m-%d")).push_back(' ');
  line.append(FormatDateTime(entry.m_time, "%H%M")).push_back(' ');
  AppendPadded(&line, entry.m_strBand, 4);
  line.push_back(' ');
  AppendPadded(&line, entry.m_strMode, 6);
  line.append(" 599 ");
  AppendPadded(&line, entry.m_strSent, 3);
  line.push_back(' ');
  // Spelled out rather than left to the C library, which may crash on a null "%s".
  AppendPadded(&line, argument ? argument : "(null)", 3);
  line.push_back(' ');
  AppendPadded(&line, entry.m_strCall, 12);
  line.append(" 599 ");
  AppendPadded(&line, entry.m_strRcvd, 7);
  line.push_back(' ');
  AppendInt(&line, static_cast<uint32_t>(points), 3);
  line.push_back(' ');
  if (new_multiplier) AppendPadded(&line, entry.m_strPrefix, 6);
  return line;
}

}  // namespace kevo
