// The library's eleven entries as function pointers, one set resolved from one loaded library.
// Everything the replay tool does to the library goes through these pointers, so tests can
// fill them with fakes and the real run fills them from the shared library.
#ifndef KEVO_REPLAY_ENTRY_POINTS_H_
#define KEVO_REPLAY_ENTRY_POINTS_H_

#include <cstdint>

#include "StatsKEVO.h"

namespace kevo::replay {

struct EntryPoints {
  decltype(&::GetSetName) get_set_name = nullptr;
  decltype(&::GetNumberOfSets) get_number_of_sets = nullptr;
  decltype(&::GetExchgCount0) get_exchg_count = nullptr;
  decltype(&::IsValidExchg0) is_valid_exchg = nullptr;
  decltype(&::SetupSet0) setup_set = nullptr;
  decltype(&::RunCommand0) run_command = nullptr;
  decltype(&::ResetStats0) reset_stats = nullptr;
  decltype(&::AddData0) add_data = nullptr;
  decltype(&::RemoveData0) remove_data = nullptr;
  decltype(&::CheckCall0) check_call = nullptr;
  decltype(&::GetResult0) get_result = nullptr;
};

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_ENTRY_POINTS_H_
