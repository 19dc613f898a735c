#include "framework/forms/HintWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "testing/ControlTestSupport.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Bitmap.h"

namespace {

// The rows of an image that hold ink (pixels not near the background), as [first, last].
struct TInkRows {
    int First = -1;
    int Last = -1;
    int Height() const { return First < 0 ? 0 : Last - First + 1; }
};

TInkRows InkRows(TBitmap& image, const TRect& area, TColor background) {
    TInkRows rows;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (!ColorsNear(DibPixel(image, x, y), background, 40)) {
                if (rows.First < 0) rows.First = y;
                rows.Last = y;
                break;
            }
    return rows;
}

// The text as the hint's font draws it with nothing around to clip it.
TInkRows InkOfText(THintWindow& hint, const String& text, TColor background) {
    auto image = WhiteBitmap(600, 100);
    TCanvas& canvas = image->Canvas();
    canvas.Brush().SetColor(background);
    canvas.FillRect(Rect(0, 0, 600, 100));
    HDC dc = canvas.Handle();
    SelectionGuard font(dc, hint.Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(hint.Font()->Color()));
    RECT r{10, 10, 590, 90};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX);
    return InkRows(*image, Rect(0, 0, 600, 100), background);
}

// What the screen shows of the window, frame included.
std::unique_ptr<TBitmap> ScreenShotOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    auto image = WhiteBitmap(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(image->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return image;
}

std::string Hex(TColor color) {
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(ColorToRGB(color)));
    return text;
}

// A hint shows all of its text, letters that hang below the line included ("Clique aqui para
// procurar" must not read "Cliaue aaui oara orocurar"), inside a border on all four sides.
TEST(HintWindow, ShowsTheWholeTextInsideItsBorder) {
    TLocal<THintWindow> hint(nullptr);
    hint.SetColor(clAqua);
    const String text = L"Clique aqui para procurar";
    const TRect size = hint.CalcHintRect(Screen().Width(), text);
    hint.ActivateHint(Bounds(200, 200, size.Width(), size.Height()), text);
    const HWND h = hint.Handle();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(h) && !GetUpdateRect(h, nullptr, FALSE); }))
        << "the hint window was not shown and painted";

    RECT window, client;
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    EXPECT_EQ(window.right - window.left, size.Width());
    EXPECT_EQ(window.bottom - window.top, size.Height());

    const TInkRows expected = InkOfText(hint, text, clAqua);
    ASSERT_GT(expected.Height(), 0) << "the reference text drew nothing";
    std::unique_ptr<TBitmap> shot;
    TInkRows shown;
    const int width = window.right - window.left, height = window.bottom - window.top;
    const TRect inside = Rect(1, 1, width - 1, height - 1);
    // The screen may lag behind the window's own painting: wait until the ink has arrived.
    PumpUntil([&] {
        shot = ScreenShotOf(h);
        shown = InkRows(*shot, inside, clAqua);
        return shown.Height() >= expected.Height();
    }, 3000);
    EXPECT_EQ(shown.Height(), expected.Height())
        << "ink rows " << shown.First << ".." << shown.Last << " of a " << width << "x" << height
        << " window (client " << client.right << "x" << client.bottom << "); the text alone is "
        << expected.Height() << " rows tall";

    // The frame: every pixel of the outermost rows and columns, the bottom row included.
    const TColor frame = DibPixel(*shot, 0, 0);
    EXPECT_FALSE(ColorsNear(frame, clAqua, 40)) << "the top-left corner shows the background " << Hex(frame);
    int missing = 0;
    std::string firstMissing;
    auto check = [&](int x, int y) {
        const TColor seen = DibPixel(*shot, x, y);
        if (seen == frame || missing++ > 0) return;
        char where[64];
        std::snprintf(where, sizeof where, "(%d,%d) reads %06lX", x, y, static_cast<unsigned long>(ColorToRGB(seen)));
        firstMissing = where;
    };
    for (int x = 0; x < width; ++x) {
        check(x, 0);
        check(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        check(0, y);
        check(width - 1, y);
    }
    EXPECT_EQ(missing, 0) << "border pixels unlike the frame colour " << Hex(frame) << "; the first at "
                          << firstMissing;
    if (getenv("HOLD")) PumpMessagesFor(6000);
    hint.ReleaseHint();
}

}  // namespace
