// Standard output in binary mode on Windows, so that a script transcript has the same bytes
// (LF line ends) on every platform. Elsewhere nothing to do.
#ifndef KEVO_REPLAY_CONSOLE_MODE_H_
#define KEVO_REPLAY_CONSOLE_MODE_H_

namespace kevo::replay {

void UseBinaryStandardOutput();

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_CONSOLE_MODE_H_
