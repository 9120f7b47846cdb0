#include "tools/replay/entry_names.h"

namespace kevo::replay {

namespace {

// Three entries carry another function name in their decorated form: CheckCallFunc0,
// StatsGetExchgCount0 and StatsIsValidExchg0.
#ifdef _WIN32
// MSVC decoration of 32-bit cdecl free functions (YA = cdecl; PBD const char*, H int32_t,
// I uint32_t, N double, PAD char*, PAH int32_t*, PBVCOleDateTime@@ const COleDateTime*;
// digits refer back to the argument types already spelled).
constexpr EntryName kNames[] = {
    {"GetSetName", "?GetSetName@@YAPBDH@Z"},
    {"GetNumberOfSets", "?GetNumberOfSets@@YAHXZ"},
    {"GetExchgCount0", "?StatsGetExchgCount0@@YAHPBD00@Z"},
    {"IsValidExchg0", "?StatsIsValidExchg0@@YAHPBD000HHH@Z"},
    {"SetupSet0", "?SetupSet0@@YAXXZ"},
    {"RunCommand0", "?RunCommand0@@YAPBDHPBD@Z"},
    {"ResetStats0", "?ResetStats0@@YAHPBDH0PBVCOleDateTime@@10000000000HHHNN000@Z"},
    {"AddData0", "?AddData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z"},
    {"RemoveData0", "?RemoveData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z"},
    {"CheckCall0", "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z"},
    {"GetResult0", "?GetResult0@@YAPBDPAH@Z"},
};
#else
// Itanium C++ ABI mangling (PKc const char*, i int32_t, j uint32_t, d double, Pc char*,
// Pi int32_t*, PK12COleDateTime const COleDateTime*; S0_, S1_, S3_ are substitutions).
constexpr EntryName kNames[] = {
    {"GetSetName", "_Z10GetSetNamei"},
    {"GetNumberOfSets", "_Z15GetNumberOfSetsv"},
    {"GetExchgCount0", "_Z19StatsGetExchgCount0PKcS0_S0_"},
    {"IsValidExchg0", "_Z18StatsIsValidExchg0PKcS0_S0_S0_iii"},
    {"SetupSet0", "_Z9SetupSet0v"},
    {"RunCommand0", "_Z11RunCommand0iPKc"},
    {"ResetStats0", "_Z11ResetStats0PKciS0_PK12COleDateTimeS3_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_iiiddS0_S0_S0_"},
    {"AddData0",
     "_Z8AddData0PKcS0_PK12COleDateTimeS3_S3_S3_jjS0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_iiiddS0_S0_S0_S0_S0_"},
    {"RemoveData0",
     "_Z11RemoveData0PKcS0_PK12COleDateTimeS3_S3_S3_jjS0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_iiiddS0_S0_S0_S0_S0_"},
    {"CheckCall0",
     "_Z14CheckCallFunc0PKcjjS0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_iiiddS0_S0_S0_S0_S0_S0_S0_PcS1_"},
    {"GetResult0", "_Z10GetResult0Pi"},
};
#endif

static_assert(sizeof kNames / sizeof kNames[0] == static_cast<std::size_t>(Entry::kCount));

}  // namespace

const EntryName& NameOf(Entry entry) { return kNames[static_cast<std::size_t>(entry)]; }

const char* NameOf(Entry entry, NameStyle style) {
  const EntryName& name = NameOf(entry);
  return style == NameStyle::kPlain ? name.plain : name.decorated;
}

}  // namespace kevo::replay
