// The whole of kevo-replay behind main(): options, files, the library, the session.
#ifndef KEVO_REPLAY_REPLAY_APP_H_
#define KEVO_REPLAY_REPLAY_APP_H_

#include <ostream>
#include <string>
#include <vector>

namespace kevo::replay {

enum ExitCode : int {
  kExitOk = 0,
  kExitUnreadable = 1,  // a file could not be read or recognised, or the library not loaded
  kExitUsage = 2,
  kExitSkipped = 3,  // some records skipped, or script lines rejected
};

int RunReplayApp(const std::vector<std::string>& arguments, std::ostream& out,
                 std::ostream& errors);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_REPLAY_APP_H_
