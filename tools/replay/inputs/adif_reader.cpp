#include "tools/replay/inputs/adif_reader.h"

#include <optional>

#include "tools/host/tokens.h"
#include "tools/replay/inputs/lines.h"

namespace kevo::replay {

namespace {

// Longest ":LENGTH:TYPE" part taken as a specifier; longer ones are ordinary text.
constexpr std::size_t kMaxSpecTail = 32;

enum class TagKind { kNone, kEoh, kEor, kField, kBadField };

struct Tag {
  TagKind kind = TagKind::kNone;
  std::size_t end = 0;  // offset just after '>'
  std::string name;     // upper case
  std::size_t length = 0;
  std::string problem;  // for kBadField
};

bool IsNameByte(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u > 0x20 && u < 0x7F && c != ',' && c != ':' && c != '<' && c != '>' && c != '{' &&
         c != '}';
}

// Reads a decimal length; values past the text's size all mean "too long", so no overflow.
std::size_t ReadLength(std::string_view digits, std::size_t limit) {
  std::size_t value = 0;
  for (char c : digits) {
    value = value * 10 + static_cast<std::size_t>(c - '0');
    if (value > limit) return limit + 1;
  }
  return value;
}

Tag ScanTag(std::string_view text, std::size_t offset) {
  Tag tag;
  std::size_t i = offset + 1;
  while (i < text.size() && IsNameByte(text[i])) ++i;
  if (i == offset + 1 || i >= text.size()) return tag;
  std::string name = host::AsciiUpper(text.substr(offset + 1, i - offset - 1));
  if (text[i] == '>') {
    if (name == "EOH") tag.kind = TagKind::kEoh;
    if (name == "EOR") tag.kind = TagKind::kEor;
    tag.end = i + 1;
    return tag;
  }
  if (text[i] != ':') return tag;
  std::size_t tail_start = i + 1;
  std::size_t close = tail_start;
  while (close < text.size() && text[close] != '>' && text[close] != '<' &&
         close - tail_start <= kMaxSpecTail) {
    ++close;
  }
  tag.name = name;
  if (close >= text.size()) {
    tag.kind = TagKind::kBadField;
    tag.problem = "field " + name + ": the specifier is cut off by the end of the file";
    tag.end = text.size();
    return tag;
  }
  if (text[close] != '>') return tag;
  std::string_view tail = text.substr(tail_start, close - tail_start);
  std::string_view length_text = tail.substr(0, tail.find(':'));
  bool type_ok = true;
  if (length_text.size() < tail.size()) {
    std::string_view type = tail.substr(length_text.size() + 1);
    type_ok = !type.empty();
    for (char c : type) type_ok = type_ok && IsAsciiLetter(c);
  }
  tag.end = close + 1;
  if (!host::AllDigits(length_text)) {
    tag.kind = TagKind::kBadField;
    tag.problem = "field " + name + ": length '" + std::string(length_text) + "' is not a number";
  } else if (!type_ok) {
    tag.kind = TagKind::kBadField;
    tag.problem = "field " + name + ": malformed data type in '" + std::string(tail) + "'";
  } else {
    tag.kind = TagKind::kField;
    tag.length = ReadLength(length_text, text.size());
  }
  return tag;
}

// The first '<' at or after `from` and before `to` that starts a specifier, or npos.
std::size_t NextSpecifier(std::string_view text, std::size_t from, std::size_t to) {
  for (std::size_t at = text.find('<', from); at != std::string_view::npos && at < to;
       at = text.find('<', at + 1)) {
    if (StartsAdifSpecifier(text, at)) return at;
  }
  return std::string_view::npos;
}

class AdifParser {
 public:
  explicit AdifParser(std::string_view text) : text_(text), lines_(text) {}

  AdifLog Run() {
    std::size_t pos = SkipFreeTextHeader();
    while (pos < text_.size()) {
      std::size_t at = text_.find('<', pos);
      if (at == std::string_view::npos) break;
      Tag tag = ScanTag(text_, at);
      switch (tag.kind) {
        case TagKind::kNone:
          pos = at + 1;
          break;
        case TagKind::kEoh:
          EndHeader(at);
          pos = tag.end;
          break;
        case TagKind::kEor:
          EndRecord();
          pos = tag.end;
          break;
        case TagKind::kBadField:
          Start(at);
          Damage(tag.problem + Where(at));
          pos = tag.end;
          break;
        case TagKind::kField:
          Start(at);
          pos = TakeData(tag, at);
          break;
      }
    }
    if (open_) {
      Damage("the record is not ended by <EOR> before the end of the file");
      EndRecord();
    }
    return std::move(log_);
  }

 private:
  // A file that does not begin with '<' has a header of free text up to <EOH>, which may hold
  // anything, "<EOR>" included. Without an <EOH> the records start at once.
  std::size_t SkipFreeTextHeader() {
    if (text_.empty() || text_.front() == '<') return 0;
    for (std::size_t at = text_.find('<'); at != std::string_view::npos;
         at = text_.find('<', at + 1)) {
      Tag tag = ScanTag(text_, at);
      if (tag.kind == TagKind::kEoh) {
        header_done_ = true;
        return tag.end;
      }
    }
    return 0;
  }

  std::string Where(std::size_t offset) const {
    return " (line " + std::to_string(lines_.LineOf(offset)) + ")";
  }

  void Start(std::size_t at) {
    if (open_) return;
    open_ = true;
    current_ = AdifRecord();
    current_.line = lines_.LineOf(at);
  }

  void Damage(const std::string& message) {
    if (current_.damage.empty()) current_.damage = message;
  }

  // Returns where scanning goes on after the field's data.
  std::size_t TakeData(const Tag& tag, std::size_t at) {
    std::size_t data = tag.end;
    std::size_t room = text_.size() - data;
    std::size_t limit = tag.length <= room ? data + tag.length : text_.size();
    std::size_t next = NextSpecifier(text_, data, limit);
    if (tag.length > room || next != std::string_view::npos) {
      std::string what = next != std::string_view::npos ? "the next field" : "the end of the file";
      Damage("field " + tag.name + ": length " +
             (tag.length > room ? "beyond " + std::to_string(room) : std::to_string(tag.length)) +
             " runs past " + what + Where(at));
      return next != std::string_view::npos ? next : text_.size();
    }
    current_.fields.emplace(tag.name, std::string(text_.substr(data, tag.length)));
    return limit;
  }

  void EndRecord() {
    if (!open_) return;
    open_ = false;
    log_.records.push_back(std::move(current_));
  }

  void EndHeader(std::size_t at) {
    if (header_done_) {
      log_.problems.push_back({lines_.LineOf(at), "a second <EOH> is ignored"});
      return;
    }
    header_done_ = true;
    // Fields seen so far belonged to the header, not to a record.
    if (open_ && !current_.damage.empty()) {
      log_.problems.push_back({current_.line, "header: " + current_.damage});
    }
    open_ = false;
  }

  std::string_view text_;
  LineIndex lines_;
  AdifLog log_;
  AdifRecord current_;
  bool open_ = false;
  bool header_done_ = false;
};

}  // namespace

bool StartsAdifSpecifier(std::string_view text, std::size_t offset) {
  if (offset >= text.size() || text[offset] != '<') return false;
  TagKind kind = ScanTag(text, offset).kind;
  return kind == TagKind::kEoh || kind == TagKind::kEor || kind == TagKind::kField;
}

AdifLog ParseAdif(std::string_view text) { return AdifParser(text).Run(); }

}  // namespace kevo::replay
