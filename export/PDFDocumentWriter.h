// The PDF 1.3 file of a collected export, written in one forward pass: catalog, outline root,
// page tree with the font resources, one page object and content stream per page, a TrueType
// font dictionary (fonts not embedded) and descriptor per font, the document information, the
// procedure set, the cross-reference table and the trailer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "export/PDFPageItems.h"
#include "framework/rtl/Streams.h"

// What the file says of one font, read from the font installed on the system. Lengths are in
// 1000 units per em.
struct TPDFFontMetrics {
    std::int32_t FirstChar = 0, LastChar = 255;
    std::vector<std::int32_t> Widths;  // one per code from FirstChar to LastChar
    std::int32_t Ascent = 0, Descent = 0, CapHeight = 0, StemV = 0;
    std::int32_t ItalicAngle = 0;  // degrees, negative leaning right
    std::int32_t Flags = 0;
    std::array<std::int32_t, 4> FontBBox{};  // min x, min y, max x, max y
    std::string Encoding;  // the /Encoding value: a name or a dictionary
};

class TPDFFontSource {
public:
    virtual ~TPDFFontSource() = default;
    // Raises when the font cannot be read.
    virtual TPDFFontMetrics Metrics(const TPDFFontKey& font) = 0;
};

struct TPDFDocumentInfo {
    std::string Subject, Creator = "Report Engine", Title, Author;
    std::string CreationDate;  // "D:YYYYMMDDHHmmSS"
};

// Writes the whole file to output. Every font is read before the first byte is written, so a
// font that cannot be read leaves the output untouched. Pages must be finished.
void WritePDFDocument(const TPDFPageItems& items, TPDFFontSource& fonts, const TPDFDocumentInfo& info,
                      TStream& output);

// "D:YYYYMMDDHHmmSS".
std::string PDFDate(int year, int month, int day, int hour, int minute, int second);
// A name's characters after the slash: delimiters, "#" and bytes outside 0x21-0x7E as "#xx".
std::string PDFNameText(const std::string& name);
// The flags of a font descriptor: Symbolic for the symbol character set, Nonsymbolic otherwise,
// with FixedPitch, Serif, Script and Italic where they apply.
std::int32_t PDFFontFlags(std::uint8_t charset, bool fixedPitch, bool serif, bool script, bool italic);
// The /Encoding dictionary for bytes 2 to 255 given their UTF-16 values (index 0 is byte 1, as
// the code page conversion gives them); without values, the WinAnsi base encoding.
std::string PDFEncoding(const std::u16string* valuesOfBytes1To255);
// The glyph name of a Unicode value: the standard name, "uniXXXX" for values without one,
// "space" for control characters.
std::string PDFGlyphName(char16_t value);
