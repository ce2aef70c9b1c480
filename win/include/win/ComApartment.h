#pragma once
// The shell's ShellExecute wants COM on the thread that calls it. A thread
// enters its apartment on first need rather than at program start, where it
// would add to every start (tens of milliseconds under Wine), and leaves it
// when the thread ends.
#include "win/AnsiOnly.h"

#include <objbase.h>

namespace zep {

inline void EnterComApartmentForShell() {
    struct Apartment {
        const bool entered = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        ~Apartment() {
            if (entered) ::CoUninitialize();
        }
    };
    thread_local const Apartment apartment;
}

}  // namespace zep
