#pragma once
// A system DLL loaded on first need rather than imported: an import is loaded
// before the program's first line runs, and adds to every start.
#include "win/AnsiOnly.h"

#include <windows.h>

namespace zep {

// The function `name` exported by `module`, typed as `Function`; null when
// either is missing, as on a Windows older than the function.
template <class Function>
Function EntryOf(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}

class Library {
public:
    explicit Library(const char* name) : module_(::LoadLibraryA(name)) {}
    ~Library() {
        if (module_) ::FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The exported function of that name, typed as `Function`; null when the DLL or the name is missing.
    template <class Function>
    Function Entry(const char* name) const {
        return EntryOf<Function>(module_, name);
    }

private:
    HMODULE module_;
};

}  // namespace zep
