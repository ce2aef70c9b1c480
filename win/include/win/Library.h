#pragma once
// A system DLL loaded on first need rather than imported: an import is loaded
// before the program's first line runs, and adds to every start.
#include "win/AnsiOnly.h"

#include <windows.h>

namespace zep {

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
        return module_ ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module_, name)))
                       : nullptr;
    }

private:
    HMODULE module_;
};

}  // namespace zep
