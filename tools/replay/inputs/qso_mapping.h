// Turns one record of a log file into the values the library's entries take, or into the
// reason why the record has to be skipped; with the amateur bands: the ADIF band names, their
// frequency limits and the band text handed to the library (the meters number for bands
// measured in meters: "160", "20", "2"; the name with its unit for shorter waves: "70cm",
// "6mm").
#ifndef KEVO_REPLAY_QSO_MAPPING_H_
#define KEVO_REPLAY_QSO_MAPPING_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "StatsKEVO.h"
#include "tools/replay/host/host_session.h"
#include "tools/replay/inputs/adif_reader.h"
#include "tools/replay/inputs/cabrillo_reader.h"

namespace kevo::replay {

// One record of the file as the host hands it to the library, and where it stands.
struct QsoValues : Contact {
  std::size_t line = 0;
};

struct AdifFieldNames {
  std::string prefix = "PFX";
  std::string region = "STATE";
  std::optional<std::string> received;  // unset: SRX_STRING, else SRX
};

// Both return false with the reason in `reason` when the record cannot be used.
bool MapAdifRecord(const AdifRecord& record, const AdifFieldNames& names, QsoValues& qso,
                   std::string& reason);
bool MapCabrilloQso(const CabrilloQso& record, QsoValues& qso, std::string& reason);

// Cabrillo's mode field as the library gets it: PH is SSB, RY is RTTY, the rest unchanged.
// Empty for a mode Cabrillo does not have.
std::string CabrilloMode(const std::string& field);

// The band text for an ADIF BAND value such as "20m" or "70CM"; empty when unknown.
std::optional<std::string> BandFromAdifName(std::string_view name);

// The band text for a frequency in hertz; empty when it lies in no band.
std::optional<std::string> BandFromHertz(std::uint64_t hertz);

// Reads a plain decimal number ("14.025", "7000", "3.5") given in units of 10^exponent Hz
// (6 for MHz, 3 for kHz) as whole hertz, digits beyond the hertz dropped. Exact: no floating
// point, so band edges such as 14.350 MHz stay inside their band. Empty for anything else.
std::optional<std::uint64_t> DecimalToHertz(std::string_view text, int exponent);

// The band text for a Cabrillo frequency field: kHz ("14025") or, from 50 MHz up, a band
// designator ("50", "144", "432", "1.2G", ...). Empty when neither fits a band.
std::optional<std::string> BandFromCabrilloFrequency(std::string_view field);

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_QSO_MAPPING_H_
