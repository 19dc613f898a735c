#include "framework/graphics/GraphicsObjects.h"

#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/rtl/StringUtils.h"
#include "framework/graphics/ScreenMetrics.h"

namespace {
struct CharsetIdent {
    int charset;
    const wchar_t* name;
};
constexpr CharsetIdent kCharsets[] = {
    {0, L"ANSI_CHARSET"},         {1, L"DEFAULT_CHARSET"},    {2, L"SYMBOL_CHARSET"},
    {77, L"MAC_CHARSET"},         {128, L"SHIFTJIS_CHARSET"}, {129, L"HANGEUL_CHARSET"},
    {130, L"JOHAB_CHARSET"},      {134, L"GB2312_CHARSET"},   {136, L"CHINESEBIG5_CHARSET"},
    {161, L"GREEK_CHARSET"},      {162, L"TURKISH_CHARSET"},  {163, L"VIETNAMESE_CHARSET"},
    {177, L"HEBREW_CHARSET"},     {178, L"ARABIC_CHARSET"},   {186, L"BALTIC_CHARSET"},
    {204, L"RUSSIAN_CHARSET"},    {222, L"THAI_CHARSET"},     {238, L"EASTEUROPE_CHARSET"},
    {255, L"OEM_CHARSET"},
};
}  // namespace

bool CharsetToIdent(int charset, String& ident) {
    for (const auto& entry : kCharsets) {
        if (entry.charset == charset) {
            ident = entry.name;
            return true;
        }
    }
    return false;
}

bool IdentToCharset(const String& ident, int& charset) {
    for (const auto& entry : kCharsets) {
        if (SameText(ident, entry.name)) {
            charset = entry.charset;
            return true;
        }
    }
    return false;
}

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
    ReleaseHandle();
}


// ---- TFont ----

TFont::TFont() : pixelsPerInch_(ScreenMetrics::PixelsPerInch()) {
    if (pixelsPerInch_ <= 0) pixelsPerInch_ = 96;
    height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::Publish(TPublisher<TFont>& p) {
    p.ColorProperty(L"Color", &TFont::Color, &TFont::SetColor);
    p.Property(L"Height", &TFont::Height, &TFont::SetHeight);
    p.Property(L"Name", &TFont::Name, &TFont::SetName);
    p.Property(L"Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    p.Property(L"Size", &TFont::Size, &TFont::SetSize).Stored(false);
    p.Property(L"Style", &TFont::Style, &TFont::SetStyle).Default(TFontStyles{});
}

void TFont::DefineProperties(TFiler& filer) {
    TGraphicsObject::DefineProperties(filer);
    filer.DefineProperty(
        L"Charset",
        [this](TReader& reader) {
            if (reader.NextValue() != TValue::vaIdent) return SetCharset(static_cast<int>(reader.ReadInteger()));
            String ident = reader.ReadIdent();
            int charset = 0;
            if (!IdentToCharset(ident, charset)) throw EReadError(L"Unknown character set " + ident);
            SetCharset(charset);
        },
        [this](TWriter& writer) {
            String ident;
            if (CharsetToIdent(charset_, ident)) writer.WriteIdent(ident);
            else writer.WriteInteger(charset_);
        },
        true);
}

void TFont::Assign(const TPersistent* sourceObject) {
    auto* font = dynamic_cast<const TFont*>(sourceObject);
    if (!font) return TGraphicsObject::Assign(sourceObject);
    if (font == this) return;
    const TFont& source = *font;
    name_ = source.name_;
    // Carry the size over, not the pixel height: a printer font keeps its point size.
    height_ = source.pixelsPerInch_ == pixelsPerInch_
                  ? source.height_
                  : MulDiv(source.height_, pixelsPerInch_, source.pixelsPerInch_);
    style_ = source.style_;
    color_ = source.color_;
    charset_ = source.charset_;
    pitch_ = source.pitch_;
    Changed();
}

void TFont::SetName(const String& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    // The colour is applied with SetTextColor, not part of the handle; still a change.
    Changed();
}

void TFont::SetCharset(int charset) {
    charset &= 0xFF;
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi <= 0 || ppi == pixelsPerInch_) return;
    int size = Size();
    pixelsPerInch_ = ppi;
    height_ = -MulDiv(size, ppi, 72);
    Changed();
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.reset(CreateFontIndirectW(&lf));
    }
    return handle_.get();
}

// ---- TPen ----

void TPen::Publish(TPublisher<TPen>& p) {
    p.ColorProperty(L"Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
    p.Property(L"Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
    p.Property(L"Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    p.Property(L"Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::Assign(const TPersistent* sourceObject) {
    auto* pen = dynamic_cast<const TPen*>(sourceObject);
    if (!pen) return TGraphicsObject::Assign(sourceObject);
    if (pen == this) return;
    const TPen& source = *pen;
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    mode_ = source.mode_;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width < 0) width = 0;
    if (width == width_) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    Changed();
}

int TPen::Rop2() const {
    static constexpr int codes[] = {R2_BLACK,       R2_WHITE,       R2_NOP,         R2_NOT,
                                    R2_COPYPEN,     R2_NOTCOPYPEN,  R2_MERGEPENNOT, R2_MASKPENNOT,
                                    R2_MERGENOTPEN, R2_MASKNOTPEN,  R2_MERGEPEN,    R2_NOTMERGEPEN,
                                    R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,      R2_NOTXORPEN};
    return codes[mode_];
}

HPEN TPen::Handle() {
    if (!handle_) {
        static constexpr int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.reset(CreatePen(styles[style_], width_, ColorToRGB(color_)));
    }
    return handle_.get();
}

// ---- TBrush ----

void TBrush::Publish(TPublisher<TBrush>& p) {
    p.ColorProperty(L"Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
    p.Property(L"Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Assign(const TPersistent* sourceObject) {
    auto* brush = dynamic_cast<const TBrush*>(sourceObject);
    if (!brush) return TGraphicsObject::Assign(sourceObject);
    if (brush == this) return;
    const TBrush& source = *brush;
    color_ = source.color_;
    style_ = source.style_;
    bitmap_ = source.bitmap_;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
    if (bitmap == bitmap_) return;
    bitmap_ = bitmap;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (!handle_) {
        if (bitmap_ && !bitmap_->Empty()) {
            handle_.reset(CreatePatternBrush(bitmap_->Handle()));
        } else if (style_ == bsClear) {
            handle_.reset(static_cast<HBRUSH>(nullptr));
            return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        } else if (style_ == bsSolid) {
            handle_.reset(CreateSolidBrush(ColorToRGB(color_)));
        } else {
            static constexpr int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
            handle_.reset(CreateHatchBrush(hatches[style_], ColorToRGB(color_)));
        }
    }
    return handle_.get();
}
