// Panels, bevels and images: controls that paint themselves.
#pragma once

#include <memory>

#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Picture.h"

FV_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)

// A container with optional raised or lowered edges and a caption.
class TPanel : public TCustomControl {
    FV_CLASS(TPanel, TCustomControl)
public:
    explicit TPanel(TComponent* owner);
    static void Publish(TPublisher<TPanel>& p);

    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void SetText(const String& text) override;

protected:
    void Paint() override;
    void AlignControls(TRect& rect) override;

private:
    int EdgeWidth() const;

    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

FV_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
FV_ENUM(TBevelStyle, bsLowered, bsRaised)

// Lines and frames in the 3-D style.
class TBevel : public TGraphicControl {
    FV_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    static void Publish(TPublisher<TBevel>& p);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// A picture drawn at its size (top-left, or centred), or stretched over the control.
class TImage : public TGraphicControl {
    FV_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    static void Publish(TPublisher<TImage>& p);

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture& picture) { picture_->Assign(picture); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    // Keeps the picture's proportions when stretching.
    bool Proportional() const { return proportional_; }
    void SetProportional(bool value);
    // Where the picture is drawn, in client coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);

    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
};
