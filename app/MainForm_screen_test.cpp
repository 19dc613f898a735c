#include "app/MainForm.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/DataFields.h"
#include "app/EnterChains.h"
#include "app/Greeting.h"
#include "app/Splash.h"
#include "framework/controls/Buttons.h"
#include "testing/ControlTestSupport.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/DateTimePicker.h"
#include "framework/controls/RichEdit.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/MaskEdit.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Dialogs.h"
#include "hints/NewDesign.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/Clock.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/WinApi.h"

namespace {

// The main window's tests process messages as the application's own loop does.
void ProcessApplicationMessages() { Application().ProcessMessages(); }

bool PumpAppUntil(const std::function<bool()>& done) { return PumpUntil(done, 10000, ProcessApplicationMessages); }

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>(nullptr);
        form->Show();
        ASSERT_TRUE(PumpAppUntil([&] { return GetActiveWindow() == form->Handle(); }))
            << "the main window did not become active";
    }
    void TearDown() override { form.reset(); }

    TComponent* Find(const String& name) {
        TComponent* c = form->FindComponent(name);
        EXPECT_NE(c, nullptr) << "no component " << std::string(name.begin(), name.end());
        return c;
    }
    TWinControl* Field(const String& name) { return dynamic_cast<TWinControl*>(Find(name)); }

    // Brings the tabs holding control to the front, outer first.
    void ShowTabsOf(TControl* control) {
        std::vector<TTabSheet*> sheets;
        for (TControl* c = control; c != nullptr; c = c->Parent())
            if (auto* sheet = dynamic_cast<TTabSheet*>(c)) sheets.insert(sheets.begin(), sheet);
        for (TTabSheet* sheet : sheets) sheet->PageControl()->SetActivePage(sheet);
        Application().ProcessMessages();
    }

    void Focus(TWinControl* control) {
        ShowTabsOf(control);
        control->SetFocus();
        PumpAppUntil([&] { return HasFocus(control); });
    }

    void PressEnter(TWinControl* control) {
        PostMessageW(control->Handle(), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(control->Handle(), WM_CHAR, L'\r', 1);
        PostMessageW(control->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
        Application().ProcessMessages();  // handles every posted message, and what they post
    }

    bool HasFocus(TWinControl* control) {
        HWND focus = GetFocus();
        return focus == control->Handle() || IsChild(control->Handle(), focus);
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindow, BuiltFromItsDescription) {
    EXPECT_EQ(form->Caption(), L"Folhavida 3.0 - Crie o seu currículo com facilidade!");
    EXPECT_EQ(form->ClientWidth(), 506);
    EXPECT_EQ(form->ClientHeight(), 431);
    const wchar_t* tabs[] = {L"Dados Principais", L"Experiências Profissionais", L"Escolaridade",
                             L"Cursos", L"Foto", L"Informações", L"Frase"};
    ASSERT_EQ(form->PageControl1->PageCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(form->PageControl1->Pages(i)->Caption(), tabs[i]);
    EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet1);
    ASSERT_EQ(form->PageControl2->PageCount(), 5);
    EXPECT_EQ(form->PageControl2->Pages(4)->Caption(), L"5ª Experiência");
    ASSERT_EQ(form->PageControl3->PageCount(), 5);
    EXPECT_EQ(form->PageControl3->Pages(0)->Caption(), L"1º Curso");

    EXPECT_EQ(form->edt_uf->Items()->Count(), 26);
    EXPECT_EQ(form->edt_uf->Items()->Strings(0), L"AL");
    EXPECT_EQ(form->edt_uf->Items()->Strings(25), L"TO");
    EXPECT_EQ(form->edt_uf->ItemIndex(), -1);
    EXPECT_EQ(form->edt_cuduracao[2]->Items()->Count(), 11);
    EXPECT_EQ(form->edt_escolaridade->Items()->Strings(6), L"Formação Superior");
    EXPECT_EQ(form->edt_nasc->Date(), EncodeDate(1985, 1, 1));
    EXPECT_EQ(form->edt_exsaida[4]->Date(), EncodeDate(2009, 5, 24));
    EXPECT_EQ(form->edt_tel1->Text(), L"(  )    -    ");
    EXPECT_EQ(form->edt_extelefone[0]->CharCase(), ecUpperCase);
    EXPECT_FALSE(form->frase->Enabled());
    EXPECT_EQ(form->frase->MaxLength(), 150);
    EXPECT_FALSE(form->Progresso->Visible());
    EXPECT_EQ(form->edt_excargo[3]->Hint(), L"");
    EXPECT_EQ(form->edt_excargo[2]->Hint(), L"DIgite a função que você excercia.");
    EXPECT_EQ(form->frase1->Caption(),
              L"\"Coloco-me à disposição para uma entrevista ou possível contratação.\"");
    EXPECT_EQ(form->imagens->Count(), 5);
    // Each of generating, saving and opening has a button and a menu item doing the same.
    const std::pair<TBitBtn*, const wchar_t*> commands[] = {
        {form->BitBtn3, L"GerarCurriculo1"}, {form->BitBtn6, L"SalvarCurriculo1"}, {form->BitBtn7, L"AbrirCurriculo1"}};
    for (const auto& [button, item] : commands) {
        EXPECT_TRUE(button->OnClick.Assigned()) << StringToUtf8(button->Name());
        auto* menuItem = dynamic_cast<TMenuItem*>(Find(item));
        ASSERT_NE(menuItem, nullptr);
        EXPECT_TRUE(menuItem->OnClick == button->OnClick) << StringToUtf8(item);
    }

    EXPECT_EQ(Application().HintColor(), clAqua);
    // The hint component's pause (500) comes first; the window's own creation handler then sets 1.
    EXPECT_EQ(Application().HintPause(), 1);
    EXPECT_EQ(Application().HintHidePause(), 3000);
    EXPECT_EQ(Application().HintWindowClass(), TNewDesign::StaticClass());
    EXPECT_EQ(Application().HintShortPause(), 1);
}

TEST_F(MainWindow, ShowingTheWindowSelectsTheFirstTab) {
    form->PageControl1->SetActivePageIndex(4);
    form->Hide();
    form->Show();
    PumpAppUntil([&] { return form->PageControl1->ActivePage() == form->TabSheet1; });
    EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet1);
}

TEST_F(MainWindow, DataFieldMembersPointAtTheirControls) {
    // The table binds the members, a repeated tab's field N at index N - 1.
    const std::pair<TComponent*, const wchar_t*> members[] = {
        {form->edt_nome, L"edt_nome"},         {form->edt_nasc, L"edt_nasc"},
        {form->edt_uf, L"edt_uf"},             {form->edt_tel2, L"edt_tel2"},
        {form->edt_exnome[0], L"edt_exnome1"}, {form->edt_exsaida[2], L"edt_exsaida3"},
        {form->edt_extelefone[4], L"edt_extelefone5"}, {form->edt_escolaridade, L"edt_escolaridade"},
        {form->edt_cucurso[1], L"edt_cucurso2"}, {form->edt_cuduracao[4], L"edt_cuduracao5"},
        {form->edt_salario, L"edt_salario"},   {form->frase, L"frase"},
    };
    for (const auto& [member, name] : members) {
        ASSERT_NE(member, nullptr) << StringToUtf8(name);
        EXPECT_EQ(member->Name(), name);
    }
    // Every free-text field takes no more than its column on the résumé holds.
    for (const TDataField& field : DataFields()) {
        if (field.Kind != TFieldKind::Edit) continue;
        auto* edit = dynamic_cast<TEdit*>(Find(field.Name));
        ASSERT_NE(edit, nullptr) << StringToUtf8(field.Name);
        EXPECT_GT(field.MaxLength, 0) << StringToUtf8(field.Name);
        EXPECT_EQ(edit->MaxLength(), field.MaxLength) << StringToUtf8(field.Name);
    }
}

TEST_F(MainWindow, EnterWalksEveryChainAndStopsAtItsEnd) {
    for (const auto& chain : EnterChains()) {
        Focus(Field(chain.front()));
        for (size_t i = 0; i < chain.size(); ++i) {
            TWinControl* current = Field(chain[i]);
            ASSERT_TRUE(HasFocus(current)) << std::string(chain[i].begin(), chain[i].end());
            PressEnter(current);
        }
        EXPECT_TRUE(HasFocus(Field(chain.back()))) << "Enter in the last field keeps the focus";
    }
}

TEST_F(MainWindow, HighlightFollowsTheFocusAcrossControlKinds) {
    form->frase4->SetChecked(true);  // the phrase editor takes part only when enabled
    for (const wchar_t* name : {L"edt_nome", L"edt_nasc", L"edt_sexo", L"edt_tel1", L"edt_exnome2",
                                L"edt_cuduracao3", L"frase", L"edt_salario"}) {
        Focus(Field(name));
        for (const TDataField& field : DataFields()) {
            const TColor expected = field.Name == name ? clYellow : clWindow;
            EXPECT_EQ(Field(field.Name)->Color(), expected)
                << "focus in " << std::string(String(name).begin(), String(name).end()) << ", "
                << std::string(field.Name.begin(), field.Name.end());
        }
    }
}

TEST_F(MainWindow, LimparCamposEmptiesEditsAndLeavesTheRest) {
    for (const TDataField& field : DataFields())
        if (field.Kind == TFieldKind::Edit) Field(field.Name)->SetText(L"x");
    form->edt_tel1->SetText(L"(11)2345-6789");
    form->edt_uf->SetItemIndex(3);
    form->edt_nasc->SetDate(EncodeDate(1990, 6, 15));
    form->frase4->SetChecked(true);
    form->frase->SetText(L"minha frase");
    TBitmap photo(10, 10);
    form->Image1->Picture()->Assign(photo);

    form->BitBtn4->Click();

    for (const TDataField& field : DataFields()) {
        if (field.Kind == TFieldKind::Edit) {
            EXPECT_EQ(Field(field.Name)->Text(), L"");
        }
    }
    EXPECT_EQ(form->edt_tel1->Text(), L"(11)2345-6789");
    EXPECT_EQ(form->edt_uf->Text(), L"BA");
    EXPECT_EQ(form->edt_nasc->Date(), EncodeDate(1990, 6, 15));
    EXPECT_TRUE(form->frase4->Checked());
    EXPECT_EQ(form->frase->Text(), L"minha frase");
    EXPECT_EQ(form->Image1->Picture()->Width(), 10);
}

TEST_F(MainWindow, PhraseBoxesActAsOneChoice) {
    ShowTabsOf(form->frase4);
    SendMessageW(form->frase4->Handle(), BM_CLICK, 0, 0);
    Application().ProcessMessages();
    EXPECT_TRUE(form->frase4->Checked());
    EXPECT_TRUE(form->frase->Enabled());
    EXPECT_TRUE(HasFocus(form->frase));
    form->frase->SetText(L"Minha frase");

    SendMessageW(form->frase2->Handle(), BM_CLICK, 0, 0);
    Application().ProcessMessages();
    EXPECT_TRUE(form->frase2->Checked());
    EXPECT_FALSE(form->frase4->Checked());
    EXPECT_FALSE(form->frase->Enabled());
    EXPECT_EQ(form->frase->Text(), L"Minha frase");

    SendMessageW(form->frase1->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form->frase1->Checked());
    EXPECT_FALSE(form->frase2->Checked());
    SendMessageW(form->frase1->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form->frase1->Checked()) << "no box need be ticked";
    EXPECT_FALSE(form->frase->Enabled());
}

TEST_F(MainWindow, GreetingAppearsAfterOneSecond) {
    ScopedClock clock(EncodeDate(2026, 12, 10) + EncodeTime(12, 0, 0, 0));
    TStatusPanel* panel = form->StatusBar1->Panels()->Items(0);
    EXPECT_EQ(panel->Width(), 280);
    EXPECT_EQ(form->StatusBar1->Panels()->Items(1)->Width(), 50);
    // A tick before the clock was set (a slow start under load) greeted by the real hour.
    panel->SetText(L"");
    ASSERT_TRUE(PumpAppUntil([&] { return !panel->Text().empty(); })) << "no greeting";
    EXPECT_EQ(panel->Text(), GreetingText(Now(), DefaultFormatSettings()));
    EXPECT_EQ(panel->Text().rfind(L"  Boa tarde! Hoje é ", 0), 0u);
}

class Photo : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        folder = GetTempDirectory() + L"folhavida-photo-test\\";
        ForceDirectories(folder);
    }
    void TearDown() override {
        for (const wchar_t* f : {L"a.bmp", L"b.jpg", L"broken.jpg", L"broken.bmp"}) DeleteFile(folder + f);
        RemoveDirectoryW(folder.c_str());
        MainWindow::TearDown();
    }
    String folder;
};

