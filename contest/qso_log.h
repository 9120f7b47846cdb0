// The plug-in's copy of the contacts since the last reset, in arrival order, and the list of
// bands seen. A QSO is stored once; a removal closes the gap. The only change to a stored
// entry is the rewrite of its received exchange by the scoring passes.
//
// Hosts ask on every keystroke and after every contact, so nothing here scans the log: each
// entry's call, band, mode, received exchange and region are turned into small ids when it is
// stored, and the questions the entries ask (is this QSO stored, the first entry of a call on a
// band and mode, the last entry of a call, how many entries a band or a band and exchange has)
// are answered from indexes kept true by every change. A QSO is found again through the chain
// of its call, band and mode, which holds only the duplicates of that contact.
//
// The score summary is kept the same way: every change updates the figures of the entries the
// summary scores (see qso_log_figures.cpp), so that asking for it costs only its lines.
#ifndef KEVO_CONTEST_QSO_LOG_H_
#define KEVO_CONTEST_QSO_LOG_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "contest/qso_entry.h"
#include "contest/rate_index.h"
#include "contest/text_ids.h"

namespace kevo {

class QsoLog {
 public:
  // Records the band if new, then appends the entry unless an entry of the same QSO (SameQso's
  // rule, found through the group of its call, band and mode) is stored.
  void Add(const CQsoEntry& probe);
  // Removes the stored entry of the same QSO, if any. The band list is not touched.
  void Remove(const CQsoEntry& probe);
  // Empties the log and the band list.
  void Clear();

  std::size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }

  const std::vector<std::string>& bands() const { return bands_; }
  void SwapBands(std::size_t i, std::size_t j) { std::swap(bands_[i], bands_[j]); }

  // --- What the call check asks.
  // The first entry with this call, band and mode, or null.
  const CQsoEntry* FirstOf(std::string_view call, std::string_view band,
                           std::string_view mode) const;
  // The last entry with this call on any band and mode, or null.
  const CQsoEntry* LastOfCall(std::string_view call) const;
  // Entries on the band, and those of them whose received exchange is exactly `rcvd`.
  uint32_t CountOnBand(std::string_view band) const;
  uint32_t CountOnBandWithRcvd(std::string_view band, std::string_view rcvd) const;

  // --- What the scoring passes read. Entries sit in slots in log order; a removed entry
  // leaves a dead slot behind until enough of them are cleared away at once, so the passes
  // walk the slots and skip the dead ones.
  //
  // The passes tell entries apart by the key texts of scoring/qso_keys.h. Different ids can
  // spell one key ("A"+"20"+"B20X" and "A20B"+"20"+"X"), so every group of entries with one
  // call, band and mode and every (band, exchange) pair carries a class id per key, equal
  // where the key texts are equal. The summary keeps its sets per band, so its classes never
  // span two bands. Class ids are group ids or pair ids.
  struct SlotKeys {
    COleDateTime time;
    double linear_day;      // DateTimeDifference of the time and day 0, for the rate windows
    uint32_t pair;          // the (band, received exchange) pair, see RcvdPair
    uint32_t summary_dupe;  // class of SummaryDupeKey, within the band
    uint32_t extlog_dupe;   // class of ExtLogDupeKey
    uint32_t region;        // text id of m_strRegion
    bool live;
    uint32_t rate_handle = kNoId;  // its place in the rate index while the summary scores it
  };
  // One band and one received exchange, with the live entries that have them.
  struct RcvdPair {
    uint32_t band_number;  // the band's place in first-seen order, 0 for the first band
    uint32_t band;         // text ids
    uint32_t rcvd;
    uint32_t summary_mult;  // class of MultKey, within the band
    uint32_t extlog_mult;   // class of MultKey
    uint32_t live_count;
  };
  std::size_t slot_count() const { return keys_.size(); }
  const SlotKeys& keys(std::size_t slot) const { return keys_[slot]; }
  const CQsoEntry& entry(std::size_t slot) const { return entries_[slot]; }
  const RcvdPair& pair(uint32_t id) const { return pairs_[id]; }
  std::size_t pair_count() const { return pairs_.size(); }
  // Every dupe class id is below this.
  std::size_t dupe_class_count() const { return groups_.size(); }
  const std::string& Text(uint32_t id) const { return texts_.Text(id); }
  // The text's id, or kNoId when no entry ever had it.
  uint32_t TextId(std::string_view text) const { return texts_.Find(text); }
  // First-seen number of a listed band, kNoId for a text that is not in the band list.
  uint32_t BandNumber(std::string_view band) const;
  // The last entry's slot, or kNoId for an empty log.
  uint32_t LastSlot() const;
  // The one in-place change a stored entry allows: the scoring passes store its received
  // exchange normalised.
  void ReplaceRcvdInSlot(std::size_t slot, std::string rcvd);

