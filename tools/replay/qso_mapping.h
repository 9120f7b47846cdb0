// Turns one record of a log file into the values the library's entries take, or into the
// reason why the record has to be skipped.
#ifndef KEVO_REPLAY_QSO_MAPPING_H_
#define KEVO_REPLAY_QSO_MAPPING_H_

#include <cstddef>
#include <string>

#include "StatsKEVO.h"
#include "tools/replay/adif_reader.h"
#include "tools/replay/cabrillo_reader.h"

namespace kevo::replay {

// What AddData0 and CheckCall0 are given for one contact.
struct QsoValues {
  std::size_t line = 0;
  std::string call;
  std::string band;    // meters number: "160", "80", ... "10", "6", "2"; "70cm" and shorter
  std::string mode;
  COleDateTime time{0.0, 0};
  std::string sent;
  std::string received;
  std::string prefix;  // country prefix, empty where the file has none
  std::string region;  // region code, empty where the file has none
};

struct AdifFieldNames {
  std::string prefix = "PFX";
  std::string region = "STATE";
};

// Both return false with the reason in `reason` when the record cannot be used.
bool MapAdifRecord(const AdifRecord& record, const AdifFieldNames& names, QsoValues& qso,
                   std::string& reason);
bool MapCabrilloQso(const CabrilloQso& record, QsoValues& qso, std::string& reason);

// Cabrillo's mode field as the library gets it: PH is SSB, RY is RTTY, the rest unchanged.
// Empty for a mode Cabrillo does not have.
std::string CabrilloMode(const std::string& field);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_QSO_MAPPING_H_
