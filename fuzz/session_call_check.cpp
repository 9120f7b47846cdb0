// The call-check step of the session fuzzer: the answer is one of four codes and the one the
// model predicts, at most one buffer is written, nothing past the text's zero byte, and a
// second check with the same arguments answers the same.
#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "session_model.h"

namespace kevo_fuzz {

namespace {

const char kSentinel = static_cast<char>(0xA5);

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualFolded(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

// The text a buffer received, or null when the buffer still holds only the sentinel.
const char* WrittenText(const std::vector<char>& buffer) {
  std::size_t zero = 0;
  while (zero < buffer.size() && buffer[zero] != '\0') ++zero;
  if (zero == buffer.size()) {
    for (char c : buffer) KEVO_FUZZ_CHECK(c == kSentinel, "buffer written without a zero byte");
    return nullptr;
  }
  for (std::size_t i = zero + 1; i < buffer.size(); ++i)
    KEVO_FUZZ_CHECK(buffer[i] == kSentinel, "buffer written past the text's zero byte");
  return buffer.data();
}

bool FormatsAsTime(const COleDateTime& t) {
  return t.m_status != 1 && t.m_status != 2 && !std::isnan(t.m_dt) && t.m_dt >= -657434.0 &&
         t.m_dt <= 2958465.0;
}

bool IsClockText(const std::string& text) {
  return text.size() == 5 && text[2] == ':' && std::isdigit(static_cast<unsigned char>(text[0])) &&
         std::isdigit(static_cast<unsigned char>(text[1])) &&
         std::isdigit(static_cast<unsigned char>(text[3])) &&
         std::isdigit(static_cast<unsigned char>(text[4]));
}

struct Answer {
  int32_t code;
  std::vector<char> hint, dupe;
};

}  // namespace

void CheckCallOp(SessionModel& model, ByteStream& in, std::size_t buffer_size,
                 const ModelQso* like) {
  Text call = ReadText(in), mode = ReadText(in), band = ReadText(in);
  Text prefix = ReadText(in), band2 = ReadText(in);
  int32_t number = ReadInt(in);
  uint8_t flags = in.Byte();
  if (like != nullptr) {
    call = Text{false, like->call};
    band = Text{false, like->band};
    mode = Text{false, like->mode};
    if (flags & 4) band2 = band;
  }
  const bool hint_null = flags & 1, dupe_null = flags & 2;

  auto ask = [&]() {
    Answer a{0, std::vector<char>(buffer_size, kSentinel),
             std::vector<char>(buffer_size, kSentinel)};
    a.code = CheckCall0(call.get(), 2, 3, mode.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, prefix.get(), 15, number, 17, 18.0,
                        19.0, nullptr, nullptr, nullptr, nullptr, nullptr, band.get(), band2.get(),
                        hint_null ? nullptr : a.hint.data(), dupe_null ? nullptr : a.dupe.data());
    return a;
  };
  Answer first = ask();
  const int32_t code = first.code;
  KEVO_FUZZ_CHECK(code == 0 || code == 1 || code == 2 || code == 4, "call check code");
  const char* hint = WrittenText(first.hint);
  const char* dupe = WrittenText(first.dupe);
  KEVO_FUZZ_CHECK(hint == nullptr || dupe == nullptr, "at most one buffer written");

  // Nothing changes state: the same question gets the same answer, byte for byte.
  Answer second = ask();
  KEVO_FUZZ_CHECK(second.code == code && second.hint == first.hint && second.dupe == first.dupe,
                  "two call checks in a row answer alike");

  const std::string call_text = call.stored(), band_text = band.stored(), mode_text = mode.stored();
  if (!band2.null && !EqualFolded(band_text, band2.stored())) {
    KEVO_FUZZ_CHECK(code == 4 && hint == nullptr && dupe == nullptr, "bands differ: 4, nothing");
    return;
  }
  if (prefix.null) {
    KEVO_FUZZ_CHECK(code == 1 && hint == nullptr && dupe == nullptr, "null prefix: 1, nothing");
    return;
  }
  const ModelQso* duplicate = nullptr;
  const ModelQso* last_same_call = nullptr;
  for (std::size_t i = 0; i < model.size() && duplicate == nullptr; ++i) {
    const ModelQso& e = model.at(i);
    if (e.call != call_text) continue;
    last_same_call = &e;
    if (e.band == band_text && e.mode == mode_text) duplicate = &e;
  }
  if (duplicate != nullptr) {
    KEVO_FUZZ_CHECK(code == 0 && hint == nullptr, "a duplicate answers 0");
    KEVO_FUZZ_CHECK((dupe == nullptr) == dupe_null, "duplicate message written");
    if (dupe == nullptr) return;
    const std::string message(dupe), lead = call_text + ": QSO BEFORE at ";
    KEVO_FUZZ_CHECK(message.compare(0, lead.size(), lead) == 0, "duplicate message text");
    std::string clock = message.substr(lead.size());
    KEVO_FUZZ_CHECK(FormatsAsTime(duplicate->time) ? IsClockText(clock) : clock.empty(),
                    "duplicate message time");
    return;
  }
  KEVO_FUZZ_CHECK(code != 0 && dupe == nullptr, "no duplicate: not 0, no message");

  // The expected exchange: the last report of the call, then the exchange list, then a form
  // made from the prefix or the number (never empty, ends in '?').
  std::string expected;
  bool known = true;
  if (last_same_call != nullptr) expected = last_same_call->rcvd;
  if (expected.empty()) {
    auto listed = model.exchanges().find(call_text);
    if (listed != model.exchanges().end()) {
      expected = listed->second;
    } else if (hint != nullptr) {
      expected = hint;
      KEVO_FUZZ_CHECK(!expected.empty() && expected.back() == '?', "fallback hint ends in ?");
    } else {
      known = false;
    }
  }
  if (known) {
    KEVO_FUZZ_CHECK((hint != nullptr) == (!expected.empty() && !hint_null), "hint written");
    if (hint != nullptr) KEVO_FUZZ_CHECK(expected == hint, "hint text");
    bool new_mult = true;
    for (std::size_t i = 0; i < model.size(); ++i) {
      const ModelQso& e = model.at(i);
      if (e.band == band_text && (expected.empty() || e.rcvd == expected)) new_mult = false;
    }
    KEVO_FUZZ_CHECK(code == (new_mult ? 2 : 1), "new multiplier answer");
  } else {
    KEVO_FUZZ_CHECK(code == 1 || code == 2, "no duplicate answers 1 or 2");
  }
}

}  // namespace kevo_fuzz
