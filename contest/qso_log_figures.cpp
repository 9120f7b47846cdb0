// The summary's running figures. The summary scores the first live entry of each summary dupe
// class; that entry changes only when an entry is added to an empty class (it is then the
// first) or the first is removed (the class's next live entry, found along the class chain,
// takes its place). Each scored entry adds itself to its band's QSOs and points, to the count
// of scored entries of its multiplier class (the band's multipliers are the classes with a
// count), and to the rate index; it takes all of that back when it stops being scored or
// before its exchange changes, and adds it again afterwards.
#include <algorithm>

#include "contest/qso_log.h"
#include "scoring/qso_rules.h"

namespace kevo {

uint32_t QsoLog::ScoredPoints(uint32_t slot) const {
  const SlotKeys& keys = keys_[slot];
  const QsoPointsByRegion points = QsoPoints(Text(pairs_[keys.pair].rcvd), own_number_);
  const bool own_region = own_region_id_ != kNoId && keys.region == own_region_id_;
  return static_cast<uint32_t>(own_region ? points.own_region : points.other_region);
}

void QsoLog::Score(uint32_t slot) {
  SlotKeys& keys = keys_[slot];
  const RcvdPair& pair = pairs_[keys.pair];
  const uint32_t points = ScoredPoints(slot);
  BandFigures& band = band_figures_[pair.band_number];
  band.qsos += 1u;
  band.points += points;
  if (scored_mult_refs_[pair.summary_mult]++ == 0) band.mults += 1u;
  keys.rate_handle = rates_.Insert(keys.time, keys.linear_day, points);
  // A one-byte exchange is stored normalised by the next summary.
  if (entries_[slot].m_strRcvd.size() == 1) to_normalize_.push_back(slot);
}

void QsoLog::Unscore(uint32_t slot) {
  SlotKeys& keys = keys_[slot];
  const RcvdPair& pair = pairs_[keys.pair];
  const uint32_t points = ScoredPoints(slot);
  BandFigures& band = band_figures_[pair.band_number];
  band.qsos -= 1u;
  band.points -= points;
  if (--scored_mult_refs_[pair.summary_mult] == 0) band.mults -= 1u;
  rates_.Erase(keys.time, keys.linear_day, points, keys.rate_handle);
  keys.rate_handle = kNoId;
}

void QsoLog::SetScoring(int32_t own_number, std::string_view own_region) {
  if (ScoresWith(own_number, own_region)) return;
  own_number_ = own_number;
  own_region_ = std::string(own_region);
  own_region_id_ = texts_.Find(own_region);
  RescoreAll();
}

// Starts the figures afresh from the scored entries: O(n), only when the settings change.
void QsoLog::RescoreAll() {
  std::fill(band_figures_.begin(), band_figures_.end(), BandFigures{});
  std::fill(scored_mult_refs_.begin(), scored_mult_refs_.end(), 0u);
  rates_ = RateIndex();
  to_normalize_.clear();
  for (const ClassEnds& ends : classes_) {
    if (ends.first != kNoId) Score(ends.first);
  }
}

void QsoLog::NormalizeScored() {
  if (to_normalize_.empty()) return;
  // In log order, as a walk over the log would store them.
  std::vector<uint32_t> slots;
  slots.swap(to_normalize_);
  std::sort(slots.begin(), slots.end());
  for (const uint32_t slot : slots) {
    if (!IsScored(slot)) continue;  // removed or no longer first since
    if (std::optional<std::string> stored = NormalizedRcvd(entries_[slot].m_strRcvd))
      ReplaceRcvdInSlot(slot, std::move(*stored));
  }
}

}  // namespace kevo
