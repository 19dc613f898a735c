#include "framework/graphics/Bitmap.h"
#include "framework/graphics/checks/BmpCheck.h"
#include "framework/graphics/checks/PictureLimits.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

const wchar_t kInvalidBitmap[] = L"Bitmap image is not valid";


struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

std::vector<RGBQUAD> DefaultPalette(TPixelFormat format) {
    std::vector<RGBQUAD> palette;
    auto add = [&](int r, int g, int b) {
        palette.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
    };
    if (format == pf1bit) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (format == pf4bit) {
        static constexpr TColor vga[] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                                         clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
        for (TColor c : vga) add(RedOf(c), GreenOf(c), BlueOf(c));
    } else if (format == pf8bit) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 1; i <= 40; ++i) add(i * 255 / 41, i * 255 / 41, i * 255 / 41);
    }
    return palette;
}

int StrideFor(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

// The palette index that holds white, or the nearest to it.
Byte WhiteIndex(const std::vector<RGBQUAD>& palette) {
    int best = 0, bestSum = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        int sum = palette[i].rgbRed + palette[i].rgbGreen + palette[i].rgbBlue;
        if (sum > bestSum) bestSum = sum, best = static_cast<int>(i);
    }
    return static_cast<Byte>(best);
}

void FillWithIndex(void* bits, int stride, int height, int bitCount, Byte index) {
    Byte pattern = index;
    if (bitCount == 1) pattern = index ? 0xFF : 0x00;
    if (bitCount == 4) pattern = static_cast<Byte>((index << 4) | index);
    std::memset(bits, pattern, static_cast<size_t>(stride) * height);
}

TPixelFormat FormatForBitCount(int bitCount) {
    switch (bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 32: return pf32bit;
    default: return pf24bit;
    }
}

// Copies the image of one bitmap handle onto another through two memory DCs.
void BlitHandle(HBITMAP target, HBITMAP source, int width, int height) {
    UniqueDC targetDC(CreateCompatibleDC(nullptr));
    UniqueDC sourceDC(CreateCompatibleDC(nullptr));
    SelectionGuard t(targetDC.get(), target);
    SelectionGuard s(sourceDC.get(), source);
    SetBkColor(sourceDC.get(), RGB(255, 255, 255));
    SetTextColor(sourceDC.get(), RGB(0, 0, 0));
    BitBlt(targetDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, SRCCOPY);
}

// ---- BMP reading ----

struct LoadedDib {
    UniqueBitmap dib;
    void* bits = nullptr;
    int width = 0;
    int height = 0;
    TPixelFormat format = pf24bit;
};

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(kInvalidBitmap); }

void ReadExact(TStream& stream, void* buffer, Int64 count) {
    if (stream.Read(buffer, count) != count) InvalidBitmap();
}

LoadedDib ReadBmp(TStream& stream) {
    const Int64 start = stream.Position();
    const Int64 available = stream.Size() - start;

    Byte head[BmpHeadBytes];
    const Int64 headSize = stream.Read(head, std::clamp<Int64>(available, 0, static_cast<Int64>(sizeof head)));
    const TBmpHeaderCheck check = CheckBmpHeader(std::span<const Byte>(head, static_cast<std::size_t>(headSize)), available);
    if (!check.layout) {
        if (check.limit != TPictureLimit::None) throw EInvalidGraphic(PictureLimitMessage(check.limit));
        InvalidBitmap();
    }
    const TBmpLayout& bmp = *check.layout;
    const Int64 width = bmp.width, height = bmp.height;
    const int bitCount = bmp.bitCount;
    const Cardinal compression = bmp.compression;
    const bool topDown = bmp.topDown, core = bmp.core;
    const Cardinal colorCount = bmp.colorCount;
    const int stride = static_cast<int>(bmp.stride);
    const Int64 rawSize = bmp.stride * height;
    const Int64 dataSize = bmp.dataSize;

    stream.SetPosition(start + bmp.tableOffset);
    std::vector<RGBQUAD> palette(colorCount);
    for (auto& entry : palette) {
        Byte rgb[4] = {};
        ReadExact(stream, rgb, core ? 3 : 4);
        entry = RGBQUAD{rgb[0], rgb[1], rgb[2], 0};
    }
    stream.SetPosition(start + bmp.dataOffset);

    LoadedDib result;
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    const bool direct = compression == BI_RGB && bitCount != 16;
    result.format = FormatForBitCount(bitCount == 16 ? 24 : bitCount);
    const std::vector<RGBQUAD>* table = palette.empty() ? nullptr : &palette;
    result.dib = CreateDibSection(result.width, result.height, result.format, &result.bits, table);
    if (!result.dib) throw EOutOfMemory(L"Out of system resources");

    if (direct) {
        auto* bits = static_cast<Byte*>(result.bits);
        if (topDown) {
            for (int64_t row = 0; row < height; ++row)
                ReadExact(stream, bits + (height - 1 - row) * stride, stride);
        } else {
            ReadExact(stream, bits, rawSize);
        }
        return result;
    }

    // 16-bit, bit fields and run-length data: GDI converts them into the DIB section.
    std::vector<Byte> data(static_cast<size_t>(dataSize));
    ReadExact(stream, data.data(), dataSize);
    DibInfo source{};
    source.header.biSize = sizeof(BITMAPINFOHEADER);
    source.header.biWidth = static_cast<LONG>(width);
    source.header.biHeight = static_cast<LONG>(topDown ? -height : height);
    source.header.biPlanes = 1;
    source.header.biBitCount = static_cast<WORD>(bitCount);
    source.header.biCompression = compression;
    source.header.biSizeImage = static_cast<DWORD>(dataSize);
    source.header.biClrUsed = colorCount;
    if (compression == BI_BITFIELDS) std::memcpy(source.colors, bmp.masks, sizeof bmp.masks);
    else std::copy(palette.begin(), palette.end(), source.colors);
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!SetDIBits(dc.get(), result.dib.get(), 0, static_cast<UINT>(height), data.data(),
                   reinterpret_cast<BITMAPINFO*>(&source), DIB_RGB_COLORS))
        InvalidBitmap();
    GdiFlush();
    return result;
}

}  // namespace

