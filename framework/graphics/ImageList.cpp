#include "framework/graphics/ImageList.h"

#include "framework/graphics/Bitmap.h"

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::Publish(TPublisher<TImageList>& p) {
    p.Property(L"Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
    p.Property(L"Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
}

void TImageList::Recreate() {
    handle_.reset();
    OnChange(this);
}

void TImageList::SetWidth(int width) {
    if (width <= 0 || width == width_) return;
    width_ = width;
    Recreate();
}

void TImageList::SetHeight(int height) {
    if (height <= 0 || height == height_) return;
    height_ = height;
    Recreate();
}

HIMAGELIST TImageList::Handle() {
    if (!handle_) {
        handle_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
        if (!handle_) throw EOutOfMemory(L"Out of system resources");
    }
    return handle_.get();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_.get()) : 0; }

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    if (image.Empty()) return -1;
    // The list blackens masked pixels of the bitmap it is given, and wants it in no DC: use a copy.
    TBitmap copy;
    copy.Assign(image);
    copy.SetPixelFormat(pf24bit);
    const UniqueBitmap strip = copy.ReleaseHandle();
    int first = ImageList_AddMasked(Handle(), strip.get(), ColorToRGB(maskColor));
    if (first < 0) throw EInvalidOperation(L"Failed to add an image to the image list");
    OnChange(this);
    return first;
}

void TImageList::Clear() {
    if (handle_) ImageList_RemoveAll(handle_.get());
    OnChange(this);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= Count()) return;
    canvas.Changing();
    HDC dc = canvas.Handle();
    if (enabled) ImageList_Draw(handle_.get(), index, dc, x, y, ILD_NORMAL);
    else DrawDisabled(dc, x, y, index);
    canvas.Changed();
}

void TImageList::DrawDisabled(HDC dc, int x, int y, int index) {
    // A monochrome silhouette: white where the image is, black where it is transparent.
    UniqueBitmap silhouette(CreateBitmap(width_, height_, 1, 1, nullptr));
    UniqueDC maskDC(CreateCompatibleDC(nullptr));
    SelectionGuard selected(maskDC.get(), silhouette.get());
    PatBlt(maskDC.get(), 0, 0, width_, height_, WHITENESS);
    ImageList_Draw(handle_.get(), index, maskDC.get(), 0, 0, ILD_MASK);
    PatBlt(maskDC.get(), 0, 0, width_, height_, DSTINVERT);

    // Paints the brush where the silhouette is white and keeps the destination elsewhere.
    constexpr DWORD kPaintWhereSourceSet = 0x00E20746;
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    auto paint = [&](int dx, int dy, TColor color) {
        UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
        SelectionGuard brushSelected(dc, brush.get());
        BitBlt(dc, x + dx, y + dy, width_, height_, maskDC.get(), 0, 0, kPaintWhereSourceSet);
    };
    paint(1, 1, clBtnHighlight);
    paint(0, 0, clBtnShadow);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}
