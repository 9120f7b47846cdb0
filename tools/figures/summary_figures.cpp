#include "tools/figures/summary_figures.h"

#include <charconv>

namespace kevo::figures {

namespace {

constexpr std::string_view kHeader = "\tQSO\tPoints\tMults";
constexpr std::string_view kTotal = "Total";
constexpr std::string_view kQsoRate = "Hourly (10min) QSO rate: ";
constexpr std::string_view kPointsRate = "Hourly (10min) pts rate: ";

// Hands out the text's CR LF lines one at a time; the text must end with a line end.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}

  bool Next(std::string_view& line) {
    std::size_t end = rest_.find("\r\n");
    if (end == std::string_view::npos) return false;
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + 2);
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// Reads a signed decimal integer at the start of `text` and drops it from there.
bool TakeInt(std::string_view& text, std::int32_t& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

bool TakeLiteral(std::string_view& text, std::string_view literal) {
  if (!text.starts_with(literal)) return false;
  text.remove_prefix(literal.size());
  return true;
}

// "BAND\tQ\tP\tM": the three numbers are the last three tab-separated fields, so a band text
// is taken whole whatever it holds.
bool ParseBandLine(std::string_view line, BandFigures& figures) {
  std::size_t tabs[3];
  std::size_t end = line.size();
  for (int i = 2; i >= 0; --i) {
    std::size_t tab = end == 0 ? std::string_view::npos : line.rfind('\t', end - 1);
    if (tab == std::string_view::npos) return false;
    tabs[i] = tab;
    end = tab;
  }
  figures.band.assign(line.substr(0, tabs[0]));
  std::int32_t* numbers[3] = {&figures.qsos, &figures.points, &figures.mults};
  for (int i = 0; i < 3; ++i) {
    std::size_t next = i < 2 ? tabs[i + 1] : line.size();
    std::string_view field = line.substr(tabs[i] + 1, next - tabs[i] - 1);
    if (!TakeInt(field, *numbers[i]) || !field.empty()) return false;
  }
  return true;
}

// "<prefix>%5i (%i) <unit>"
bool ParseRateLine(std::string_view line, std::string_view prefix, std::string_view unit,
                   std::int32_t& last_60, std::int32_t& last_10) {
  if (!TakeLiteral(line, prefix)) return false;
  while (line.starts_with(' ')) line.remove_prefix(1);
  return TakeInt(line, last_60) && TakeLiteral(line, " (") && TakeInt(line, last_10) &&
         TakeLiteral(line, ") ") && line == unit;
}

// "Score: %i*%i = %i points"
bool ParseScoreLine(std::string_view line, SummaryFigures& figures) {
  return TakeLiteral(line, "Score: ") && TakeInt(line, figures.score_points) &&
         TakeLiteral(line, "*") && TakeInt(line, figures.score_mults) && TakeLiteral(line, " = ") &&
         TakeInt(line, figures.score) && line == " points";
}

}  // namespace

std::optional<SummaryFigures> ParseSummary(std::string_view text) {
  Lines lines(text);
  std::string_view line;
  if (!lines.Next(line) || line != kHeader) return std::nullopt;
  SummaryFigures figures;
  // Band lines up to the first empty line; the last of them is the total line.
  while (lines.Next(line) && !line.empty()) {
    BandFigures band;
    if (!ParseBandLine(line, band)) return std::nullopt;
    figures.bands.push_back(std::move(band));
  }
  if (line.size() != 0 || figures.bands.empty() || figures.bands.back().band != kTotal) {
    return std::nullopt;
  }
  figures.total = std::move(figures.bands.back());
  figures.bands.pop_back();

  if (!lines.Next(line)) return std::nullopt;
  if (line.starts_with(kQsoRate)) {
    RateFigures rates;
    std::string_view points_line, blank;
    if (!ParseRateLine(line, kQsoRate, "QSOs/hour", rates.qsos_60, rates.qsos_10) ||
        !lines.Next(points_line) ||
        !ParseRateLine(points_line, kPointsRate, "points/hour", rates.points_60, rates.points_10) ||
        !lines.Next(blank) || !blank.empty() || !lines.Next(blank) || !blank.empty() ||
        !lines.Next(line)) {
      return std::nullopt;
    }
    figures.rates = rates;
  }
  if (!ParseScoreLine(line, figures) || !lines.AtEnd()) return std::nullopt;
  return figures;
}

}  // namespace kevo::figures
