#pragma once
// One reference to a COM object for the owner's lifetime: released by scope,
// copied with its own AddRef, handed on without a count lost or left over.
#include "win/AnsiOnly.h"

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace zep {

template <class Interface>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller holds (a new object's first one).
    explicit ComRef(Interface* adopted) : p_(adopted) {}
    ComRef(const ComRef& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComRef() {
        if (p_) p_->Release();
    }

    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that hands out a new reference through an out parameter.
    void** Out() {
        *this = ComRef();
        return reinterpret_cast<void**>(&p_);
    }
    // Hands this reference to the caller, who releases it.
    Interface* Detach() { return std::exchange(p_, nullptr); }

private:
    Interface* p_ = nullptr;
};

}  // namespace zep
