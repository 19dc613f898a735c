#include "skin/SkinElements.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "framework/graphics/Colors.h"
#include "framework/rtl/Streams.h"
#include "skin/SkinBitmapUtils.h"
#include "skin/SkinPrimitives.h"
#include "skin/SkinRead.h"

namespace {

// A combo box cell of the derived strips, and the arrow square cut from each.
constexpr int kComboCellWidth = 50;
constexpr int kComboCellHeight = 21;
constexpr int kComboArrowSize = 17;

TRect Margins(const TSkinElement& element) {
    return Rect(element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight);
}

void FillSolid(TBitmap& bitmap, const TRect& rect, TColor color) {
    const UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    FillRect(bitmap.Canvas().Handle(), &r, brush.get());
}

void LoadResourceImage(const std::string& name, TBitmap& target) {
    const std::wstring wide(name.begin(), name.end());
    UniqueBitmap handle(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), wide.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    target.SetHandle(std::move(handle));  // none: the image stays empty
}

void LoadEntryImage(const TSkinReader& archive, const TSkinImage& image, TBitmap& target) {
    TMemoryStream bytes;
    archive.ExtractByName(image.Entry, bytes);
    if (bytes.Size() == 0) return;
    bytes.SetPosition(0);
    TBitmap whole;
    whole.LoadFromStream(bytes);
    if (image.Left == 0 && image.Width == whole.Width() && image.Height == whole.Height()) {
        target.Assign(whole);
        return;
    }
    // Some of its columns (the MDI buttons share one strip).
    TBitmap part(image.Width, image.Height, pf24bit);
    BitBlt(part.Canvas().Handle(), 0, 0, image.Width, image.Height, whole.Canvas().Handle(), image.Left, 0, SRCCOPY);
    target.Assign(part);
}

}  // namespace

void LoadSkinImage(const TSkinReader& archive, const TSkinImage& image, TBitmap& target) {
    target.SetHandle(UniqueBitmap());
    if (image.Empty() || image.Width <= 0 || image.Height <= 0) return;
    try {
        if (image.Resource) LoadResourceImage(image.Entry, target);
        else LoadEntryImage(archive, image, target);
    } catch (const std::exception&) {
        // A skin is outside input: what the reader refuses is no image.
        target.SetHandle(UniqueBitmap());
    }
}

TSkinElements::TSkinElements() {
    ComboxArrow.Name = "ComboxArrow";
    ToolbarGradient.Name = "Toolbar";
}

TSkinElementBitmaps& TSkinElements::Images(const TSkinElement& element) {
    std::unique_ptr<TSkinElementBitmaps>& images = images_[&element];
    if (!images) images = std::make_unique<TSkinElementBitmaps>();
    return *images;
}

void TSkinElements::Load(TSkinDescription description, const TSkinReader& archive) {
    // The arrow and the gradient outlive a skin; every other element is the new description's.
    std::unique_ptr<TSkinElementBitmaps> arrow = std::move(images_[&ComboxArrow]);
    std::unique_ptr<TSkinElementBitmaps> gradient = std::move(images_[&ToolbarGradient]);
    images_.clear();
    images_[&ComboxArrow] = std::move(arrow);
    images_[&ToolbarGradient] = std::move(gradient);
    description_ = std::move(description);

    TSkinDescription& d = description_;
    auto load = [&](const TSkinElement& element, const TSkinImage& image, TBitmap TSkinElementBitmaps::*slot) {
        LoadSkinImage(archive, image, Images(element).*slot);
    };
    auto plain = [&](const TSkinElement& element) { load(element, element.Image, &TSkinElementBitmaps::Bitmap); };
    auto border = [&](const TSkinBorderElement& element) {
        plain(element);
        load(element, element.Image2, &TSkinElementBitmaps::Bitmap2);
    };
    auto optionalPlain = [&](const auto& element) {
        if (element) plain(*element);
    };
    auto optionalBorder = [&](const std::optional<TSkinBorderElement>& element) {
        if (element) border(*element);
    };

    for (const TSkinBorderElement* piece : {&d.BorderLeft, &d.BorderRight, &d.BorderTop, &d.BorderBottom}) border(*piece);
    plain(d.Title);
    plain(d.Buttons);
    load(d.Buttons, d.Buttons.CheckImage, &TSkinElementBitmaps::CheckBitmap);
    load(d.Buttons, d.Buttons.RadioImage, &TSkinElementBitmaps::RadioBitmap);
    for (const TSkinSysButtonElement& button : d.SysButtons) plain(button);
    for (const std::optional<TSkinBorderElement>* element : {&d.Progress, &d.Tabs, &d.UpDownHorz, &d.UpDownVert})
        optionalBorder(*element);
    optionalPlain(d.GroupBox);
    for (const std::optional<TSkinElement>* element :
         {&d.ProgressChunk, &d.MenuBar, &d.GroupBoxEdge, &d.StatusBarEdges, &d.TabPane, &d.ToolBars, &d.SunkEdge,
          &d.ExtraImages, &d.Headerbar, &d.MenuItem, &d.MenuBackground, &d.Scrollbar, &d.HorzScroll, &d.VertScroll,
          &d.HorzScrollThumb, &d.VertScrollThumb, &d.TrackThumbHorz, &d.TrackThumbVert, &d.TrackThumbLeft,
          &d.TrackThumbRight, &d.TrackThumbUp, &d.TrackThumbDown})
        optionalPlain(*element);
    plain(d.Track);
    plain(d.TrackVert);
    // The combo button's second image is its first turned left to right, drawn for a control
    // laid out right to left.
    if (d.ComboButton) {
        TSkinElementBitmaps& combo = Images(*d.ComboButton);
        plain(*d.ComboButton);
        if (!combo.Bitmap.Empty()) {
            combo.Bitmap2.Assign(combo.Bitmap);
            MirrorBitmap(combo.Bitmap2);  // made 24-bit on the way
        }
    }

    BuildComboImages();
    BuildComboArrow();
    titleColour_ = ReadTitleColour();
    BuildToolbarGradient();
    faceBrush_.reset(CreateSolidBrush(ColorToRGB(d.Colours.ButtonFace)));
}

