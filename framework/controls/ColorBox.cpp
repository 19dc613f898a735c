#include "framework/controls/ColorBox.h"

#include <algorithm>

#include "framework/graphics/GdiHandles.h"

namespace {

const TNamedColor StandardColors[] = {
    {clBlack, L"Black"}, {clMaroon, L"Maroon"}, {clGreen, L"Green"},   {clOlive, L"Olive"},
    {clNavy, L"Navy"},   {clPurple, L"Purple"}, {clTeal, L"Teal"},     {clGray, L"Gray"},
    {clSilver, L"Silver"}, {clRed, L"Red"},     {clLime, L"Lime"},     {clYellow, L"Yellow"},
    {clBlue, L"Blue"},   {clFuchsia, L"Fuchsia"}, {clAqua, L"Aqua"},   {clWhite, L"White"},
};

const TNamedColor ExtendedColors[] = {
    {clMoneyGreen, L"MoneyGreen"}, {clSkyBlue, L"SkyBlue"}, {clCream, L"Cream"}, {clMedGray, L"MedGray"},
};

const TNamedColor SystemColors[] = {
    {clActiveBorder, L"ActiveBorder"},
    {clActiveCaption, L"ActiveCaption"},
    {clAppWorkSpace, L"AppWorkSpace"},
    {clBackground, L"Background"},
    {clBtnFace, L"BtnFace"},
    {clBtnHighlight, L"BtnHighlight"},
    {clBtnShadow, L"BtnShadow"},
    {clBtnText, L"BtnText"},
    {clCaptionText, L"CaptionText"},
    {clGradientActiveCaption, L"GradientActiveCaption"},
    {clGradientInactiveCaption, L"GradientInactiveCaption"},
    {clGrayText, L"GrayText"},
    {clHighlight, L"Highlight"},
    {clHighlightText, L"HighlightText"},
    {clHotLight, L"HotLight"},
    {clInactiveBorder, L"InactiveBorder"},
    {clInactiveCaption, L"InactiveCaption"},
    {clInactiveCaptionText, L"InactiveCaptionText"},
    {clInfoBk, L"InfoBk"},
    {clInfoText, L"InfoText"},
    {clMenu, L"Menu"},
    {clMenuBar, L"MenuBar"},
    {clMenuHighlight, L"MenuHighlight"},
    {clMenuText, L"MenuText"},
    {clScrollBar, L"ScrollBar"},
    {cl3DDkShadow, L"3DDkShadow"},
    {cl3DLight, L"3DLight"},
    {clWindow, L"Window"},
    {clWindowFrame, L"WindowFrame"},
    {clWindowText, L"WindowText"},
};

}  // namespace

std::vector<TNamedColor> ColorBoxColors(TColorBoxStyles style) {
    std::vector<TNamedColor> colors;
    if (style.Contains(cbStandardColors)) colors.insert(colors.end(), std::begin(StandardColors), std::end(StandardColors));
    if (style.Contains(cbExtendedColors)) colors.insert(colors.end(), std::begin(ExtendedColors), std::end(ExtendedColors));
    if (style.Contains(cbSystemColors)) colors.insert(colors.end(), std::begin(SystemColors), std::end(SystemColors));
    return colors;
}

TColorBox::TColorBox(TComponent* owner) : TComboBox(owner) {
    SetStyle(csDropDownList);
    Rebuild();
}

void TColorBox::Publish(TPublisher<TColorBox>& p) {
    p.Property(L"Style", &TColorBox::ColorStyle, &TColorBox::SetColorStyle)
        .Default(TColorBoxStyles{cbStandardColors, cbExtendedColors, cbSystemColors});
    p.ColorProperty(L"Selected", &TColorBox::Selected, &TColorBox::SetSelected).Default(clBlack);
}

void TColorBox::CreateParams(TCreateParams& params) {
    TComboBox::CreateParams(params);
    params.Style = (params.Style & ~static_cast<DWORD>(CBS_DROPDOWN | CBS_SIMPLE | CBS_AUTOHSCROLL)) |
                   CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

void TColorBox::Loaded() {
    TComboBox::Loaded();
    Rebuild();
}

void TColorBox::SetColorStyle(TColorBoxStyles value) {
    colorStyle_ = value;
    if (!ComponentState().Contains(csLoading)) Rebuild();
}

// The list is rebuilt from the style; the selected colour survives, as a custom item at the end
// when the new list lacks it.
void TColorBox::Rebuild() {
    const TColor keep = Selected();
    const std::vector<TNamedColor> named = ColorBoxColors(colorStyle_);
    colors_.clear();
    Items()->BeginUpdate();
    Items()->Clear();
    for (const TNamedColor& c : named) {
        colors_.push_back(c.Color);
        Items()->Add(c.Name);
    }
    Items()->EndUpdate();
    selected_ = keep;
    SetSelected(keep);
}

TColor TColorBox::Colors(int index) const {
    return index >= 0 && index < ColorCount() ? colors_[static_cast<size_t>(index)] : clNone;
}

TColor TColorBox::Selected() const {
    const int index = ItemIndex();
    return index >= 0 ? Colors(index) : selected_;
}

void TColorBox::SetSelected(TColor value) {
    selected_ = value;
    auto it = std::find(colors_.begin(), colors_.end(), value);
    if (it == colors_.end()) {
        colors_.push_back(value);
        Items()->Add(ColorToString(value));
        it = colors_.end() - 1;
    }
    SetItemIndex(static_cast<int>(it - colors_.begin()));
}

void TColorBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT& r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= ColorCount()) return;
    const int index = static_cast<int>(item.itemID);

    // The swatch: a square as high as the item, framed in black.
    const int size = std::max(static_cast<int>(r.bottom - r.top) - 4, 4);
    RECT swatch{r.left + 2, r.top + 2, r.left + 2 + size, r.top + 2 + size};
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(Colors(index))));
    FillRect(dc, &swatch, brush.get());
    FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    const String name = Items()->Strings(index);
    RECT text{swatch.right + 4, r.top, r.right, r.bottom};
    SavedDCState saved(dc);
    SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_COMBOBOXEDIT) == 0) DrawFocusRect(dc, &r);
}

void TColorBox::WndProc(TMessage& message) {
    if (message.Msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    }
    if (message.Msg == CN_COMMAND && message.WParamHi() == CBN_SELCHANGE) {
        TComboBox::WndProc(message);
        if (ItemIndex() >= 0) selected_ = Colors(ItemIndex());
        return;
    }
    TComboBox::WndProc(message);
}
