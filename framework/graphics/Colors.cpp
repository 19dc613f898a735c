#include "framework/graphics/Colors.h"

#include <array>

#include "framework/classes/Properties.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/WinApi.h"

namespace {

struct ColorIdent {
    TColor color;
    const wchar_t* name;
};

// Order matters for ColorToIdent: the first entry with a value wins (clGray before clDkGray).
constexpr std::array<ColorIdent, 52> kColorIdents{{
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clLtGray, L"clLtGray"},
    {clDkGray, L"clDkGray"},
    {clActiveBorder, L"clActiveBorder"},
    {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"},
    {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"},
    {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"},
    {clMenu, L"clMenu"},
    {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuText, L"clMenuText"},
    {clScrollBar, L"clScrollBar"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
}};

constexpr ColorIdent kSpecialIdents[] = {{clNone, L"clNone"}, {clDefault, L"clDefault"}};

}  // namespace

std::uint32_t ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault) return 0;
    if (color & SystemColorFlag) return GetSysColor(color & 0xFF);
    return static_cast<std::uint32_t>(color) & 0x00FFFFFF;
}

bool ColorToIdent(TColor color, String& ident) {
    for (const auto& entry : kColorIdents) {
        if (entry.color == color) {
            ident = entry.name;
            return true;
        }
    }
    for (const auto& entry : kSpecialIdents) {
        if (entry.color == color) {
            ident = entry.name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const String& ident, TColor& color) {
    for (const auto& entry : kColorIdents) {
        if (SameText(ident, entry.name)) {
            color = entry.color;
            return true;
        }
    }
    for (const auto& entry : kSpecialIdents) {
        if (SameText(ident, entry.name)) {
            color = entry.color;
            return true;
        }
    }
    return false;
}

String ColorToString(TColor color) {
    String ident;
    if (ColorToIdent(color, ident)) return ident;
    return L"$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}

TColor StringToColor(const String& text) {
    TColor color = 0;
    if (IdentToColor(text, color)) return color;
    Int64 value = 0;
    if (!TryStrToInt64(text, value) || value < INT32_MIN || value > UINT32_MAX)
        throw EConvertError(L"'" + text + L"' is not a valid colour value");
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

void RegisterColorIdents() {
    for (const auto& entry : kColorIdents) RegisterColorIdent(entry.name, entry.color);
    for (const auto& entry : kSpecialIdents) RegisterColorIdent(entry.name, entry.color);
}
