#include "framework/graphics/Icon.h"

#include <cstring>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/checks/IconCheck.h"

namespace {

const wchar_t kInvalidIcon[] = L"Icon image is not valid";
constexpr Int64 kMaxIconFileBytes = 16 * 1024 * 1024;

template <typename T>
void Append(std::vector<Byte>& out, T value) {
    const Byte* p = reinterpret_cast<const Byte*>(&value);
    out.insert(out.end(), p, p + sizeof(T));
}

}  // namespace

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(L"Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(L"Cannot change the size of an icon"); }

void TIcon::AssignGraphic(const TGraphic& source) {
    auto* other = dynamic_cast<const TIcon*>(&source);
    if (!other) AssignError(source);
    UniqueIcon copy;
    if (other->handle_) {
        copy.reset(CopyIcon(other->handle_.get()));
        if (!copy) throw EOutOfMemory(L"Out of system resources");
    }
    handle_ = std::move(copy);
    data_ = other->data_;
    width_ = other->width_;
    height_ = other->height_;
    Changed();
}

void TIcon::SetHandle(UniqueIcon owned) {
    const HICON icon = owned.get();
    int width = 0, height = 0;
    if (icon) {
        ICONINFO info{};
        if (!GetIconInfo(icon, &info)) throw EInvalidGraphic(kInvalidIcon);
        UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        GetObjectW(mask.get(), sizeof bm, &bm);
        width = bm.bmWidth;
        height = color ? bm.bmHeight : bm.bmHeight / 2;  // a monochrome icon stacks AND and XOR masks
    }
    handle_ = std::move(owned);
    data_.clear();
    width_ = width;
    height_ = height;
    Changed();
}

UniqueIcon TIcon::ReleaseHandle() {
    UniqueIcon icon = std::move(handle_);
    data_.clear();
    width_ = height_ = 0;
    if (icon) Changed();
    return icon;
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) {
    if (!handle_) return;
    DrawIconEx(canvas.Handle(), r.Left, r.Top, handle_.get(), r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream& stream) {
    const Int64 remaining = stream.Size() - stream.Position();
    if (remaining < 6 + 16 || remaining > kMaxIconFileBytes) throw EInvalidGraphic(kInvalidIcon);
    std::vector<Byte> data(static_cast<size_t>(remaining));
    stream.ReadBuffer(data.data(), remaining);

    const std::optional<TIconImage> best = ChooseIconImage(data);
    if (!best) throw EInvalidGraphic(kInvalidIcon);
    UniqueIcon icon(CreateIconFromResourceEx(data.data() + best->offset, static_cast<DWORD>(best->size), TRUE,
                                             0x00030000, best->width, best->height, LR_DEFAULTCOLOR));
    if (!icon) throw EInvalidGraphic(kInvalidIcon);
    handle_ = std::move(icon);
    data_ = std::move(data);
    width_ = best->width;
    height_ = best->height;
    Changed();
}

void TIcon::SaveToStream(TStream& stream) {
    if (!handle_) return;
    if (data_.empty()) BuildFileData();
    stream.WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
}

// One 32-bit image with its AND mask, drawn from the handle.
void TIcon::BuildFileData() {
    const int w = width_, h = height_;
    const int maskStride = ((w + 31) / 32) * 4;
    std::vector<Byte> colors(static_cast<size_t>(w) * h * 4);
    std::vector<Byte> mask(static_cast<size_t>(maskStride) * h);

    ICONINFO info{};
    if (!GetIconInfo(handle_.get(), &info)) throw EInvalidGraphic(kInvalidIcon);
    UniqueBitmap colorBitmap(info.hbmColor), maskBitmap(info.hbmMask);
    UniqueDC dc(CreateCompatibleDC(nullptr));
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } bi{};
    bi.header.biSize = sizeof(BITMAPINFOHEADER);
    bi.header.biWidth = w;
    bi.header.biHeight = h;
    bi.header.biPlanes = 1;
    bi.header.biBitCount = 32;
    if (colorBitmap) {
        GetDIBits(dc.get(), colorBitmap.get(), 0, h, colors.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    }
    bi.header.biBitCount = 1;
    bi.header.biHeight = colorBitmap ? h : 2 * h;
    std::vector<Byte> maskAll(static_cast<size_t>(maskStride) * bi.header.biHeight);
    GetDIBits(dc.get(), maskBitmap.get(), 0, bi.header.biHeight, maskAll.data(), reinterpret_cast<BITMAPINFO*>(&bi),
              DIB_RGB_COLORS);
    // Bottom-up rows: for a stacked monochrome icon the AND mask is the upper half, i.e. the last rows.
    const size_t andStart = colorBitmap ? 0 : static_cast<size_t>(maskStride) * h;
    std::memcpy(mask.data(), maskAll.data() + andStart, mask.size());

    const uint32_t imageSize = 40 + static_cast<uint32_t>(colors.size() + mask.size());
    std::vector<Byte> out;
    Append<uint16_t>(out, 0);
    Append<uint16_t>(out, 1);
    Append<uint16_t>(out, 1);
    out.push_back(static_cast<Byte>(w >= 256 ? 0 : w));
    out.push_back(static_cast<Byte>(h >= 256 ? 0 : h));
    out.push_back(0);
    out.push_back(0);
    Append<uint16_t>(out, 1);
    Append<uint16_t>(out, 32);
    Append<uint32_t>(out, imageSize);
    Append<uint32_t>(out, 22);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = 2 * h;
    header.biPlanes = 1;
    header.biBitCount = 32;
    Append(out, header);
    out.insert(out.end(), colors.begin(), colors.end());
    out.insert(out.end(), mask.begin(), mask.end());
    data_ = std::move(out);
}
