// The one owner of a COM interface pointer: it holds one reference and releases it exactly once.
// Put() hands the slot to an API that returns a new reference (CoCreateInstance, QueryInterface);
// Get() lends the pointer without a reference.
#pragma once

#include <utility>

#include <unknwn.h>

template <class T>
class TComPtr {
public:
    TComPtr() = default;
    // Takes over a reference the caller holds.
    explicit TComPtr(T* owned) noexcept : p_(owned) {}
    TComPtr(const TComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~TComPtr() { Reset(); }

    // A new reference to p (null stays null).
    static TComPtr Share(T* p) noexcept {
        if (p) p->AddRef();
        return TComPtr(p);
    }

    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void Reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }
    // The empty slot for an API that returns a new reference.
    T** Put() noexcept {
        Reset();
        return &p_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
    // Gives the reference to the caller.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(p_, nullptr); }

    // The same object as interface U, or null.
    template <class U>
    TComPtr<U> As() const noexcept {
        TComPtr<U> result;
        if (p_) p_->QueryInterface(__uuidof(U), result.PutVoid());
        return result;
    }

    friend bool operator==(const TComPtr& a, const TComPtr& b) noexcept { return a.p_ == b.p_; }

private:
    T* p_ = nullptr;
};
