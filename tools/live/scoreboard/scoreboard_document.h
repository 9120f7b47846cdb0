// The score as online scoreboards take it: a dynamicresults document built from the library's
// summary (per-band QSOs, points and multipliers, the score) and the station's category.
#ifndef KEVO_TOOLS_LIVE_SCOREBOARD_SCOREBOARD_DOCUMENT_H_
#define KEVO_TOOLS_LIVE_SCOREBOARD_SCOREBOARD_DOCUMENT_H_

#include <cstdint>
#include <optional>
#include <string>

#include "tools/figures/summary_figures.h"
#include "tools/live/live_options.h"

namespace kevo::live {

// `utc` is the score's time, "YYYY-MM-DD HH:MM:SS". Without figures (a summary that could not
// be read) the document carries the score alone, never invented figures.
std::string BuildScoreDocument(const StationFacts& station, std::int32_t score,
                               const std::optional<figures::SummaryFigures>& figures,
                               const std::string& utc, const std::string& version);

// The scoreboards' band names: the meters numbers the library uses up to 8 m, Cabrillo's band
// designators from 6 m up ("50", "144", "432", "1.2G"), and "total" for its total line.
std::string ScoreboardBand(const std::string& library_band);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_SCOREBOARD_SCOREBOARD_DOCUMENT_H_
