// Prints how long a styled hint takes to appear (ActivateHint and the first paint: the screen
// copy, the drawing over it and the copy to the window) and to shade a 400 x 120 shadow with
// quHi, the slowest quality.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "framework/forms/ApplicationScope.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Bitmap.h"
#include "hints/HintDesign.h"
#include "hints/HintRenderer.h"
#include "hints/HintsRegistration.h"
#include "hints/NewDesign.h"
#include "testing/BenchTiming.h"

using benchtiming::MedianMs;

namespace {

double ShadeMs() {
    TBitmap image(400, 120, pf24bit);
    const UniqueRegion region(CreateEllipticRgn(0, 0, 400, 120));
    return MedianMs(50, [&] { ShadeRegion(image.Canvas().Handle(), Rect(0, 0, 400, 120), region.get(), 70, quHi); });
}

double ShowHintMs() {
    TForm* form = nullptr;
    Application().CreateForm(form);
    auto* design = new THintDesign(form);
    design->SetColor(clInfoBk);
    design->SetShadowQuality(quHi);
    TLocal<TNewDesign> window(nullptr);
    const String text = L"Clique aqui para procurar uma foto que esta no computador ou pen drive.";
    const TRect textRect = window.CalcHintRect(Screen().Width(), text);
    SetCursorPos(600, 400);
    return MedianMs(30, [&] {
        window.ActivateHint(textRect, text);
        UpdateWindow(window.Handle());
        window.ReleaseHint();
    });
}

}  // namespace

int main() {
    RegisterHintsClasses();
    TApplicationScope scope;
    std::printf("Shading a 400x120 ellipse with quHi: %.2f ms\n", ShadeMs());
    std::printf("Showing a bubble hint (ActivateHint and first paint): %.2f ms\n", ShowHintMs());
    return 0;
}
