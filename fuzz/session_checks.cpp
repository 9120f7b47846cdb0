// The checks of the two scoring passes' outputs against the session model.
#include <cstring>
#include <set>
#include <string_view>

#include "session_model.h"

namespace kevo_fuzz {

namespace {

const char kExtLogHeader[] =
    "   DATE    TIME BAND MODE   Nr sent     CALL         Nr rcvd      Pts Mults\r\n";

// A "%i" field: optional minus and digits, within 32 bits.
bool ParseInt(std::string_view text, int64_t* value) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;  // "%5i" pads with blanks
  bool negative = pos < text.size() && text[pos] == '-';
  if (negative) ++pos;
  if (pos == text.size() || text.size() - pos > 10) return false;
  int64_t number = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    number = number * 10 + (text[pos] - '0');
  }
  *value = negative ? -number : number;
  return *value >= INT32_MIN && *value <= INT32_MAX;
}

// "label\tQ\tP\tM": the three numbers from the right, so that any label parses.
bool ParseTabbedLine(std::string_view line, std::string_view* label, int64_t numbers[3]) {
  for (int field = 2; field >= 0; --field) {
    std::size_t tab = line.rfind('\t');
    if (tab == std::string_view::npos || !ParseInt(line.substr(tab + 1), &numbers[field]))
      return false;
    line = line.substr(0, tab);
  }
  *label = line;
  return true;
}

uint32_t Wrap(int64_t value) { return static_cast<uint32_t>(static_cast<int32_t>(value)); }

std::string Padded(const std::string& text, std::size_t width) {
  return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

void CheckRates(std::string_view rates, int64_t total_qsos, int64_t total_points) {
  // "Hourly (10min) QSO rate: %5i (%i) QSOs/hour\r\nHourly (10min) pts rate: %5i (%i) ..."
  static const char* const kLabels[] = {"\r\nHourly (10min) QSO rate: ",
                                        "\r\nHourly (10min) pts rate: "};
  static const char* const kUnits[] = {") QSOs/hour", ") points/hour"};
  for (int i = 0; i < 2; ++i) {
    KEVO_FUZZ_CHECK(rates.substr(0, std::strlen(kLabels[i])) == kLabels[i], "rate label");
    rates.remove_prefix(std::strlen(kLabels[i]));
    std::size_t open = rates.find(" (");
    std::size_t close = rates.find(kUnits[i]);
    KEVO_FUZZ_CHECK(open == 5 && close != std::string_view::npos && close > open, "rate shape");
    int64_t hour = 0, ten = 0;
    KEVO_FUZZ_CHECK(ParseInt(rates.substr(0, open), &hour), "hour rate number");
    KEVO_FUZZ_CHECK(ParseInt(rates.substr(open + 2, close - open - 2), &ten), "10 min rate");
    // The 10-minute window lies inside the hour; both count only what the totals count.
    int64_t limit = i == 0 ? total_qsos : total_points;
    KEVO_FUZZ_CHECK(hour >= 0 && hour <= limit, "hourly rate within the totals");
    KEVO_FUZZ_CHECK(ten % 6 == 0 && ten / 6 <= hour, "10-minute rate within the hourly one");
    rates.remove_prefix(close + std::strlen(kUnits[i]));
  }
  KEVO_FUZZ_CHECK(rates == "\r\n\r\n", "rate block ends with an empty line");
}

}  // namespace

