#include "tools/replay/inputs/cabrillo_reader.h"

#include <algorithm>
#include <map>

#include "tools/host/tokens.h"
#include "tools/replay/inputs/lines.h"

namespace kevo::replay {

namespace {

// freq mo date time own-call: the tokens before the sent side.
constexpr std::size_t kLeadTokens = 5;

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

// Strength and tone run from 1 to 9; a 9 is often sent cut, as N.
bool IsStrengthOrTone(char c) { return (c >= '1' && c <= '9') || c == 'N' || c == 'n'; }

// Token counts of a line without and with a transmitter number, for `per_side` tokens a side.
std::size_t TokensWithout(std::size_t per_side) { return kLeadTokens + 1 + 2 * per_side; }

// The number of tokens a side of a line with `count` tokens: an odd count ends in a
// transmitter number. Empty (npos) when too short for two calls.
std::size_t TokensPerSide(std::size_t count) {
  if (count < TokensWithout(0)) return std::string::npos;
  return (count - TokensWithout(0)) / 2;
}

std::string Join(const std::vector<std::string_view>& tokens, std::size_t from, std::size_t to) {
  std::string joined;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from) joined += ' ';
    joined += tokens[i];
  }
  return joined;
}

struct QsoLine {
  std::size_t number = 0;
  std::vector<std::string_view> tokens;
};

// Why the line does not fit `layout`; empty when it does.
std::string Misfit(const std::vector<std::string_view>& tokens, const CabrilloLayout& layout) {
  std::size_t n = layout.tokens_per_side;
  std::size_t without = TokensWithout(n);
  if (tokens.size() != without && tokens.size() != without + 1) {
    return std::to_string(tokens.size()) + " fields where this log's QSO lines have " +
           std::to_string(without) + " (" + std::to_string(without + 1) +
           " with the transmitter number)";
  }
  std::size_t call_at = kLeadTokens + n;
  if (!LooksLikeCall(tokens[kLeadTokens - 1]) || !LooksLikeCall(tokens[call_at])) {
    return "no call where this log's layout puts the own call (field 5) and the worked call "
           "(field " +
           std::to_string(call_at + 1) + ")";
  }
  if (tokens.size() == without + 1 && tokens.back() != "0" && tokens.back() != "1") {
    return "transmitter number '" + std::string(tokens.back()) +
           "' is neither 0 nor 1 (or the two sides carry different numbers of tokens)";
  }
  return {};
}

// Whether the first token of each side is a signal report: it must look like one on both sides
// of a clear majority of the lines that fit. One odd line, such as a phone contact logged with
// 599 or a typo, must not turn every report into a part of the exchange; a column of ages or
// serial numbers, which look like reports only now and then, is no report column.
bool HasReportColumn(const std::vector<QsoLine>& lines, const CabrilloLayout& layout) {
  std::size_t n = layout.tokens_per_side;
  if (n == 0) return false;
  std::size_t reports = 0;
  std::size_t others = 0;
  for (const QsoLine& line : lines) {
    if (!Misfit(line.tokens, layout).empty()) continue;
    const std::vector<std::string_view>& t = line.tokens;
    bool both = IsSignalReport(t[kLeadTokens]) && IsSignalReport(t[kLeadTokens + n + 1]);
    ++(both ? reports : others);
  }
  std::size_t allowed = std::max<std::size_t>(1, (reports + others) / 20);  // 95%, or one line
  return reports > others && others <= allowed;
}

// The tokens a side most lines carry, and whether their first is a report.
CabrilloLayout DecideLayout(const std::vector<QsoLine>& lines) {
  std::map<std::size_t, std::size_t> lines_per_count;
  for (const QsoLine& line : lines) {
    std::size_t per_side = TokensPerSide(line.tokens.size());
    if (per_side != std::string::npos) ++lines_per_count[per_side];
  }
  CabrilloLayout layout;
  std::size_t most = 0;
  for (const auto& [per_side, count] : lines_per_count) {
    if (count > most) {
      most = count;
      layout.tokens_per_side = per_side;
    }
  }
  layout.report_column = HasReportColumn(lines, layout);
  return layout;
}

CabrilloQso TakeFields(const QsoLine& line, const CabrilloLayout& layout) {
  const std::vector<std::string_view>& t = line.tokens;
  std::size_t n = layout.tokens_per_side;
  std::size_t report = layout.report_column ? 1 : 0;
  std::size_t sent = kLeadTokens;
  std::size_t received = kLeadTokens + n + 1;
  CabrilloQso qso;
  qso.line = line.number;
  qso.frequency = t[0];
  qso.mode = t[1];
  qso.date = t[2];
  qso.time = t[3];
  qso.own_call = t[4];
  if (report) qso.sent_report = t[sent];
  qso.sent_exchange = Join(t, sent + report, sent + n);
  qso.call = t[sent + n];
  if (report) qso.received_report = t[received];
  qso.received_exchange = Join(t, received + report, received + n);
  if (t.size() > received + n) qso.transmitter = t.back();
  return qso;
}

}  // namespace

std::string CabrilloLayout::Name() const {
  std::size_t exchange = ExchangeTokens();
  std::string tokens = std::to_string(exchange) + " exchange token" + (exchange == 1 ? "" : "s");
  return report_column ? "signal report and " + tokens + " a side"
                       : tokens + " a side, no signal report";
}

bool IsSignalReport(std::string_view token) {
  if (token.size() >= 2 && token.size() <= 3 && (token[0] == '-' || token[0] == '+')) {
    return host::AllDigits(token.substr(1));
  }
  if (token.size() != 2 && token.size() != 3) return false;
  return token[0] >= '1' && token[0] <= '5' && IsStrengthOrTone(token[1]) &&
         (token.size() == 2 || IsStrengthOrTone(token[2]));
}

std::string CabrilloTag(std::string_view line) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  std::string_view tag = line.substr(0, colon);
  for (char c : tag) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '-' && c != '_') return {};
  }
  return host::AsciiUpper(tag);
}

CabrilloLog ParseCabrillo(std::string_view text) {
  CabrilloLog log;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte-order mark
  std::vector<QsoLine> lines;
  bool ended = false;
  ForEachLine(text, [&](std::string_view line, std::size_t number) {
    if (ended) return;
    line = TrimAsciiSpace(line);
    std::string tag = CabrilloTag(line);
    std::string_view value = TrimAsciiSpace(line.substr(tag.empty() ? 0 : tag.size() + 1));
    if (tag == "START-OF-LOG") log.has_start = true;
    if (tag == "END-OF-LOG") ended = true;
    if (tag == "X-QSO") ++log.ignored_contacts;
    if (tag == "QTC") ++log.qtc_lines;
    if (tag == "CONTEST") log.header.contest = value;
    if (tag == "CALLSIGN") log.header.callsign = value;
    if (tag == "CLAIMED-SCORE") log.header.claimed_score = value;
    if (tag == "QSO") lines.push_back({number, host::SplitBlanks(value)});
  });
  log.layout = DecideLayout(lines);
  for (const QsoLine& line : lines) {
    std::string misfit = Misfit(line.tokens, log.layout);
    if (misfit.empty()) {
      log.qsos.push_back(TakeFields(line, log.layout));
    } else {
      log.rejected.push_back({line.number, "QSO line does not fit: " + misfit});
    }
  }
  return log;
}

}  // namespace kevo::replay
