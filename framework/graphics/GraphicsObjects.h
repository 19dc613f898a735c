// Fonts, pens and brushes: descriptions of GDI objects that create their handle on first use
// and tell their owner (usually a canvas) about every change.
#pragma once

#include "framework/classes/Persistent.h"
#include "framework/classes/Set.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiHandles.h"

class TBitmap;

class TGraphicsObject : public TPersistent {
    FV_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
    // The handle is released only after OnChange ran, so a canvas can deselect it first.
    virtual void ReleaseHandle() {}
};

FV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
FV_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

// Character set identifiers (DEFAULT_CHARSET, ...) <-> values.
bool CharsetToIdent(int charset, String& ident);
bool IdentToCharset(const String& ident, int& charset);

class TFont : public TGraphicsObject {
    FV_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    static void Publish(TPublisher<TFont>& p);
    // Charset is stored here rather than published: descriptions name it by identifier
    // (DEFAULT_CHARSET) or number, which the integer property kind does not accept.
    void DefineProperties(TFiler& filer) override;

    void Assign(const TPersistent* source) override;
    void Assign(const TFont& source) { Assign(static_cast<const TPersistent*>(&source)); }

    const String& Name() const { return name_; }
    void SetName(const String& name);
    // Height in pixels: negative is the character height, positive the cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points, through PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset);  // 0..255
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    // Resolution Size converts with; changing it keeps Size (the height follows).
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi);

    HFONT Handle();

private:
    void ReleaseHandle() override { handle_.reset(); }

    String name_ = L"MS Sans Serif";
    int height_ = 0;
    TFontStyles style_;
    TColor color_ = clWindowText;
    int charset_ = 1;  // DEFAULT_CHARSET
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_;
    UniqueFont handle_;
};

FV_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
FV_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
        pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

class TPen : public TGraphicsObject {
    FV_CLASS(TPen, TGraphicsObject)
public:
    static void Publish(TPublisher<TPen>& p);
    void Assign(const TPersistent* source) override;
    void Assign(const TPen& source) { Assign(static_cast<const TPersistent*>(&source)); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    int Rop2() const;  // the R2_ code for Mode

    HPEN Handle();

private:
    void ReleaseHandle() override { handle_.reset(); }

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    UniquePen handle_;
};

FV_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

class TBrush : public TGraphicsObject {
    FV_CLASS(TBrush, TGraphicsObject)
public:
    static void Publish(TPublisher<TBrush>& p);
    void Assign(const TPersistent* source) override;
    void Assign(const TBrush& source) { Assign(static_cast<const TPersistent*>(&source)); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);  // a clear brush becomes solid, as painting with a colour implies
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern bitmap, not owned: it must outlive the brush's use of it. nullptr for none.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

    HBRUSH Handle();

private:
    void ReleaseHandle() override { handle_.reset(); }

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    UniqueBrush handle_;
};
