#include "session_model.h"

#include <set>

namespace kevo_fuzz {

namespace {

bool SameModelQso(const ModelQso& a, const ModelQso& b) {
  return a.call == b.call && a.band == b.band && a.mode == b.mode &&
         a.time.m_status == b.time.m_status && a.time.m_dt == b.time.m_dt;
}

bool HasLineFeed(const std::string& text) { return text.find('\n') != std::string::npos; }

}  // namespace

void SessionModel::Reset(int32_t rate_suppression, std::map<std::string, std::string> exchanges) {
  entries_.clear();
  bands_.clear();
  exchanges_ = std::move(exchanges);
  rate_suppression_ = rate_suppression;
}

std::size_t SessionModel::Find(const ModelQso& qso) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (SameModelQso(entries_[i], qso)) return i;
  }
  return entries_.size();
}

bool SessionModel::Add(const ModelQso& qso) {
  bool new_band = true;
  for (const std::string& band : bands_) new_band = new_band && band != qso.band;
  if (new_band) bands_.push_back(qso.band);
  if (Find(qso) != entries_.size()) return false;
  entries_.push_back(qso);
  return true;
}

bool SessionModel::Remove(const ModelQso& qso) {
  std::size_t index = Find(qso);
  if (index == entries_.size()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

void SessionModel::NormalizeAll() {
  for (ModelQso& entry : entries_) {
    if (entry.rcvd.size() == 1) entry.rcvd.insert(entry.rcvd.begin(), '0');
  }
}

void SessionModel::NormalizeSummaryScored() {
  // The summary rewrites only the first entry of each mode+band+call group on its band.
  std::set<std::pair<std::string, std::string>> seen;
  for (ModelQso& entry : entries_) {
    if (!seen.insert({entry.band, entry.mode + entry.band + entry.call}).second) continue;
    if (entry.rcvd.size() == 1) entry.rcvd.insert(entry.rcvd.begin(), '0');
  }
}

uint32_t SessionModel::SummaryQsoCount() const {
  std::set<std::pair<std::string, std::string>> seen;
  for (const ModelQso& entry : entries_)
    seen.insert({entry.band, entry.mode + entry.band + entry.call});
  return static_cast<uint32_t>(seen.size());
}

bool SessionModel::AnyTextWithLineFeed() const {
  for (const ModelQso& e : entries_) {
    if (HasLineFeed(e.call) || HasLineFeed(e.band) || HasLineFeed(e.mode) || HasLineFeed(e.sent) ||
        HasLineFeed(e.rcvd) || HasLineFeed(e.prefix))
      return true;
  }
  return false;
}

bool SessionModel::AnyBandWithSeparator() const {
  for (const std::string& band : bands_) {
    if (band.find_first_of("\t\r\n") != std::string::npos) return true;
  }
  return false;
}

bool ReadFile(const char* path, std::string* bytes) {
  bytes->clear();
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->append(chunk, count);
  std::fclose(file);
  return true;
}

}  // namespace kevo_fuzz
