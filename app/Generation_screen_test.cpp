#include "app/Generation.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/MainForm.h"
#include "app/SaveForm.h"
#include "app/StyleForm.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ColorBox.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/FileCtrl.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Dialogs.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"

namespace {

// Stands in for the report template: records what generation asks of it and what the windows
// showed meanwhile, and fails where a test asks it to.
class FakeTemplate : public TResumeTemplate {
public:
    void Apply(const TCurriculoState& state, const TPicture&, const TStepDone& done) override {
        States.push_back(state);
        for (int step = 0; step <= static_cast<int>(TFillStep::Further); ++step) done(static_cast<TFillStep>(step));
    }
    void ShowPreview() override {
        ++Previews;
        if (OnPreview) OnPreview();
        if (FailPreview) throw Exception(L"Falha ao montar a página");
    }
    void SavePreparedReport(const String& fileName) override {
        if (FailSave) throw EFCreateError(L"Não foi possível criar o arquivo " + fileName);
        TFileStream file(fileName, fmCreate);
        file.WriteBuffer("QRP", 3);
        Saved.push_back(fileName);
    }
    void OpenPreparedReport(const String& fileName) override { Opened.push_back(fileName); }

    std::vector<TCurriculoState> States;
    std::vector<String> Saved, Opened;
    int Previews = 0;
    bool FailPreview = false, FailSave = false;
    std::function<void()> OnPreview;
};

class Generation : public ::testing::Test {
protected:
    void SetUp() override {
        Application().CreateForm(Form1);
        Application().CreateForm(impressao);
        Application().CreateForm(frm_salvar);
        SetResumeTemplate(&fake);
        Form1->edt_nome->SetText(L"João Conceição");
    }
    void TearDown() override {
        SetResumeTemplate(nullptr);
        Application().DestroyComponents();
        Form1 = nullptr;
        impressao = nullptr;
        frm_salvar = nullptr;
    }
    FakeTemplate fake;
};

// Every text a dialog shows, its children's included.
String DialogText(HWND box) {
    String all;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            wchar_t text[512]{};
            GetWindowTextW(child, text, 512);
            *reinterpret_cast<String*>(param) += text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

String WindowTextOf(HWND window) {
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

// A folder of its own under the temp directory, emptied and removed at the end.
struct SaveFolder {
    SaveFolder() {
        Path = GetTempDirectory() + L"salvar-" + std::to_wstring(GetCurrentProcessId());
        ForceDirectories(Path);
        GetCurrentDirectoryW(MAX_PATH, before);
    }
    ~SaveFolder() {
        SetCurrentDirectoryW(before);  // the open dialog may have gone into the folder
        DeleteFile(Path + L"\\João Conceição.QRP");
        RemoveDir(Path);
    }
    String Path;
    wchar_t before[MAX_PATH]{};
};

}  // namespace

TEST_F(Generation, StyleFormStartsWithModelOneBlackAndTheCounter) {
    Timpressao& f = *impressao;
    EXPECT_EQ(f.Caption(), L"Configure o estilo do seu Curriculo!");
    EXPECT_EQ(f.ClientWidth(), 584);
    EXPECT_EQ(f.ClientHeight(), 324);
    for (TImage* image : {f.Image1, f.Image2, f.Image3}) {
        EXPECT_EQ(image->Picture()->Width(), 185);
        EXPECT_EQ(image->Picture()->Height(), 162);
        EXPECT_EQ(image->Cursor(), crHandPoint);
    }
    EXPECT_TRUE(f.Modelo1->Checked());
    EXPECT_FALSE(f.fonte->Visible());
    EXPECT_EQ(f.Style(), (TResumeStyle{L"Arial", clBlack, true}));
    EXPECT_EQ(f.cor->ColorCount(), 50);
    EXPECT_EQ(f.BitBtn1->Caption(), L"OK");
    EXPECT_EQ(f.BitBtn1->ModalResult(), mrOk);
    EXPECT_TRUE(f.BitBtn1->Default());
    EXPECT_EQ(f.BitBtn2->Caption(), L"Cancel");
    EXPECT_TRUE(f.BitBtn2->Cancel());
}

TEST_F(Generation, ModelBoxesActAsOneChoiceAndPicturesTickThem) {
    Timpressao& f = *impressao;
    struct Row {
        std::function<void()> Act;
        std::array<bool, 3> Ticked;
        const wchar_t* Font;
    };
    const Row rows[] = {
        {[&] { f.Modelo2->SetChecked(true); }, {false, true, false}, L"Monotype Corsiva"},
        {[&] { f.Image3->Click(); }, {false, false, true}, L"Brush Script MT"},
        {[&] { f.Modelo3->SetChecked(false); }, {false, false, false}, L"Brush Script MT"},  // keeps the font
        {[&] { f.Image1->Click(); }, {true, false, false}, L"Arial"},
    };
    for (const Row& row : rows) {
        row.Act();
        EXPECT_EQ((std::array<bool, 3>{f.Modelo1->Checked(), f.Modelo2->Checked(), f.Modelo3->Checked()}), row.Ticked);
        EXPECT_EQ(f.fonte->Text(), row.Font);
    }
}

TEST_F(Generation, DefaultGenerationShowsItsProgressAndHidesItAfterThePreview) {
    std::vector<int> seen;
    bool visibleInPreview = false;
    fake.OnPreview = [&] {
        visibleInPreview = Form1->Progresso->Visible();
        seen.push_back(Form1->Progresso->Position());
    };
    impressao->Modelo2->SetChecked(true);  // the default run takes no style
    RunDefaultGeneration(*Form1);
    ASSERT_EQ(fake.States.size(), 1u);
    EXPECT_EQ(fake.States[0].FontName, L"Arial");
    EXPECT_EQ(fake.States[0].ReportTitle, L"Curriculo de João Conceição");
    EXPECT_TRUE(visibleInPreview);
    EXPECT_EQ(seen, std::vector<int>{100});
    EXPECT_FALSE(Form1->Progresso->Visible());

    // A failed preview hides the bar too, and the error reaches the caller.
    fake.FailPreview = true;
    EXPECT_THROW(RunDefaultGeneration(*Form1), Exception);
    EXPECT_FALSE(Form1->Progresso->Visible());
}

TEST_F(Generation, TheStyleQuestionLeadsToThePreviewOrToTheStyleForm) {
    struct Row {
        int Answer;
        const wchar_t* StyleButton;  // clicked in the style form; null: the form must not appear
        int Previews;
        const wchar_t* Font;
    };
    impressao->Modelo2->SetChecked(true);
    const Row rows[] = {
        {IDNO, nullptr, 1, L"Arial"},
        {IDYES, L"Cancel", 1, L"Arial"},
        {IDYES, L"OK", 2, L"Monotype Corsiva"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Answer == IDNO ? "No" : StringToUtf8(row.StyleButton));
        String question;
        TWindowWatcher box(L"#32770", [&](HWND window) {
            question = DialogText(window) + L"|" + WindowTextOf(window);
            PostMessageW(GetDlgItem(window, row.Answer), BM_CLICK, 0, 0);
        });
        const HWND ok = impressao->BitBtn1->Handle(), cancel = impressao->BitBtn2->Handle();
        TWindowWatcher style(L"Timpressao", [&](HWND) {
            if (row.StyleButton != nullptr)
                PostMessageW(String(row.StyleButton) == L"OK" ? ok : cancel, BM_CLICK, 0, 0);
        });
        RequestGeneration(*Form1);
        EXPECT_TRUE(box.Found());
        EXPECT_NE(question.find(L"Gostaria de configurar cores e estilo do seu Currículo?"), String::npos)
            << StringToUtf8(question);
        EXPECT_NE(question.find(L"|Configurações Avançadas"), String::npos) << StringToUtf8(question);
        EXPECT_EQ(style.Found(), row.StyleButton != nullptr);
        EXPECT_EQ(fake.Previews, row.Previews);
        EXPECT_EQ(fake.States.back().FontName, row.Font);
        EXPECT_FALSE(impressao->Visible());
    }
}

TEST(BusyProgress, FollowsTheStepsOfEachVariant) {
    using S = TFillStep;
    std::vector<int> preview, save;
    for (int step = 0; step <= static_cast<int>(S::Further); ++step) {
        if (auto v = BusyProgress(TFillVariant::Default, static_cast<S>(step))) preview.push_back(*v);
        if (auto v = BusyProgress(TFillVariant::Save, static_cast<S>(step))) save.push_back(*v);
        EXPECT_FALSE(BusyProgress(TFillVariant::Styled, static_cast<S>(step)));
    }
    EXPECT_EQ(preview, (std::vector<int>{10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 70, 90}));
    EXPECT_EQ(save, (std::vector<int>{40, 50, 55, 60, 65, 70, 75, 80, 82, 85, 87, 90, 91, 92}));
}

TEST_F(Generation, StyledOkWaitsWithAguardeAndAFailureGivesTheButtonBack) {
    Timpressao& f = *impressao;
    f.Modelo3->SetChecked(true);
    f.cor->SetSelected(clMaroon);
    f.paginas->SetChecked(false);
    String captionInPreview;
    bool enabledInPreview = true;
    fake.OnPreview = [&] {
        captionInPreview = f.BitBtn1->Caption();
        enabledInPreview = f.BitBtn1->Enabled();
    };
    f.BitBtn1->Click();
    ASSERT_EQ(fake.Previews, 1);
    EXPECT_EQ(captionInPreview, L"Aguarde...");
    EXPECT_FALSE(enabledInPreview);
    EXPECT_EQ(f.ModalResult(), mrOk);  // the form closes once the preview has
    const TCurriculoState& s = fake.States.back();
    EXPECT_EQ(s.FontName, L"Brush Script MT");
    EXPECT_EQ(s.Color, clMaroon);
    EXPECT_FALSE(s.Enabled.at(L"txt4"));

    // Showing the form again gives OK back.
    f.SetModalResult(mrNone);
    f.Show();
    EXPECT_EQ(f.BitBtn1->Caption(), L"OK");
    EXPECT_TRUE(f.BitBtn1->Enabled());
    f.Hide();

    fake.FailPreview = true;
    EXPECT_THROW(f.BitBtn1->Click(), Exception);
    EXPECT_EQ(f.BitBtn1->Caption(), L"OK");
    EXPECT_TRUE(f.BitBtn1->Enabled());
    EXPECT_EQ(f.ModalResult(), mrNone);  // stays open for another try
}

TEST_F(Generation, SaveWritesTheStyledResumeIntoTheChosenFolder) {
    SaveFolder folder;
    Tfrm_salvar& f = *frm_salvar;
    EXPECT_EQ(f.Caption(), L"Onde salvar o seu Curriculo?");
    EXPECT_EQ(f.DriveComboBox1->DirList(), f.lista);
    EXPECT_FALSE(f.progresso->Visible());
    f.lista->SetDirectory(folder.Path);
    impressao->Modelo2->SetChecked(true);
    const String target = folder.Path + L"\\João Conceição.QRP";
    EXPECT_EQ(lstrcmpiW(f.TargetFileName().c_str(), target.c_str()), 0) << StringToUtf8(f.TargetFileName());

    f.Save();
    ASSERT_EQ(fake.Saved.size(), 1u);
    EXPECT_TRUE(FileExists(target));
    EXPECT_EQ(fake.States.back().FontName, L"Monotype Corsiva");
    EXPECT_EQ(fake.States.back().ReportTitle, L"Curriculo de João Conceição");
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_FALSE(f.progresso->Visible());
    EXPECT_TRUE(f.BitBtn1->Enabled());
}

TEST_F(Generation, SaveAsksBeforeReplacingAndRefusesAnEmptyName) {
    SaveFolder folder;
    Tfrm_salvar& f = *frm_salvar;
    f.lista->SetDirectory(folder.Path);
    {
        TFileStream existing(folder.Path + L"\\João Conceição.QRP", fmCreate);
    }
    struct Row {
        int Answer;
        size_t SavedAfter;
    };
    for (const Row row : {Row{IDNO, 0}, Row{IDYES, 1}}) {
        String text;
        TWindowWatcher watcher(L"#32770", [&](HWND box) {
            text = DialogText(box);
            PostMessageW(GetDlgItem(box, row.Answer), BM_CLICK, 0, 0);
        });
        f.SetModalResult(mrNone);
        f.Save();
        EXPECT_TRUE(watcher.Found());
        EXPECT_NE(text.find(L"já existe"), String::npos) << StringToUtf8(text);
        EXPECT_EQ(fake.Saved.size(), row.SavedAfter);
        EXPECT_EQ(f.ModalResult(), row.SavedAfter ? mrOk : mrNone);
    }

    Form1->edt_nome->SetText(L" .. ");
    f.SetModalResult(mrNone);
    TWindowWatcher refused(L"#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
    f.Save();
    EXPECT_TRUE(refused.Found());
    EXPECT_EQ(fake.Saved.size(), 1u);
    EXPECT_EQ(f.ModalResult(), mrNone);
}

TEST_F(Generation, AFailedSaveGivesTheFormBackAndPassesTheErrorOn) {
    SaveFolder folder;
    Tfrm_salvar& f = *frm_salvar;
    f.lista->SetDirectory(folder.Path);
    fake.FailSave = true;
    EXPECT_THROW(f.Save(), EFCreateError);
    EXPECT_FALSE(f.progresso->Visible());
    EXPECT_TRUE(f.BitBtn1->Enabled());
    EXPECT_TRUE(f.BitBtn2->Enabled());
    EXPECT_EQ(f.ModalResult(), mrNone);
}

TEST_F(Generation, OpeningHandsTheChosenFileToTheTemplatesPreview) {
    SaveFolder folder;
    const String file = folder.Path + L"\\João Conceição.QRP";
    {
        TFileStream saved(file, fmCreate);
    }
    Form1->OpenDialog1->SetFileName(file);
    TWindowWatcher dialog(L"#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
    Form1->BitBtn7->Click();
    EXPECT_TRUE(dialog.Found());
    ASSERT_EQ(fake.Opened.size(), 1u);
    EXPECT_EQ(lstrcmpiW(fake.Opened[0].c_str(), file.c_str()), 0) << StringToUtf8(fake.Opened[0]);
    EXPECT_TRUE(fake.States.empty());  // the template is not touched
}
