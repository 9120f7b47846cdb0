// The one list of the plug-in's eleven entries. Every other place that names them (the ELF
// version script, the Windows .def file, kevo-replay's name table) is derived from or checked
// against this table, so an entry is added or renamed here and nowhere else.
//
// KEVO_ENTRY_TABLE(X) calls X(plain, itanium, msvc) once per entry, in a fixed order:
//   plain    the C name, exported as it stands and used by hosts that look up plain names;
//   itanium  the C++ twin's decoration on ELF platforms (GCC and clang);
//   msvc     the C++ twin's decoration on 32-bit Windows (MSVC, cdecl), which a host built with
//            the platform's own compiler looks up.
// Three twins carry another function name: CheckCallFunc0, StatsGetExchgCount0 and
// StatsIsValidExchg0.
//
// Itanium: PKc const char*, i int32_t, j uint32_t, d double, Pc char*, Pi int32_t*,
// PK12COleDateTime const COleDateTime*; S0_, S1_, S3_ are substitutions.
// MSVC: YA cdecl; PBD const char*, H int32_t, I uint32_t, N double, PAD char*, PAH int32_t*,
// PBVCOleDateTime@@ const COleDateTime*; digits refer back to argument types already spelled.
#ifndef KEVO_PLUGIN_ENTRY_TABLE_H_
#define KEVO_PLUGIN_ENTRY_TABLE_H_

// clang-format off
#define KEVO_ENTRY_TABLE(X)                                                                      \
  X(GetSetName, "_Z10GetSetNamei", "?GetSetName@@YAPBDH@Z")                                     \
  X(GetNumberOfSets, "_Z15GetNumberOfSetsv", "?GetNumberOfSets@@YAHXZ")                          \
  X(GetExchgCount0, "_Z19StatsGetExchgCount0PKcS0_S0_", "?StatsGetExchgCount0@@YAHPBD00@Z")       \
  X(IsValidExchg0, "_Z18StatsIsValidExchg0PKcS0_S0_S0_iii",                                       \
    "?StatsIsValidExchg0@@YAHPBD000HHH@Z")                                                        \
  X(SetupSet0, "_Z9SetupSet0v", "?SetupSet0@@YAXXZ")                                              \
  X(RunCommand0, "_Z11RunCommand0iPKc", "?RunCommand0@@YAPBDHPBD@Z")                              \
  X(ResetStats0,                                                                                  \
    "_Z11ResetStats0PKciS0_PK12COleDateTimeS3_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_iiiddS0_S0_S0_",     \
    "?ResetStats0@@YAHPBDH0PBVCOleDateTime@@10000000000HHHNN000@Z")                               \
  X(AddData0,                                                                                     \
    "_Z8AddData0PKcS0_PK12COleDateTimeS3_S3_S3_jjS0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_"  \
    "iiiddS0_S0_S0_S0_S0_",                                                                       \
    "?AddData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z")                        \
  X(RemoveData0,                                                                                  \
    "_Z11RemoveData0PKcS0_PK12COleDateTimeS3_S3_S3_jjS0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_" \
    "S0_iiiddS0_S0_S0_S0_S0_",                                                                    \
    "?RemoveData0@@YAHPBD0PBVCOleDateTime@@111II000000000000000HHHNN00000@Z")                     \
  X(CheckCall0,                                                                                   \
    "_Z14CheckCallFunc0PKcjjS0_S0_S0_S0_S0_S0_S0_S0_S0_S0_S0_iiiddS0_S0_S0_S0_S0_S0_S0_PcS1_",   \
    "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z")                                     \
  X(GetResult0, "_Z10GetResult0Pi", "?GetResult0@@YAPBDPAH@Z")
// clang-format on

#endif  // KEVO_PLUGIN_ENTRY_TABLE_H_
