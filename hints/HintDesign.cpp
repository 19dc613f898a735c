#include "hints/HintDesign.h"

#include "framework/forms/Application.h"
#include "hints/NewDesign.h"

THintDesign::THintDesign(TComponent* owner)
    : TComponent(owner), picture_(std::make_unique<TPicture>()), font_(std::make_unique<TFont>()) {
    font_->SetName(L"Arial");
    font_->SetSize(10);
    font_->SetColor(clBlack);
    font_->OnChange = TNotifyEvent(this, &THintDesign::FontChanged);
    Application().SetHintPause(delay_);
    ApplyToHintWindow();
}

THintDesign::~THintDesign() = default;

void THintDesign::Publish(TPublisher<THintDesign>& p) {
    p.Property(L"Picture", &THintDesign::Picture);
    p.Property(L"Border", &THintDesign::Border, &THintDesign::SetBorder).Default(true);
    p.ColorProperty(L"BorderColor", &THintDesign::BorderColor, &THintDesign::SetBorderColor).Default(clBlack);
    p.ColorProperty(L"Color", &THintDesign::Color, &THintDesign::SetColor).Default(clWhite);
    p.Property(L"Font", &THintDesign::Font);
    p.Property(L"Position", &THintDesign::Position, &THintDesign::SetPosition).Default(hiTopRight);
    p.Property(L"Shadow", &THintDesign::Shadow, &THintDesign::SetShadow).Default(true);
    p.Property(L"ShadowQuality", &THintDesign::ShadowQuality, &THintDesign::SetShadowQuality).Default(quLow);
    p.Property(L"ShadowIntensity", &THintDesign::ShadowIntensity, &THintDesign::SetShadowIntensity).Default(70);
    p.Property(L"ShadowWidth", &THintDesign::ShadowWidth, &THintDesign::SetShadowWidth).Default(4);
    // The pauses are always stored: reading them is what sets the application's pauses.
    p.Property(L"Delay", &THintDesign::Delay, &THintDesign::SetDelay);
    p.Property(L"HintStyle", &THintDesign::HintStyle, &THintDesign::SetHintStyle).Default(hiBubble);
    p.Property(L"linkStyle", &THintDesign::LinkStyle, &THintDesign::SetLinkStyle).Default(liArrow);
    p.Property(L"HintTime", &THintDesign::HintTime, &THintDesign::SetHintTime);
}

void THintDesign::SetShadowIntensity(int value) {
    if (value >= 0 && value <= 255) shadowIntensity_ = value;
}

void THintDesign::SetShadowWidth(int value) {
    if (value >= 0 && value <= 10) shadowWidth_ = value;
}

void THintDesign::SetDelay(int value) {
    if (Designing()) return;
    delay_ = value;
    Application().SetHintPause(value);
}

void THintDesign::SetHintTime(int value) {
    if (Designing()) return;
    hintTime_ = value;
    Application().SetHintHidePause(value);
}

void THintDesign::Loaded() {
    TComponent::Loaded();
    if (!Designing()) Application().SetHintWindowClass(TNewDesign::StaticClass());
    ApplyToHintWindow();
}

// The window is made anew directly: letting pending messages run here would run them in the
// middle of the main form's loading.
void THintDesign::ApplyToHintWindow() {
    if (Designing()) return;
    TApplication& application = Application();
    const bool showHint = application.ShowHint();
    application.SetShowHint(!showHint);
    application.SetShowHint(showHint);
    if (auto* window = dynamic_cast<TNewDesign*>(application.HintWindow())) window->Font()->Assign(*font_);
}

void THintDesign::FontChanged(TObject*) {
    // Loaded applies the font once the whole description is read.
    if (!ComponentState().Contains(csLoading)) ApplyToHintWindow();
}
