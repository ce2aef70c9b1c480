#include "controls/SimpleTimer.h"

#include "toolkit/WindowHook.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace zep {
namespace {

// The hidden window all timers share, and the timers alive: a tick is routed
// by its identifier, and one naming no live timer is dropped.
class TSimpleTimerHandler {
public:
    TSimpleTimerHandler() : TimerWindow([this](UINT m, WPARAM w, LPARAM, LRESULT&) { return TimerWindowProc(m, w); }) {}

    std::vector<TSimpleTimer*> Timers;  // their number is the count of timers alive
    TMessageWindow TimerWindow;

private:
    bool TimerWindowProc(UINT message, WPARAM id) {
        if (message != WM_TIMER) return false;
        const auto found = std::find_if(Timers.begin(), Timers.end(),
                                        [id](const TSimpleTimer* t) { return t->TimerId() == id; });
        if (found == Timers.end()) return true;
        TSimpleTimer& timer = **found;
        if (timer.OneShot) timer.StopTimer(true);
        // A copy: the handler may destroy its own timer, and with it the event.
        const TNotifyEvent onTimer = timer.OnTimer();
        Fire(onTimer, &timer);
        return true;
    }
};

std::unique_ptr<TSimpleTimerHandler> SharedTimerHandler;

void AcquireTimerHandler(TSimpleTimer& timer) {
    if (!SharedTimerHandler) SharedTimerHandler = std::make_unique<TSimpleTimerHandler>();
    SharedTimerHandler->Timers.push_back(&timer);
}

void ReleaseTimerHandler(TSimpleTimer& timer) {
    if (!SharedTimerHandler) return;
    std::erase(SharedTimerHandler->Timers, &timer);
    if (SharedTimerHandler->Timers.empty()) SharedTimerHandler.reset();
}

}  // namespace

TSimpleTimer::TSimpleTimer() : TSimpleTimer(1000, {}) {}

TSimpleTimer::TSimpleTimer(UINT interval, TNotifyEvent onTimer) : interval_(interval) {
    SetOnTimer(std::move(onTimer));
    AcquireTimerHandler(*this);
}

TSimpleTimer::~TSimpleTimer() {
    if (enabled_) StopTimer(true);
    ReleaseTimerHandler(*this);
}

HWND TSimpleTimer::TimerWindow() { return SharedTimerHandler ? SharedTimerHandler->TimerWindow.Handle() : nullptr; }

bool TSimpleTimer::StartTimer() {
    if (interval_ == 0) return false;
    if (enabled_) StopTimer(true);
    enabled_ = ::SetTimer(TimerWindow(), TimerId(), interval_, nullptr) != 0;
    return enabled_;
}

bool TSimpleTimer::StopTimer(bool clearEnabled) {
    if (clearEnabled) enabled_ = false;
    return ::KillTimer(TimerWindow(), TimerId()) != FALSE;
}

void TSimpleTimer::SetEnabled(bool enabled) {
    if (enabled)
        StartTimer();
    else
        StopTimer(true);
}

void TSimpleTimer::SetInterval(UINT interval) {
    if (interval == interval_) return;
    interval_ = interval;
    if (!enabled_) return;
    if (interval)
        StartTimer();
    else
        StopTimer(false);
}

void TSimpleTimer::SetOnTimer(TNotifyEvent onTimer) {
    onTimer_ = std::move(onTimer);
    if (!onTimer_ && enabled_) StopTimer(false);
}

}  // namespace zep
