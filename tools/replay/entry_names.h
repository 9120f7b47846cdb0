// The export names of the library's entries: each entry is exported under a plain C name and
// under the compiler's decorated C++ name of the same parameter list. This is the one place
// that spells them; entry_names.cpp holds the table.
#ifndef KEVO_REPLAY_ENTRY_NAMES_H_
#define KEVO_REPLAY_ENTRY_NAMES_H_

#include <cstddef>

namespace kevo::replay {

enum class NameStyle { kPlain, kDecorated };

struct EntryName {
  const char* plain;
  const char* decorated;
};

// In the order of the fields of EntryPoints.
enum class Entry : std::size_t {
  kGetSetName,
  kGetNumberOfSets,
  kGetExchgCount,
  kIsValidExchg,
  kSetupSet,
  kRunCommand,
  kResetStats,
  kAddData,
  kRemoveData,
  kCheckCall,
  kGetResult,
  kCount
};

const EntryName& NameOf(Entry entry);
const char* NameOf(Entry entry, NameStyle style);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_ENTRY_NAMES_H_
