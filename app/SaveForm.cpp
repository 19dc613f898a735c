#include "app/SaveForm.h"

#include "app/Generation.h"
#include "app/MainForm.h"
#include "app/ResumeFileName.h"
#include "app/StyleForm.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/FileCtrl.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/FileUtils.h"

Tfrm_salvar* frm_salvar = nullptr;

namespace {

// Shows the progress bar over the buttons while a save runs; at the end, failed or not, the
// buttons are back.
class TSaveProgress {
public:
    explicit TSaveProgress(Tfrm_salvar& form) : form_(form) {
        form_.progresso->SetPosition(0);
        form_.progresso->Show();
        form_.progresso->BringToFront();
        form_.BitBtn1->SetEnabled(false);
        form_.BitBtn2->SetEnabled(false);
    }
    ~TSaveProgress() {
        form_.progresso->SetPosition(0);
        form_.progresso->Hide();
        form_.BitBtn1->SetEnabled(true);
        form_.BitBtn2->SetEnabled(true);
    }
    TSaveProgress(const TSaveProgress&) = delete;
    TSaveProgress& operator=(const TSaveProgress&) = delete;

private:
    Tfrm_salvar& form_;
};

}  // namespace

Tfrm_salvar::Tfrm_salvar(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(DriveComboBox1);
        FV_BIND(lista);
        FV_BIND(BitBtn1);
        FV_BIND(BitBtn2);
        FV_BIND(progresso);
    });
}

Tfrm_salvar::~Tfrm_salvar() = default;

void Tfrm_salvar::Publish(TPublisher<Tfrm_salvar>& p) {
    p.Handler(L"FormShow", &Tfrm_salvar::FormShow);
    p.Handler(L"BitBtn1Click", &Tfrm_salvar::BitBtn1Click);
}

void Tfrm_salvar::FormShow(TObject*) { progresso->Hide(); }

String Tfrm_salvar::TargetFileName() const { return ResumeFileName(lista->Directory(), Form1->edt_nome->Text()); }

void Tfrm_salvar::Save() {
    const String fileName = TargetFileName();
    if (fileName.empty()) {
        Application().MessageBox(L"Digite o seu nome na aba \"Dados Principais\" antes de salvar o currículo.",
                                 Caption(), MB_OK | MB_ICONWARNING);
        return;
    }
    if (FileExists(fileName) &&
        Application().MessageBox(L"O arquivo \"" + ExtractFileName(fileName) + L"\" já existe nesta pasta.\n"
                                 L"Deseja substituí-lo?",
                                 Caption(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    {
        TSaveProgress busy(*this);
        RunSave(*Form1, impressao->Style(), fileName, [this](int value) { progresso->SetPosition(value); });
    }
    SetModalResult(mrOk);
}

void Tfrm_salvar::BitBtn1Click(TObject*) { Save(); }
