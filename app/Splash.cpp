#include "app/Splash.h"

#include "app/AppPictures.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ComCtrls.h"
#include "framework/graphics/Bitmap.h"

Tsobre* sobre = nullptr;

Tsplash::Tsplash(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(Image1);
        FV_BIND(Progresso);
        LoadBitmapResource(Image1->Picture()->Bitmap(), L"SPLASH_PICTURE");
    });
}

Tsplash::~Tsplash() = default;

void Tsplash::ShowProgress(int position, bool repaintAfter) {
    Repaint();
    Progresso->SetPosition(position);
    if (repaintAfter) Repaint();
}

Tsobre::Tsobre(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(Image1);
        LoadBitmapResource(Image1->Picture()->Bitmap(), L"ABOUT_PICTURE");
    });
}

Tsobre::~Tsobre() = default;
