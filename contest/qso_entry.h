// One logged QSO as the host reported it. The entry owns copies of the host's texts.
#ifndef KEVO_CONTEST_QSO_ENTRY_H_
#define KEVO_CONTEST_QSO_ENTRY_H_

#include <string>

#include "datetime/date_time.h"

namespace kevo {

class CQsoEntry {
 public:
  CQsoEntry() = default;
  CQsoEntry(const CQsoEntry&) = default;
  CQsoEntry(CQsoEntry&&) noexcept = default;
  CQsoEntry& operator=(const CQsoEntry&) = default;
  CQsoEntry& operator=(CQsoEntry&&) noexcept = default;
  virtual ~CQsoEntry() = default;

  std::string m_strCall;
  std::string m_strPrefix;
  std::string m_strRegion;
  std::string m_strRcvd;
  std::string m_strSent;
  std::string m_strBand;
  std::string m_strMode;
  COleDateTime m_time = MakeDateTime(0.0);
};

// The identity of a QSO: same call, band, mode and date-time. Exchanges, prefix and region
// play no part, so a re-report with corrected exchange is the same QSO. The log applies this
// rule through its index (the group of call, band and mode, then SameDateTime); this plain
// form is the reference the tests compare the index with.
inline bool SameQso(const CQsoEntry& a, const CQsoEntry& b) {
  return a.m_strCall == b.m_strCall && a.m_strBand == b.m_strBand && a.m_strMode == b.m_strMode &&
         SameDateTime(a.m_time, b.m_time);
}

// A null text from the host counts as the empty text.
inline std::string TextOrEmpty(const char* text) {
  return text ? std::string(text) : std::string();
}

}  // namespace kevo

#endif  // KEVO_CONTEST_QSO_ENTRY_H_
