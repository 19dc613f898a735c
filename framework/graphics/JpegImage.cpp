#include "framework/graphics/JpegImage.h"

#include "framework/graphics/JpegCodec.h"
#include "framework/graphics/checks/PictureLimits.h"
#include "framework/rtl/Format.h"

namespace {

[[noreturn]] void RaiseJpegError(const JpegResult& result) {
    switch (result.refusal) {
    case TJpegRefusal::Pixels: throw EJPEG(PictureLimitMessage(TPictureLimit::Pixels));
    case TJpegRefusal::Bytes: throw EJPEG(PictureLimitMessage(TPictureLimit::Bytes));
    case TJpegRefusal::Scans:
        throw EJPEG(L"The JPEG image takes more than " + IntToStr(JpegMaxScans) + L" passes to decode, the most a picture may take");
    default: throw EJPEG(L"JPEG error #" + IntToStr(result.errorCode));
    }
}

std::vector<Byte*> RowPointers(TBitmap& bitmap) {
    std::vector<Byte*> rows(bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y) rows[y] = static_cast<Byte*>(bitmap.ScanLine(y));
    return rows;
}

std::unique_ptr<TBitmap> Decode(const std::vector<Byte>& data, int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    auto rows = RowPointers(*bitmap);
    JpegResult result = JpegDecodeBgr(data.data(), data.size(), rows.data(), width, height);
    if (!result.ok) RaiseJpegError(result);
    return bitmap;
}

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::AssignGraphic(const TGraphic& source) {
    if (auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
        auto bitmap = jpeg->bitmap_ ? std::make_unique<TBitmap>() : nullptr;
        if (bitmap) bitmap->Assign(*jpeg->bitmap_);
        data_ = jpeg->data_;
        bitmap_ = std::move(bitmap);
        width_ = jpeg->width_;
        height_ = jpeg->height_;
        quality_ = jpeg->quality_;
        Changed();
        return;
    }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(source);
    bitmap->SetPixelFormat(pf24bit);
    data_.clear();
    width_ = bitmap->Width();
    height_ = bitmap->Height();
    bitmap_ = width_ ? std::move(bitmap) : nullptr;
    Changed();
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }

void TJPEGImage::SetCompressionQuality(int quality) {
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    if (quality == quality_) return;
    quality_ = quality;
    if (bitmap_) data_.clear();  // recompressed from the picture at the next save
}

TBitmap& TJPEGImage::DIBNeeded() {
    if (!bitmap_) {
        if (data_.empty()) throw EInvalidGraphicOperation(L"JPEG image is empty");
        bitmap_ = Decode(data_, width_, height_);
    }
    return *bitmap_;
}

const TBitmap& TJPEGImage::Bitmap() { return DIBNeeded(); }

void TJPEGImage::Compress() {
    if (!data_.empty() || !bitmap_) return;
    auto rows = RowPointers(*bitmap_);
    std::vector<const Byte*> constRows(rows.begin(), rows.end());
    std::vector<Byte> data;
    JpegResult result = JpegEncodeBgr(constRows.data(), width_, height_, quality_, data);
    if (!result.ok) RaiseJpegError(result);
    data_ = std::move(data);
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& r) {
    if (Empty()) return;
    DIBNeeded().Draw(canvas, r);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    const Int64 remaining = stream.Size() - stream.Position();
    std::vector<Byte> data(static_cast<size_t>(remaining > 0 ? remaining : 0));
    if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<Int64>(data.size()));
    int width = 0, height = 0;
    JpegResult header = JpegReadSize(data.data(), data.size(), &width, &height);
    if (!header.ok) RaiseJpegError(header);
    // Decoding now reports damaged data here, while the previous picture is still in place.
    auto bitmap = Decode(data, width, height);
    data_ = std::move(data);
    bitmap_ = std::move(bitmap);
    width_ = width;
    height_ = height;
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) {
    Compress();
    if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
}
