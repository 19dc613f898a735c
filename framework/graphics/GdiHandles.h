// Owners for GDI handles: each frees its handle exactly once, in the way the handle requires.
#pragma once

#include <utility>

#include "framework/rtl/WinApi.h"

template <typename Handle, typename Deleter>
class UniqueGdiHandle {
public:
    UniqueGdiHandle() = default;
    explicit UniqueGdiHandle(Handle handle) : handle_(handle) {}
    UniqueGdiHandle(UniqueGdiHandle&& other) noexcept : handle_(other.release()) {}
    UniqueGdiHandle& operator=(UniqueGdiHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueGdiHandle(const UniqueGdiHandle&) = delete;
    UniqueGdiHandle& operator=(const UniqueGdiHandle&) = delete;
    ~UniqueGdiHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old) Deleter{}(old);
    }

private:
    Handle handle_ = nullptr;
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DcDeleter {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct EnhMetafileDeleter {
    void operator()(HENHMETAFILE h) const { DeleteEnhMetaFile(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct GlobalDeleter {
    void operator()(HGLOBAL h) const { GlobalFree(h); }
};

using UniqueBitmap = UniqueGdiHandle<HBITMAP, GdiObjectDeleter>;
using UniqueFont = UniqueGdiHandle<HFONT, GdiObjectDeleter>;
using UniquePen = UniqueGdiHandle<HPEN, GdiObjectDeleter>;
using UniqueBrush = UniqueGdiHandle<HBRUSH, GdiObjectDeleter>;
using UniqueRegion = UniqueGdiHandle<HRGN, GdiObjectDeleter>;
using UniquePalette = UniqueGdiHandle<HPALETTE, GdiObjectDeleter>;
using UniqueDC = UniqueGdiHandle<HDC, DcDeleter>;
using UniqueEnhMetafile = UniqueGdiHandle<HENHMETAFILE, EnhMetafileDeleter>;
using UniqueIcon = UniqueGdiHandle<HICON, IconDeleter>;
using UniqueGlobal = UniqueGdiHandle<HGLOBAL, GlobalDeleter>;

// The screen's DC for the lifetime of the object (GetDC(0) / ReleaseDC).
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { if (dc_) ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and restores the previous one on destruction.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() { if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_); }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves a DC's state and restores it on destruction.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDCState() { if (saved_) RestoreDC(dc_, saved_); }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};
