// The wait a closed console window runs on Windows: the stop starts once, the event returns
// when the stop has ended or the time is up, and an event before or after the run is harmless.
#include "tools/live/console_close.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace kevo::live {
namespace {

using std::chrono::milliseconds;

TEST(CloseWait, StartsTheStopOnceAndReturnsWhenItHasEnded) {
  CloseWait wait(milliseconds(10000));
  std::atomic<int> stops{0};
  std::thread stopper;
  wait.Arm([&] {
    ++stops;
    // The stop runs elsewhere, as a post to the main thread does.
    stopper = std::thread([&] {
      std::this_thread::sleep_for(milliseconds(50));
      wait.Finished();
    });
  });
  std::vector<std::thread> events;
  std::atomic<int> in_time{0};
  for (int i = 0; i < 3; ++i) {
    events.emplace_back([&] { in_time += wait.StopAndWait() ? 1 : 0; });
  }
  for (std::thread& event : events) event.join();
  stopper.join();
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(in_time, 3);
}

TEST(CloseWait, GivesUpAfterTheLimitWhenTheStopHangs) {
  CloseWait wait(milliseconds(100));
  wait.Arm([] {});
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(wait.StopAndWait());
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(100));
}

TEST(CloseWait, BeforeArmingAndAfterTheEndNothingStarts) {
  CloseWait wait(milliseconds(10000));
  // Before the server runs there is nothing to stop cleanly: the process may end at once.
  EXPECT_FALSE(wait.StopAndWait());
  int stops = 0;
  wait.Arm([&] { ++stops; });
  wait.Finished();
  // After the run the stop's objects are gone: a late event must not touch them.
  EXPECT_TRUE(wait.StopAndWait());
  EXPECT_EQ(stops, 0);
}

}  // namespace
}  // namespace kevo::live
