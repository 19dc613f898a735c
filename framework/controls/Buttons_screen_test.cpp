#include "framework/controls/Buttons.h"

#include <gtest/gtest.h>

#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"

TEST(BitBtn, OkAndCancelKindsAreDefaultAndCancelAndShowTheirMarks) {
    TestHost host;
    auto* ok = host.Add<TBitBtn>(8, 8, 89, 33);
    auto* cancel = host.Add<TBitBtn>(104, 8, 89, 33);
    ok->SetKind(bkOK);
    cancel->SetKind(bkCancel);
    struct Row {
        TBitBtn* Button;
        const wchar_t* Caption;
        TModalResult Result;
        bool Default, Cancel;
        TColor Mark, Other;
    };
    const Row rows[] = {
        {ok, L"OK", mrOk, true, false, clGreen, RGBColor(200, 0, 0)},
        {cancel, L"Cancel", mrCancel, false, true, RGBColor(200, 0, 0), clGreen},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(StringToUtf8(row.Caption));
        EXPECT_EQ(row.Button->Caption(), row.Caption);
        EXPECT_EQ(row.Button->ModalResult(), row.Result);
        EXPECT_EQ(row.Button->Default(), row.Default);
        EXPECT_EQ(row.Button->Cancel(), row.Cancel);
        auto image = PaintedImage(*row.Button);
        const TRect all = Rect(0, 0, row.Button->Width(), row.Button->Height());
        EXPECT_GT(CountPixels(*image, all, row.Mark, 24), 20) << "its mark";
        EXPECT_EQ(CountPixels(*image, all, row.Other, 24), 0) << "the other kind's mark";
        EXPECT_EQ(CountPixels(*image, all, clFuchsia, 24), 0) << "the glyph's transparent colour";
        // Disabled, the mark is grey.
        row.Button->SetEnabled(false);
        auto disabled = PaintedImage(*row.Button);
        EXPECT_EQ(CountPixels(*disabled, all, row.Mark, 24), 0);
        row.Button->SetEnabled(true);
    }
}
