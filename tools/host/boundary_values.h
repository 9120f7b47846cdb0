// The values of the boundary that a host compares against or passes, named once for every
// program that plays a host: the call check's answers and the date-time value's statuses.
#ifndef KEVO_TOOLS_HOST_BOUNDARY_VALUES_H_
#define KEVO_TOOLS_HOST_BOUNDARY_VALUES_H_

#include <cstdint>

namespace kevo::host {

// CheckCall0's answers.
inline constexpr std::int32_t kCheckDuplicate = 0;
inline constexpr std::int32_t kCheckNoNewMultiplier = 1;
inline constexpr std::int32_t kCheckNewMultiplier = 2;
inline constexpr std::int32_t kCheckBandsDiffer = 4;

// COleDateTime::m_status; any other status counts as valid.
inline constexpr std::int32_t kTimeValid = 0;
inline constexpr std::int32_t kTimeInvalid = 1;
inline constexpr std::int32_t kTimeNull = 2;

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_BOUNDARY_VALUES_H_
