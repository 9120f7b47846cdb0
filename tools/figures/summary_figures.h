// The figures of the library's score summary text, read back from the text itself so that the
// report shows exactly what the library said: one line per band, the totals, the rates (when
// the library wrote them) and the score line.
#ifndef KEVO_TOOLS_FIGURES_SUMMARY_FIGURES_H_
#define KEVO_TOOLS_FIGURES_SUMMARY_FIGURES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kevo::figures {

struct BandFigures {
  std::string band;  // as the library wrote it; "Total" for the total line
  std::int32_t qsos = 0;
  std::int32_t points = 0;
  std::int32_t mults = 0;

  bool operator==(const BandFigures&) const = default;
};

// The two rate lines: the count in the last 60 minutes and, in parentheses, the last 10
// minutes' count times six.
struct RateFigures {
  std::int32_t qsos_60 = 0;
  std::int32_t qsos_10 = 0;
  std::int32_t points_60 = 0;
  std::int32_t points_10 = 0;

  bool operator==(const RateFigures&) const = default;
};

struct SummaryFigures {
  std::vector<BandFigures> bands;  // in the summary's order
  BandFigures total;
  std::optional<RateFigures> rates;
  std::int32_t score_points = 0;  // the three numbers of "Score: P*M = S points"
  std::int32_t score_mults = 0;
  std::int32_t score = 0;

  bool operator==(const SummaryFigures&) const = default;
};

// Empty when the text does not have the summary's shape (a library fault, or a different
// library), so that the page shows the raw text and no invented figures.
std::optional<SummaryFigures> ParseSummary(std::string_view text);

}  // namespace kevo::figures

#endif  // KEVO_TOOLS_FIGURES_SUMMARY_FIGURES_H_
