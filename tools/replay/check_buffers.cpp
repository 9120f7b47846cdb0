#include "tools/replay/check_buffers.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kevo::replay {

namespace {

constexpr char kFill = '\xAA';
constexpr std::size_t kGuard = 64;
constexpr std::size_t kSlack = 64;

std::size_t FileBytes(const std::filesystem::path& path) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<std::size_t>(size);
}

}  // namespace

CheckBuffer::CheckBuffer(std::size_t room, const std::optional<std::string>& initial)
    : room_(std::max(room, initial ? initial->size() + 1 : 0)), bytes_(room_ + kGuard, kFill) {
  if (initial) {
    std::copy(initial->begin(), initial->end(), bytes_.begin());
    bytes_[initial->size()] = '\0';
  }
  before_ = bytes_;
}

bool CheckBuffer::GuardIntact() const {
  return std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(room_), bytes_.end(),
                     [](char c) { return c == kFill; });
}

std::optional<std::string> CheckBuffer::Text() const {
  auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(room_);
  auto zero = std::find(bytes_.begin(), end, '\0');
  if (zero == end) return std::nullopt;
  return std::string(bytes_.begin(), zero);
}

std::size_t HintRoom(std::size_t longest_received, std::size_t exchange_list_bytes) {
  // The numeric fallback "-2147483648?" is the longest fixed form.
  return std::max<std::size_t>({longest_received + 2, exchange_list_bytes, 13}) + 1 + kSlack;
}

std::size_t DupeMessageRoom(std::size_t call_length) { return call_length + 16 + 5 + 1 + kSlack; }

std::size_t ExchangeListBytes() {
  return FileBytes("RADL.lst") + FileBytes(std::filesystem::path("Plugins") / "RADL.lst");
}

}  // namespace kevo::replay
