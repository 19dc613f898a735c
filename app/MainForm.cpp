#include "app/MainForm.h"

#include <string>

#include "app/AppPictures.h"
#include "app/DataFields.h"
#include "app/EnterChains.h"
#include "app/Generation.h"
#include "app/Greeting.h"
#include "app/PhotoForm.h"
#include "app/PhraseChoice.h"
#include "app/SaveForm.h"
#include "app/Splash.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/DateTimePicker.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/MaskEdit.h"
#include "framework/controls/RichEdit.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/Timer.h"
#include "framework/forms/Dialogs.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/Clock.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        BindComponents();
        LoadPictures();
        InstallEnterChains();
    });
}

TForm1::~TForm1() = default;

void TForm1::Publish(TPublisher<TForm1>& p) {
    p.Handler(L"FormCreate", &TForm1::FormCreate);
    p.Handler(L"FormShow", &TForm1::FormShow);
    p.Handler(L"MudancaDeFoco", &TForm1::MudancaDeFoco);
    p.Handler(L"PageControl1Enter", &TForm1::PageControl1Enter);
    p.Handler(L"TabSheet3Show", &TForm1::TabSheet3Show);
    p.Handler(L"FraseClick", &TForm1::FraseClick);
    p.Handler(L"Timer1Timer", &TForm1::Timer1Timer);
    p.Handler(L"BitBtn1Click", &TForm1::BitBtn1Click);
    p.Handler(L"BitBtn2Click", &TForm1::BitBtn2Click);
    p.Handler(L"BitBtn3Click", &TForm1::BitBtn3Click);
    p.Handler(L"BitBtn4Click", &TForm1::BitBtn4Click);
    p.Handler(L"BitBtn6Click", &TForm1::BitBtn6Click);
    p.Handler(L"BitBtn7Click", &TForm1::BitBtn7Click);
    p.Handler(L"BitBtn5Click", &TForm1::BitBtn5Click);
    p.Handler(L"Sobre1Click", &TForm1::Sobre1Click);
    p.Handler(L"ProcurarAtualizacoes1Click", &TForm1::ProcurarAtualizacoes1Click);
}

void TForm1::BindComponents() {
    // The data fields from their table, the other components one by one.
    for (const TDataField& field : DataFields()) {
        TComponent* component = FindComponent(field.Name);
        if (!field.Attach(*this, component))
            throw EComponentError(L"Component " + field.Name + L" not found in TForm1");
        if (auto* edit = dynamic_cast<TEdit*>(component); edit != nullptr && field.MaxLength > 0)
            edit->SetMaxLength(field.MaxLength);
    }
    FV_BIND(PageControl1);
    FV_BIND(PageControl2);
    FV_BIND(PageControl3);
    FV_BIND(TabSheet1);
    FV_BIND(TabSheet3);
    FV_BIND(TabSheet7);
    FV_BIND(GroupBox1);
    FV_BIND(Bevel1);
    FV_BIND(Image1);
    FV_BIND(BitBtn1);
    FV_BIND(BitBtn2);
    FV_BIND(BitBtn5);
    FV_BIND(frase1);
    FV_BIND(frase2);
    FV_BIND(frase3);
    FV_BIND(frase4);
    FV_BIND(BitBtn7);
    FV_BIND(BitBtn6);
    FV_BIND(BitBtn4);
    FV_BIND(BitBtn3);
    FV_BIND(StatusBar1);
    FV_BIND(Progresso);
    FV_BIND(MainMenu1);
    FV_BIND(imagens);
    FV_BIND(OpenPictureDialog1);
    FV_BIND(OpenDialog1);
    FV_BIND(Timer1);
}

void TForm1::LoadPictures() {
    const std::pair<TBitBtn*, const wchar_t*> glyphs[] = {
        {BitBtn1, L"GLYPH_WEBCAM"}, {BitBtn2, L"GLYPH_FINDPHOTO"}, {BitBtn5, L"GLYPH_DELETEPHOTO"},
        {BitBtn7, L"GLYPH_OPEN"},   {BitBtn6, L"GLYPH_SAVE"},      {BitBtn4, L"GLYPH_CLEAR"},
        {BitBtn3, L"GLYPH_GENERATE"},
    };
    for (const auto& [button, resource] : glyphs) {
        TBitmap glyph;
        LoadBitmapResource(glyph, resource);
        button->SetGlyph(glyph);
    }
    // Images in the order the menu's ImageIndex values name them.
    TBitmap strip;
    LoadBitmapResource(strip, L"MENU_IMAGES");
    imagens->AddMasked(strip, clFuchsia);
}

void TForm1::InstallEnterChains() {
    for (const String& field : FieldsWithEnterHandler()) {
        auto* control = dynamic_cast<TWinControl*>(FindComponent(field));
        if (control == nullptr) throw EComponentError(L"Component " + field + L" not found in TForm1");
        control->OnKeyPress = TKeyPressEvent(this, &TForm1::CampoKeyPress);
    }
}

void TForm1::CampoKeyPress(TObject* Sender, wchar_t& Key) {
    if (Key != L'\r') return;
    const String next = NextFieldOnEnter(static_cast<TComponent*>(Sender)->Name());
    auto* target = dynamic_cast<TWinControl*>(FindComponent(next));
    if (target == nullptr) return;
    Key = 0;
    target->SetFocus();
}

