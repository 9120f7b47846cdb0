// Turns a fuzzer's bytes into the values the entries take: texts (null, dictionary words or
// raw bytes), date-times (the awkward day counts first, then raw bits) and integers. Reads
// from the front only, so a seed file can be written by hand; an exhausted input gives zeros.
#ifndef KEVO_FUZZ_FUZZ_INPUT_H_
#define KEVO_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "StatsKEVO.h"

namespace kevo_fuzz {

class ByteStream {
 public:
  ByteStream(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }
  std::size_t size() const { return size_; }

  uint8_t Byte() { return empty() ? 0 : data_[pos_++]; }

  uint16_t U16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }

  uint32_t U32() {
    uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
  }

  uint64_t U64() {
    uint64_t low = U32();
    return low | (static_cast<uint64_t>(U32()) << 32);
  }

  // Up to `count` bytes, fewer when the input ends first.
  std::string Bytes(std::size_t count) {
    std::size_t left = size_ - pos_;
    if (count > left) count = left;
    std::string bytes(reinterpret_cast<const char*>(data_ + pos_), count);
    pos_ += count;
    return bytes;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A text parameter as the host passes it: null, or the bytes up to the first zero byte.
struct Text {
  bool null = false;
  std::string bytes;

  const char* get() const { return null ? nullptr : bytes.c_str(); }
  // What the plug-in stores: a null text is the empty text.
  std::string stored() const { return null ? std::string() : std::string(bytes.c_str()); }
};

// Length byte: 0xFF null, 0xFE a 16-bit length follows, 0xF0..0xFD a dictionary word,
// anything else that many raw bytes.
inline Text ReadText(ByteStream& in) {
  static const char* const kWords[] = {"20M", "40M", "20m", "CW", "SSB",   "DL", "YU6",
                                       "12",  "A",   "7",   "07", "Q1ABC", "",   "KVDL?"};
  Text text;
  uint8_t selector = in.Byte();
  if (selector == 0xFF) {
    text.null = true;
  } else if (selector == 0xFE) {
    text.bytes = in.Bytes(in.U16());
  } else if (selector >= 0xF0) {
    text.bytes = kWords[selector - 0xF0];
  } else {
    text.bytes = in.Bytes(selector);
  }
  return text;
}

// A date-time argument; `null_pointer` stands for a null COleDateTime pointer.
struct DateTime {
  bool null_pointer = false;
  COleDateTime value{};

  const COleDateTime* get() const { return null_pointer ? nullptr : &value; }
};

inline DateTime ReadDateTime(ByteStream& in) {
  static const double kDays[] = {
      0.0,
      -0.0,
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      1e308,
      -1e308,
      45000.5,
      45000.5 + 1.0 / 1440.0,
      45000.5 + 59.9999999 / 1440.0,
      -1.25,
      -657434.0,
      2958465.0,
      2958465.1,
      std::numeric_limits<double>::denorm_min(),
      9223372036854775808.0,
  };
  DateTime time;
  uint8_t selector = in.Byte();
  if (selector == 0xFF) {
    time.null_pointer = true;
    return time;
  }
  if (selector < sizeof kDays / sizeof kDays[0]) {
    time.value.m_dt = kDays[selector];
  } else if (selector < 0x80) {
    // Minutes after a fixed day: close times that fall in and out of the rate windows.
    time.value.m_dt = 45000.5 + (selector - 0x10) / 1440.0;
  } else {
    uint64_t bits = in.U64();
    std::memcpy(&time.value.m_dt, &bits, sizeof bits);
  }
  uint8_t status = in.Byte();
  time.value.m_status =
      status < 0xF0 ? static_cast<int32_t>(status % 3) : static_cast<int32_t>(in.U32());
  return time;
}

// Small numbers mostly, the extremes and raw 32-bit values now and then.
inline int32_t ReadInt(ByteStream& in) {
  uint8_t selector = in.Byte();
  if (selector < 0xF0) return static_cast<int32_t>(selector) - 8;
  if (selector == 0xF0) return std::numeric_limits<int32_t>::min();
  if (selector == 0xF1) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(in.U32());
}

}  // namespace kevo_fuzz

#endif  // KEVO_FUZZ_FUZZ_INPUT_H_
