// Tfrm_salvar: the save form. The user picks a drive and a folder; "Salvar" writes the résumé,
// in the style of the style form, as a prepared-report file named after the entered name. The
// lists keep the last choice between uses.
#pragma once

#include "framework/forms/Forms.h"

class TBitBtn;
class TDirectoryListBox;
class TDriveComboBox;
class TProgressBar;

class Tfrm_salvar : public TForm {
    FV_CLASS(Tfrm_salvar, TForm)
public:
    explicit Tfrm_salvar(TComponent* owner);
    ~Tfrm_salvar() override;
    static void Publish(TPublisher<Tfrm_salvar>& p);

    // The file "Salvar" writes now; empty when the entered name gives none.
    String TargetFileName() const;
    // Saves to the open folder: refuses an empty name, asks before replacing a file, and closes
    // the form when the file is written. A failure leaves the form as it was before "Salvar".
    void Save();

    TDriveComboBox* DriveComboBox1 = nullptr;
    TDirectoryListBox* lista = nullptr;
    TBitBtn* BitBtn1 = nullptr;  // Salvar
    TBitBtn* BitBtn2 = nullptr;  // Cancelar
    TProgressBar* progresso = nullptr;

private:
    void FormShow(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
};

extern Tfrm_salvar* frm_salvar;
