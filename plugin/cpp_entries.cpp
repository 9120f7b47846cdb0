// The C++ twins of the entries, exported under their compiler-decorated names for hosts that
// look the entries up that way. This file sees only a forward declaration of the date-time
// value and never the C declarations, whose names and parameter lists are the same.
#include <cstdint>

#include "plugin/entries.h"

#define KEVO_CALL
#define KEVO_NAME(plain, decorated) decorated
#define KEVO_ENTRY __attribute__((visibility("default")))

#include "plugin/entry_bodies.inc"
