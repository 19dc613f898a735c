// Push buttons with a glyph (TBitBtn): the system button draws nothing, the control paints face,
// glyph and caption itself (owner draw), so the skin engine can take the painting over.
#pragma once

#include <memory>

#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Bitmap.h"

FV_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
FV_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)

class TBitBtn : public TButton {
    FV_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    static void Publish(TPublisher<TBitBtn>& p);

    // A standard kind sets the caption, modal result and Default/Cancel of that kind.
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind value);
    // A strip of NumGlyphs images: up, disabled, pressed, down. The colour of the bottom-left
    // pixel is transparent.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const TBitmap& glyph) { glyph_->Assign(glyph); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // Distance from the edge to the glyph; -1 centres glyph and caption together.
    int Margin() const { return margin_; }
    void SetMargin(int value);
    // Distance between glyph and caption; -1 spreads them evenly.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    virtual void DrawButton(HDC dc, const TRect& rect, bool pressed, bool focused);

private:
    void GlyphChanged(TObject*) { Invalidate(); }
    void DrawGlyph(HDC dc, int x, int y, int index);

    TBitBtnKind kind_ = bkCustom;
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool isDefault_ = false;
};
