#include "test_host.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <utility>

namespace ep {
namespace {

class TimerKind : public ::testing::Test {
  protected:
    TimerKind() : window("MainWindow"), timer(window.addControl(ControlKind::Timer, "时钟1", 1)) {
        window.bind(timer.id(), event::TimerTick, "tick");
        HandlerRegistry handlers;
        handlers.add("tick", [this](const EventContext&) {
            ticks.push_back(host.now());
            host.sleep(std::exchange(busyFor, 0));
        });
        window.resolveBindings(handlers);
    }

    testing::TestHost host;
    Window window;
    Control& timer;
    std::vector<long long> ticks;
    int busyFor = 0;
};

TEST_F(TimerKind, APeriodStartsItMeasuredFromTheWrite) {
    host.advance(100);
    timer.write(prop::timer::Period, 500);
    host.advance(1600);
    EXPECT_EQ(ticks, (std::vector<long long>{600, 1100, 1600}));
}

TEST_F(TimerKind, WritingTheSamePeriodDoesNotRestartIt) {
    timer.write(prop::timer::Period, 500);
    host.advance(300);
    timer.write(prop::timer::Period, 500);
    host.advance(300);
    EXPECT_EQ(ticks, (std::vector<long long>{500}));
}

TEST_F(TimerKind, AnotherPeriodRestartsIt) {
    timer.write(prop::timer::Period, 500);
    host.advance(300);
    timer.write(prop::timer::Period, 400);
    host.advance(400);
    EXPECT_EQ(ticks, (std::vector<long long>{700}));
}

TEST_F(TimerKind, ZeroOrANegativePeriodStopsIt) {
    timer.write(prop::timer::Period, 500);
    timer.write(prop::timer::Period, -20);
    EXPECT_EQ(timer.readInt(prop::timer::Period), 0);
    host.advance(2000);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(host.runningTimerCount(), 0u);
}

TEST_F(TimerKind, TicksThatFallDueDuringAHandlerMergeIntoOne) {
    timer.write(prop::timer::Period, 100);
    busyFor = 350;
    host.advance(500);
    EXPECT_EQ(ticks, (std::vector<long long>{100, 450})) << "the ticks due at 200..400 merged into one";
}

TEST_F(TimerKind, DestroyingTheControlStopsItsTimer) {
    timer.write(prop::timer::Period, 100);
    window.removeControl(timer);
    EXPECT_EQ(host.runningTimerCount(), 0u);
}

} // namespace
} // namespace ep