int BitsPerPixel(TPixelFormat format) {
    static constexpr int bits[] = {1, 4, 8, 24, 32};
    return bits[format];
}

UniqueBitmap CreateDibSection(int width, int height, TPixelFormat format, void** bits,
                              const std::vector<RGBQUAD>* palette) {
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // bottom-up, as BMP files store rows
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(BitsPerPixel(format));
    info.header.biCompression = BI_RGB;
    std::vector<RGBQUAD> table = palette ? *palette : DefaultPalette(format);
    if (table.size() > 256) table.resize(256);
    info.header.biClrUsed = static_cast<DWORD>(table.size());
    std::copy(table.begin(), table.end(), info.colors);

    void* pixels = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!dib) return dib;
    int bitCount = BitsPerPixel(format);
    int stride = StrideFor(width, bitCount);
    if (bitCount <= 8) FillWithIndex(pixels, stride, height, bitCount, WhiteIndex(table));
    else std::memset(pixels, 0xFF, static_cast<size_t>(stride) * height);
    *bits = pixels;
    return dib;
}

// ---- canvas ----

class TBitmap::BitmapCanvas : public TCanvas {
public:
    explicit BitmapCanvas(TBitmap& owner) : owner_(owner) {}
    ~BitmapCanvas() override { FreeDC(); }
    String ClassName() const override { return L"TBitmapCanvas"; }

    // Gives the bitmap back before it is replaced or freed.
    void FreeDC() {
        if (!dc_) return;
        SetHandle(nullptr);
        if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
        oldBitmap_ = nullptr;
        dc_.reset();
    }

protected:
    void CreateHandle() override {
        UniqueDC dc(CreateCompatibleDC(nullptr));
        if (!dc) throw EOutOfMemory(L"Out of system resources");
        oldBitmap_ = owner_.dib_ ? SelectObject(dc.get(), owner_.dib_.get()) : nullptr;
        dc_ = std::move(dc);
        SetHandle(dc_.get());
    }

private:
    TBitmap& owner_;
    UniqueDC dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

// ---- TBitmap ----

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

TBitmap::~TBitmap() {
    canvas_.reset();  // deselects the bitmap before dib_ is freed
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<BitmapCanvas>(*this);
        canvas_->OnChange = TNotifyEvent(this, &TBitmap::CanvasChanged);
    }
    return *canvas_;
}

HDC TBitmap::MemoryDC() { return Canvas().Handle(); }

void TBitmap::Replace(UniqueBitmap dib, void* bits, int width, int height, TPixelFormat format) {
    if (canvas_) canvas_->FreeDC();
    dib_ = std::move(dib);
    bits_ = dib_ ? bits : nullptr;
    width_ = dib_ ? width : 0;
    height_ = dib_ ? height : 0;
    format_ = format;
}

