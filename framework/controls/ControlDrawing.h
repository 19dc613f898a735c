// Small helpers the control painters share: a memory bitmap to paint into before copying to the
// screen, and text measuring on the screen.
#pragma once

#include "framework/graphics/GdiHandles.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/rtl/WinApi.h"

// A bitmap compatible with reference, selected into its own memory DC.
class MemoryDC {
public:
    MemoryDC(HDC reference, int width, int height)
        : dc_(CreateCompatibleDC(reference)),
          bitmap_(CreateCompatibleBitmap(reference, width > 0 ? width : 1, height > 0 ? height : 1)),
          selection_(dc_.get(), bitmap_.get()) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_.get(); }

private:
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    SelectionGuard selection_;
};

// The height of text in font, measured on the screen.
inline int TextHeightOf(TFont& font, const wchar_t* text) {
    const auto dc = ScreenDC();
    SelectionGuard selection(dc.get(), font.Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text, static_cast<int>(wcslen(text)), &size);
    return size.cy;
}
