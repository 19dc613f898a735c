#include "export/PDFPageItems.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "export/PDFNumbers.h"
#include "framework/rtl/FormatSettings.h"

namespace {

using Lines = std::vector<std::string>;

TPDFItemRec Text(double x, double y, const std::string& text, const std::string& font = "Arial", bool bold = false) {
    TPDFItemRec item;
    item.Kind = TPDFItemKind::Text;
    item.X = x;
    item.Y = y;
    item.Text = text;
    item.FontName = font;
    item.FontSize = 10;
    item.Bold = bold;
    return item;
}

TPDFItemRec Shape(std::uint8_t code, bool filled, double x, double y, double width, double height, double pen = 1) {
    TPDFItemRec item;
    item.Kind = TPDFItemKind::Shape;
    item.ShapeCode = code;
    item.Filled = filled;
    item.X = x;
    item.Y = y;
    item.Width = width;
    item.Height = height;
    item.PenWidth = pen;
    item.PenColor = {255, 0, 0};
    item.FillColor = {0, 128, 255};
    return item;
}

// A page 800 points high without margin: an item's top y becomes 800 - y + 20.
TPDFPageItems OnePage() {
    TPDFPageItems items;
    items.StartPage(600, 800, 0);
    return items;
}

TEST(PDFPageItems, AnEmptyPageIsEightBytesOfContent) {
    TPDFPageItems items = OnePage();
    items.FinishPage();
    ASSERT_EQ(items.Pages().size(), 1u);
    EXPECT_EQ(items.Pages()[0].TextLines, Lines{"ET"});
    EXPECT_TRUE(items.Pages()[0].GraphicsLines.empty());
    EXPECT_EQ(items.Pages()[0].TextBytes + items.Pages()[0].GraphicsBytes + 4, 8);  // with "BT"
}

TEST(PDFPageItems, TextLinesWithColourFontPositionAndEscaping) {
    TPDFPageItems items = OnePage();
    TPDFItemRec item = Text(100.9, 50.2, "a\\b (c) \xE7");
    item.FillColor = {255, 128, 0};
    items.PlaceItem(item);
    EXPECT_EQ(items.Pages()[0].TextLines,
              (Lines{"1.00 0.50 0.00 rg", "/F00 10 Tf", " 1 0 0 1 100 769 Tm (a\\\\b \\(c\\) \xE7) Tj"}));
    EXPECT_EQ(items.Pages()[0].TextBytes, 17 + 2 + 10 + 2 + 37 + 2);
}

TEST(PDFPageItems, TextSizeKeepsUpToTwoDecimals) {
    const std::pair<double, const char*> cases[] = {
        {10, "/F00 10 Tf"}, {9.75, "/F00 9.75 Tf"}, {10.5, "/F00 10.5 Tf"}, {8.2499, "/F00 8.25 Tf"}, {11.999, "/F00 12 Tf"}};
    for (const auto& [size, line] : cases) {
        TPDFPageItems items = OnePage();
        TPDFItemRec item = Text(0, 0, "a");
        item.FontSize = size;
        items.PlaceItem(item);
        EXPECT_EQ(items.Pages()[0].TextLines[1], line);
    }
}

TEST(PDFPageItems, FontsAreNumberedInOrderOfFirstUse) {
    TPDFPageItems items = OnePage();
    items.PlaceItem(Text(0, 0, "a"));
    items.PlaceItem(Text(0, 0, "b", "Arial", true));
    items.PlaceItem(Text(0, 0, "c"));
    TPDFItemRec other = Text(0, 0, "d", " Times New Roman ");
    other.Bold = other.Italic = true;
    items.PlaceItem(other);
    const auto& lines = items.Pages()[0].TextLines;
    EXPECT_EQ(lines[1], "/F00 10 Tf");
    EXPECT_EQ(lines[4], "/F01 10 Tf");
    EXPECT_EQ(lines[7], "/F00 10 Tf");
    EXPECT_EQ(lines[10], "/F02 10 Tf");
    ASSERT_EQ(items.Fonts().size(), 3u);
    EXPECT_EQ(items.Fonts()[1].PDFName, "Arial,Bold");
    EXPECT_EQ(items.Fonts()[2].FaceName, "Times New Roman");
    EXPECT_EQ(items.Fonts()[2].PDFName, "TimesNewRoman,BoldItalic");
}

TEST(PDFPageItems, ShapesByCode) {
    struct Case { TPDFItemRec item; Lines expected; };
    const Case cases[] = {
        {Shape(pscRectangle, true, 10, 100, 50.5, 20), {"1.00 w", "0.00 0.50 1.00 rg", "10 700 50 20 re f"}},
        {Shape(pscRectangle, false, 10, 100, 50, 20, 2.5), {"2.50 w", "1.00 0.00 0.00 RG", "10 700 50 20 re s"}},
        {Shape(pscHorLine, false, 10, 100, 50, 20), {" 1 w", "1.00 0.00 0.00 RG", "10 710 m 60 710 l s"}},
        {Shape(pscVertLine, false, 10, 100, 50, 20), {" 1 w", "1.00 0.00 0.00 RG", "35 700 m 35 720 l s"}},
        {Shape(pscTopAndBottom, true, 10, 100, 50, 20),
         {" 1 w", "1.00 0.00 0.00 RG", "10 720 m 60 720 l s", "10 700 m 60 700 l s"}},
        {Shape(pscLeftAndRight, false, 10, 100, 50, 20),
         {" 1 w", "1.00 0.00 0.00 RG", "10 700 m 10 720 l s", "60 700 m 60 720 l s"}},
        {Shape(pscFallingDiagonal, false, 10, 100, 50, 20), {" 1 w", "1.00 0.00 0.00 RG", "10 720 m 60 700 l s"}},
        {Shape(pscRisingDiagonal, false, 10, 100, 50, 20), {" 1 w", "1.00 0.00 0.00 RG", "10 700 m 60 720 l s"}},
        {Shape(pscNothing, true, 10, 100, 50, 20), {}},
        {Shape(pscEllipse, false, 0, 0, 40, 20),
         {" 1 w", "1.00 0.00 0.00 RG", "  20.0  820.0 m", "31.0   820.0    40.0   815.5    40.0   810.0 c",
          "40.0   804.5    31.0   800.0    20.0   800.0 c", "9.0   800.0     0.0   804.5     0.0   810.0 c",
          "0.0   815.5     9.0   820.0    20.0   820.0 c s"}},
    };
    for (const auto& c : cases) {
        TPDFPageItems items = OnePage();
        items.PlaceItem(c.item);
        EXPECT_EQ(items.Pages()[0].GraphicsLines, c.expected) << int(c.item.ShapeCode) << " " << c.item.Filled;
    }
}

TEST(PDFPageItems, UnderlinedTextGetsARuleInItsColourUnderItsWidth) {
    struct Case {
        const char* what;
        bool underline;
        double width, position, thickness;
        Lines expected;
    };
    // The text's baseline is written at 769 (800 - 50.2 + 20, truncated), its left edge at 100.
    const Case cases[] = {
        {"plain text", false, 60, 1.5, 0.7, {}},
        {"underlined", true, 60.25, 1.5, 0.73, {"0.73 w", "0.00 0.50 0.00 RG", "100 767.5 m 160.25 767.5 l S"}},
        {"no width", true, 0, 1.5, 0.7, {}},
        {"no thickness", true, 60, 1.5, 0, {}},
    };
    for (const Case& c : cases) {
        TPDFPageItems items = OnePage();
        TPDFItemRec item = Text(100.9, 50.2, "Cursos ");
        item.FillColor = {0, 128, 0};
        item.Underline = c.underline;
        item.TextWidth = c.width;
        item.UnderlinePosition = c.position;
        item.UnderlineThickness = c.thickness;
        items.PlaceItem(item);
        EXPECT_EQ(items.Pages()[0].GraphicsLines, c.expected) << c.what;
        EXPECT_EQ(items.Pages()[0].TextLines.size(), 3u) << c.what << ": the text itself is unchanged";
    }
}

TEST(PDFPageItems, DashedShapesSetTheirPatternForTheirOwnLines) {
    struct Case {
        TPDFItemRec item;
        Lines expected;
    };
    const auto dashed = [](TPDFItemRec item, std::vector<double> dash) {
        item.Dash = std::move(dash);
        return item;
    };
    const Case cases[] = {
        {dashed(Shape(pscHorLine, false, 10, 100, 50, 20), {6.75, 4.5, 2.25, 4.5}),
         {" 1 w", "1.00 0.00 0.00 RG", "[6.75 4.5 2.25 4.5] 0 d", "10 710 m 60 710 l s", "[] 0 d"}},
        {dashed(Shape(pscRectangle, false, 10, 100, 50, 20), {13.5, 4.5}),
         {"1.00 w", "1.00 0.00 0.00 RG", "[13.5 4.5] 0 d", "10 700 50 20 re s", "[] 0 d"}},
        // A fill has no outline to dash.
        {dashed(Shape(pscRectangle, true, 10, 100, 50, 20), {13.5, 4.5}), {"1.00 w", "0.00 0.50 1.00 rg", "10 700 50 20 re f"}},
        {Shape(pscHorLine, false, 10, 100, 50, 20), {" 1 w", "1.00 0.00 0.00 RG", "10 710 m 60 710 l s"}},
    };
    for (const Case& c : cases) {
        TPDFPageItems items = OnePage();
        items.PlaceItem(c.item);
        EXPECT_EQ(items.Pages()[0].GraphicsLines, c.expected) << int(c.item.ShapeCode) << " " << c.item.Filled;
    }
}

TEST(PDFPageItems, ShapesThatWouldDrawNothingAreDropped) {
    const TPDFItemRec dropped[] = {
        Shape(pscRectangle, true, 10, 100, 0, 20), Shape(pscRectangle, false, 10, 100, 50, 0),
        Shape(pscEllipse, true, 10, 100, 0, 0), Shape(pscRectangle, false, 10, 100, 50, 20, 0),
        Shape(pscHorLine, false, 10, 100, 0, 20), Shape(pscVertLine, false, 10, 100, 50, 0),
        Shape(pscTopAndBottom, false, 10, 100, 50, 20, 0),
    };
    for (const auto& item : dropped) {
        TPDFPageItems items = OnePage();
        items.PlaceItem(item);
        EXPECT_TRUE(items.Pages()[0].GraphicsLines.empty()) << int(item.ShapeCode);
        EXPECT_EQ(items.Pages()[0].GraphicsBytes, 0);
    }
    // A filled rectangle needs no pen.
    TPDFPageItems items = OnePage();
    items.PlaceItem(Shape(pscRectangle, true, 10, 100, 50, 20, 0));
    EXPECT_EQ(items.Pages()[0].GraphicsLines.size(), 3u);
}

TEST(PDFPageItems, PicturesAreInlineImagesPlacedByTheirBottomEdge) {
    TPDFPageItems items = OnePage();
    TPDFItemRec picture;
    picture.Kind = TPDFItemKind::Picture;
    picture.X = 30;
    picture.Y = 200;  // bottom edge, from the top
    picture.Width = 90;
    picture.Height = 120;
    picture.ImageWidth = 3;
    picture.ImageHeight = 4;
    picture.ImageData = "abc\r\nde~>";
    picture.FilterNames = "/ASCII85Decode /LZWDecode";
    items.PlaceItem(picture);
    EXPECT_EQ(items.Pages()[0].GraphicsLines,
              (Lines{"q 90 0 0 120 30 620 cm", "BI", "/Width 3", "/Height 4", "/BitsPerComponent 8",
                     "/ColorSpace /DeviceRGB", "/Filter [/ASCII85Decode /LZWDecode]", "ID", "abc\r\nde~>", "EI", "Q"}));
    picture.ImageWidth = 0;
    TPDFPageItems empty = OnePage();
    empty.PlaceItem(picture);
    EXPECT_TRUE(empty.Pages()[0].GraphicsLines.empty());
}

TEST(PDFPageItems, MarginOffsetsAndPageBreaks) {
    TPDFPageItems items;
    items.StartPage(600, 800, 30, 5, 7);
    items.PlaceItem(Text(10, 100, "x"));
    TPDFItemRec pageBreak;
    pageBreak.Kind = TPDFItemKind::PageBreak;
    items.PlaceItem(pageBreak);
    items.PlaceItem(Text(10, 100, "y"));
    items.FinishPage();
    ASSERT_EQ(items.Pages().size(), 2u);
    EXPECT_EQ(items.Pages()[0].TextLines.back(), "ET");
    EXPECT_EQ(items.Pages()[0].TextLines[2], " 1 0 0 1 15 683 Tm (x) Tj");
    EXPECT_EQ(items.Pages()[1].TextLines[2], " 1 0 0 1 15 683 Tm (y) Tj");
    EXPECT_EQ(items.Pages()[1].Width, 600);
}

TEST(PDFPageItems, NumbersIgnoreTheLocale) {
    // A Brazilian locale writes "0,50" with printf; the operator lines must not change.
    const char* set = std::setlocale(LC_ALL, "pt_BR.UTF-8");
    if (!set) set = std::setlocale(LC_ALL, "Portuguese_Brazil.1252");
    // And the run-time library's own Brazilian settings, which the export must neither use nor change.
    TFormatSettings brazilian = DefaultFormatSettings();
    const TFormatSettings saved = brazilian;
    brazilian.DecimalSeparator = L',';
    SetDefaultFormatSettings(brazilian);
    TPDFPageItems items = OnePage();
    items.PlaceItem(Shape(pscRectangle, false, 10, 100, 50, 20, 0.5));
    const wchar_t separatorAfter = DefaultFormatSettings().DecimalSeparator;
    SetDefaultFormatSettings(saved);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(separatorAfter, L',');
    EXPECT_EQ(items.Pages()[0].GraphicsLines[0], "0.50 w");
    EXPECT_EQ(pdfnum::Fixed(-0.001, 4, 2), "0.00");
    EXPECT_EQ(pdfnum::Int(-12.9), "-12");
    EXPECT_EQ(pdfnum::Padded(7, 2), "07");
    EXPECT_EQ(pdfnum::Padded(123, 2), "123");
}

}  // namespace
