#include "store/delay.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvo {
namespace {

// A tick counter that only advances when slept on, starting just below the 32-bit wrap.
class FakeTicks final : public TickSource {
  public:
    explicit FakeTicks(std::uint32_t start) : now_(start) {}
    std::uint32_t TickCount() override { return now_; }
    void Sleep(std::uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now_ += milliseconds;
    }
    std::vector<std::uint32_t> sleeps;

  private:
    std::uint32_t now_;
};

TEST(Delay, WaitsUntilMoreThanTheTimeHasPassed) {
    FakeTicks ticks(1000);
    Delay(ticks, 50);
    EXPECT_EQ(ticks.TickCount(), 1051u);
    EXPECT_EQ(ticks.sleeps, (std::vector<std::uint32_t>{51}));
}

TEST(Delay, SurvivesTheWrapOfTheTickCounter) {
    FakeTicks ticks(0xFFFFFFF0u);
    Delay(ticks, 100);
    EXPECT_EQ(ticks.TickCount(), 0xFFFFFFF0u + 101u);
}

TEST(Delay, ZeroStillWaitsOneTick) {
    FakeTicks ticks(5);
    Delay(ticks, 0);
    EXPECT_EQ(ticks.TickCount(), 6u);
}

}  // namespace
}  // namespace kelvo
