#include "export/PDFDocumentWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "export/ASCII85Encoder.h"
#include "export/LZWEncoder.h"

namespace {

class FakeFonts : public TPDFFontSource {
public:
    bool fail = false;
    int calls = 0;
    TPDFFontMetrics Metrics(const TPDFFontKey& font) override {
        ++calls;
        if (fail) throw std::runtime_error("GetFontData error");
        TPDFFontMetrics m;
        m.LastChar = 255;
        m.Widths.assign(256, 500);
        m.Ascent = 905;
        m.Descent = -212;
        m.CapHeight = 716;
        m.StemV = font.Bold ? 120 : 80;
        m.Flags = PDFFontFlags(font.Charset, false, false, false, font.Italic);
        m.FontBBox = {-665, -325, 2000, 1006};
        std::u16string values;
        for (int b = 1; b <= 255; ++b) values += static_cast<char16_t>(b == 0x80 ? 0x20AC : b);
        m.Encoding = PDFEncoding(&values);
        return m;
    }
};

TPDFItemRec Text(double x, double y, const std::string& text, bool bold = false) {
    TPDFItemRec item;
    item.X = x;
    item.Y = y;
    item.Text = text;
    item.FontName = "Arial";
    item.FontSize = 12;
    item.Bold = bold;
    return item;
}

std::string Write(const TPDFPageItems& items, TPDFFontSource& fonts) {
    TPDFDocumentInfo info;
    info.Title = "Curr\xED" "culo (v2) \\ Ana";
    info.CreationDate = PDFDate(2026, 3, 4, 5, 6, 7);
    TStringStream out;
    WritePDFDocument(items, fonts, info, out);
    return out.DataString();
}

// Each cross-reference entry must point at its object's "n 0 obj" line, and every stream's
// /Length must be the exact distance from after "stream\r\n" to "endstream".
void CheckStructure(const std::string& pdf) {
    auto xref = std::stoul(pdf.substr(pdf.rfind("startxref\r\n") + 11));
    ASSERT_EQ(pdf.compare(xref, 6, "xref\r\n"), 0);
    std::size_t at = xref + 6;
    std::size_t count = std::stoul(pdf.substr(at + 2));
    at = pdf.find("\r\n", at) + 2;
    EXPECT_EQ(pdf.substr(at, 20), "0000000000 65535 f\r\n");
    for (std::size_t object = 1; object < count; ++object) {
        std::string entry = pdf.substr(at + 20 * object, 20);
        ASSERT_EQ(entry.substr(10), " 00000 n\r\n");
        std::size_t offset = std::stoul(entry.substr(0, 10));
        EXPECT_EQ(pdf.substr(offset, std::to_string(object).size() + 6), std::to_string(object) + " 0 obj") << object;
    }
    for (std::size_t s = pdf.find("/Length "); s != std::string::npos; s = pdf.find("/Length ", s + 1)) {
        std::size_t length = std::stoul(pdf.substr(s + 8));
        std::size_t start = pdf.find("stream\r\n", s) + 8;
        EXPECT_EQ(pdf.compare(start + length, 9, "endstream"), 0);
    }
}

TEST(PDFDocumentWriter, OnePageOneFontGivesNineObjects) {
    TPDFPageItems items;
    items.StartPage(595.2, 841.9, 0);
    items.PlaceItem(Text(50, 50, "Ol\xE1"));
    items.FinishPage();
    FakeFonts fonts;
    std::string pdf = Write(items, fonts);
    CheckStructure(pdf);
    EXPECT_EQ(pdf.substr(0, 17), "%PDF-1.3\r\n%\xC5\xAD\x6F\x81\r\n");
    EXPECT_NE(pdf.find("xref\r\n0 10\r\n0000000000 65535 f\r\n0000000017 00000 n\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/Size 10\r\n/Root 1 0 R\r\n/Info 8 0 R\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/Kids [4 0 R]\r\n/MediaBox [0 0 595 841]\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/Font << \r\n  /F00 6 0 R \r\n  >>\r\n/ProcSet 9 0 R\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("stream\r\nBT\r\n0.00 0.00 0.00 rg\r\n/F00 12 Tf\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Arial\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/FontName /Arial\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/CapHeight 716\r\n/StemV 80\r\n/Flags 32\r\n/FontBBox [ -665 -325 2000 1006 ]\r\n"),
              std::string::npos);
    EXPECT_NE(pdf.find("/Differences [ 2 /space/space"), std::string::npos);
    EXPECT_NE(pdf.find("/A/B/C"), std::string::npos);
    EXPECT_NE(pdf.find("/Euro/space/"), std::string::npos) << "0x81 stays a control: space";
    EXPECT_NE(pdf.find("/CreationDate (D:20260304050607)\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/Title (Curr\xED" "culo \\(v2\\) \\\\ Ana)\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/Subject ( )\r\n/Creator (Report Engine)\r\n"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
    if (const char* path = std::getenv("FOLHAVIDA_PDF_SAMPLE")) std::ofstream(path, std::ios::binary) << pdf;
}

TEST(PDFDocumentWriter, PagesFontsAndAPicture) {
    TPDFPageItems items;
    items.StartPage(595, 842, 0);
    items.PlaceItem(Text(50, 50, "Experi\xEAncia profissional"));
    items.PlaceItem(Text(50, 80, "Forma\xE7\xE3o (2010) \\ a\xE7\xE3o", true));
    TPDFItemRec pageBreak;
    pageBreak.Kind = TPDFItemKind::PageBreak;
    items.PlaceItem(pageBreak);
    items.PlaceItem(Text(50, 50, "P\xE1gina dois"));
    // A 2 x 2 picture: red, green / blue, white.
    TMemoryStream samples, packed;
    const Byte rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    samples.WriteBuffer(rgb, sizeof rgb);
    CompressStreamLZW(samples, packed);
    EncodeASCII85(packed, samples);
    TPDFItemRec picture;
    picture.Kind = TPDFItemKind::Picture;
    picture.X = 100;
    picture.Y = 300;
    picture.Width = picture.Height = 100;
    picture.ImageWidth = picture.ImageHeight = 2;
    picture.ImageData.assign(static_cast<const char*>(samples.Memory()), static_cast<std::size_t>(samples.Size()));
    picture.FilterNames = "/ASCII85Decode /LZWDecode";
    items.PlaceItem(picture);
    // 64 x 64 samples that fill the coder's table several times over.
    TMemoryStream gradient, gradientPacked;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const Byte pixel[] = {Byte(x * 4), Byte(y * 4), Byte((x ^ y) * 4)};
            gradient.WriteBuffer(pixel, 3);
        }
    CompressStreamLZW(gradient, gradientPacked);
    EncodeASCII85(gradientPacked, gradient);
    picture.X = 300;
    picture.Width = picture.Height = 64;
    picture.ImageWidth = picture.ImageHeight = 64;
    picture.ImageData.assign(static_cast<const char*>(gradient.Memory()), static_cast<std::size_t>(gradient.Size()));
    items.PlaceItem(picture);
    items.FinishPage();
    FakeFonts fonts;
    std::string pdf = Write(items, fonts);
    CheckStructure(pdf);
    EXPECT_NE(pdf.find("/Count 2\r\n/Kids [4 0 R 6 0 R]\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Arial,Bold\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/Size 14\r\n/Root 1 0 R\r\n/Info 12 0 R"), std::string::npos);
    EXPECT_EQ(fonts.calls, 2);
    if (const char* path = std::getenv("FOLHAVIDA_PDF_SAMPLE2")) std::ofstream(path, std::ios::binary) << pdf;
}

TEST(PDFDocumentWriter, AFontThatCannotBeReadLeavesTheOutputUntouched) {
    TPDFPageItems items;
    items.StartPage(595, 842, 0);
    items.PlaceItem(Text(50, 50, "x"));
    items.FinishPage();
    FakeFonts fonts;
    fonts.fail = true;
    TStringStream out;
    EXPECT_THROW(WritePDFDocument(items, fonts, {}, out), std::runtime_error);
    EXPECT_TRUE(out.DataString().empty());
}

TEST(PDFDocumentWriter, NamesFlagsAndGlyphNames) {
    EXPECT_EQ(PDFNameText("Arial,Bold"), "Arial,Bold");
    EXPECT_EQ(PDFNameText("A(b)/c#d \xE9"), "A#28b#29#2Fc#23d#20#E9");
    EXPECT_EQ(PDFFontFlags(0, false, false, false, false), 32);
    EXPECT_EQ(PDFFontFlags(2, false, false, false, false), 4);
    EXPECT_EQ(PDFFontFlags(0, true, true, false, true), 32 | 1 | 2 | 64);
    EXPECT_EQ(PDFFontFlags(0, false, false, true, false), 32 | 8);  // a brush or chancery face
    EXPECT_EQ(PDFGlyphName(u' '), "space");
    EXPECT_EQ(PDFGlyphName(0x05), "space");
    EXPECT_EQ(PDFGlyphName(0xE7), "ccedilla");
    EXPECT_EQ(PDFGlyphName(0x391), "Alpha");
    EXPECT_EQ(PDFGlyphName(0x20AC), "Euro");
    EXPECT_EQ(PDFGlyphName(0xF8FF), "uniF8FF");
    EXPECT_EQ(PDFEncoding(nullptr), " <</Type/Encoding /BaseEncoding /WinAnsiEncoding>>");
}

}  // namespace
