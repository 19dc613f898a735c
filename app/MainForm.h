// TForm1: the main window, where the user enters the résumé. The data lives only in its controls;
// generation, saving and the webcam form read and write them through Form1.
#pragma once

#include "framework/forms/Forms.h"

class TBevel;
class TBitBtn;
class TCheckBox;
class TComboBox;
class TDateTimePicker;
class TEdit;
class TGroupBox;
class TImage;
class TImageList;
class TMaskEdit;
class TOpenDialog;
class TOpenPictureDialog;
class TPageControl;
class TProgressBar;
class TRichEdit;
class TStatusBar;
class TTabSheet;
class TTimer;

class TForm1 : public TForm {
    FV_CLASS(TForm1, TForm)
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;
    static void Publish(TPublisher<TForm1>& p);

    // Recolours the data fields: the focused one yellow, the others the window colour.
    void MudancaDeFoco(TObject* Sender);
    // Empties the plain edit fields.
    void LimparCampos();
    // Loads a picture file into the photo by its extension (bitmap or JPEG). A file that cannot
    // be read raises and leaves the previous photo.
    void LoadPhoto(const String& fileName);
    // Starts update.exe from the program's own folder and closes the window; when it cannot be
    // started, says so and keeps the window (and the entered data).
    void ProcurarAtualizacoes();
    // The program "Procurar Atualizações" starts.
    static String UpdaterPath();

    // Tabs
    TPageControl* PageControl1 = nullptr;
    TPageControl* PageControl2 = nullptr;
    TPageControl* PageControl3 = nullptr;
    TTabSheet* TabSheet1 = nullptr;  // Dados Principais
    TTabSheet* TabSheet3 = nullptr;  // Escolaridade
    TTabSheet* TabSheet7 = nullptr;  // Frase

    // Dados Principais
    TEdit* edt_nome = nullptr;
    TDateTimePicker* edt_nasc = nullptr;
    TComboBox* edt_sexo = nullptr;
    TComboBox* edt_ec = nullptr;
    TMaskEdit* edt_tel1 = nullptr;
    TMaskEdit* edt_tel2 = nullptr;
    TEdit* edt_natural = nullptr;
    TEdit* edt_email = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TEdit* edt_rua = nullptr;
    TEdit* edt_numero = nullptr;
    TEdit* edt_complemento = nullptr;
    TEdit* edt_bairro = nullptr;
    TEdit* edt_cidade = nullptr;
    TComboBox* edt_uf = nullptr;

    // Experiências Profissionais, tab N at index N - 1
    TEdit* edt_exnome[5] = {};
    TEdit* edt_excargo[5] = {};
    TEdit* edt_exobs[5] = {};
    TDateTimePicker* edt_exentrada[5] = {};
    TDateTimePicker* edt_exsaida[5] = {};
    TMaskEdit* edt_extelefone[5] = {};

    // Escolaridade
    TComboBox* edt_escolaridade = nullptr;
    TEdit* edt_curso = nullptr;
    TEdit* edt_escola = nullptr;

    // Cursos, tab N at index N - 1
    TEdit* edt_cucurso[5] = {};
    TEdit* edt_cuobs[5] = {};
    TEdit* edt_cuescola[5] = {};
    TComboBox* edt_cuduracao[5] = {};

    // Foto
    TBevel* Bevel1 = nullptr;
    TImage* Image1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;  // Usar a WebCam
    TBitBtn* BitBtn2 = nullptr;  // Procurar uma Foto
    TBitBtn* BitBtn5 = nullptr;  // Excluir Foto

    // Informações
    TEdit* edt_rg = nullptr;
    TEdit* edt_cpf = nullptr;
    TEdit* edt_cp = nullptr;
    TEdit* edt_te = nullptr;
    TEdit* edt_cargo = nullptr;
    TEdit* edt_salario = nullptr;

    // Frase
    TCheckBox* frase1 = nullptr;
    TCheckBox* frase2 = nullptr;
    TCheckBox* frase3 = nullptr;
    TCheckBox* frase4 = nullptr;
    TRichEdit* frase = nullptr;

    // Below the tabs
    TBitBtn* BitBtn7 = nullptr;  // Abrir (QRP)
    TBitBtn* BitBtn6 = nullptr;  // Salvar (QRP)
    TBitBtn* BitBtn4 = nullptr;  // Limpar Campos
    TBitBtn* BitBtn3 = nullptr;  // Gerar Curriculo!
    TStatusBar* StatusBar1 = nullptr;
    TProgressBar* Progresso = nullptr;

    TMainMenu* MainMenu1 = nullptr;
    TImageList* imagens = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TTimer* Timer1 = nullptr;

private:
    void BindComponents();
    void LoadPictures();
    void InstallEnterChains();
    TCheckBox* PhraseBox(int index) const;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void PageControl1Enter(TObject* Sender);
    void TabSheet3Show(TObject* Sender);
    void CampoKeyPress(TObject* Sender, wchar_t& Key);
    void FraseClick(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);
    void BitBtn7Click(TObject* Sender);
    void BitBtn5Click(TObject* Sender);
    void Sobre1Click(TObject* Sender);
    void ProcurarAtualizacoes1Click(TObject* Sender);
};

extern TForm1* Form1;
