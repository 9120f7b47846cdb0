#include "contest/qso_log.h"

#include <algorithm>
#include <utility>

namespace kevo {

void QsoLog::Add(const CQsoEntry& probe) {
  // The band is recorded even when the QSO itself turns out to be stored already.
  if (std::find(bands_.begin(), bands_.end(), probe.m_strBand) == bands_.end()) {
    bands_.push_back(probe.m_strBand);
  }
  if (Find(probe) == entries_.size()) entries_.push_back(probe);
}

void QsoLog::Remove(const CQsoEntry& probe) {
  std::size_t index = Find(probe);
  if (index == entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void QsoLog::Clear() {
  entries_.clear();
  bands_.clear();
}

std::size_t QsoLog::Find(const CQsoEntry& probe) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (SameQso(entries_[i], probe)) return i;
  }
  return entries_.size();
}

void QsoLog::ReplaceRcvd(std::size_t index, std::string rcvd) {
  entries_[index].m_strRcvd = std::move(rcvd);
}

void QsoLog::SwapBands(std::size_t i, std::size_t j) { std::swap(bands_[i], bands_[j]); }

}  // namespace kevo
