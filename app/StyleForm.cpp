#include "app/StyleForm.h"

#include "app/AppPictures.h"
#include "app/Generation.h"
#include "app/MainForm.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ColorBox.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

Timpressao* impressao = nullptr;

Timpressao::Timpressao(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(Image1);
        FV_BIND(Image2);
        FV_BIND(Image3);
        FV_BIND(Modelo1);
        FV_BIND(Modelo2);
        FV_BIND(Modelo3);
        FV_BIND(fonte);
        FV_BIND(cor);
        FV_BIND(paginas);
        FV_BIND(BitBtn1);
        FV_BIND(BitBtn2);
        LoadBitmapResource(Image1->Picture()->Bitmap(), L"MODEL1_PICTURE");
        LoadBitmapResource(Image2->Picture()->Bitmap(), L"MODEL2_PICTURE");
        LoadBitmapResource(Image3->Picture()->Bitmap(), L"MODEL3_PICTURE");
    });
}

Timpressao::~Timpressao() = default;

void Timpressao::Publish(TPublisher<Timpressao>& p) {
    p.Handler(L"FormCreate", &Timpressao::FormCreate);
    p.Handler(L"FormShow", &Timpressao::FormShow);
    p.Handler(L"ModeloClick", &Timpressao::ModeloClick);
    p.Handler(L"Image1Click", &Timpressao::Image1Click);
    p.Handler(L"Image2Click", &Timpressao::Image2Click);
    p.Handler(L"Image3Click", &Timpressao::Image3Click);
    p.Handler(L"BitBtn1Click", &Timpressao::BitBtn1Click);
}

String Timpressao::ModelFont(int model) {
    switch (model) {
    case 2: return L"Monotype Corsiva";
    case 3: return L"Brush Script MT";
    default: return L"Arial";
    }
}

TCheckBox* Timpressao::ModelBox(int model) const {
    TCheckBox* const boxes[] = {Modelo1, Modelo2, Modelo3};
    return boxes[model - 1];
}

TResumeStyle Timpressao::Style() const { return {fonte->Text(), cor->Selected(), paginas->Checked()}; }

void Timpressao::FormCreate(TObject*) { Modelo1->SetChecked(true); }

void Timpressao::FormShow(TObject*) {
    BitBtn1->SetEnabled(true);
    BitBtn1->SetCaption(L"OK");
}

// Ticking a model takes its font and clears the other two; clearing a box changes nothing else,
// so fonte keeps the last model's font even when no box is ticked.
void Timpressao::ModeloClick(TObject* Sender) {
    auto* box = static_cast<TCheckBox*>(Sender);
    if (!box->Checked()) return;
    for (int model = 1; model <= 3; ++model) {
        if (ModelBox(model) == box) fonte->SetText(ModelFont(model));
        else ModelBox(model)->SetChecked(false);
    }
}

void Timpressao::Image1Click(TObject*) { Modelo1->SetChecked(true); }
void Timpressao::Image2Click(TObject*) { Modelo2->SetChecked(true); }
void Timpressao::Image3Click(TObject*) { Modelo3->SetChecked(true); }

// The form stays open with "Aguarde..." while the preview is up; OK's modal result closes it
// afterwards. A failed generation gives the button back and keeps the form open.
void Timpressao::BitBtn1Click(TObject*) {
    BitBtn1->SetEnabled(false);
    BitBtn1->SetCaption(L"Aguarde...");
    try {
        RunStyledGeneration(*Form1, Style());
    } catch (...) {
        BitBtn1->SetEnabled(true);
        BitBtn1->SetCaption(L"OK");
        SetModalResult(mrNone);
        throw;
    }
}
