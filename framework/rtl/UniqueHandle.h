// The one owner for operating-system handles: it holds a handle and frees it exactly once, by the
// function the handle requires. Every kind of handle is one alias beside the layer that makes it:
//     using UniqueMenu = UniqueHandle<HMENU, ReleaseBy<&DestroyMenu>>;
// A release that needs more than the handle (ReleaseDC's window, EndPaint's PAINTSTRUCT) is a
// small struct holding that context; it moves with the handle. A null handle is "none": where an
// API reports failure otherwise (CreateFileW's INVALID_HANDLE_VALUE), the caller turns that into
// null before taking ownership. Functions that hand a handle over return the owner, never the raw
// handle, so a caller cannot forget to free it.
#pragma once

#include <utility>

// A release function given by address, for handles that need nothing but themselves.
template <auto Function>
struct ReleaseBy {
    template <typename Handle>
    void operator()(Handle handle) const noexcept {
        Function(handle);
    }
};

template <typename Handle, typename Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Release release = Release{}) noexcept
        : handle_(handle), release_(std::move(release)) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Handle{})), release_(std::move(other.release_)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
            release_ = std::move(other.release_);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    // Gives up ownership: the caller frees the handle (or hands it to an API that takes it).
    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    // Frees the held handle, then holds handle (with the same release context).
    void reset(Handle handle = Handle{}) noexcept {
        if (Handle old = std::exchange(handle_, handle); old != Handle{}) release_(old);
    }

private:
    Handle handle_{};
    [[no_unique_address]] Release release_{};
};

// The run-time library's own handles, declared without <windows.h> (HANDLE and HGLOBAL are
// void*) so that code which needs no window can hold them too.
void CloseKernelHandle(void* handle) noexcept;
void FreeGlobalMemory(void* memory) noexcept;

// Kernel objects: processes, threads, files, events.
using UniqueKernelHandle = UniqueHandle<void*, ReleaseBy<&CloseKernelHandle>>;
// Movable global memory (clipboard data, DEVMODE blocks).
using UniqueGlobal = UniqueHandle<void*, ReleaseBy<&FreeGlobalMemory>>;

// Owns what CreateFileW returned: nothing when it failed (INVALID_HANDLE_VALUE).
UniqueKernelHandle OwnFileHandle(void* handle);
