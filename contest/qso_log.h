// The plug-in's copy of the contacts since the last reset, in arrival order, and the list of
// bands seen. A QSO is stored once; a removal closes the gap. The only change to a stored
// entry is the rewrite of its received exchange by the scoring passes.
#ifndef KEVO_CONTEST_QSO_LOG_H_
#define KEVO_CONTEST_QSO_LOG_H_

#include <cstddef>
#include <string>
#include <vector>

#include "contest/qso_entry.h"

namespace kevo {

class QsoLog {
 public:
  // Records the band if new, then appends the entry unless SameQso finds it stored.
  void Add(const CQsoEntry& probe);
  // Removes the stored entry that SameQso matches, if any. The band list is not touched.
  void Remove(const CQsoEntry& probe);
  // Empties the log and the band list.
  void Clear();

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const CQsoEntry& at(std::size_t index) const { return entries_[index]; }
  // Index of the stored entry that SameQso matches, or size() when there is none.
  std::size_t Find(const CQsoEntry& probe) const;

  // The one in-place change a stored entry allows.
  void ReplaceRcvd(std::size_t index, std::string rcvd);

  const std::vector<std::string>& bands() const { return bands_; }
  void SwapBands(std::size_t i, std::size_t j);

 private:
  std::vector<CQsoEntry> entries_;
  std::vector<std::string> bands_;
};

}  // namespace kevo

#endif  // KEVO_CONTEST_QSO_LOG_H_
