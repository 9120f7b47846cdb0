#include "tools/replay/inputs/qso_mapping.h"

#include <algorithm>
#include <optional>

#include "tools/host/bands.h"
#include "tools/host/ole_date.h"
#include "tools/host/tokens.h"

namespace kevo::replay {

namespace {

std::string FieldOr(const AdifRecord& record, const std::string& name) {
  auto found = record.fields.find(host::AsciiUpper(name));
  return found == record.fields.end() ? std::string() : found->second;
}

// The string form first; the number form when the string form is missing or empty.
std::string FirstPresent(const AdifRecord& record, const char* preferred, const char* other) {
  std::string value = FieldOr(record, preferred);
  return value.empty() ? FieldOr(record, other) : value;
}

// Shows a value from the file inside a message, cut and with odd bytes made visible.
// Control bytes become '?'; 8-bit bytes stay, so that a name in the log's own letters reads
// as the log has it wherever the reason is shown (the page decides how to show the bytes).
// A long value is cut before the 24th byte's character if that one runs past it.
std::string Quote(const std::string& value) {
  constexpr std::size_t kShown = 24;
  std::size_t end = std::min(value.size(), kShown);
  auto continuation = [&](std::size_t at) {
    return at < value.size() && (static_cast<unsigned char>(value[at]) & 0xC0) == 0x80;
  };
  while (end > 0 && end < value.size() && continuation(end)) --end;
  std::string shown;
  for (char c : value.substr(0, end)) {
    unsigned char u = static_cast<unsigned char>(c);
    shown += u < 0x20 || u == 0x7F ? '?' : c;
  }
  return "'" + shown + (end < value.size() ? "...'" : "'");
}

bool CheckCall(const std::string& call, host::QsoValues& qso, std::string& reason) {
  if (TrimAsciiSpace(call).empty()) {
    reason = "no call";
    return false;
  }
  qso.call = call;
  return true;
}

// The library takes zero-terminated texts: a zero byte inside a value would silently cut it.
bool CheckNoZeroByte(const host::QsoValues& qso, std::string& reason) {
  const std::string* values[] = {&qso.call,     &qso.mode,   &qso.sent,
                                 &qso.received, &qso.prefix, &qso.region};
  for (const std::string* value : values) {
    if (value->find('\0') != std::string::npos) {
      reason = "a zero byte inside the value " + Quote(*value);
      return false;
    }
  }
  return true;
}

}  // namespace

bool MapAdifRecord(const AdifRecord& record, const AdifFieldNames& names, host::QsoValues& qso,
                   std::string& reason) {
  host::QsoValues result;
  result.line = record.line;
  if (!record.damage.empty()) {
    reason = record.damage;
    return false;
  }
  if (!CheckCall(FieldOr(record, "CALL"), result, reason)) return false;

  std::string band_name = FieldOr(record, "BAND");
  std::string frequency = FieldOr(record, "FREQ");
  std::optional<std::string> band = host::BandFromAdifName(TrimAsciiSpace(band_name));
  if (!band && !frequency.empty()) {
    std::optional<std::uint64_t> hertz = host::DecimalToHertz(TrimAsciiSpace(frequency), 6);
    if (hertz) band = host::BandFromHertz(*hertz);
  }
  if (!band) {
    reason =
        band_name.empty() && frequency.empty()
            ? std::string("no band and no frequency")
            : "no amateur band for band " + Quote(band_name) + " and frequency " + Quote(frequency);
    return false;
  }
  result.band = *band;

  std::string date_text = FieldOr(record, "QSO_DATE");
  std::optional<host::CivilDate> date = host::ParseCompactDate(date_text);
  if (!date) {
    reason = date_text.empty() ? "no date (QSO_DATE)" : "impossible date " + Quote(date_text);
    return false;
  }
  std::string time_text = FieldOr(record, "TIME_ON");
  std::optional<int> seconds = host::ParseCompactTime(time_text, true);
  if (!seconds) {
    reason = time_text.empty() ? "no time (TIME_ON)" : "impossible time " + Quote(time_text);
    return false;
  }
  result.time = host::MakeDateTime(*date, *seconds);

  result.mode = FieldOr(record, "MODE");
  result.sent = FirstPresent(record, "STX_STRING", "STX");
  result.received =
      names.received ? FieldOr(record, *names.received) : FirstPresent(record, "SRX_STRING", "SRX");
  if (!names.prefix.empty()) result.prefix = FieldOr(record, names.prefix);
  if (!names.region.empty()) result.region = FieldOr(record, names.region);
  if (!CheckNoZeroByte(result, reason)) return false;
  qso = std::move(result);
  return true;
}

std::string CabrilloMode(const std::string& field) {
  std::string upper = host::AsciiUpper(field);
  if (upper == "PH") return "SSB";
  if (upper == "RY") return "RTTY";
  if (upper == "CW" || upper == "FM" || upper == "DG") return upper;
  return {};
}

bool MapCabrilloQso(const CabrilloQso& record, host::QsoValues& qso, std::string& reason) {
  host::QsoValues result;
  result.line = record.line;
  if (!CheckCall(record.call, result, reason)) return false;
  std::optional<std::string> band = host::BandFromCabrilloFrequency(record.frequency);
  if (!band) {
    reason = "no amateur band for frequency " + Quote(record.frequency);
    return false;
  }
  result.band = *band;
  result.mode = CabrilloMode(record.mode);
  if (result.mode.empty()) {
    reason = "unknown mode " + Quote(record.mode) + " (CW, PH, FM, RY or DG)";
    return false;
  }
  std::optional<host::CivilDate> date = host::ParseDashedDate(record.date);
  if (!date) {
    reason = "impossible date " + Quote(record.date);
    return false;
  }
  std::optional<int> seconds = host::ParseCompactTime(record.time, false);
  if (!seconds) {
    reason = "impossible time " + Quote(record.time);
    return false;
  }
  result.time = host::MakeDateTime(*date, *seconds);
  result.sent = record.sent_exchange;
  result.received = record.received_exchange;
  if (!CheckNoZeroByte(result, reason)) return false;
  qso = std::move(result);
  return true;
}

}  // namespace kevo::replay
