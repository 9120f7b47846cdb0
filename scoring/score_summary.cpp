#include "scoring/score_summary.h"

#include <unordered_set>

#include "scoring/qso_rules.h"
#include "scoring/text_format.h"

namespace kevo {

namespace {

constexpr std::size_t kPaddedBandWidth = 20;

// Counters wrap as 32-bit two's complement, so they are kept unsigned and shown signed.
struct Tally {
  uint32_t qsos = 0;
  uint32_t points = 0;
  void Count(int32_t qso_points) {
    qsos += 1u;
    points += static_cast<uint32_t>(qso_points);
  }
};

struct RateWindows {
  Tally last_hour;
  Tally last_ten_minutes;
};

void CountInRateWindows(const COleDateTime& reference, const COleDateTime& time, int32_t points,
                        RateWindows* rates) {
  int32_t age_minutes = SpanWholeMinutes(DateTimeDifference(reference, time));
  if (age_minutes < 60) rates->last_hour.Count(points);
  if (age_minutes < 10) rates->last_ten_minutes.Count(points);
}

}  // namespace

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

void SortBands(QsoLog& log) {
  // A plain exchange sort, kept as it is: it is not stable, and hosts see the order it gives
  // to bands whose padded forms are equal (7 and 07).
  const std::vector<std::string>& bands = log.bands();
  std::size_t count = bands.size();
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

  text->clear();
  // Rates are measured against the most recently added QSO, not the latest in time.
  COleDateTime reference = MakeDateTime(0.0);
  if (with_rates && log.size() > 1) reference = log.at(log.size() - 1).m_time;

  text->append("\tQSO\tPoints\tMults\r\n");
  SortBands(log);

  Tally total;
  uint32_t total_mults = 0;
  RateWindows rates;
  for (std::size_t b = 0; b < log.bands().size(); ++b) {
    const std::string band = log.bands()[b];
    std::unordered_set<std::string> dupes;
    std::unordered_set<std::string> mults;
    Tally band_tally;
    for (std::size_t i = 0; i < log.size(); ++i) {
      if (log.at(i).m_strBand != band) continue;
      if (!dupes.insert(SummaryDupeKey(log.at(i))).second) continue;
      // Points from the exchange as received, the multiplier from the normalised one.
      int32_t points = QsoPoints(log.at(i), settings);
      if (with_rates) CountInRateWindows(reference, log.at(i).m_time, points, &rates);
      band_tally.Count(points);
      NormalizeRcvd(log, i);
      mults.insert(MultKey(log.at(i)));
    }
    uint32_t band_mults = static_cast<uint32_t>(mults.size());
    AppendTabbedLine(text, band, band_tally.qsos, band_tally.points, band_mults);
    total.qsos += band_tally.qsos;
    total.points += band_tally.points;
    total_mults += band_mults;
  }
  AppendTabbedLine(text, "Total", total.qsos, total.points, total_mults);

  uint32_t score = total.points * total_mults;
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
  AppendInt(text, total.points);
  text->append("*");
  AppendInt(text, total_mults);
  text->append(" = ");
  AppendInt(text, score);
  text->append(" points\r\n");
  return static_cast<int32_t>(score);
}

}  // namespace kevo