void TForm1::FormCreate(TObject*) {
    Application().SetHintColor(clAqua);
    Application().SetHintPause(1);
    Application().SetHintShortPause(1);
}

void TForm1::FormShow(TObject*) {
    PageControl1->SetActivePage(TabSheet1);
}

void TForm1::TabSheet3Show(TObject*) {
    if (edt_escolaridade->CanFocus()) edt_escolaridade->SetFocus();
}

void TForm1::PageControl1Enter(TObject*) {
    frase->SetEnabled(frase4->Checked());
}

void TForm1::MudancaDeFoco(TObject*) {
    // One pass per kind of data field, in a fixed order.
    using KindTest = bool (*)(TComponent*);
    static const KindTest kinds[] = {
        [](TComponent* c) -> bool { return dynamic_cast<TEdit*>(c) != nullptr; },
        [](TComponent* c) -> bool { return dynamic_cast<TDateTimePicker*>(c) != nullptr; },
        [](TComponent* c) -> bool { return dynamic_cast<TComboBox*>(c) != nullptr; },
        [](TComponent* c) -> bool { return dynamic_cast<TMaskEdit*>(c) != nullptr; },
        [](TComponent* c) -> bool { return dynamic_cast<TRichEdit*>(c) != nullptr; },
    };
    const HWND focus = GetFocus();
    for (KindTest isKind : kinds) {
        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* component = Components(i);
            if (!isKind(component)) continue;
            auto* control = static_cast<TWinControl*>(component);
            // A picker's or list's own child window may hold the focus for it.
            const HWND window = control->HandleIfAllocated();
            const bool focused = window != nullptr && (focus == window || IsChild(window, focus));
            control->SetColor(focused ? clYellow : clWindow);
        }
    }
}

TCheckBox* TForm1::PhraseBox(int index) const {
    TCheckBox* const boxes[] = {frase1, frase2, frase3, frase4};
    return boxes[index];
}

void TForm1::FraseClick(TObject* Sender) {
    TPhraseChoice state;
    int clicked = -1;
    for (int i = 0; i < 4; ++i) {
        state.Checked[static_cast<size_t>(i)] = PhraseBox(i)->Checked();
        if (PhraseBox(i) == Sender) clicked = i;
    }
    state.EditorEnabled = frase->Enabled();
    const TPhraseChoice next = ClickPhraseBox(state, clicked);
    // Clearing a box from here runs its click handler again, which then has nothing to change.
    for (int i = 0; i < 4; ++i) PhraseBox(i)->SetChecked(next.Checked[static_cast<size_t>(i)]);
    frase->SetEnabled(next.EditorEnabled);
    if (next.FocusEditor && frase->CanFocus()) frase->SetFocus();
}

void TForm1::Timer1Timer(TObject*) {
    StatusBar1->Panels()->Items(0)->SetText(GreetingText(Now(), DefaultFormatSettings()));
}

void TForm1::LimparCampos() {
    for (const String& name : FieldsClearedByLimparCampos()) {
        auto* edit = dynamic_cast<TEdit*>(FindComponent(name));
        if (edit != nullptr) edit->SetText(L"");
    }
}

void TForm1::LoadPhoto(const String& fileName) {
    Image1->Picture()->LoadFromFile(fileName);
}

void TForm1::BitBtn1Click(TObject*) {
    if (frm_foto == nullptr) return;
    // Without a camera the form would open on a black picture and an empty device menu.
    if (frm_foto->DeviceCount() == 0) {
        Application().MessageBox(NoCameraMessage(), frm_foto->Caption(), MB_OK | MB_ICONWARNING);
        return;
    }
    frm_foto->ShowModal();
}

void TForm1::BitBtn2Click(TObject*) {
    if (OpenPictureDialog1->Execute()) LoadPhoto(OpenPictureDialog1->FileName());
}

void TForm1::BitBtn4Click(TObject*) {
    LimparCampos();
}

void TForm1::BitBtn5Click(TObject*) {
    Image1->Picture()->SetGraphic(nullptr);
}

void TForm1::BitBtn3Click(TObject*) { RequestGeneration(*this); }

void TForm1::BitBtn6Click(TObject*) { frm_salvar->ShowModal(); }

// A reopened résumé is only shown: the template and the entered data stay as they are.
void TForm1::BitBtn7Click(TObject*) {
    if (OpenDialog1->Execute()) ResumeTemplate().OpenPreparedReport(OpenDialog1->FileName());
}

void TForm1::Sobre1Click(TObject*) {
    sobre->ShowModal();
}

String TForm1::UpdaterPath() {
    return ProgramFolder() + L"update.exe";
}

void TForm1::ProcurarAtualizacoes() {
    // A full path: a bare name would depend on the current folder and the search path.
    const String program = UpdaterPath();
    String commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // The updater starts Folhavida.exe again by its bare name: it runs in this program's folder.
    const String folder = ProgramFolder();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        MessageDlg(L"Não foi possível iniciar o programa de atualização \"" + program + L"\": " +
                       SysErrorMessage(error) + L".",
                   mtError, TMsgDlgButtons{mbOK});
        return;
    }
    // Folhavida does not wait for the updater: its handles go at once.
    const UniqueKernelHandle thread(process.hThread), started(process.hProcess);
    Close();
}

void TForm1::ProcurarAtualizacoes1Click(TObject*) {
    ProcurarAtualizacoes();
}
