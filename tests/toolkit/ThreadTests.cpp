// Deferred calls, driven by hand: CheckSynchronize is what the event loop runs between messages.

#include "toolkit/Thread.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class ThreadQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::TThread::DropQueued(); }
  void TearDown() override { ui::TThread::DropQueued(); }
  static void Queue(ui::TProc iProc) { ui::TThread::ForceQueue(ui::TThread::CurrentThread(), std::move(iProc)); }
  std::vector<std::string> log_;
};

TEST_F(ThreadQueueTest, NeverRunsAtOnceAndRunsInOrder) {
  Queue([this] { log_.push_back("1"); });
  Queue([this] { log_.push_back("2"); });
  EXPECT_TRUE(log_.empty()) << "ForceQueue must not run the call on the caller's stack";
  EXPECT_TRUE(ui::TThread::CheckSynchronize());
  EXPECT_EQ(log_, (std::vector<std::string>{"1", "2"}));
  EXPECT_FALSE(ui::TThread::CheckSynchronize()) << "nothing left";
}

TEST_F(ThreadQueueTest, CallQueuedInsideRunsInALaterRoundNotInside) {
  Queue([this] {
    log_.push_back("outer-start");
    Queue([this] { log_.push_back("inner"); });
    EXPECT_FALSE(ui::TThread::CheckSynchronize()) << "a queued call never runs inside another";
    log_.push_back("outer-end");
  });
  Queue([this] { log_.push_back("second"); });
  ASSERT_TRUE(ui::TThread::CheckSynchronize());
  EXPECT_EQ(log_, (std::vector<std::string>{"outer-start", "outer-end", "second"}));
  ASSERT_TRUE(ui::TThread::CheckSynchronize());
  EXPECT_EQ(log_.back(), "inner");
}

TEST_F(ThreadQueueTest, DroppedCallsNeverRunAndEmptyCallsAreIgnored) {
  bool ran = false;
  Queue([&ran] { ran = true; });
  Queue(nullptr);
  ui::TThread::DropQueued();
  EXPECT_FALSE(ui::TThread::HasQueued());
  EXPECT_FALSE(ui::TThread::CheckSynchronize());
  EXPECT_FALSE(ran);
}

TEST_F(ThreadQueueTest, WakeIsCalledForEveryQueuedCall) {
  int wakes = 0;
  ui::TThread::SetWakeMainThread([&wakes] { ++wakes; });
  Queue([] {});
  Queue([] {});
  ui::TThread::SetWakeMainThread(nullptr);
  EXPECT_EQ(wakes, 2);
}

TEST_F(ThreadQueueTest, AThrowingCallKeepsTheCallsAfterIt) {
  Queue([] { throw std::runtime_error("boom"); });
  Queue([this] { log_.push_back("after"); });
  EXPECT_THROW(ui::TThread::CheckSynchronize(), std::runtime_error);
  EXPECT_TRUE(ui::TThread::CheckSynchronize());
  EXPECT_EQ(log_, (std::vector<std::string>{"after"}));
}

}  // namespace
