// The plain C names of the entries, as hosts look them up.
#include "StatsKEVO.h"
#include "plugin/entries.h"

#define KEVO_NAME(plain, decorated) plain
#define KEVO_ENTRY KEVO_EXPORT

extern "C" {
#include "plugin/entry_bodies.inc"
}  // extern "C"
