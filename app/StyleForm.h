// Timpressao: the style form, where the user picks a lettering model, a colour and whether the
// pages are counted. What it shows is the style of every styled generation and of every save,
// for as long as the program runs; its OK button generates with it while the form stays open.
#pragma once

#include "app/CurriculoFill.h"
#include "framework/forms/Forms.h"

class TBitBtn;
class TCheckBox;
class TColorBox;
class TEdit;
class TImage;

class Timpressao : public TForm {
    FV_CLASS(Timpressao, TForm)
public:
    explicit Timpressao(TComponent* owner);
    ~Timpressao() override;
    static void Publish(TPublisher<Timpressao>& p);

    // The font in fonte, the colour of cor and the state of paginas.
    TResumeStyle Style() const;
    // The font name each model box puts into fonte.
    static String ModelFont(int model);  // 1..3

    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TImage* Image3 = nullptr;
    TCheckBox* Modelo1 = nullptr;
    TCheckBox* Modelo2 = nullptr;
    TCheckBox* Modelo3 = nullptr;
    TEdit* fonte = nullptr;
    TColorBox* cor = nullptr;
    TCheckBox* paginas = nullptr;
    TBitBtn* BitBtn1 = nullptr;  // OK
    TBitBtn* BitBtn2 = nullptr;  // Cancel

private:
    TCheckBox* ModelBox(int model) const;
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ModeloClick(TObject* Sender);
    void Image1Click(TObject* Sender);
    void Image2Click(TObject* Sender);
    void Image3Click(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
};

extern Timpressao* impressao;
