// The drawing and windowing system's handles as UniqueHandle owners, each freed the way it must
// be, and guards that put a DC back as they found it.
#pragma once

#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

using UniqueBitmap = UniqueHandle<HBITMAP, ReleaseBy<&DeleteObject>>;
using UniqueFont = UniqueHandle<HFONT, ReleaseBy<&DeleteObject>>;
using UniquePen = UniqueHandle<HPEN, ReleaseBy<&DeleteObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, ReleaseBy<&DeleteObject>>;
using UniqueRegion = UniqueHandle<HRGN, ReleaseBy<&DeleteObject>>;
using UniquePalette = UniqueHandle<HPALETTE, ReleaseBy<&DeleteObject>>;
using UniqueEnhMetafile = UniqueHandle<HENHMETAFILE, ReleaseBy<&DeleteEnhMetaFile>>;
using UniqueIcon = UniqueHandle<HICON, ReleaseBy<&DestroyIcon>>;
using UniqueWindow = UniqueHandle<HWND, ReleaseBy<&DestroyWindow>>;

// A DC the program created (CreateCompatibleDC, CreateDCW).
using UniqueDC = UniqueHandle<HDC, ReleaseBy<&DeleteDC>>;

// A DC borrowed from a window (GetDC, GetWindowDC): given back to that window.
struct ReleaseWindowDC {
    HWND window = nullptr;
    void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};
using UniqueWindowDC = UniqueHandle<HDC, ReleaseWindowDC>;

inline UniqueWindowDC ClientDC(HWND window) { return UniqueWindowDC(GetDC(window), ReleaseWindowDC{window}); }
inline UniqueWindowDC WindowDC(HWND window) { return UniqueWindowDC(GetWindowDC(window), ReleaseWindowDC{window}); }
// The screen's DC.
inline UniqueWindowDC ScreenDC() { return ClientDC(nullptr); }

// The DC of a WM_PAINT (BeginPaint): ended with the PAINTSTRUCT it began with, which validates
// the window's update region.
struct EndPaintDC {
    HWND window = nullptr;
    PAINTSTRUCT paint{};
    void operator()(HDC) const noexcept { EndPaint(window, &paint); }
};
using UniquePaintDC = UniqueHandle<HDC, EndPaintDC>;

inline UniquePaintDC BeginPaintDC(HWND window) {
    EndPaintDC end{window, {}};
    HDC dc = BeginPaint(window, &end.paint);
    return UniquePaintDC(dc, end);
}

// A DC recording an enhanced metafile (CreateEnhMetaFileW). Finishing it is
// CloseEnhMetaFile(recording.release()); dropping it unfinished discards the recording.
inline void DiscardEnhMetafileRecording(HDC dc) { DeleteEnhMetaFile(CloseEnhMetaFile(dc)); }
using UniqueMetafileRecording = UniqueHandle<HDC, ReleaseBy<&DiscardEnhMetafileRecording>>;

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
