// The shared-window timer on real WM_TIMER ticks: its states, restarts and
// pauses, one-shot ticks, and the shared window's life.
#include "controls/SimpleTimer.h"
#include "tests/windows/ToolkitHarness.h"

#include <memory>

namespace zep::test {
namespace {

class SimpleTimerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitApplication(); }

    // A timer that counts its ticks and notes when they came.
    std::unique_ptr<TSimpleTimer> Counting(UINT interval, int& ticks) {
        return std::make_unique<TSimpleTimer>(interval, [&ticks](TObject*) { ++ticks; });
    }
};

TEST_F(SimpleTimerTest, IntervalZeroNeverStarts) {
    int ticks = 0;
    auto timer = Counting(0, ticks);
    EXPECT_FALSE(timer->StartTimer());
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Enabled());
    // No system timer was set: killing it fails.
    EXPECT_FALSE(timer->StopTimer(true));
}

TEST_F(SimpleTimerTest, DefaultsAndTicksReachOnlyTheirOwnHandler) {
    TSimpleTimer plain;
    EXPECT_EQ(1000u, plain.Interval());
    EXPECT_FALSE(plain.Enabled());
    EXPECT_FALSE(plain.OneShot);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(&plain), plain.TimerId());

    int fast = 0, slow = 0;
    auto a = Counting(20, fast), b = Counting(400, slow);
    a->SetEnabled(true);
    b->SetEnabled(true);
    ASSERT_TRUE(a->Enabled() && b->Enabled());
    ASSERT_TRUE(WaitUntil([&] { return fast >= 5; }));
    EXPECT_LE(slow, 1);
    ASSERT_TRUE(WaitUntil([&] { return slow >= 1; }));
    EXPECT_GT(fast, slow);
}

TEST_F(SimpleTimerTest, RestartsPausesAndResumes) {
    int ticks = 0;
    auto timer = Counting(300, ticks);
    timer->SetEnabled(true);
    const DWORD started = ::GetTickCount();
    // Enabled := true again before the first tick restarts the period.
    HandleMessagesFor(150);
    timer->SetEnabled(true);
    const DWORD restarted = ::GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return ticks == 1; }));
    EXPECT_GE(::GetTickCount() - started, 400u);
    EXPECT_GE(::GetTickCount() - restarted, 250u);

    // Interval 0 pauses with Enabled still true; a new interval resumes with its period.
    timer->SetInterval(0);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_FALSE(timer->StopTimer(false));  // no system timer while paused
    const int paused = ticks;
    HandleMessagesFor(500);
    EXPECT_EQ(paused, ticks);
    timer->SetInterval(30);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= paused + 2; }));

    // No handler pauses too; neither the same interval written nor a handler
    // again resumes it, only Enabled := true does.
    timer->SetOnTimer({});
    EXPECT_TRUE(timer->Enabled());
    timer->SetInterval(30);
    EXPECT_FALSE(timer->StopTimer(false));
    timer->SetOnTimer([&ticks](TObject*) { ++ticks; });
    const int stopped = ticks;
    HandleMessagesFor(150);
    EXPECT_EQ(stopped, ticks);
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks > stopped; }));

    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Enabled());
    const int idle = ticks;
    HandleMessagesFor(150);
    EXPECT_EQ(idle, ticks);
}

TEST_F(SimpleTimerTest, OneShotTicksOncePerStartAndIsOffInsideItsHandler) {
    int ticks = 0;
    bool enabledInside = true;
    TSimpleTimer timer(20, {});
    timer.OneShot = true;
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(&timer, sender);
        enabledInside = timer.Enabled();
        ++ticks;
    });
    for (int start = 1; start <= 2; ++start) {
        ASSERT_TRUE(timer.StartTimer());
        ASSERT_TRUE(WaitUntil([&] { return ticks == start; }));
        HandleMessagesFor(100);
        EXPECT_EQ(start, ticks);
        EXPECT_FALSE(enabledInside);
    }
}

TEST_F(SimpleTimerTest, SharedWindowComesWithTheFirstTimerAndGoesWithTheLast) {
    ASSERT_EQ(nullptr, TSimpleTimer::TimerWindow());
    auto first = std::make_unique<TSimpleTimer>();
    HWND window = TSimpleTimer::TimerWindow();
    ASSERT_TRUE(::IsWindow(window));
    {
        TSimpleTimer second;
        EXPECT_EQ(window, TSimpleTimer::TimerWindow());
    }
    EXPECT_EQ(window, TSimpleTimer::TimerWindow());
    // A tick naming no live timer is dropped; other messages get the default processing.
    EXPECT_EQ(0, ::SendMessageA(window, WM_TIMER, 12345, 0));
    EXPECT_TRUE(::IsWindow(window));
    first.reset();
    EXPECT_EQ(nullptr, TSimpleTimer::TimerWindow());
    EXPECT_FALSE(::IsWindow(window));
    TSimpleTimer again;
    EXPECT_TRUE(::IsWindow(TSimpleTimer::TimerWindow()));
}

TEST_F(SimpleTimerTest, HandlerMayDestroyItsOwnTimer) {
    auto timer = std::make_unique<TSimpleTimer>();
    TSimpleTimer keeper;  // keeps the shared window alive after the timer goes
    int ticks = 0;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TObject*) {
        ++ticks;
        timer.reset();
    });
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return timer == nullptr; }));
    HandleMessagesFor(100);
    EXPECT_EQ(1, ticks);
}

}  // namespace
}  // namespace zep::test
