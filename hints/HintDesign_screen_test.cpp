#include "hints/HintDesign.h"

#include <gtest/gtest.h>

#include <string>

#include "hints/HintShapes.h"
#include "hints/HintTestForm_test.h"
#include "hints/NewDesign.h"
#include "testing/ControlTestSupport.h"

namespace {

std::unique_ptr<TBitmap> ScreenShot(const TRect& r) {
    auto image = WhiteBitmap(r.Width(), r.Height());
    const auto screen = ScreenDC();
    BitBlt(image->Canvas().Handle(), 0, 0, r.Width(), r.Height(), screen.get(), r.Left, r.Top, SRCCOPY);
    return image;
}

TRect WindowRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return Rect(r.left, r.top, r.right, r.bottom);
}

// Within the ellipse in r grown by a margin that allows for the edge's antialiasing-free steps.
bool InEllipse(const TRect& r, int x, int y) {
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double a = r.Width() / 2.0 + 2, b = r.Height() / 2.0 + 2;
    const double dx = (x + 0.5 - cx) / a, dy = (y + 0.5 - cy) / b;
    return dx * dx + dy * dy <= 1;
}

bool InBox(const THintTriangle& t, int x, int y) {
    int left = t[0].X, right = t[0].X, top = t[0].Y, bottom = t[0].Y;
    for (const TPoint& p : t) {
        left = std::min(left, p.X), right = std::max(right, p.X);
        top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
    }
    return x >= left - 1 && x <= right + 1 && y >= top - 1 && y <= bottom + 1;
}

// A pixel of a bubble hint's window that neither the bubble, its wedge nor their shadows cover.
bool OutsideTheBubble(const THintGeometry& g, THintPosition corner, int x, int y) {
    return !InEllipse(g.Body, x, y) && !InEllipse(g.Shadow, x, y) && !InBox(LinkArrow(g, corner, hiBubble), x, y) &&
           !InBox(LinkArrowShadow(g, corner, hiBubble), x, y);
}

bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (DibPixel(a, x, y) != DibPixel(b, x, y)) return false;
    return true;
}

// Rests the real pointer on the control and tells the application the mouse moved there.
void RestMouseOn(TWinControl& control, TPoint at) {
    const TPoint over = control.ClientToScreen(at);
    SetCursorPos(over.X, over.Y);
    ASSERT_TRUE(PumpUntil([&] {
        POINT now;
        return GetCursorPos(&now) && now.x == over.X && now.y == over.Y;
    })) << "the pointer did not reach the control";
    SendMessageW(control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.X, at.Y));
}

TEST(HintDesignScreen, TheStyledHintShowsAtItsPlaceOverTheScreenUnderIt) {
    TTestHintForm* form = nullptr;
    Application().CreateForm(form);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->Handle()) && !GetUpdateRect(form->Handle(), nullptr, FALSE); }));
    Application().SetHintPause(1);
    Application().SetHintHidePause(0);  // stays until the test is done with it
    const HWND foreground = GetForegroundWindow();
    const TRect screen = Rect(0, 0, Screen().Width(), Screen().Height());
    // What the screen shows before the hint, once the form has reached it.
    std::unique_ptr<TBitmap> before;
    const TRect formRect = WindowRect(form->Handle());
    PumpUntil([&] {
        before = ScreenShot(screen);
        return DibPixel(*before, formRect.Left + 30, formRect.Bottom - 10) == static_cast<TColor>(ColorToRGB(clBtnFace));
    });

    ASSERT_NO_FATAL_FAILURE(RestMouseOn(*form->Edit1, Point(5, 5)));
    auto* window = dynamic_cast<TNewDesign*>(Application().HintWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PumpUntil([&] {
        return window->HandleAllocated() && IsWindowVisible(window->Handle()) &&
               !GetUpdateRect(window->Handle(), nullptr, FALSE);
    })) << "no hint was shown";
    const HWND h = window->Handle();

    // Where the sizes and the placement put it.
    const String text = L"Digite o seu nome completo";
    const THintDesign& design = *form->HintDesign1;
    THintSizeRequest request;
    request.Style = design.HintStyle();
    request.Link = design.LinkStyle();
    request.Border = design.Border();
    request.Shadow = design.Shadow();
    request.ShadowWidth = design.ShadowWidth();
    request.TextRect = window->CalcHintRect(Screen().Width(), text);
    request.TextLength = static_cast<int>(text.size());
    const THintSize size = HintWindowSize(request);
    const THintPlace place = PlaceHint(design.Position(), form->Edit1->ClientToScreen(Point(5, 5)), size.Width,
                                       size.Height, Screen().Width(), Screen().Height());
    const TRect shown = WindowRect(h);
    EXPECT_EQ(shown, Bounds(place.X, place.Y, size.Width, size.Height));
    EXPECT_EQ(window->Corner(), place.Corner);
    EXPECT_NE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetForegroundWindow(), foreground) << "the hint took the activation";
    const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(h, region.get()), ERROR) << "the hint window has a region";

    // The body's colour at its middle tells that the hint has reached the screen.
    const THintGeometry g = HintGeometry(place.Corner, design.HintStyle(), size.Width, size.Height, size.LinkHeight,
                                         design.Shadow(), design.ShadowWidth());
    const TPoint middle = Point(g.Body.Width() / 2, g.Body.Top + 3);
    std::unique_ptr<TBitmap> first;
    ASSERT_TRUE(PumpUntil([&] {
        first = ScreenShot(shown);
        return DibPixel(*first, middle.X, middle.Y) == static_cast<TColor>(ColorToRGB(clInfoBk));
    })) << "the hint's body never showed on the screen";
    int outside = 0, changed = 0;
    std::string firstChanged;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            if (!OutsideTheBubble(g, place.Corner, x, y)) continue;
            ++outside;
            if (DibPixel(*first, x, y) == DibPixel(*before, shown.Left + x, shown.Top + y)) continue;
            if (changed++ == 0) firstChanged = std::to_string(x) + "," + std::to_string(y);
        }
    EXPECT_GT(outside, 20);
    EXPECT_EQ(changed, 0) << "pixels outside the bubble differ from the screen before it, the first at ("
                          << firstChanged << ")";

    // Painted again, it shows the same (the shadow is not darkened twice).
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    std::unique_ptr<TBitmap> second;
    EXPECT_TRUE(PumpUntil([&] {
        second = ScreenShot(shown);
        return SamePixels(*first, *second);
    }, 3000)) << "a second paint differs from the first";
    if (getenv("HOLD")) PumpMessagesFor(8000);
    Application().CancelHint();
}

TEST(HintDesignScreen, WithoutTheComponentThePlainHintShows) {
    TLocal<TForm> form(nullptr);
    form.SetBounds(120, 120, 300, 150);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(20, 40, 200, 21);
    edit->SetHint(L"Digite o seu nome completo");
    edit->SetShowHint(true);
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form.Handle()); }));
    Application().SetHintPause(1);
    ASSERT_NO_FATAL_FAILURE(RestMouseOn(*edit, Point(5, 5)));
    ASSERT_TRUE(PumpUntil([&] {
        THintWindow* window = Application().HintWindow();
        return window != nullptr && window->HandleAllocated() && IsWindowVisible(window->Handle());
    })) << "no hint was shown";
    EXPECT_EQ(Application().HintWindow()->ClassType(), THintWindow::StaticClass());
    Application().CancelHint();
}

}  // namespace
