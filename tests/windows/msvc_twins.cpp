// The C++ twins declared with exactly the parameter lists of the public header. Compiled for the
// MSVC target, the references below carry the decorated names a host built with MSVC looks up;
// check-decorations.sh compares them with the export table of the DLL.
#define GetSetName kevo_c_GetSetName
#define GetNumberOfSets kevo_c_GetNumberOfSets
#define GetExchgCount0 kevo_c_GetExchgCount0
#define IsValidExchg0 kevo_c_IsValidExchg0
#define SetupSet0 kevo_c_SetupSet0
#define RunCommand0 kevo_c_RunCommand0
#define ResetStats0 kevo_c_ResetStats0
#define AddData0 kevo_c_AddData0
#define RemoveData0 kevo_c_RemoveData0
#define CheckCall0 kevo_c_CheckCall0
#define GetResult0 kevo_c_GetResult0
#include "StatsKEVO.h"
#undef GetSetName
#undef GetNumberOfSets
#undef GetExchgCount0
#undef IsValidExchg0
#undef SetupSet0
#undef RunCommand0
#undef ResetStats0
#undef AddData0
#undef RemoveData0
#undef CheckCall0
#undef GetResult0

// decltype carries the whole function type over, calling convention included; outside
// extern "C" the names get C++ linkage and so the compiler's decorations.
decltype(kevo_c_GetSetName) GetSetName;
decltype(kevo_c_GetNumberOfSets) GetNumberOfSets;
decltype(kevo_c_GetExchgCount0) StatsGetExchgCount0;
decltype(kevo_c_IsValidExchg0) StatsIsValidExchg0;
decltype(kevo_c_SetupSet0) SetupSet0;
decltype(kevo_c_RunCommand0) RunCommand0;
decltype(kevo_c_ResetStats0) ResetStats0;
decltype(kevo_c_AddData0) AddData0;
decltype(kevo_c_RemoveData0) RemoveData0;
decltype(kevo_c_CheckCall0) CheckCallFunc0;
decltype(kevo_c_GetResult0) GetResult0;

extern "C" const void* const kevo_twins[] = {
    reinterpret_cast<const void*>(&GetSetName),
    reinterpret_cast<const void*>(&GetNumberOfSets),
    reinterpret_cast<const void*>(&StatsGetExchgCount0),
    reinterpret_cast<const void*>(&StatsIsValidExchg0),
    reinterpret_cast<const void*>(&SetupSet0),
    reinterpret_cast<const void*>(&RunCommand0),
    reinterpret_cast<const void*>(&ResetStats0),
    reinterpret_cast<const void*>(&AddData0),
    reinterpret_cast<const void*>(&RemoveData0),
    reinterpret_cast<const void*>(&CheckCallFunc0),
    reinterpret_cast<const void*>(&GetResult0),
};
