#include "tools/replay/check_buffers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kevo::replay {
namespace {

TEST(CheckBuffer, TellsUnwrittenWrittenAndOverrunApart) {
  CheckBuffer untouched(16, std::nullopt);
  EXPECT_FALSE(untouched.Changed());
  EXPECT_TRUE(untouched.GuardIntact());
  EXPECT_FALSE(untouched.Text().has_value());

  CheckBuffer initial(4, std::string("old text"));  // the room grows to hold the initial text
  EXPECT_EQ(initial.Text(), "old text");
  std::strcpy(initial.data(), "old text");  // the same bytes again: not a change
  EXPECT_FALSE(initial.Changed());
  std::strcpy(initial.data(), "15");
  EXPECT_TRUE(initial.Changed());
  EXPECT_EQ(initial.Text(), "15");

  CheckBuffer small(8, std::nullopt);
  std::memset(small.data(), 'x', 9);
  EXPECT_FALSE(small.GuardIntact());
  EXPECT_FALSE(small.Text().has_value());
}

TEST(CheckBuffer, RoomCoversEveryTextTheCheckCanWrite) {
  // "-2147483648?" and its zero byte; "KV" + three-letter prefix + "?".
  EXPECT_GE(HintRoom(0, 0), 13u);
  // A one-byte exchange may come back as two bytes after the scoring passes.
  EXPECT_GE(HintRoom(1, 0), 3u);
  EXPECT_GE(HintRoom(100, 0), 103u);
  EXPECT_GE(HintRoom(0, 5000), 5001u);
  // "CALL: QSO BEFORE at HH:MM" with its zero byte.
  EXPECT_GE(DupeMessageRoom(40), 40u + 16u + 5u + 1u);
}

}  // namespace
}  // namespace kevo::replay
