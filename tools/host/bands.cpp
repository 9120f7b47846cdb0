#include "tools/host/bands.h"

#include "tools/host/tokens.h"

namespace kevo::host {

namespace {

struct Band {
  const char* adif_name;  // lower case, as the ADIF band enumeration spells it
  const char* text;       // what the library gets
  std::uint64_t lower_hz;
  std::uint64_t upper_hz;
};

constexpr std::uint64_t kKHz = 1000;
constexpr std::uint64_t kMHz = 1000 * kKHz;

// Limits of the ADIF band enumeration, both ends inside the band.
constexpr Band kBands[] = {
    {"2190m", "2190", 135700, 137800},
    {"630m", "630", 472 * kKHz, 479 * kKHz},
    {"560m", "560", 501 * kKHz, 504 * kKHz},
    {"160m", "160", 1800 * kKHz, 2000 * kKHz},
    {"80m", "80", 3500 * kKHz, 4000 * kKHz},
    {"60m", "60", 5060 * kKHz, 5450 * kKHz},
    {"40m", "40", 7000 * kKHz, 7300 * kKHz},
    {"30m", "30", 10100 * kKHz, 10150 * kKHz},
    {"20m", "20", 14000 * kKHz, 14350 * kKHz},
    {"17m", "17", 18068 * kKHz, 18168 * kKHz},
    {"15m", "15", 21000 * kKHz, 21450 * kKHz},
    {"12m", "12", 24890 * kKHz, 24990 * kKHz},
    {"10m", "10", 28000 * kKHz, 29700 * kKHz},
    {"8m", "8", 40 * kMHz, 45 * kMHz},
    {"6m", "6", 50 * kMHz, 54 * kMHz},
    {"5m", "5", 54 * kMHz + 1, 69900 * kKHz},
    {"4m", "4", 70 * kMHz, 71 * kMHz},
    {"2m", "2", 144 * kMHz, 148 * kMHz},
    {"1.25m", "1.25", 222 * kMHz, 225 * kMHz},
    {"70cm", "70cm", 420 * kMHz, 450 * kMHz},
    {"33cm", "33cm", 902 * kMHz, 928 * kMHz},
    {"23cm", "23cm", 1240 * kMHz, 1300 * kMHz},
    {"13cm", "13cm", 2300 * kMHz, 2450 * kMHz},
    {"9cm", "9cm", 3300 * kMHz, 3500 * kMHz},
    {"6cm", "6cm", 5650 * kMHz, 5925 * kMHz},
    {"3cm", "3cm", 10000 * kMHz, 10500 * kMHz},
    {"1.25cm", "1.25cm", 24000 * kMHz, 24250 * kMHz},
    {"6mm", "6mm", 47000 * kMHz, 47200 * kMHz},
    {"4mm", "4mm", 75500 * kMHz, 81000 * kMHz},
    {"2.5mm", "2.5mm", 119980 * kMHz, 123000 * kMHz},
    {"2mm", "2mm", 134000 * kMHz, 149000 * kMHz},
    {"1mm", "1mm", 241000 * kMHz, 250000 * kMHz},
    {"submm", "submm", 300000 * kMHz, 7500000 * kMHz},
};

// Cabrillo's designators for the bands from 50 MHz up; any other number is kHz.
struct Designator {
  const char* field;
  const char* text;
};
constexpr Designator kDesignators[] = {
    {"50", "6"},     {"70", "4"},       {"144", "2"},     {"222", "1.25"}, {"432", "70cm"},
    {"902", "33cm"}, {"1.2G", "23cm"},  {"2.3G", "13cm"}, {"3.4G", "9cm"}, {"5.7G", "6cm"},
    {"10G", "3cm"},  {"24G", "1.25cm"}, {"47G", "6mm"},   {"75G", "4mm"},  {"122G", "2.5mm"},
    {"134G", "2mm"}, {"241G", "1mm"},
};

}  // namespace

std::optional<std::string> BandFromAdifName(std::string_view name) {
  std::string lower = AsciiLower(name);
  for (const Band& band : kBands) {
    if (lower == band.adif_name) return std::string(band.text);
  }
  return std::nullopt;
}

std::optional<std::string> BandFromHertz(std::uint64_t hertz) {
  for (const Band& band : kBands) {
    if (hertz >= band.lower_hz && hertz <= band.upper_hz) return std::string(band.text);
  }
  return std::nullopt;
}

std::optional<std::uint64_t> DecimalToHertz(std::string_view text, int exponent) {
  if (text.empty()) return std::nullopt;
  std::uint64_t whole = 0;
  std::size_t i = 0;
  std::size_t digits = 0;
  // 12 digits of kHz or MHz are far beyond any band and keep the product below 2^64.
  for (; i < text.size() && IsAsciiDigit(text[i]); ++i, ++digits) {
    if (digits >= 12) return std::nullopt;
    whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  std::uint64_t scale = 1;
  for (int e = 0; e < exponent; ++e) scale *= 10;
  std::uint64_t hertz = whole * scale;
  if (i < text.size() && text[i] == '.') {
    ++i;
    std::uint64_t place = scale;
    std::size_t fraction_digits = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i, ++fraction_digits) {
      place /= 10;
      hertz += static_cast<std::uint64_t>(text[i] - '0') * place;
    }
    digits += fraction_digits;
  }
  if (i != text.size() || digits == 0) return std::nullopt;
  return hertz;
}

std::optional<std::string> CabrilloDesignator(std::string_view band) {
  for (const Designator& designator : kDesignators) {
    if (band == designator.text) return std::string(designator.field);
  }
  return std::nullopt;
}

std::optional<std::string> BandFromCabrilloFrequency(std::string_view field) {
  std::string upper = AsciiUpper(field);
  for (const Designator& designator : kDesignators) {
    if (upper == designator.field) return std::string(designator.text);
  }
  std::optional<std::uint64_t> hertz = DecimalToHertz(field, 3);
  if (!hertz) return std::nullopt;
  return BandFromHertz(*hertz);
}

}  // namespace kevo::host
