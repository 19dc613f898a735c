// Font figures for PDF files read from the fonts installed on the system: the two TrueType
// tables the descriptor needs, fetched by tag, the outline metrics and advance widths at an em
// of 1000 units, and the encoding of the character set the system actually gave the font.
#pragma once

#include <cstdint>
#include <optional>

#include "export/PDFDocumentWriter.h"
#include "framework/rtl/System.h"
#include "framework/rtl/WinApi.h"

// Advance widths that the system would not measure.
FV_DECLARE_EXCEPTION(ERangeError, Exception);

// The Windows code page of a character set's single-byte text (1 for the OEM set: the system's
// OEM code page; 1252 for the ANSI set and every set without a page of its own).
unsigned CodePageOfCharset(std::uint8_t charset);

class TPDFWindowsFontSource : public TPDFFontSource {
public:
    // Raises EQRError "GetFontData error" for a font without TrueType tables (a bitmap or
    // PostScript font), ERangeError when its widths cannot be measured.
    TPDFFontMetrics Metrics(const TPDFFontKey& font) override;
};

// The underline of the font selected into dc as fractions of its em: the rule's centre below the
// baseline and its thickness, from the face's "post" table. Nothing for a face without one.
struct TFontUnderline {
    double Position = 0;
    double Thickness = 0;
};
std::optional<TFontUnderline> SelectedFontUnderline(HDC dc);
