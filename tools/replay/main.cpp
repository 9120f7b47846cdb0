// kevo-replay: loads the StatsKEVO plug-in through its exported entries and drives it with a
// contest log or a scripted session, as a logging host would.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/replay/replay_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  try {
    int code = kevo::replay::RunReplayApp(arguments, std::cout, std::cerr);
    std::cout.flush();
    return code;
  } catch (const std::exception& error) {
    std::cerr << "kevo-replay: " << error.what() << '\n';
  }
  return kevo::replay::kExitUnreadable;
}
