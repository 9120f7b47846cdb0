#include "export/ext_log.h"

#include <vector>

#include "platform/text_reader.h"
#include "scoring/qso_rules.h"

namespace kevo {

namespace {

constexpr std::size_t kFlushThreshold = 64 * 1024;

// Collects lines in text mode and hands them to the file in large pieces; remembers the
// first failure so that the caller reports it once.
class TextModeSink {
 public:
  explicit TextModeSink(OutputFile& file) : file_(file) {}

  void WriteLine(const std::string& line) {
    pending_.append(ToTextModeBytes(line)).append("\r\n");
    if (pending_.size() >= kFlushThreshold) Flush();
  }

  bool Finish() {
    Flush();
    bool closed = file_.Close();
    return ok_ && closed;
  }

  bool ok() const { return ok_; }

 private:
  void Flush() {
    if (ok_ && !pending_.empty()) ok_ = file_.Write(pending_.data(), pending_.size());
    pending_.clear();
  }

  OutputFile& file_;
  std::string pending_;
  bool ok_ = true;
};

}  // namespace

void WriteExtLog(ContestState& state, Platform& platform, const char* argument) {
  std::unique_ptr<OutputFile> file = platform.CreateSharedRead(kExtLogFileName);
  if (!file) {
    // Nothing is written and nothing normalised when the file can't be created.
    platform.ShowMessage(MessageOwner::kNone, "Error creating ExtLog.txt", "Error");
    return;
  }

  TextModeSink sink(*file);
  sink.WriteLine(kExtLogHeader);
  QsoLog& log = state.log;
  const PassRules rules(log, state.settings);
  // One dupe set and one multiplier set for the whole file, as flags by class id.
  std::vector<bool> seen_dupes(log.dupe_class_count(), false);
  std::vector<bool> seen_mults;
  for (std::size_t slot = 0; slot < log.slot_count() && sink.ok(); ++slot) {
    if (!log.keys(slot).live) continue;
    // Points from the exchange as received; duplicates are written with 0 and no mark.
    int32_t points = rules.Points(log.keys(slot));
    const uint32_t dupe_class = log.keys(slot).extlog_dupe;
    const bool duplicate = seen_dupes[dupe_class];
    seen_dupes[dupe_class] = true;
    if (duplicate) points = 0;
    rules.Normalize(log, slot);
    bool new_multiplier = false;
    if (!duplicate) {
      const uint32_t mult_class = log.pair(log.keys(slot).pair).extlog_mult;
      if (mult_class >= seen_mults.size()) seen_mults.resize(log.pair_count(), false);
      new_multiplier = !seen_mults[mult_class];
      seen_mults[mult_class] = true;
    }
    sink.WriteLine(ExtLogRecord(log.entry(slot), argument, points, new_multiplier));
  }
  if (!sink.Finish()) {
    // A full disk leaves a cut file behind; the operator must know the export is incomplete.
    platform.ShowMessage(MessageOwner::kNone, "Error writing ExtLog.txt", "Error");
  }
}

}  // namespace kevo
