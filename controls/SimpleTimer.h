#pragma once
// A periodic timer without a window of its own: every timer of the process
// gets its ticks through one shared hidden window, made with the first timer
// and destroyed with the last.
#include "toolkit/Events.h"

#include <windows.h>

namespace zep {

class TSimpleTimer : public TObject {
public:
    TSimpleTimer();
    TSimpleTimer(UINT interval, TNotifyEvent onTimer);
    ~TSimpleTimer() override;
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // (Re)starts the period from now; false with an interval of 0 or when the
    // system has no timer to give.
    bool StartTimer();
    // Kills the system timer, clearing Enabled when asked; false when there was none.
    bool StopTimer(bool clearEnabled);

    // Enabled stays true while a timer is paused (interval 0 or no handler).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent onTimer);

    // Disables the timer just before each OnTimer call: one tick per start.
    bool OneShot = false;

    // The system timer's identifier: this object's address.
    UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

    // The window that receives every timer's ticks; null while no timer exists.
    static HWND TimerWindow();

private:
    bool enabled_ = false;
    UINT interval_;
    TNotifyEvent onTimer_;
};

}  // namespace zep
