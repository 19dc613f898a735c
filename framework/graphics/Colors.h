// Colours: RGB values in the 0x00BBGGRR layout, system colours as 0x80000000 | COLOR_ index,
// and the identifiers used for colours in stored descriptions.
#pragma once

#include <cstdint>

#include "framework/rtl/System.h"

using TColor = std::int32_t;

constexpr TColor SystemColorFlag = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int index) { return SystemColorFlag | index; }

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The plain 0x00BBGGRR value to hand to GDI: system colours resolve to their current setting;
// clNone and clDefault give black, which GDI would otherwise misread as palette indexes.
std::uint32_t ColorToRGB(TColor color);

inline Byte RedOf(TColor rgb) { return static_cast<Byte>(rgb & 0xFF); }
inline Byte GreenOf(TColor rgb) { return static_cast<Byte>((rgb >> 8) & 0xFF); }
inline Byte BlueOf(TColor rgb) { return static_cast<Byte>((rgb >> 16) & 0xFF); }
constexpr TColor RGBColor(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

// Identifier <-> colour ("clBtnFace"); identifiers compare case-insensitively.
bool ColorToIdent(TColor color, String& ident);
bool IdentToColor(const String& ident, TColor& color);
// The identifier when there is one, otherwise "$00BBGGRR".
String ColorToString(TColor color);
// Accepts identifiers and integers (decimal or $hex); raises EConvertError otherwise.
TColor StringToColor(const String& text);
// Lets stored descriptions read and write colours by these identifiers (RegisterGraphicsClasses
// calls it at start-up).
void RegisterColorIdents();