void CheckSummary(const SessionModel& model, const std::string& text, bool have_score,
                  int32_t score) {
  std::string_view rest(text);
  const std::string_view header = "\tQSO\tPoints\tMults\r\n";
  KEVO_FUZZ_CHECK(rest.substr(0, header.size()) == header, "summary header");
  rest.remove_prefix(header.size());

  const std::string_view score_label = "\r\nScore: ";
  std::size_t score_at = rest.rfind(score_label);
  KEVO_FUZZ_CHECK(score_at != std::string_view::npos, "score line");
  std::string_view score_line = rest.substr(score_at + score_label.size());
  std::size_t star = score_line.find('*');
  std::size_t equals = score_line.find(" = ");
  const std::string_view unit = " points\r\n";
  KEVO_FUZZ_CHECK(star != std::string_view::npos && equals != std::string_view::npos &&
                      star < equals && score_line.size() >= equals + 3 + unit.size() &&
                      score_line.substr(score_line.size() - unit.size()) == unit,
                  "score line shape");
  int64_t points = 0, mults = 0, product = 0;
  KEVO_FUZZ_CHECK(
      ParseInt(score_line.substr(0, star), &points) &&
          ParseInt(score_line.substr(star + 1, equals - star - 1), &mults) &&
          ParseInt(score_line.substr(equals + 3, score_line.size() - equals - 3 - unit.size()),
                   &product),
      "score numbers");
  KEVO_FUZZ_CHECK(Wrap(product) == Wrap(points) * Wrap(mults), "score = points x mults");
  if (have_score) KEVO_FUZZ_CHECK(Wrap(product) == static_cast<uint32_t>(score), "score result");

  // Band lines can only be told apart when no band text holds a tab or a line end.
  if (model.AnyBandWithSeparator()) return;
  std::multiset<std::string> expected_bands(model.bands().begin(), model.bands().end());
  uint32_t sums[3] = {0, 0, 0};
  std::string_view label;
  int64_t numbers[3];
  for (std::size_t b = 0; b < model.bands().size(); ++b) {
    std::size_t end = rest.find("\r\n");
    KEVO_FUZZ_CHECK(end != std::string_view::npos, "band line ends");
    KEVO_FUZZ_CHECK(ParseTabbedLine(rest.substr(0, end), &label, numbers), "band line shape");
    auto found = expected_bands.find(std::string(label));
    KEVO_FUZZ_CHECK(found != expected_bands.end(), "band line names a band of the log");
    expected_bands.erase(found);
    KEVO_FUZZ_CHECK(numbers[0] >= 0 && numbers[1] >= numbers[0] && numbers[1] <= 5 * numbers[0],
                    "band points are 1 to 5 per QSO");
    KEVO_FUZZ_CHECK(numbers[2] >= 0 && numbers[2] <= numbers[0], "band mults at most its QSOs");
    for (int i = 0; i < 3; ++i) sums[i] += Wrap(numbers[i]);
    rest.remove_prefix(end + 2);
  }
  std::size_t end = rest.find("\r\n");
  KEVO_FUZZ_CHECK(end != std::string_view::npos &&
                      ParseTabbedLine(rest.substr(0, end), &label, numbers) && label == "Total",
                  "total line follows the band lines");
  for (int i = 0; i < 3; ++i) KEVO_FUZZ_CHECK(sums[i] == Wrap(numbers[i]), "bands add up");
  KEVO_FUZZ_CHECK(numbers[0] == model.SummaryQsoCount(), "total QSOs are the non-duplicates");
  KEVO_FUZZ_CHECK(numbers[1] == points && numbers[2] == mults, "score line repeats the totals");
  rest.remove_prefix(end + 2);

  std::string_view rates = rest.substr(0, rest.rfind(score_label));
  bool with_rates = model.rate_suppression() == 0 && model.size() > 0;
  if (with_rates) {
    CheckRates(rates, numbers[0], numbers[1]);
  } else {
    KEVO_FUZZ_CHECK(rates.empty(), "no rate lines");
  }
}

void CheckExtLog(const SessionModel& model, const std::string& bytes, const char* argument) {
  const std::size_t header_size = std::strlen(kExtLogHeader);
  KEVO_FUZZ_CHECK(bytes.compare(0, header_size, kExtLogHeader) == 0, "ExtLog header");
  KEVO_FUZZ_CHECK(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0,
                  "ExtLog ends in CR LF");
  std::size_t line_feeds = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    ++line_feeds;
    KEVO_FUZZ_CHECK(i > 0 && bytes[i - 1] == '\r', "every LF of ExtLog follows a CR");
  }
  const std::string arg = argument ? argument : "(null)";
  if (model.AnyTextWithLineFeed() || arg.find('\n') != std::string::npos) {
    KEVO_FUZZ_CHECK(line_feeds >= model.size() + 1, "ExtLog holds every record");
    return;
  }
  KEVO_FUZZ_CHECK(line_feeds == model.size() + 1, "ExtLog: header and one line per QSO");

  // The record lines, from the end of each: received exchange, points, multiplier mark.
  std::set<std::string> dupes;
  std::set<std::string> mults;
  std::size_t start = header_size;
  for (std::size_t i = 0; i < model.size(); ++i) {
    const ModelQso& e = model.at(i);
    std::size_t end = bytes.find("\r\n", start);
    // A CR inside a text makes "\r\n" findable early only when LF follows, which is ruled out.
    std::string_view line(bytes.data() + start, end - start);
    start = end + 2;
    bool duplicate = !dupes.insert(e.band + "-" + e.mode + "-" + e.call).second;
    std::string rcvd = e.rcvd.size() == 1 ? "0" + e.rcvd : e.rcvd;
    bool new_mult = !duplicate && mults.insert(e.band + "-" + rcvd).second;
    std::string middle = Padded(e.band, 4) + " " + Padded(e.mode, 6) + " 599 " + Padded(e.sent, 3) +
                         " " + Padded(arg, 3) + " " + Padded(e.call, 12) + " 599 " +
                         Padded(rcvd, 7) + " ";
    std::string mark = new_mult ? Padded(e.prefix, 6) : std::string();
    bool matched = false;
    for (const char* points : {"  0 ", "  1 ", "  3 ", "  5 "}) {
      if (duplicate != (std::strcmp(points, "  0 ") == 0)) continue;
      std::string tail = middle + points + mark;
      matched =
          matched || (line.size() >= tail.size() && line.substr(line.size() - tail.size()) == tail);
    }
    KEVO_FUZZ_CHECK(matched, "ExtLog record fields, points and mark");
  }
}

}  // namespace kevo_fuzz
