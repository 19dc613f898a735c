#include "framework/controls/StdCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "framework/classes/Reader.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/DateTimePicker.h"
#include "framework/controls/MaskEdit.h"
#include "framework/controls/RichEdit.h"
#include "testing/ControlTestSupport.h"

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

TEST(Image, DrawsItsPictureStretchedOrCentredAndIsClickable) {
    TestHost host(200, 100);
    host.Root().SetColor(clWhite);
    auto* stretched = host.Add<TImage>(0, 0, 50, 50);
    auto* centred = host.Add<TImage>(100, 0, 50, 50);
    TBitmap red(4, 4);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(Rect(0, 0, 4, 4));
    stretched->Picture()->Assign(red);
    stretched->SetStretch(true);
    centred->Picture()->Assign(red);
    centred->SetCenter(true);
    ClickCounter clicks;
    stretched->OnClick = TNotifyEvent(&clicks, &ClickCounter::Clicked);

    auto image = PaintedImage(host.Root());
    EXPECT_EQ(CountPixels(*image, Rect(0, 0, 50, 50), clRed), 2500);
    EXPECT_EQ(CountPixels(*image, Rect(100, 0, 150, 50), clRed), 16);
    EXPECT_TRUE(ColorsNear(DibPixel(*image, 124, 24), clRed, 8));

    // A click on the image (a windowless control) reaches its OnClick through the parent's window.
    PostMessageW(host.Root().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(host.Root().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpMessages();
    EXPECT_EQ(clicks.Clicks, 1);

    stretched->Picture()->Assign(static_cast<const TPersistent*>(nullptr));
    EXPECT_EQ(CountPixels(*PaintedImage(host.Root()), Rect(0, 0, 50, 50), clRed), 0);
}

TEST(Label, WrapsAndAlignsItsText) {
    TestHost host(300, 120);
    host.Root().SetColor(clWhite);
    auto* wrapped = host.Add<TLabel>(10, 10, 60, 10);
    wrapped->SetWordWrap(true);
    wrapped->SetCaption(L"Cargo que ocupava na empresa");
    auto* single = host.Add<TLabel>(100, 10, 10, 10);
    single->SetCaption(L"Cargo");
    EXPECT_EQ(wrapped->Width(), 60) << "a wrapped label keeps its width";
    EXPECT_GE(wrapped->Height(), 3 * single->Height()) << "and grows in height";

    auto* right = host.Add<TLabel>(100, 60, 150, 20);
    right->SetAutoSize(false);
    right->SetAlignment(taRightJustify);
    right->SetCaption(L"UF");
    auto image = PaintedImage(host.Root());
    EXPECT_EQ(CountPixels(*image, Rect(100, 60, 200, 80), clBlack, 60), 0);
    EXPECT_GT(CountPixels(*image, Rect(200, 60, 250, 80), clBlack, 60), 10);
}

TEST(StandardControls, FocusHighlightColourShowsOnEditsAndComboLists) {
    TestHost host(300, 120);
    auto* edit = host.Add<TEdit>(8, 8, 120, 21);
    auto* phone = host.Add<TMaskEdit>(8, 40, 120, 21);
    phone->SetEditMask(L"!\\(99\\)0000-0000;1;_");
    auto* combo = host.Add<TComboBox>(150, 8, 120, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add(L"AL");
    for (TWinControl* control : std::initializer_list<TWinControl*>{edit, phone, combo}) {
        control->SetColor(clYellow);
        control->HandleNeeded();
    }
    RedrawWindow(host.Root().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    auto screen = ScreenImage(host.Window());
    for (TWinControl* control : std::initializer_list<TWinControl*>{edit, phone, combo}) {
        SCOPED_TRACE(testing::PrintToString(control->ClassName()));
        const TRect r = control->BoundsRect();
        const TRect inner = Rect(r.Left + 4, r.Top + 4, r.Left + 60, r.Bottom - 4);
        EXPECT_GT(CountPixels(*screen, inner, clYellow), inner.Width() * inner.Height() / 2);
    }
    edit->SetColor(clWindow);
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const TRect r = edit->BoundsRect();
    EXPECT_EQ(CountPixels(*ScreenImage(host.Window()), Rect(r.Left + 4, r.Top + 4, r.Left + 60, r.Bottom - 4), clYellow), 0);
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
    TLocal<ModalRoot> root(nullptr);  // stands for the form
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


const wchar_t* const Description = LR"(object Host: TPanel
  Width = 480
  Height = 320
  BevelOuter = bvNone
  object PageControl1: TPageControl
    Left = 4
    Top = 4
    Width = 470
    Height = 260
    ActivePage = TabSheet1
    object TabSheet1: TTabSheet
      Caption = 'Dados Principais'
      object Label1: TLabel
        Left = 8
        Top = 8
        Caption = 'Digite o seu nome:'
        Font.Style = [fsBold, fsUnderline]
      end
      object edt_nome: TEdit
        Left = 8
        Top = 24
        Width = 200
        Height = 21
        Hint = 'Digite o seu nome completo'
        ShowHint = True
      end
      object edt_nasc: TDateTimePicker
        Left = 216
        Top = 24
        Width = 126
        Height = 21
        Date = 31048
        DateMode = dmUpDown
      end
      object edt_sexo: TComboBox
        Left = 8
        Top = 56
        Width = 112
        Height = 21
        Style = csDropDownList
        Items.Strings = (
          'Masculino'
          'Feminino')
      end
      object edt_tel1: TMaskEdit
        Left = 128
        Top = 56
        Width = 113
        Height = 21
        EditMask = '!\(99\)0000-0000;1;_'
        MaxLength = 13
        CharCase = ecUpperCase
        Text = '(  )    -    '
      end
      object GroupBox1: TGroupBox
        Left = 8
        Top = 90
        Width = 300
        Height = 80
        Caption = 'Informe o seu endere'#231'o'
        object edt_rua: TEdit
          Left = 10
          Top = 38
          Width = 200
          Height = 21
        end
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Foto'
      object Bevel1: TBevel
        Left = 8
        Top = 8
        Width = 100
        Height = 100
        Shape = bsFrame
      end
      object Image1: TImage
        Left = 8
        Top = 8
        Width = 100
        Height = 100
        Stretch = True
      end
      object BitBtn1: TBitBtn
        Left = 120
        Top = 8
        Width = 160
        Height = 30
        Caption = 'Usar a WebCam'
        Layout = blGlyphTop
        Margin = 2
        Spacing = 6
        NumGlyphs = 2
        ModalResult = 1
      end
      object frase1: TCheckBox
        Left = 8
        Top = 120
        Width = 300
        Height = 17
        Caption = '"Coloco-me '#224' disposi'#231#227'o."'
        Font.Name = 'Arial'
        Font.Size = 8
        ParentFont = False
      end
      object RadioButton1: TRadioButton
        Left = 8
        Top = 140
        Checked = True
      end
      object frase: TRichEdit
        Left = 8
        Top = 160
        Width = 300
        Height = 60
        Enabled = False
        MaxLength = 150
        ScrollBars = ssVertical
      end
      object Panel1: TPanel
        Left = 320
        Top = 8
        Caption = 'painel'
        BevelInner = bvLowered
      end
    end
  end
  object StatusBar1: TStatusBar
    Panels = <
      item
        Width = 280
      end
      item
        Style = psOwnerDraw
        Width = 50
      end>
  end
  object Progresso: TProgressBar
    Left = 282
    Top = 270
    Width = 180
    Height = 21
    Min = 0
    Max = 100
    Visible = False
  end
end
)";

template <class T>
T* Find(TComponent& root, const wchar_t* name) {
    auto* found = dynamic_cast<T*>(root.FindComponent(name));
    EXPECT_NE(found, nullptr) << testing::PrintToString(String(name));
    return found;
}

TEST(StandardControls, StoredDescriptionCreatesThemWithTheirProperties) {
    TestHost host;
    TLocal<TPanel> root(nullptr);
    ReadComponentFromText(&root, Description, L"StandardControls");
    root.SetParentWindow(host.Window());
    root.HandleNeeded();

    auto* pages = Find<TPageControl>(root, L"PageControl1");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->ActivePage(), Find<TTabSheet>(root, L"TabSheet1"));
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Find<TLabel>(root, L"Label1")->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_TRUE(Find<TEdit>(root, L"edt_nome")->ShowHint());
    auto* date = Find<TDateTimePicker>(root, L"edt_nasc");
    EXPECT_EQ(date->Date(), 31048);
    EXPECT_TRUE(GetWindowLongPtrW(date->Handle(), GWL_STYLE) & DTS_UPDOWN);
    auto* combo = Find<TComboBox>(root, L"edt_sexo");
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo->ItemIndex(), -1);
    auto* phone = Find<TMaskEdit>(root, L"edt_tel1");
    EXPECT_EQ(phone->EditText(), L"(__)____-____");
    EXPECT_EQ(phone->Text(), L"(  )    -    ");
    EXPECT_EQ(phone->CharCase(), ecUpperCase);
    EXPECT_EQ(Find<TGroupBox>(root, L"GroupBox1")->Caption(), L"Informe o seu endere\u00e7o");
    EXPECT_EQ(Find<TEdit>(root, L"edt_rua")->Parent(), Find<TGroupBox>(root, L"GroupBox1"));
    EXPECT_EQ(Find<TBevel>(root, L"Bevel1")->Shape(), bsFrame);
    EXPECT_TRUE(Find<TImage>(root, L"Image1")->Stretch());
    auto* button = Find<TBitBtn>(root, L"BitBtn1");
    EXPECT_EQ(button->Layout(), blGlyphTop);
    EXPECT_EQ(button->Margin(), 2);
    EXPECT_EQ(button->Spacing(), 6);
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->ModalResult(), mrOk);
    auto* phrase1 = Find<TCheckBox>(root, L"frase1");
    EXPECT_EQ(phrase1->Font()->Name(), L"Arial");
    EXPECT_EQ(phrase1->Caption(), L"\"Coloco-me \u00e0 disposi\u00e7\u00e3o.\"");
    EXPECT_TRUE(Find<TRadioButton>(root, L"RadioButton1")->Checked());
    auto* phrase = Find<TRichEdit>(root, L"frase");
    EXPECT_FALSE(IsWindowEnabled(phrase->Handle()));
    EXPECT_EQ(SendMessageW(phrase->Handle(), EM_GETLIMITTEXT, 0, 0), 150);
    EXPECT_EQ(Find<TPanel>(root, L"Panel1")->BevelInner(), bvLowered);
    auto* bar = Find<TStatusBar>(root, L"StatusBar1");
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->Panels()->Count(), 2);
    EXPECT_EQ(bar->Panels()->Items(1)->Style(), psOwnerDraw);
    EXPECT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 0, 0), 2);
    auto* progress = Find<TProgressBar>(root, L"Progresso");
    EXPECT_FALSE(progress->Visible());
    EXPECT_EQ(progress->Max(), 100);
}

}  // namespace
