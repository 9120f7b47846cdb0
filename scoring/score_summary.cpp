#include "scoring/score_summary.h"

#include <string_view>
#include <vector>

#include "text/text_format.h"

namespace kevo {

namespace {

constexpr std::size_t kPaddedBandWidth = 20;

// True when band a's padded form sorts before band b's (unsigned byte comparison).
bool PaddedBandLess(std::string_view a, std::string_view b) {
  // Compare as if the shorter texts had "0" bytes in front up to 20 bytes, without building
  // the padded copies.
  std::size_t a_pad = a.size() < kPaddedBandWidth ? kPaddedBandWidth - a.size() : 0;
  std::size_t b_pad = b.size() < kPaddedBandWidth ? kPaddedBandWidth - b.size() : 0;
  std::size_t a_len = a_pad + a.size();
  std::size_t b_len = b_pad + b.size();
  for (std::size_t k = 0; k < a_len && k < b_len; ++k) {
    unsigned char ca = static_cast<unsigned char>(k < a_pad ? '0' : a[k - a_pad]);
    unsigned char cb = static_cast<unsigned char>(k < b_pad ? '0' : b[k - b_pad]);
    if (ca != cb) return ca < cb;
  }
  return a_len < b_len;
}

}  // namespace

void SortBands(QsoLog& log) {
  // A plain exchange sort, kept as it is: it is not stable, and hosts see the order it gives
  // to bands whose padded forms are equal (7 and 07). It swaps only bands in rising order, so
  // a list without any such neighbours (the usual case: sorted by the last call and no band
  // added since) comes out as it went in, and is left alone.
  const std::vector<std::string>& bands = log.bands();
  std::size_t count = bands.size();
  bool sorted = true;
  for (std::size_t i = 0; i + 1 < count && sorted; ++i) {
    sorted = !PaddedBandLess(bands[i], bands[i + 1]);
  }
  if (sorted) return;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if (PaddedBandLess(bands[i], bands[j])) log.SwapBands(i, j);
    }
  }
}

int32_t BuildScoreSummary(ContestState& state, std::string* text) {
  QsoLog& log = state.log;
  const ContestSettings& settings = state.settings;
  const bool with_rates = settings.rate_suppression == 0;
  log.SetScoring(settings.own_number, settings.own_region);  // a no-op unless they changed

  text->clear();
  text->append("\tQSO\tPoints\tMults\r\n");
  SortBands(log);

  // The figures are kept by the log as entries come and go. Points and rates are those of
  // the exchanges as they stand; the multipliers are counted after the scored entries' one-byte
  // exchanges are stored normalised, which changes their points from the next summary on.
  RateWindowTallies rates;
  if (with_rates) {
    // Rates are measured against the most recently added QSO, not the latest in time.
    COleDateTime reference = MakeDateTime(0.0);
    if (log.size() > 1) reference = log.keys(log.LastSlot()).time;
    rates = log.RateWindows(reference);
  }
  const std::size_t band_count = log.bands().size();
  std::vector<uint32_t> band_points(band_count);
  for (uint32_t band = 0; band < band_count; ++band)
    band_points[band] = log.band_figures(band).points;
  log.NormalizeScored();

  uint32_t total_qsos = 0;
  uint32_t total_points = 0;
  uint32_t total_mults = 0;
  for (const std::string& band_text : log.bands()) {
    const uint32_t band = log.BandNumber(band_text);
    const QsoLog::BandFigures& figures = log.band_figures(band);
    AppendTabbedLine(text, band_text, figures.qsos, band_points[band], figures.mults);
    total_qsos += figures.qsos;
    total_points += band_points[band];
    total_mults += figures.mults;
  }
  AppendTabbedLine(text, "Total", total_qsos, total_points, total_mults);

  uint32_t score = total_points * total_mults;
  if (with_rates && !log.empty()) {
    text->append("\r\nHourly (10min) QSO rate: ");
    AppendInt(text, rates.last_hour.qsos, 5);
    text->append(" (");
    AppendInt(text, rates.last_ten_minutes.qsos * 6u);
    text->append(") QSOs/hour\r\nHourly (10min) pts rate: ");
    AppendInt(text, rates.last_hour.points, 5);
    text->append(" (");
    AppendInt(text, rates.last_ten_minutes.points * 6u);
    text->append(") points/hour\r\n\r\n");
  }
  text->append("\r\nScore: ");
  AppendInt(text, total_points);
  text->append("*");
  AppendInt(text, total_mults);
  text->append(" = ");
  AppendInt(text, score);
  text->append(" points\r\n");
  return static_cast<int32_t>(score);
}

}  // namespace kevo
