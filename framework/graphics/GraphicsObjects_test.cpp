#include "framework/graphics/GraphicsObjects.h"

#include <gtest/gtest.h>

#include "framework/classes/PropertyAccess.h"

namespace {
struct Counter {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};
}  // namespace

TEST(Font, SizeAndHeightConvertThroughPixelsPerInch) {
    struct Case {
        int ppi, size, height;
    };
    const Case cases[] = {{96, 8, -11}, {96, 10, -13}, {120, 8, -13}, {600, 10, -83}, {72, 12, -12}};
    for (const auto& c : cases) {
        TFont font;
        font.SetPixelsPerInch(c.ppi);
        font.SetSize(c.size);
        EXPECT_EQ(font.Height(), c.height) << c.ppi << " " << c.size;
        EXPECT_EQ(font.Size(), c.size) << c.ppi << " " << c.size;
    }
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(12);
    font.SetPixelsPerInch(300);  // the point size stays
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Height(), -50);
}

TEST(Font, ChangesAreNotifiedOncePerRealChange) {
    TFont font;
    Counter counter;
    font.OnChange = TNotifyEvent(&counter, &Counter::Changed);
    font.SetName(L"Arial");
    font.SetName(L"Arial");
    font.SetStyle({fsBold, fsItalic});
    font.SetColor(clRed);
    font.SetColor(clRed);
    EXPECT_EQ(counter.changes, 3);
    EXPECT_NE(font.Handle(), nullptr);

    TFont copy;
    copy.Assign(font);
    EXPECT_EQ(copy.Name(), L"Arial");
    EXPECT_TRUE(copy.Style().Contains(fsItalic));
    EXPECT_EQ(copy.Color(), clRed);
    TPen pen;
    EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

TEST(Font, PublishedPropertiesReadAndWriteByName) {
    TFont font;
    SetPropValue(&font, L"Name", L"'Courier New'");
    SetPropValue(&font, L"Style", L"[fsBold, fsUnderline]");
    SetPropValue(&font, L"Color", L"clInfoText");
    SetPropValue(&font, L"Size", L"10");
    EXPECT_EQ(font.Name(), L"Courier New");
    EXPECT_TRUE(font.Style().Contains(fsUnderline));
    EXPECT_EQ(font.Color(), clInfoText);
    EXPECT_EQ(font.Size(), 10);
    EXPECT_EQ(GetPropValue(&font, L"Color"), L"clInfoText");
    EXPECT_EQ(GetPropValue(&font, L"Style"), L"[fsBold, fsUnderline]");

    TPen pen;
    SetPropValue(&pen, L"Mode", L"pmXor");
    EXPECT_EQ(pen.Mode(), pmXor);
    TBrush brush;
    SetPropValue(&brush, L"Style", L"bsClear");
    EXPECT_EQ(brush.Style(), bsClear);
}

TEST(PenAndBrush, HandlesFollowTheirSettings) {
    TPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(3);
    LOGPEN logPen{};
    GetObjectW(pen.Handle(), sizeof logPen, &logPen);
    EXPECT_EQ(logPen.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(logPen.lopnWidth.x, 3);
    pen.SetWidth(-2);
    EXPECT_EQ(pen.Width(), 0);

    TBrush brush;
    brush.SetStyle(bsCross);
    brush.SetColor(clBlue);
    LOGBRUSH logBrush{};
    GetObjectW(brush.Handle(), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
    brush.SetStyle(bsClear);
    EXPECT_EQ(brush.Handle(), GetStockObject(NULL_BRUSH));
}
