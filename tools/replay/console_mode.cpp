#include "tools/replay/console_mode.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace kevo::replay {

void UseBinaryStandardOutput() {
  std::cout.flush();
  std::fflush(stdout);
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace kevo::replay
