// The lettering models name faces that Windows has and a Wine prefix lacks; the project's
// prefixes map them to close free faces. Asking for a model's face must draw the stand-in's
// glyphs, not the default font's.
#include <gtest/gtest.h>

#include <vector>

#include "app/StyleForm.h"
#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/WinApi.h"

namespace {

// The pixels of a line of text drawn in face, black on white.
std::vector<Byte> Render(const String& face) {
    constexpr int Width = 360, Height = 60;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectionGuard selectBitmap(dc.get(), bitmap.get());
    RECT all{0, 0, Width, Height};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    LOGFONTW lf{};
    lf.lfHeight = -32;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    UniqueFont font(CreateFontIndirectW(&lf));
    SelectionGuard selectFont(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    const wchar_t text[] = L"Currículo Maria";
    TextOutW(dc.get(), 4, 8, text, static_cast<int>(std::size(text) - 1));
    GdiFlush();
    const auto* start = static_cast<const Byte*>(bits);
    const size_t stride = (Width * 3 + 3) & ~3u;
    return {start, start + stride * Height};
}

}  // namespace

TEST(LetteringFonts, EachModelFaceDrawsWithItsStandIn) {
    struct Row {
        int Model;
        const wchar_t* StandIn;
    };
    const Row rows[] = {{2, L"Z003"}, {3, L"Kaushan Script"}};
    const std::vector<Byte> fallback = Render(L"Folhavida Face That Does Not Exist");
    for (const Row& row : rows) {
        const String face = Timpressao::ModelFont(row.Model);
        const std::vector<Byte> model = Render(face);
        const std::vector<Byte> standIn = Render(row.StandIn);
        EXPECT_NE(standIn, fallback) << StringToUtf8(row.StandIn) << " is not installed in the prefix";
        EXPECT_EQ(model, standIn) << StringToUtf8(face) << " is not drawn with " << StringToUtf8(row.StandIn);
    }
}
