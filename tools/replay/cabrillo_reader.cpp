#include "tools/replay/cabrillo_reader.h"

#include "tools/replay/text.h"

namespace kevo::replay {

namespace {

// Report tokens are signal reports: 59, 599, or a signed dB figure on digital modes.
bool LooksLikeReport(std::string_view token) {
  if (!token.empty() && (token.front() == '-' || token.front() == '+')) token.remove_prefix(1);
  return token.size() <= 3 && AllDigits(token);
}

// A call holds at least one letter and nothing but letters, digits and "/".
bool LooksLikeCall(std::string_view token) {
  bool letter = false;
  for (char c : token) {
    if (IsAsciiLetter(c)) {
      letter = true;
    } else if (!IsAsciiDigit(c) && c != '/') {
      return false;
    }
  }
  return letter;
}

}  // namespace

std::string CabrilloTag(std::string_view line) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  std::string_view tag = line.substr(0, colon);
  for (char c : tag) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '-' && c != '_') return {};
  }
  return AsciiUpper(tag);
}

bool ParseCabrilloQsoFields(std::string_view values, CabrilloQso& qso, std::string& reason) {
  std::vector<std::string_view> tokens = SplitBlanks(values);
  // freq mo date time | own-call rst exch | call rst exch | [transmitter]
  if (tokens.size() != 10 && tokens.size() != 11) {
    reason = std::to_string(tokens.size()) +
             " fields where this contest has 10 (11 with the transmitter number)";
    return false;
  }
  if (!LooksLikeCall(tokens[4]) || !LooksLikeCall(tokens[7])) {
    reason =
        "no call where this contest's layout puts the own call (field 5) and the worked "
        "call (field 8)";
    return false;
  }
  if (!LooksLikeReport(tokens[5]) || !LooksLikeReport(tokens[8])) {
    reason = "no signal report after a call (fields 6 and 9)";
    return false;
  }
  if (tokens.size() == 11 && tokens[10] != "0" && tokens[10] != "1") {
    reason = "transmitter number '" + std::string(tokens[10]) + "' is neither 0 nor 1";
    return false;
  }
  qso.frequency = tokens[0];
  qso.mode = tokens[1];
  qso.date = tokens[2];
  qso.time = tokens[3];
  qso.own_call = tokens[4];
  qso.sent_report = tokens[5];
  qso.sent_exchange = tokens[6];
  qso.call = tokens[7];
  qso.received_report = tokens[8];
  qso.received_exchange = tokens[9];
  qso.transmitter = tokens.size() == 11 ? std::string(tokens[10]) : std::string();
  return true;
}

CabrilloLog ParseCabrillo(std::string_view text) {
  CabrilloLog log;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte-order mark
  bool ended = false;
  ForEachLine(text, [&](std::string_view line, std::size_t number) {
    if (ended) return;
    std::string tag = CabrilloTag(TrimAsciiSpace(line));
    if (tag == "START-OF-LOG") log.has_start = true;
    if (tag == "END-OF-LOG") ended = true;
    if (tag == "X-QSO") ++log.ignored_contacts;
    if (tag != "QSO") return;
    std::string_view values = TrimAsciiSpace(line);
    values.remove_prefix(values.find(':') + 1);
    CabrilloQso qso;
    std::string reason;
    if (ParseCabrilloQsoFields(values, qso, reason)) {
      qso.line = number;
      log.qsos.push_back(std::move(qso));
    } else {
      log.rejected.push_back({number, "QSO line does not fit: " + reason});
    }
  });
  return log;
}

}  // namespace kevo::replay
