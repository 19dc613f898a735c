#include "framework/controls/StdCtrls.h"

#include <gtest/gtest.h>

#include "framework/controls/Buttons.h"
#include "framework/controls/StdCtrlsTestFixture.h"

namespace {

struct ClickCounter : TObject {
    int Clicks = 0;
    void Clicked(TObject*) { ++Clicks; }
};

TEST(CheckBox, CheckedFromCodeFiresOnClickLikeAClick) {
    TestHost host;
    auto* box = host.Add<TCheckBox>(8, 8, 120, 17);
    ClickCounter counter;
    box->OnClick = TNotifyEvent(&counter, &ClickCounter::Clicked);

    box->SetChecked(true);
    EXPECT_EQ(counter.Clicks, 1);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetChecked(true);  // no change, no click
    EXPECT_EQ(counter.Clicks, 1);

    // The user's click toggles and fires once, through the system button.
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(counter.Clicks, 2);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(RadioButton, CheckingOneUnchecksItsSiblings) {
    TestHost host;
    auto* a = host.Add<TRadioButton>(8, 8, 100, 17);
    auto* b = host.Add<TRadioButton>(8, 30, 100, 17);
    a->SetChecked(true);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(ComboBox, DropDownListStartsEmptyAndReportsTheUsersChoice) {
    TestHost host;
    auto* combo = host.Add<TComboBox>(8, 8, 120, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add(L"Masculino");
    combo->Items()->Add(L"Feminino");
    ClickCounter changes;
    combo->OnChange = TNotifyEvent(&changes, &ClickCounter::Clicked);
    const HWND h = combo->Handle();

    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), L"");
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), L"Feminino");
    EXPECT_EQ(changes.Clicks, 0);  // only the user's choice is a change

    // The user picks the first item: the list selects it and notifies the parent.
    SendMessageW(h, CB_SETCURSEL, 0, 0);
    SendMessageW(host.Root().Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(h));
    EXPECT_EQ(changes.Clicks, 1);
    EXPECT_EQ(combo->Text(), L"Masculino");

    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), L"");
    EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), CB_ERR);

    // Changing the items keeps a selection that still exists; the window follows the list.
    combo->SetItemIndex(1);
    combo->Items()->Add(L"Outro");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 3);
    combo->SetText(L"Outro");
    EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST(StandardControls, PaintIntoAMemoryDC) {
    TestHost host(300, 120);
    host.Root().SetColor(clWhite);
    auto* label = host.Add<TLabel>(10, 10, 10, 10);
    label->Font()->SetColor(clRed);
    label->Font()->SetStyle(TFontStyles{fsBold});
    label->SetColor(clYellow);
    label->SetCaption(L"Nome:");
    auto* transparent = host.Add<TLabel>(10, 40, 10, 10);
    transparent->SetTransparent(true);
    transparent->SetColor(clYellow);
    transparent->SetCaption(L"MMMM");
    auto* panel = host.Add<TPanel>(150, 10, 100, 40);
    panel->SetColor(clAqua);
    auto* button = host.Add<TBitBtn>(150, 60, 120, 40);
    auto glyph = std::make_unique<TBitmap>(16, 16);
    glyph->Canvas().Brush().SetColor(clFuchsia);  // the bottom-left colour: transparent
    glyph->Canvas().FillRect(Rect(0, 0, 16, 16));
    glyph->Canvas().Brush().SetColor(clBlue);
    glyph->Canvas().FillRect(Rect(2, 2, 14, 14));
    button->SetGlyph(*glyph);
    button->SetCaption(L"Gerar");

    // AutoSize fitted the label to its text.
    EXPECT_GT(label->Width(), 20);
    EXPECT_GT(label->Height(), 8);

    auto image = PaintedImage(host.Root());
    const TRect labelRect = label->BoundsRect();
    EXPECT_GT(CountPixels(*image, labelRect, clRed), 10) << "label text";
    EXPECT_GT(CountPixels(*image, labelRect, clYellow), labelRect.Width() * labelRect.Height() / 3) << "label colour";
    EXPECT_EQ(CountPixels(*image, transparent->BoundsRect(), clYellow), 0) << "a transparent label shows its parent";
    EXPECT_GT(CountPixels(*image, transparent->BoundsRect(), clBlack), 10);
    EXPECT_TRUE(ColorsNear(DibPixel(*image, 200, 30), clAqua, 8)) << "panel face";
    const TRect buttonRect = button->BoundsRect();
    EXPECT_EQ(CountPixels(*image, buttonRect, clBlue), 144) << "glyph, without its transparent border";
    EXPECT_EQ(CountPixels(*image, buttonRect, clFuchsia), 0);
    EXPECT_GT(CountPixels(*image, buttonRect, ColorToRGB(clBtnFace)), 1000) << "button face";
}

struct ModalRoot : TPanel {
    using TPanel::TPanel;
    TModalResult Received = mrNone;
    void WndProc(TMessage& message) override {
        if (message.Msg == CM_MODALRESULT) Received = static_cast<TModalResult>(message.WParam);
        TPanel::WndProc(message);
    }
};

TEST(Button, EnterClicksTheDefaultButtonWhichGivesItsModalResultToTheRoot) {
    TestHost host;
    ModalRoot root(nullptr);  // stands for the form
    root.SetParentWindow(host.Window());
    root.SetBounds(0, 0, 300, 200);
    auto* edit = new TEdit(&root);
    edit->SetParent(&root);
    auto* ok = new TButton(&root);
    ok->SetParent(&root);
    ok->SetBounds(8, 40, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ClickCounter clicks;
    ok->OnClick = TNotifyEvent(&clicks, &ClickCounter::Clicked);
    EXPECT_TRUE(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);

    edit->SetFocus();
    PumpMessages();
    EXPECT_EQ(root.Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(clicks.Clicks, 1);
    EXPECT_EQ(root.Received, mrOk);

    root.Received = mrNone;
    SendMessageW(ok->Handle(), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_EQ(clicks.Clicks, 2);
    EXPECT_EQ(root.Received, mrOk);
    EXPECT_EQ(root.Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);  // not a Cancel button
}

}  // namespace