void TBitmap::CopyImageTo(TBitmap& target, int width, int height) const {
    if (!dib_ || target.Empty()) return;
    auto& self = const_cast<TBitmap&>(*this);
    if (self.canvas_) self.canvas_->FreeDC();  // a bitmap can be selected into one DC only
    if (target.canvas_) target.canvas_->FreeDC();
    BlitHandle(target.dib_.get(), dib_.get(), std::min(width, width_), std::min(height, height_));
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > BmpMaxDimension || height > BmpMaxDimension)
        throw EInvalidGraphicOperation(L"Invalid bitmap size");
    if (width == width_ && height == height_) return;
    if (width == 0 || height == 0) {
        Replace(UniqueBitmap(), nullptr, 0, 0, format_);
        Changed();
        return;
    }
    std::vector<RGBQUAD> palette;
    if (dib_ && format_ <= pf8bit) {
        palette.resize(256);
        UniqueDC dc(CreateCompatibleDC(nullptr));
        if (canvas_) canvas_->FreeDC();
        SelectionGuard sel(dc.get(), dib_.get());
        palette.resize(GetDIBColorTable(dc.get(), 0, 256, palette.data()));
    }
    TBitmap resized;
    void* bits = nullptr;
    auto dib = CreateDibSection(width, height, format_, &bits, palette.empty() ? nullptr : &palette);
    if (!dib) throw EOutOfMemory(L"Out of system resources");
    resized.Replace(std::move(dib), bits, width, height, format_);
    CopyImageTo(resized, width, height);
    Replace(std::move(resized.dib_), resized.bits_, width, height, format_);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    if (!dib_) {
        format_ = format;
        Changed();
        return;
    }
    TBitmap converted;
    void* bits = nullptr;
    auto dib = CreateDibSection(width_, height_, format, &bits);
    if (!dib) throw EOutOfMemory(L"Out of system resources");
    converted.Replace(std::move(dib), bits, width_, height_, format);
    CopyImageTo(converted, width_, height_);
    Replace(std::move(converted.dib_), converted.bits_, width_, height_, format);
    Changed();
}

void TBitmap::SetMonochrome(bool monochrome) {
    if (monochrome) SetPixelFormat(pf1bit);
    else if (format_ == pf1bit) SetPixelFormat(pf24bit);
}

int TBitmap::BytesPerScanLine() const { return StrideFor(width_, BitsPerPixel(format_)); }

void* TBitmap::ScanLine(int y) {
    if (!dib_ || y < 0 || y >= height_) throw EInvalidGraphicOperation(L"Scan line index out of range");
    GdiFlush();  // drawing still queued by GDI must reach the bits first
    return static_cast<Byte*>(bits_) + static_cast<size_t>(height_ - 1 - y) * BytesPerScanLine();
}

void TBitmap::SetHandle(UniqueBitmap owned) {
    const HBITMAP handle = owned.get();
    if (handle == dib_.get()) {
        (void)owned.release();  // already ours: one owner must not free it
        return;
    }
    if (!handle) {
        Replace(UniqueBitmap(), nullptr, 0, 0, format_);
        Changed();
        return;
    }
    DIBSECTION ds{};
    int size = GetObjectW(handle, sizeof ds, &ds);
    if (size == 0) throw EInvalidGraphic(L"Invalid bitmap handle");
    const int bitCount = ds.dsBm.bmBitsPixel * ds.dsBm.bmPlanes;
    const bool usable = size == sizeof(DIBSECTION) && ds.dsBm.bmBits && ds.dsBmih.biHeight > 0 &&
                        ds.dsBmih.biCompression == BI_RGB &&
                        (bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32);
    if (usable) {
        Replace(std::move(owned), ds.dsBm.bmBits, ds.dsBm.bmWidth, ds.dsBm.bmHeight, FormatForBitCount(bitCount));
    } else {
        TPixelFormat format = bitCount == 1 ? pf1bit : bitCount == 32 ? pf32bit : pf24bit;
        void* bits = nullptr;
        auto dib = CreateDibSection(ds.dsBm.bmWidth, ds.dsBm.bmHeight, format, &bits);
        if (!dib) throw EOutOfMemory(L"Out of system resources");
        BlitHandle(dib.get(), handle, ds.dsBm.bmWidth, ds.dsBm.bmHeight);
        Replace(std::move(dib), bits, ds.dsBm.bmWidth, ds.dsBm.bmHeight, format);
    }
    Changed();
}

UniqueBitmap TBitmap::ReleaseHandle() {
    if (canvas_) canvas_->FreeDC();
    UniqueBitmap handle = std::move(dib_);
    Replace(UniqueBitmap(), nullptr, 0, 0, format_);
    if (handle) Changed();
    return handle;
}