// A skin with a sunken edge draws a combo box as one image per state: the edge with the button
// on its right and a transparent hole where the text goes. The combo button and the sunken edge
// (turned, for right to left) then both draw from that strip.
void TSkinElements::BuildComboImages() {
    TSkinDescription& d = description_;
    if (!d.SunkEdge || !d.ComboButton) return;
    TSkinElement& sunk = *d.SunkEdge;
    TSkinBorderElement& combo = *d.ComboButton;
    TBitmap& sunkImage = Images(sunk).Bitmap;
    TBitmap& comboImage = Images(combo).Bitmap;
    TSkinElementBitmaps* extra = d.ExtraImages ? &Images(*d.ExtraImages) : nullptr;
    const int button = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int n = std::max(sunk.Frame, 1);

    TBitmap strip(kComboCellWidth * n, kComboCellHeight, pf24bit);
    FillSolid(strip, Rect(0, 0, strip.Width(), strip.Height()), clFuchsia);
    const TRect cell = Rect(0, 0, kComboCellWidth, kComboCellHeight);
    const TRect buttonPart = Rect(kComboCellWidth - button, 0, kComboCellWidth, kComboCellHeight);
    for (int k = 1; k <= n; ++k) {
        TBitmap scratch(kComboCellWidth, kComboCellHeight, pf24bit);
        const HDC dc = scratch.Canvas().Handle();
        DrawSkinImage(dc, cell, sunkImage, Margins(sunk), k, n, sunk.Trans == 1, sunk.Tile == 1, false);
        DrawSkinImage(dc, buttonPart, comboImage, Margins(combo), k, combo.Frame, true, combo.Tile == 1, false);
        if (extra) DrawSkinFrameCentered(dc, buttonPart, extra->Bitmap, k, d.ExtraImages->Frame, true);
        FillSolid(scratch, Rect(2, 2, kComboCellWidth - 1 - button, 18), clFuchsia);
        BitBlt(strip.Canvas().Handle(), kComboCellWidth * (k - 1), 0, kComboCellWidth, kComboCellHeight, dc, 0, 0,
               SRCCOPY);
    }

    combo.Style = 2;
    combo.TopHeight = sunk.TopHeight;
    combo.BottomHeight = sunk.BottomHeight;
    combo.LeftWidth = 2;
    combo.RightWidth = button + 2;
    combo.Image = TSkinImage{combo.Image.Entry, false, 0, strip.Width(), strip.Height()};
    comboImage.Assign(strip);

    sunkImage.Assign(strip);
    MirrorBitmap(sunkImage);
    sunk.Image = combo.Image;
    sunk.LeftWidth = button + 2;
    sunk.RightWidth = 2;
}

void TSkinElements::BuildComboArrow() {
    const TSkinDescription& d = description_;
    if (!d.ComboButton) return;  // the arrow stays as it was
    TBitmap& arrow = Images(ComboxArrow).Bitmap;
    TBitmap& comboImage = Images(*d.ComboButton).Bitmap;
    if (!d.SunkEdge) {
        // The button's own image, magenta taking the face colour instead of showing through.
        arrow.Assign(comboImage);
        ReplaceKeyColor(arrow, static_cast<TColor>(ColorToRGB(d.Colours.ButtonFace)));
        ComboxArrow.Frame = d.ComboButton->Frame;
        return;
    }
    if (d.ComboButton->Style != 2) return;
    // The arrow square out of each cell of the combo strip, at the right of the cell.
    const int n = std::max(d.SunkEdge->Frame, 1);
    const int cell = comboImage.Width() / n;
    TBitmap strip(kComboArrowSize * n, kComboArrowSize, pf24bit);
    if (!comboImage.Empty()) {
        for (int i = 0; i < n; ++i)
            BitBlt(strip.Canvas().Handle(), kComboArrowSize * i, 0, kComboArrowSize, kComboArrowSize,
                   comboImage.Canvas().Handle(), cell * (i + 1) - 19, 2, SRCCOPY);
    }
    arrow.Assign(strip);
    ComboxArrow.Frame = n;
}

TColor TSkinElements::ReadTitleColour() {
    const TSkinBorderElement& top = description_.BorderTop;
    TBitmap& image = Images(top).Bitmap;
    if (image.Empty()) return description_.Colours.ButtonFace;
    const int frameHeight = image.Height() / std::max(top.Frame, 1);
    return image.Canvas().Pixels(image.Width() / 3, frameHeight / 3);
}

// Tool bars are shaded from a light face at the top to a darkened title colour at the bottom;
// a strongly coloured title is lightened instead, so the bar does not turn garish.
void TSkinElements::BuildToolbarGradient() {
    const TColor title = titleColour_;
    TColor bottom = BlendColors(0x808080, title, 150);
    const TColor top = BlendColors(description_.Colours.ButtonFace, clWhite, 150);
    const int saturation = ColorSaturationLevel(static_cast<TColor>(ColorToRGB(title)));
    if (saturation > 110) bottom = BlendColors(title, clWhite, (225 - saturation) * 25 / 140 + 50);
    TBitmap gradient(10, 40, pf24bit);
    GradientFillRect(gradient.Canvas().Handle(), Rect(0, 0, 10, 40), top, true, bottom);
    Images(ToolbarGradient).Bitmap.Assign(gradient);
    ToolbarGradient.Frame = 1;
}
