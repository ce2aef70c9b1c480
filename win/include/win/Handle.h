#pragma once
// One owning wrapper for every kind of Win32 handle: the traits say what "no
// handle" is and how to release one.
#include "win/AnsiOnly.h"

#include <windows.h>

#include <utility>

namespace zep {

template <class Traits>
class UniqueHandle {
public:
    using handle_type = typename Traits::handle_type;

    UniqueHandle() = default;
    explicit UniqueHandle(handle_type h) : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    handle_type get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    handle_type release() { return std::exchange(h_, Traits::invalid()); }
    void reset(handle_type h = Traits::invalid()) {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }

private:
    handle_type h_ = Traits::invalid();
};

struct FileHandleTraits {
    using handle_type = HANDLE;
    static handle_type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(handle_type h) { ::CloseHandle(h); }
};
// Processes, threads, events: the kernel objects whose "no handle" is null.
struct KernelObjectTraits {
    using handle_type = HANDLE;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using handle_type = HANDLE;
    static handle_type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(handle_type h) { ::FindClose(h); }
};
struct RegKeyTraits {
    using handle_type = HKEY;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::RegCloseKey(h); }
};
// Typed by the kind of object, so that a brush wrapper hands out an HBRUSH.
template <class Handle>
struct GdiObjectTraits {
    using handle_type = Handle;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::DeleteObject(h); }
};

struct IconTraits {
    using handle_type = HICON;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::DestroyIcon(h); }
};

struct MemoryDCTraits {
    using handle_type = HDC;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::DeleteDC(h); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using KernelObject = UniqueHandle<KernelObjectTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
template <class Handle = HGDIOBJ>
using GdiObject = UniqueHandle<GdiObjectTraits<Handle>>;
using IconHandle = UniqueHandle<IconTraits>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;

// Selects an object into a device context for its own lifetime.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace zep