TColor TBitmap::TransparentColor() {
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (Empty()) return clDefault;
    return Canvas().Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    if (mode == tmFixed && transparentColor_ == clDefault) transparentColor_ = TransparentColor();
    transparentMode_ = mode;
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) {
    if (Empty()) return;
    HDC target = canvas.Handle();
    if (&canvas == canvas_.get()) return;  // drawing a bitmap onto itself changes nothing useful
    HDC source = MemoryDC();
    if (Transparent()) {
        GdiTransparentBlt(target, r.Left, r.Top, r.Width(), r.Height(), source, 0, 0, width_, height_,
                          ColorToRGB(TransparentColor()));
        return;
    }
    int oldMode = SetStretchBltMode(target, COLORONCOLOR);
    if (GetDeviceCaps(target, TECHNOLOGY) == DT_RASDISPLAY) {
        StretchBlt(target, r.Left, r.Top, r.Width(), r.Height(), source, 0, 0, width_, height_, canvas.CopyMode());
    } else {
        // Printers and metafiles take the pixels themselves; a memory DC means nothing to them.
        DibInfo info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width_;
        info.header.biHeight = height_;
        info.header.biPlanes = 1;
        info.header.biBitCount = static_cast<WORD>(BitsPerPixel(format_));
        info.header.biCompression = BI_RGB;
        if (format_ <= pf8bit) info.header.biClrUsed = GetDIBColorTable(source, 0, 256, info.colors);
        GdiFlush();
        StretchDIBits(target, r.Left, r.Top, r.Width(), r.Height(), 0, 0, width_, height_, bits_,
                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, canvas.CopyMode());
    }
    SetStretchBltMode(target, oldMode);
}

void TBitmap::AssignGraphic(const TGraphic& source) {
    if (auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        auto& other = const_cast<TBitmap&>(*bitmap);
        if (other.Empty()) {
            Replace(UniqueBitmap(), nullptr, 0, 0, other.format_);
        } else {
            std::vector<RGBQUAD> palette;
            if (other.format_ <= pf8bit) {
                palette.resize(256);
                palette.resize(GetDIBColorTable(other.MemoryDC(), 0, 256, palette.data()));
            }
            void* bits = nullptr;
            auto dib = CreateDibSection(other.width_, other.height_, other.format_, &bits,
                                        palette.empty() ? nullptr : &palette);
            if (!dib) throw EOutOfMemory(L"Out of system resources");
            GdiFlush();
            std::memcpy(bits, other.bits_, static_cast<size_t>(other.BytesPerScanLine()) * other.height_);
            Replace(std::move(dib), bits, other.width_, other.height_, other.format_);
        }
        transparentColor_ = other.transparentColor_;
        transparentMode_ = other.transparentMode_;
        TGraphic::SetTransparent(other.Transparent());
        Changed();
        return;
    }
    auto& graphic = const_cast<TGraphic&>(source);
    TBitmap drawn(graphic.Width(), graphic.Height(), pf24bit);
    if (!drawn.Empty()) drawn.Canvas().StretchDraw(Rect(0, 0, drawn.Width(), drawn.Height()), graphic);
    drawn.canvas_.reset();
    Replace(std::move(drawn.dib_), drawn.bits_, drawn.width_, drawn.height_, pf24bit);
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    LoadedDib loaded = ReadBmp(stream);
    Replace(std::move(loaded.dib), loaded.bits, loaded.width, loaded.height, loaded.format);
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
    const int bitCount = BitsPerPixel(format_);
    std::vector<RGBQUAD> palette;
    if (dib_ && format_ <= pf8bit) {
        palette.resize(256);
        palette.resize(GetDIBColorTable(MemoryDC(), 0, 256, palette.data()));
    }
    const uint32_t imageBytes = dib_ ? static_cast<uint32_t>(BytesPerScanLine()) * height_ : 0;
    const uint32_t offset = 14 + sizeof(BITMAPINFOHEADER) + static_cast<uint32_t>(palette.size() * sizeof(RGBQUAD));

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = offset + imageBytes;
    file.bfOffBits = offset;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = height_;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bitCount);
    info.biCompression = BI_RGB;
    info.biSizeImage = imageBytes;
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780;  // 96 dpi
    info.biClrUsed = static_cast<DWORD>(palette.size());

    static_assert(sizeof(BITMAPFILEHEADER) == 14);
    stream.WriteBuffer(&file, sizeof file);
    stream.WriteBuffer(&info, sizeof info);
    if (!palette.empty()) stream.WriteBuffer(palette.data(), static_cast<Int64>(palette.size() * sizeof(RGBQUAD)));
    if (imageBytes) {
        GdiFlush();
        stream.WriteBuffer(bits_, imageBytes);
    }
}
