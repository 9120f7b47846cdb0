#include "contest/qso_log.h"

#include <algorithm>
#include <utility>

#include "scoring/qso_keys.h"

namespace kevo {

namespace {

// Ids are small dense numbers, so a group's three of them are mixed before they pick a bucket.
// 2^64 divided by the golden ratio spreads consecutive ids over the whole word; the odd offset
// keeps a zero second id from cancelling out; the last multiplier is SplitMix64's finaliser.
constexpr uint64_t kGoldenRatio64 = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kSecondIdOffset = 0x632BE59BD9B4E019ull;
constexpr uint64_t kSplitMixMultiplier = 0xBF58476D1CE4E5B9ull;

std::size_t MixIds(uint64_t a, uint64_t b) {
  uint64_t x = a * kGoldenRatio64 ^ (b + kSecondIdOffset);
  x ^= x >> 29;
  x *= kSplitMixMultiplier;
  return static_cast<std::size_t>(x ^ (x >> 32));
}

// The pair index's key: both text ids in one word.
uint64_t PairKey(uint32_t band, uint32_t rcvd) { return uint64_t{band} << 32 | rcvd; }

// The scope of classes kept for the whole log rather than per band.
constexpr uint32_t kWholeLog = kNoId;

}  // namespace

std::size_t QsoLog::GroupKeyHash::operator()(const GroupKey& k) const {
  return MixIds(uint64_t{k.call} << 32 | k.band, k.mode);
}

uint32_t QsoLog::Intern(std::string_view text) {
  const uint32_t id = texts_.Intern(text);
  if (id >= last_of_call_.size()) {
    last_of_call_.resize(id + 1, kNoId);
    band_number_.resize(id + 1, kNoId);
  }
  return id;
}

uint32_t QsoLog::GroupOf(uint32_t call, uint32_t band, uint32_t mode) {
  auto [it, inserted] = group_ids_.emplace(GroupKey{call, band, mode}, 0);
  if (!inserted) return it->second;
  const uint32_t id = static_cast<uint32_t>(groups_.size());
  it->second = id;
  groups_.push_back(Group{call, band, mode, kNoId, kNoId});
  classes_.emplace_back();
  const auto spell_summary = [this](uint32_t g) {
    const Group& group = groups_[g];
    return SummaryDupeKey(Text(group.call), Text(group.band), Text(group.mode));
  };
  const auto spell_extlog = [this](uint32_t g) {
    const Group& group = groups_[g];
    return ExtLogDupeKey(Text(group.call), Text(group.band), Text(group.mode));
  };
  groups_[id].summary_dupe = summary_dupe_classes_.Classify(id, band, spell_summary);
  groups_[id].extlog_dupe = extlog_dupe_classes_.Classify(id, kWholeLog, spell_extlog);
  return id;
}

uint32_t QsoLog::PairOf(uint32_t band, uint32_t rcvd) {
  auto [it, inserted] = pair_ids_.emplace(PairKey(band, rcvd), 0);
  if (!inserted) return it->second;
  const uint32_t id = static_cast<uint32_t>(pairs_.size());
  it->second = id;
  pairs_.push_back(RcvdPair{band_number_[band], band, rcvd, kNoId, kNoId, 0});
  scored_mult_refs_.push_back(0);
  const auto spell = [this](uint32_t p) {
    return MultKey(Text(pairs_[p].band), Text(pairs_[p].rcvd));
  };
  pairs_[id].summary_mult = summary_mult_classes_.Classify(id, band, spell);
  pairs_[id].extlog_mult = extlog_mult_classes_.Classify(id, kWholeLog, spell);
  return id;
}

uint32_t QsoLog::FindGroup(std::string_view call, std::string_view band,
                           std::string_view mode) const {
  auto found = group_ids_.find(GroupKey{texts_.Find(call), texts_.Find(band), texts_.Find(mode)});
  return found == group_ids_.end() ? kNoId : found->second;
}

uint32_t QsoLog::FindSlot(const CQsoEntry& probe) const {
  const uint32_t group = FindGroup(probe.m_strCall, probe.m_strBand, probe.m_strMode);
  return group == kNoId ? kNoId : FindInGroup(group, probe.m_time);
}

uint32_t QsoLog::FindInGroup(uint32_t group, const COleDateTime& time) const {
  for (uint32_t slot = groups_[group].first; slot != kNoId; slot = links_[slot].next_in_group) {
    if (keys_[slot].live && SameDateTime(keys_[slot].time, time)) return slot;
  }
  return kNoId;
}

// Appends a live slot to its group's, its class's and its call's chains and to the live list.
void QsoLog::LinkSlot(uint32_t slot) {
  Links& links = links_[slot];
  Group& group = groups_[links.group];
  links.next_in_group = kNoId;
  if (group.first == kNoId) {
    group.first = slot;
  } else {
    links_[group.last].next_in_group = slot;
  }
  group.last = slot;
  links.prev_of_call = last_of_call_[group.call];
  last_of_call_[group.call] = slot;

  ClassEnds& ends = classes_[keys_[slot].summary_dupe];
  links.next_in_class = kNoId;
  if (ends.first == kNoId) {
    ends.first = slot;
  } else {
    links_[ends.last].next_in_class = slot;
  }
  ends.last = slot;

  links.next_live = kNoId;
  links.prev_live = last_live_;
  if (last_live_ == kNoId) {
    first_live_ = slot;
  } else {
    links_[last_live_].next_live = slot;
  }
  last_live_ = slot;
}

// Marks the slot dead and moves every index past it. The chains keep running through dead
// slots; the walks below skip them.
void QsoLog::KillSlot(uint32_t slot) {
  SlotKeys& keys = keys_[slot];
  keys.live = false;
  band_live_[pairs_[keys.pair].band_number] -= 1;
  pairs_[keys.pair].live_count -= 1;

  Group& group = groups_[links_[slot].group];
  if (group.first == slot) {
    uint32_t next = links_[slot].next_in_group;
    while (next != kNoId && !keys_[next].live) next = links_[next].next_in_group;
    group.first = next;
    if (next == kNoId) group.last = kNoId;
  }
  uint32_t& last_of_call = last_of_call_[group.call];
  if (last_of_call == slot) {
    uint32_t prev = links_[slot].prev_of_call;
    while (prev != kNoId && !keys_[prev].live) prev = links_[prev].prev_of_call;
    last_of_call = prev;
  }

  const Links& links = links_[slot];
  (links.prev_live == kNoId ? first_live_ : links_[links.prev_live].next_live) = links.next_live;
  (links.next_live == kNoId ? last_live_ : links_[links.next_live].prev_live) = links.prev_live;

  // The class's next live entry is scored in its place, for the first time.
  ClassEnds& ends = classes_[keys.summary_dupe];
  if (ends.first == slot) {
    Unscore(slot);
    uint32_t next = links.next_in_class;
    while (next != kNoId && !keys_[next].live) next = links_[next].next_in_class;
    ends.first = next;
    if (next == kNoId) {
      ends.last = kNoId;
    } else {
      Score(next);
    }
  }

  live_ -= 1;
  dead_ += 1;
  // Dead slots are cleared away once they outnumber the live ones: each removal then pays a
  // bounded share of the O(n) rebuild, and the log never holds more than twice its entries.
  if (dead_ > live_) Compact();
}

// Closes the gaps left by dead slots, keeping the order, and relinks every index.
void QsoLog::Compact() {
  std::size_t kept = 0;
  for (std::size_t slot = 0; slot < keys_.size(); ++slot) {
    if (!keys_[slot].live) continue;
    if (kept != slot) {
      entries_[kept] = std::move(entries_[slot]);
      keys_[kept] = keys_[slot];
      links_[kept] = links_[slot];
    }
    ++kept;
  }
  entries_.resize(kept);
  keys_.resize(kept);
  links_.resize(kept);
  dead_ = 0;

  for (Group& group : groups_) group.first = group.last = kNoId;
  std::fill(last_of_call_.begin(), last_of_call_.end(), kNoId);
  std::fill(classes_.begin(), classes_.end(), ClassEnds{});
  first_live_ = last_live_ = kNoId;
  for (uint32_t slot = 0; slot < kept; ++slot) LinkSlot(slot);
  // The same entries are scored, under new slot numbers.
  to_normalize_.clear();
  for (const ClassEnds& ends : classes_) {
    if (ends.first != kNoId && entries_[ends.first].m_strRcvd.size() == 1)
      to_normalize_.push_back(ends.first);
  }
}

// --- The entries' operations.

void QsoLog::Add(const CQsoEntry& probe) {
  // The band is recorded even when the QSO itself turns out to be stored already.
  const uint32_t band = Intern(probe.m_strBand);
  if (band_number_[band] == kNoId) {
    band_number_[band] = static_cast<uint32_t>(bands_.size());
    bands_.push_back(probe.m_strBand);
    band_live_.push_back(0);
    band_figures_.emplace_back();
  }
  const uint32_t group = GroupOf(Intern(probe.m_strCall), band, Intern(probe.m_strMode));
  if (FindInGroup(group, probe.m_time) != kNoId) return;

  const uint32_t slot = static_cast<uint32_t>(keys_.size());
  const uint32_t pair = PairOf(band, Intern(probe.m_strRcvd));
  const uint32_t region = Intern(probe.m_strRegion);
  if (own_region_id_ == kNoId && probe.m_strRegion == own_region_) own_region_id_ = region;
  entries_.push_back(probe);
  const double linear_day = DateTimeDifference(probe.m_time, MakeDateTime(0.0)).m_span;
  keys_.push_back(SlotKeys{probe.m_time, linear_day, pair, groups_[group].summary_dupe,
                           groups_[group].extlog_dupe, region, true});
  links_.push_back(Links{group});
  LinkSlot(slot);
  band_live_[band_number_[band]] += 1;
  pairs_[pair].live_count += 1;
  live_ += 1;
  if (IsScored(slot)) Score(slot);
}

void QsoLog::Remove(const CQsoEntry& probe) {
  const uint32_t slot = FindSlot(probe);
  if (slot != kNoId) KillSlot(slot);
}

void QsoLog::Clear() {
  // The scoring settings outlive the entries.
  const int32_t own_number = own_number_;
  std::string own_region = std::move(own_region_);
  *this = QsoLog();
  own_number_ = own_number;
  own_region_ = std::move(own_region);
}

const CQsoEntry* QsoLog::FirstOf(std::string_view call, std::string_view band,
                                 std::string_view mode) const {
  const uint32_t group = FindGroup(call, band, mode);
  if (group == kNoId || groups_[group].first == kNoId) return nullptr;
  return &entries_[groups_[group].first];
}

const CQsoEntry* QsoLog::LastOfCall(std::string_view call) const {
  const uint32_t id = texts_.Find(call);
  if (id == kNoId || last_of_call_[id] == kNoId) return nullptr;
  return &entries_[last_of_call_[id]];
}

uint32_t QsoLog::CountOnBand(std::string_view band) const {
  const uint32_t number = BandNumber(band);
  return number == kNoId ? 0 : band_live_[number];
}

uint32_t QsoLog::CountOnBandWithRcvd(std::string_view band, std::string_view rcvd) const {
  const uint32_t band_id = texts_.Find(band);
  const uint32_t rcvd_id = texts_.Find(rcvd);
  if (band_id == kNoId || rcvd_id == kNoId) return 0;
  auto found = pair_ids_.find(PairKey(band_id, rcvd_id));
  return found == pair_ids_.end() ? 0 : pairs_[found->second].live_count;
}

uint32_t QsoLog::BandNumber(std::string_view band) const {
  const uint32_t id = texts_.Find(band);
  return id == kNoId ? kNoId : band_number_[id];
}

uint32_t QsoLog::LastSlot() const { return last_live_; }

void QsoLog::ReplaceRcvdInSlot(std::size_t slot, std::string rcvd) {
  // A scored entry's figures follow its exchange.
  const bool scored = IsScored(static_cast<uint32_t>(slot));
  if (scored) Unscore(static_cast<uint32_t>(slot));
  const uint32_t old_pair = keys_[slot].pair;
  const uint32_t new_pair = PairOf(pairs_[old_pair].band, Intern(rcvd));
  if (keys_[slot].live) {
    pairs_[old_pair].live_count -= 1;
    pairs_[new_pair].live_count += 1;
  }
  keys_[slot].pair = new_pair;
  entries_[slot].m_strRcvd = std::move(rcvd);
  if (scored) Score(static_cast<uint32_t>(slot));
}

}  // namespace kevo
