// The exchange list reader over any bytes, served in fuzzed pieces and optionally cut by a
// read error: it must agree with a plain model of the file, whatever the line ends, CR runs,
// 0x1A bytes, zero bytes or line lengths. A compact form of the input expands to megabytes.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "contest/exchange_list.h"
#include "exchange_model.h"
#include "fuzz_input.h"
#include "session_model.h"

namespace {

// Serves the bytes in pieces of fuzzed sizes, then fails once instead of ending when asked.
class PiecewiseFile : public kevo::InputFile {
 public:
  PiecewiseFile(const std::string& bytes, uint8_t piece_seed, bool fail_at_end)
      : bytes_(bytes), seed_(piece_seed), fail_at_end_(fail_at_end) {}

  long Read(char* buffer, std::size_t size) override {
    if (pos_ == bytes_.size()) return fail_at_end_ ? -1 : 0;
    std::size_t piece = seed_ == 0 ? size : 1 + (seed_ * 7919u + calls_++ * 104729u) % seed_;
    if (piece > size) piece = size;
    if (piece > bytes_.size() - pos_) piece = bytes_.size() - pos_;
    std::memcpy(buffer, bytes_.data() + pos_, piece);
    pos_ += piece;
    return static_cast<long>(piece);
  }

 private:
  const std::string& bytes_;
  uint8_t seed_;
  bool fail_at_end_;
  std::size_t pos_ = 0;
  std::size_t calls_ = 0;
};

// Compact form: runs of (16-bit repeat count, length byte, bytes), up to 2 MB in all.
std::string Expand(kevo_fuzz::ByteStream& in) {
  constexpr std::size_t kLimit = 2u << 20;
  std::string bytes;
  while (!in.empty() && bytes.size() < kLimit) {
    std::size_t repeat = in.U16();
    repeat = repeat >= 0x8000 ? (repeat - 0x8000) * 64 : repeat;  // up to 2 MB of one run
    std::string run = in.Bytes(in.Byte());
    if (run.empty()) break;
    // Repeat a block of a few kilobytes rather than the run itself: megabytes stay cheap.
    std::size_t total = std::min(run.size() * repeat, kLimit - bytes.size());
    std::string block;
    while (block.size() < 4096 && block.size() < total) block += run;
    for (std::size_t n; total > 0; total -= n) {
      n = std::min(total, block.size());
      bytes.append(block, 0, n);
    }
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kevo_fuzz::ByteStream in(data, size);
  uint8_t mode = in.Byte();
  uint8_t piece_seed = in.Byte();
  std::string bytes = (mode & 1) ? Expand(in) : in.Bytes(size);

  kevo::ExchangeList list;
  list.Set("stale", "entry");  // reading adds to what is there
  PiecewiseFile file(bytes, piece_seed, mode & 2);
  bool ok = kevo::ReadExchangeList(file, &list);
  KEVO_FUZZ_CHECK(ok == !(mode & 2) || bytes.find('\x1A') != std::string::npos,
                  "a read error is reported, the end of the file is not");

  auto expected = kevo_fuzz::ModelExchangeList(bytes, mode & 2);
  expected.emplace("stale", "entry");
  KEVO_FUZZ_CHECK(list.size() == expected.size(), "entry count");
  for (const auto& [key, value] : expected) {
    const std::string* found = list.Find(key);
    KEVO_FUZZ_CHECK(found != nullptr && *found == value, "entry value");
  }

  // One line on its own, as the reader hands it over.
  kevo::ExchangeList single;
  kevo::ApplyExchangeLine(bytes, &single);
  std::map<std::string, std::string> one;
  kevo_fuzz::ModelApplyLine(bytes, &one);
  KEVO_FUZZ_CHECK(single.size() == one.size(), "single line");
  return 0;
}
