// Messages of a repeating fault: the first at once, the rest summed once a period.
#include "tools/live/keeping/message_throttle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kevo::live {
namespace {

using std::chrono::seconds;

TEST(MessageThrottleTest, FirstAtOnceTheRestSummedEachPeriod) {
  struct Step {
    int at;           // seconds from the start
    const char* key;  // empty: a Tick
    const char* line;
    std::vector<std::string> written;
  };
  const Step steps[] = {
      {0, "bad", "bad 1", {"bad 1"}},
      {1, "bad", "bad 2", {}},
      {2, "no call", "no call 1", {"no call 1"}},
      {3, "bad", "bad 3", {}},
      {30, "", "", {}},
      // The period ends: the last held message of each kind with its count, then this one.
      {61, "bad", "bad 4", {"bad 3 (2 like it in the last 61 s)", "bad 4"}},
      {62, "bad", "bad 5", {}},
      {125, "", "", {"bad 5 (1 like it in the last 64 s)"}},
      // A quiet period writes nothing; the next message is written at once.
      {300, "", "", {}},
      {301, "bad", "bad 6", {"bad 6"}},
  };
  MessageThrottle throttle(seconds(60));
  const MessageThrottle::Clock::time_point start{};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.at);
    auto now = start + seconds(step.at);
    std::string key = step.key;
    std::vector<std::string> written =
        key.empty() ? throttle.Tick(now) : throttle.Note(key, step.line, now);
    EXPECT_EQ(written, step.written);
  }
}

TEST(MessageThrottleTest, AForgottenFaultIsToldAtOnceWhenItComesBack) {
  MessageThrottle throttle(seconds(60));
  const MessageThrottle::Clock::time_point start{};
  EXPECT_EQ(throttle.Note("journal", "full", start).size(), 1u);
  EXPECT_TRUE(throttle.Note("journal", "full", start + seconds(1)).empty());
  throttle.Forget("journal");
  EXPECT_EQ(throttle.Note("journal", "full again", start + seconds(2)),
            std::vector<std::string>{"full again"});
}

}  // namespace
}  // namespace kevo::live
