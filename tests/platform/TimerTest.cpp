#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/Services.h"

namespace permora {
namespace {

// A timer service whose ticks the test gives by hand.
class TManualTimers final : public ITimerService {
 public:
  int StartTimer(uint32_t interval, std::function<void()> tick) override {
    running[nextId] = {interval, std::move(tick)};
    return nextId++;
  }
  void StopTimer(int id) override { running.erase(id); }
  // Ticks every running timer once; a tick may stop timers, its own included.
  void TickAll() {
    std::vector<int> ids;
    for (const auto& [id, timer] : running) ids.push_back(id);
    for (int id : ids) {
      auto it = running.find(id);
      if (it == running.end()) continue;
      auto tick = it->second.tick;  // the timer may be stopped inside its own tick
      tick();
    }
  }
  struct Timer {
    uint32_t interval;
    std::function<void()> tick;
  };
  std::map<int, Timer> running;
  int nextId = 1;
};

struct TimerFixture : testing::Test {
  TManualTimers service;
  ITimerService* previous = nullptr;
  int ticks = 0;
  void Count(TObject*) { ++ticks; }
  void SetUp() override {
    previous = PlatformServices().Timers;
    PlatformServices().Timers = &service;
  }
  void TearDown() override { PlatformServices().Timers = previous; }
};

TEST_F(TimerFixture, RunsOnlyWhenEnabledWithIntervalAndHandler) {
  TTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(timer.Running()) << "no handler yet";
  timer.SetOnTimer(TNotifyEvent(static_cast<TimerFixture*>(this), &TimerFixture::Count));
  ASSERT_TRUE(timer.Running());
  EXPECT_EQ(service.running.begin()->second.interval, 1000u);
  service.TickAll();
  EXPECT_EQ(ticks, 1);
  timer.SetEnabled(false);
  EXPECT_TRUE(service.running.empty());
  service.TickAll();
  EXPECT_EQ(ticks, 1);
  timer.SetEnabled(true);
  timer.SetInterval(0);
  EXPECT_TRUE(service.running.empty());
}

TEST_F(TimerFixture, NewIntervalRestartsTheServiceTimer) {
  TTimer timer(nullptr);
  timer.SetOnTimer(TNotifyEvent(static_cast<TimerFixture*>(this), &TimerFixture::Count));
  timer.SetInterval(200);
  ASSERT_EQ(service.running.size(), 1u);
  EXPECT_EQ(service.running.begin()->second.interval, 200u);
}

TEST_F(TimerFixture, DestroyingStopsIt) {
  {
    TTimer timer(nullptr);
    timer.SetOnTimer(TNotifyEvent(static_cast<TimerFixture*>(this), &TimerFixture::Count));
    EXPECT_EQ(service.running.size(), 1u);
  }
  EXPECT_TRUE(service.running.empty());
}

struct TSelfStopping {
  TTimer* timer = nullptr;
  int ticks = 0;
  void OnTimer(TObject*) {
    ++ticks;
    timer->SetEnabled(false);
  }
};

TEST_F(TimerFixture, HandlerMayStopItsOwnTimer) {
  TTimer timer(nullptr);
  TSelfStopping handler{&timer};
  timer.SetOnTimer(TNotifyEvent(&handler, &TSelfStopping::OnTimer));
  service.TickAll();
  service.TickAll();
  EXPECT_EQ(handler.ticks, 1);
  EXPECT_FALSE(timer.Running());
}

TEST(TimerWithoutService, NeverFires) {
  ITimerService* previous = PlatformServices().Timers;
  PlatformServices().Timers = nullptr;
  TTimer timer(nullptr);
  struct Never {
    void OnTimer(TObject*) { ADD_FAILURE(); }
  } never;
  timer.SetOnTimer(TNotifyEvent(&never, &Never::OnTimer));
  EXPECT_FALSE(timer.Running());
  PlatformServices().Timers = previous;
}

}  // namespace
}  // namespace permora
