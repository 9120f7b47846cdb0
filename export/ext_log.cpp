#include "export/ext_log.h"

#include <unordered_set>

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
  std::unordered_set<std::string> dupes;
  std::unordered_set<std::string> mults;
  for (std::size_t i = 0; i < log.size() && sink.ok(); ++i) {
    // Points from the exchange as received; duplicates are written with 0 and no mark.
    int32_t points = QsoPoints(log.at(i), state.settings);
    bool duplicate = !dupes.insert(ExtLogDupeKey(log.at(i))).second;
    if (duplicate) points = 0;
    NormalizeRcvd(log, i);
    bool new_multiplier = !duplicate && mults.insert(MultKey(log.at(i))).second;
    sink.WriteLine(ExtLogRecord(log.at(i), argument, points, new_multiplier));
  }
  if (!sink.Finish()) {
    // A full disk leaves a cut file behind; the operator must know the export is incomplete.
    platform.ShowMessage(MessageOwner::kNone, "Error writing ExtLog.txt", "Error");
  }
}

}  // namespace kevo
