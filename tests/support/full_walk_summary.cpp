// The score summary as one walk over the whole log, as the library computed it before it
// kept running figures: the reference the tests, the session fuzzer and the benchmarks
// compare the library's summary with. Not part of the plug-in.
#include "full_walk_summary.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "scoring/qso_rules.h"

namespace kevo::reference {

namespace {

// The number formatting of the time, through printf, so that the library's own is checked too.
void AppendInt(std::string* text, uint32_t value, int width = 0) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%*i", width, static_cast<int>(static_cast<int32_t>(value)));
  text->append(digits);
}

void AppendTabbedLine(std::string* text, std::string_view label, uint32_t qsos, uint32_t points,
                      uint32_t mults) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "\t%i\t%i\t%i\r\n", static_cast<int32_t>(qsos),
                static_cast<int32_t>(points), static_cast<int32_t>(mults));
  text->append(label).append(numbers);
}

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

bool HasDayCount(const COleDateTime& time) {
  return time.m_status != kDateTimeNull && time.m_status != kDateTimeInvalid;
}

// Counts scored entries in the rate windows. Most entries of a long log are hours old: for
// them the age is seen from the difference of linear day counts kept with each entry, and the
// whole-minute rounding of the date-time module runs only for the few near the windows.
class RateClock {
 public:
  explicit RateClock(const COleDateTime& reference)
      : reference_(reference),
        reference_day_(DateTimeDifference(reference, MakeDateTime(0.0)).m_span) {}

  void Count(const QsoLog::SlotKeys& keys, int32_t points, RateWindows* rates) const {
    if (HasDayCount(reference_) && HasDayCount(keys.time)) {
      // The same subtraction DateTimeDifference makes. 61 minutes or more, and too few to
      // wrap a 32-bit minute count, is outside both windows.
      const double days = reference_day_ - keys.linear_day;
      if (days >= kSurelyOutside && days < kNoWrap) return;
      CountMinutes(SpanWholeMinutes(CDateTimeSpan{days, kDateTimeValid}), points, rates);
    } else {
      CountMinutes(SpanWholeMinutes(DateTimeDifference(reference_, keys.time)), points, rates);
    }
  }

 private:
  static constexpr double kSurelyOutside = 61.0 / 1440.0;
  static constexpr double kNoWrap = 1.0e6;  // days; 1.44e9 minutes fit 32 bits

  static void CountMinutes(int32_t age_minutes, int32_t points, RateWindows* rates) {
    if (age_minutes < 60) rates->last_hour.Count(points);
    if (age_minutes < 10) rates->last_ten_minutes.Count(points);
  }

  COleDateTime reference_;
  double reference_day_;
};

// Marks the id as seen; true the first time.
bool FirstSight(std::vector<uint8_t>* seen, uint32_t id) {
  if (id >= seen->size()) seen->resize(id + 1u, 0);
  if ((*seen)[id]) return false;
  (*seen)[id] = 1;
  return true;
}

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

void FullWalkSortBands(QsoLog& log) {
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

int32_t FullWalkScoreSummary(ContestState& state, std::string* text) {
  QsoLog& log = state.log;
  const ContestSettings& settings = state.settings;
  const bool with_rates = settings.rate_suppression == 0;

  text->clear();
  // Rates are measured against the most recently added QSO, not the latest in time.
  COleDateTime reference = MakeDateTime(0.0);
  if (with_rates && log.size() > 1) reference = log.keys(log.LastSlot()).time;

  text->append("\tQSO\tPoints\tMults\r\n");
  FullWalkSortBands(log);

  // One walk over the log scores every band at once: the summary's classes never span two
  // bands, so the per-band sets become flags by class id. Normalising one entry changes
  // nothing another entry is scored by, so the order in which the bands are visited does not
  // matter.
  const PassRules rules(log, settings);
  std::vector<Tally> band_tallies(log.bands().size());
  std::vector<uint32_t> band_mults(log.bands().size(), 0);
  std::vector<uint8_t> seen_dupes(log.dupe_class_count(), 0);
  std::vector<uint8_t> seen_mults(log.pair_count(), 0);
  const RateClock clock(reference);
  RateWindows rates;
  const std::size_t slots = log.slot_count();  // normalising adds no slot
  for (std::size_t slot = 0; slot < slots; ++slot) {
    const QsoLog::SlotKeys& keys = log.keys(slot);
    if (!keys.live || seen_dupes[keys.summary_dupe]) continue;
    seen_dupes[keys.summary_dupe] = 1;
    // Points from the exchange as received, the multiplier from the normalised one.
    const int32_t points = rules.Points(keys);
    if (with_rates) clock.Count(keys, points, &rates);
    const uint32_t band = log.pair(keys.pair).band_number;
    band_tallies[band].Count(points);
    rules.Normalize(log, slot);
    if (FirstSight(&seen_mults, log.pair(log.keys(slot).pair).summary_mult)) band_mults[band] += 1u;
  }

  Tally total;
  uint32_t total_mults = 0;
  for (const std::string& band_text : log.bands()) {
    const uint32_t band = log.BandNumber(band_text);
    AppendTabbedLine(text, band_text, band_tallies[band].qsos, band_tallies[band].points,
                     band_mults[band]);
    total.qsos += band_tallies[band].qsos;
    total.points += band_tallies[band].points;
    total_mults += band_mults[band];
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

}  // namespace kevo::reference
