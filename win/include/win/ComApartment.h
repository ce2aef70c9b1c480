#pragma once
// The shell's ShellExecute wants COM on the thread that calls it, and so does
// handing an accessible object to assistive technology. A thread
// enters its apartment on first need rather than at program start, where it
// would add to every start (tens of milliseconds under Wine), and leaves it
// when the thread ends. ole32 itself is loaded then too: linked to the
// program, it would be loaded with combase and rpcrt4 before the program's
// first line runs.
#include "win/AnsiOnly.h"
#include "win/Library.h"

#include <windows.h>
#include <objbase.h>

namespace zep {
namespace detail {

class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment() {
        if (entered_) ole32_.Entry<decltype(&::CoUninitialize)>("CoUninitialize")();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool Enter() const {
        const auto initialize = ole32_.Entry<decltype(&::CoInitializeEx)>("CoInitializeEx");
        return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }

    const Library ole32_{"ole32.dll"};
    const bool entered_ = Enter();
};

}  // namespace detail

inline void EnterComApartmentForShell() { thread_local const detail::ComApartment apartment; }

}  // namespace zep
