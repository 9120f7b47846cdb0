// The extended log "ExtLog.txt": the whole QSO log scored, one fixed-column line per QSO.
#ifndef KEVO_EXPORT_EXT_LOG_H_
#define KEVO_EXPORT_EXT_LOG_H_

#include <string>

#include "contest/contest_state.h"
#include "platform/platform.h"

namespace kevo {

extern const char kExtLogFileName[];
extern const char kExtLogHeader[];

// One record line, without its line end.
std::string ExtLogRecord(const CQsoEntry& entry, const char* argument, int32_t points,
                         bool new_multiplier);

// Writes "ExtLog.txt" in the current directory, normalising every entry on the way; shows a
// message box when the file cannot be created or written.
void WriteExtLog(ContestState& state, Platform& platform, const char* argument);

}  // namespace kevo

#endif  // KEVO_EXPORT_EXT_LOG_H_
