#include "summary_twins.h"

#include <cstring>
#include <vector>

#include "full_walk_summary.h"
#include "scoring/score_summary.h"

namespace kevo::reference {

namespace {

// Day counts compared bit for bit, so that NaN equals the same NaN.
bool SameBits(const COleDateTime& a, const COleDateTime& b) {
  return std::memcmp(&a.m_dt, &b.m_dt, sizeof a.m_dt) == 0 && a.m_status == b.m_status;
}

bool SameEntry(const CQsoEntry& a, const CQsoEntry& b) {
  return a.m_strCall == b.m_strCall && a.m_strPrefix == b.m_strPrefix &&
         a.m_strRegion == b.m_strRegion && a.m_strRcvd == b.m_strRcvd &&
         a.m_strSent == b.m_strSent && a.m_strBand == b.m_strBand && a.m_strMode == b.m_strMode &&
         SameBits(a.m_time, b.m_time);
}

std::vector<const CQsoEntry*> LiveEntries(const QsoLog& log) {
  std::vector<const CQsoEntry*> entries;
  for (std::size_t slot = 0; slot < log.slot_count(); ++slot) {
    if (log.keys(slot).live) entries.push_back(&log.entry(slot));
  }
  return entries;
}

}  // namespace

std::string DifferenceFromFullWalk(const ContestState& before, const ContestState& after,
                                   const std::string& text, const int32_t* score) {
  ContestState walked = before;
  std::string walked_text;
  const int32_t walked_score = FullWalkScoreSummary(walked, &walked_text);
  if (text != walked_text) return "text:\n" + text + "\nfull walk:\n" + walked_text;
  if (score != nullptr && *score != walked_score) {
    return "score " + std::to_string(*score) + ", full walk " + std::to_string(walked_score);
  }
  if (after.log.bands() != walked.log.bands()) return "band order";
  const std::vector<const CQsoEntry*> entries = LiveEntries(after.log);
  const std::vector<const CQsoEntry*> walked_entries = LiveEntries(walked.log);
  if (entries.size() != walked_entries.size()) return "entry count";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!SameEntry(*entries[i], *walked_entries[i])) {
      return "entry " + std::to_string(i) + ": rcvd \"" + entries[i]->m_strRcvd +
             "\", full walk \"" + walked_entries[i]->m_strRcvd + "\"";
    }
  }
  return std::string();
}

int32_t SummaryBesideFullWalk(ContestState& state, std::string* text, std::string* difference) {
  const ContestState before = state;
  const int32_t score = BuildScoreSummary(state, text);
  *difference = DifferenceFromFullWalk(before, state, *text, &score);
  return score;
}

}  // namespace kevo::reference