  // --- The summary's running figures. The summary scores the first live entry of every
  // summary dupe class, its points from its received exchange as it stands, its multiplier
  // class from the exchange's pair. The points depend on the own number and region: setting
  // others rescores every scored entry.
  struct BandFigures {
    uint32_t qsos = 0;
    uint32_t points = 0;  // wraps at 32 bits
    uint32_t mults = 0;   // multiplier classes with a scored entry
  };
  void SetScoring(int32_t own_number, std::string_view own_region);
  bool ScoresWith(int32_t own_number, std::string_view own_region) const {
    return own_number == own_number_ && own_region == own_region_;
  }
  // By band number.
  const BandFigures& band_figures(uint32_t band_number) const { return band_figures_[band_number]; }
  RateWindowTallies RateWindows(const COleDateTime& reference) const {
    return rates_.Windows(reference);
  }
  // Stores the one-byte exchanges of the scored entries normalised, as a summary does after
  // taking their points: the figures then follow the new exchanges.
  void NormalizeScored();

 private:
  // The entries that share one call, band and mode: duplicates of each other.
  struct Group {
    uint32_t call, band, mode;  // text ids
    uint32_t summary_dupe, extlog_dupe;
    uint32_t first = kNoId;  // slot of its first live entry
    uint32_t last = kNoId;   // slot of its last entry, maybe dead
  };
  struct GroupKey {
    uint32_t call, band, mode;
    bool operator==(const GroupKey&) const = default;
  };
  struct GroupKeyHash {
    std::size_t operator()(const GroupKey& k) const;
  };
  // Chains through the slots: later entries of the same group and of the same summary class,
  // earlier ones of the same call, and the live entries in log order.
  struct Links {
    uint32_t group;
    uint32_t next_in_group = kNoId;
    uint32_t prev_of_call = kNoId;
    uint32_t next_in_class = kNoId;
    uint32_t prev_live = kNoId;
    uint32_t next_live = kNoId;
  };
  // The first live entry of a summary class, which the summary scores, and its last entry.
  struct ClassEnds {
    uint32_t first = kNoId;
    uint32_t last = kNoId;  // maybe dead
  };

  uint32_t Intern(std::string_view text);
  uint32_t GroupOf(uint32_t call, uint32_t band, uint32_t mode);
  uint32_t PairOf(uint32_t band, uint32_t rcvd);
  uint32_t FindGroup(std::string_view call, std::string_view band, std::string_view mode) const;
  uint32_t FindSlot(const CQsoEntry& probe) const;
  uint32_t FindInGroup(uint32_t group, const COleDateTime& time) const;
  void LinkSlot(uint32_t slot);
  void KillSlot(uint32_t slot);
  void Compact();
  // The summary figures of the entry in the slot, taken in when it becomes its class's first
  // live entry and given back when it stops being that or its exchange changes.
  uint32_t ScoredPoints(uint32_t slot) const;
  void Score(uint32_t slot);
  void Unscore(uint32_t slot);
  bool IsScored(uint32_t slot) const {
    return keys_[slot].live && classes_[keys_[slot].summary_dupe].first == slot;
  }
  void RescoreAll();

  // By slot.
  std::deque<CQsoEntry> entries_;  // a deque never copies the entries as it grows
  std::vector<SlotKeys> keys_;
  std::vector<Links> links_;
  std::size_t live_ = 0;
  std::size_t dead_ = 0;
  uint32_t first_live_ = kNoId;
  uint32_t last_live_ = kNoId;

  TextIds texts_;
  std::vector<uint32_t> last_of_call_;  // by text id: slot of the call's last live entry
  std::vector<uint32_t> band_number_;   // by text id
  std::vector<uint32_t> band_live_;     // by band number: live entries on the band
  std::vector<std::string> bands_;

  std::vector<Group> groups_;
  std::unordered_map<GroupKey, uint32_t, GroupKeyHash> group_ids_;
  std::vector<RcvdPair> pairs_;
  std::unordered_map<uint64_t, uint32_t> pair_ids_;
  KeyClasses summary_dupe_classes_;
  KeyClasses extlog_dupe_classes_;
  KeyClasses summary_mult_classes_;
  KeyClasses extlog_mult_classes_;

  // The summary's running figures.
  std::vector<ClassEnds> classes_;          // by summary dupe class id
  std::vector<BandFigures> band_figures_;   // by band number
  std::vector<uint32_t> scored_mult_refs_;  // by summary mult class id: scored entries
  std::vector<uint32_t> to_normalize_;      // scored slots that may hold a one-byte exchange
  RateIndex rates_;
  int32_t own_number_ = 0;
  std::string own_region_;
  uint32_t own_region_id_ = kNoId;
};

}  // namespace kevo

#endif  // KEVO_CONTEST_QSO_LOG_H_
