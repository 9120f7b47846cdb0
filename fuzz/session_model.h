// What the session fuzzer expects of the plug-in: a small model of the QSO log and the band
// list, and the checks of the summary text and of "ExtLog.txt" against it.
#ifndef KEVO_FUZZ_SESSION_MODEL_H_
#define KEVO_FUZZ_SESSION_MODEL_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "StatsKEVO.h"

// A broken invariant is a crash for libFuzzer: it saves the input and stops.
#define KEVO_FUZZ_CHECK(condition, what)                                                \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", what, __FILE__, __LINE__); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

namespace kevo_fuzz {

struct ModelQso {
  std::string call, band, mode, sent, rcvd, prefix, region;
  COleDateTime time{};
};

class SessionModel {
 public:
  void Reset(int32_t rate_suppression, std::map<std::string, std::string> exchanges);

  // Index of the entry with the same call, band, mode and date-time (bit-exact status,
  // numerically equal day count, so NaN never matches), or size() when there is none.
  std::size_t Find(const ModelQso& qso) const;
  // True when the entry was appended.
  bool Add(const ModelQso& qso);
  // True when an entry was removed.
  bool Remove(const ModelQso& qso);

  std::size_t size() const { return entries_.size(); }
  const ModelQso& at(std::size_t i) const { return entries_[i]; }
  const std::vector<std::string>& bands() const { return bands_; }
  const std::map<std::string, std::string>& exchanges() const { return exchanges_; }
  int32_t rate_suppression() const { return rate_suppression_; }

  // The rewrite of one-byte received exchanges by the extended log (every entry) and by the
  // summary (the entries it scores).
  void NormalizeAll();
  void NormalizeSummaryScored();

  // Non-duplicate QSOs the summary counts: distinct mode+band+call texts per band.
  uint32_t SummaryQsoCount() const;
  // Whether some stored text holds a byte that splits a line of the files or the summary.
  bool AnyTextWithLineFeed() const;
  bool AnyBandWithSeparator() const;

 private:
  std::vector<ModelQso> entries_;
  std::vector<std::string> bands_;
  std::map<std::string, std::string> exchanges_;
  int32_t rate_suppression_ = 0;
};

// The library's summary against the walk over the whole log it replaced, on the plug-in's
// state: of a copy, leaving the plug-in as it is, or as GetResult0 itself (score may be null).
void CheckSummaryOfCopy();
const char* SummaryBesideFullWalk(int32_t* score);

// Checks a summary text and the score the entry gave with it.
void CheckSummary(const SessionModel& model, const std::string& text, bool have_score,
                  int32_t score);

// Reads "ExtLog.txt"; empty when it does not exist.
bool ReadFile(const char* path, std::string* bytes);

// Checks "ExtLog.txt" as just written with `argument` (may be null).
void CheckExtLog(const SessionModel& model, const std::string& bytes, const char* argument);

}  // namespace kevo_fuzz

#endif  // KEVO_FUZZ_SESSION_MODEL_H_