TEST_F(Photo, LoadsBitmapsAndJpegsByExtensionAndKeepsThePhotoOnABrokenFile) {
    TBitmap bmp(40, 30);
    bmp.SaveToFile(folder + L"a.bmp");
    TJPEGImage jpg;
    TBitmap source(64, 48);
    jpg.Assign(&source);
    jpg.SaveToFile(folder + L"b.jpg");
    for (const wchar_t* broken : {L"broken.jpg", L"broken.bmp"}) {
        TFileStream file(folder + broken, fmCreate);
        file.WriteBuffer("not a picture at all", 20);
    }

    form->LoadPhoto(folder + L"a.bmp");
    EXPECT_NE(dynamic_cast<TBitmap*>(form->Image1->Picture()->Graphic()), nullptr);
    EXPECT_EQ(form->Image1->Picture()->Width(), 40);
    form->LoadPhoto(folder + L"b.jpg");
    EXPECT_NE(dynamic_cast<TJPEGImage*>(form->Image1->Picture()->Graphic()), nullptr);
    EXPECT_EQ(form->Image1->Picture()->Width(), 64);

    for (const wchar_t* broken : {L"broken.jpg", L"broken.bmp"}) {
        try {
            form->LoadPhoto(folder + broken);
            ADD_FAILURE() << "a broken picture was accepted";
        } catch (const Exception& e) {
            EXPECT_FALSE(e.Message().empty());
        }
        EXPECT_NE(dynamic_cast<TJPEGImage*>(form->Image1->Picture()->Graphic()), nullptr);
        EXPECT_EQ(form->Image1->Picture()->Width(), 64) << "the previous photo stays";
    }

    form->BitBtn5->Click();
    EXPECT_EQ(form->Image1->Picture()->Graphic(), nullptr);
}

TEST_F(MainWindow, UpdaterThatCannotStartIsReportedAndTheWindowStays) {
    ASSERT_FALSE(FileExists(TForm1::UpdaterPath()));
    form->edt_nome->SetText(L"Maria");
    {
        TWindowWatcher closer(L"TMessageForm", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
        form->ProcurarAtualizacoes();
        EXPECT_TRUE(closer.Found()) << "no message about the missing updater";
    }
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->edt_nome->Text(), L"Maria");
}

TEST_F(MainWindow, AboutBoxClosesBackToTheEnteredData) {
    TLocal<Tsobre> about(nullptr);
    form->edt_nome->SetText(L"Maria");
    {
        TWindowWatcher closer(L"Tsobre", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
        about.ShowModal();
        EXPECT_TRUE(closer.Found());
    }
    EXPECT_EQ(about.Caption(), L"Folhavida 3.0");
    EXPECT_EQ(about.ClientWidth(), 250);
    EXPECT_EQ(about.Image1->Picture()->Width(), 249);
    EXPECT_EQ(form->edt_nome->Text(), L"Maria");
}

}  // namespace
