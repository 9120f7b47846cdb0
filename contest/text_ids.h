// Gives every distinct text a small number, so that the log's lookups compare and hash
// integers instead of texts. Ids are dense, start at 0 and stay valid until Clear.
#ifndef KEVO_CONTEST_TEXT_IDS_H_
#define KEVO_CONTEST_TEXT_IDS_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kevo {

inline constexpr uint32_t kNoId = UINT32_MAX;

class TextIds {
 public:
  TextIds() = default;
  TextIds(const TextIds& other) : ids_(other.ids_) { RebuildTexts(); }
  TextIds& operator=(const TextIds& other) {
    if (this != &other) {
      ids_ = other.ids_;
      RebuildTexts();
    }
    return *this;
  }
  // Moving keeps the map's nodes where they are, so the pointers stay right. Declared so that
  // a move (QsoLog::Clear assigns a fresh log) frees the old tables instead of copying into
  // them and keeping their capacity.
  TextIds(TextIds&&) noexcept = default;
  TextIds& operator=(TextIds&&) noexcept = default;

  // The id of the text, given a new one when it was never seen.
  uint32_t Intern(std::string_view text) {
    auto found = ids_.find(text);
    if (found != ids_.end()) return found->second;
    auto [it, inserted] = ids_.emplace(std::string(text), static_cast<uint32_t>(texts_.size()));
    texts_.push_back(&it->first);
    return it->second;
  }
  // The id of the text, or kNoId when it was never seen.
  uint32_t Find(std::string_view text) const {
    auto found = ids_.find(text);
    return found == ids_.end() ? kNoId : found->second;
  }
  const std::string& Text(uint32_t id) const { return *texts_[id]; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };

  // The texts live in the map's nodes, which never move; a copy points into its own nodes.
  void RebuildTexts() {
    texts_.assign(ids_.size(), nullptr);
    for (const auto& [text, id] : ids_) texts_[id] = &text;
  }

  std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> ids_;
  std::vector<const std::string*> texts_;
};

// Sorts records into classes of equal key texts; a class is named by its first record. Only
// the hashes are kept: a candidate's text is spelled again to confirm a match, so the many
// long keys of a big log cost no memory of their own. Records of different scopes (the bands
// of a pass that keeps one set per band) never share a class.
class KeyClasses {
 public:
  // `spell(record)` returns the record's key text.
  template <class Spell>
  uint32_t Classify(uint32_t record, uint32_t scope, const Spell& spell) {
    const std::string text = spell(record);
    const std::size_t hash = std::hash<std::string>{}(text) ^ scope;
    auto [first, last] = by_hash_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
      if (it->second.scope == scope && spell(it->second.record) == text) return it->second.record;
    }
    by_hash_.emplace(hash, Member{scope, record});
    return record;
  }

 private:
  struct Member {
    uint32_t scope;
    uint32_t record;
  };
  std::unordered_multimap<std::size_t, Member> by_hash_;
};

}  // namespace kevo

#endif  // KEVO_CONTEST_TEXT_IDS_H_
