// The amateur bands as the library names them ("160" ... "2", "70cm" ...), found from an ADIF
// band name, a frequency or a Cabrillo frequency field. Both tools map a logger's band onto the
// library's text through these, so the two always agree.
#ifndef KEVO_TOOLS_HOST_BANDS_H_
#define KEVO_TOOLS_HOST_BANDS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kevo::host {

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

// The Cabrillo designator ("50", "144", "1.2G", ...) of a band the library names from 6 m up;
// empty below 6 m, where Cabrillo gives the frequency in kHz instead.
std::optional<std::string> CabrilloDesignator(std::string_view band);

}  // namespace kevo::host

#endif  // KEVO_TOOLS_HOST_BANDS_H_
