// Turns one record of a log file into the values the library's entries take, or into the
// reason why the record has to be skipped; with the amateur bands: the ADIF band names, their
// frequency limits and the band text handed to the library (the meters number for bands
// measured in meters: "160", "20", "2"; the name with its unit for shorter waves: "70cm",
// "6mm").
#ifndef KEVO_TOOLS_REPLAY_INPUTS_QSO_MAPPING_H_
#define KEVO_TOOLS_REPLAY_INPUTS_QSO_MAPPING_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "StatsKEVO.h"
#include "tools/host/host_session.h"
#include "tools/replay/inputs/adif_reader.h"
#include "tools/replay/inputs/cabrillo_reader.h"

namespace kevo::replay {

struct AdifFieldNames {
  std::string prefix = "PFX";
  std::string region = "STATE";
  std::optional<std::string> received;  // unset: SRX_STRING, else SRX
};

// Both return false with the reason in `reason` when the record cannot be used.
bool MapAdifRecord(const AdifRecord& record, const AdifFieldNames& names, host::QsoValues& qso,
                   std::string& reason);
bool MapCabrilloQso(const CabrilloQso& record, host::QsoValues& qso, std::string& reason);

// Cabrillo's mode field as the library gets it: PH is SSB, RY is RTTY, the rest unchanged.
// Empty for a mode Cabrillo does not have.
std::string CabrilloMode(const std::string& field);

}  // namespace kevo::replay

#endif  // KEVO_TOOLS_REPLAY_INPUTS_QSO_MAPPING_H_
