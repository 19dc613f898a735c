// THintDesign: the component that gives every hint of the program its look (body shape, link to
// the cursor, shadow, colours, font, picture) and its timing. When the form holding it finishes
// loading at run time, it makes TNewDesign the application's hint window class and has the
// application make a new hint window; from then on TNewDesign (NewDesign.h) reads the first
// THintDesign of the main form for every hint it shows.
#pragma once

#include <memory>

#include "framework/classes/Component.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/graphics/Picture.h"
#include "hints/HintTypes.h"

class THintDesign : public TComponent {
    FV_CLASS(THintDesign, TComponent)
public:
    explicit THintDesign(TComponent* owner);
    ~THintDesign() override;
    static void Publish(TPublisher<THintDesign>& p);

    TPicture* Picture() const { return picture_.get(); }
    // Changing the font (or any part of it) re-applies it to the hint window.
    TFont* Font() const { return font_.get(); }
    bool Border() const { return border_; }
    void SetBorder(bool value) { border_ = value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value) { borderColor_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    THintPosition Position() const { return position_; }
    void SetPosition(THintPosition value) { position_ = value; }
    bool Shadow() const { return shadow_; }
    void SetShadow(bool value) { shadow_ = value; }
    TQuality ShadowQuality() const { return shadowQuality_; }
    void SetShadowQuality(TQuality value) { shadowQuality_ = value; }
    // 0 to 255; another value is ignored.
    int ShadowIntensity() const { return shadowIntensity_; }
    void SetShadowIntensity(int value);
    // 0 to 10; another value is ignored.
    int ShadowWidth() const { return shadowWidth_; }
    void SetShadowWidth(int value);
    // The application's hint pause and hint hide pause, in milliseconds (at run time only).
    int Delay() const { return delay_; }
    void SetDelay(int value);
    int HintTime() const { return hintTime_; }
    void SetHintTime(int value);
    THintStyle HintStyle() const { return hintStyle_; }
    void SetHintStyle(THintStyle value) { hintStyle_ = value; }
    TLinkStyle LinkStyle() const { return linkStyle_; }
    void SetLinkStyle(TLinkStyle value) { linkStyle_ = value; }

protected:
    void Loaded() override;

private:
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    // Has the application make its hint window anew (of the class now installed) and gives it
    // this font.
    void ApplyToHintWindow();
    void FontChanged(TObject*);

    std::unique_ptr<TPicture> picture_;
    bool border_ = true;
    TColor borderColor_ = clBlack;
    TColor color_ = clWhite;
    std::unique_ptr<TFont> font_;
    THintPosition position_ = hiTopRight;
    bool shadow_ = true;
    TQuality shadowQuality_ = quLow;
    int shadowIntensity_ = 70;
    int shadowWidth_ = 4;
    int delay_ = 500;
    THintStyle hintStyle_ = hiBubble;
    TLinkStyle linkStyle_ = liArrow;
    int hintTime_ = 3000;
};
