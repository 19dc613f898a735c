// The pages of a PDF export as content-stream text, collected in memory until the file is
// written: every text, shape and picture item becomes operator lines of its page, and each
// page keeps the byte counts the file needs for its content length. Positions arrive in points
// from the top of the page; the lines count upward from the bottom, as PDF does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPDFRGB {
    std::uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TPDFRGB&) const = default;
};

enum class TPDFItemKind : std::uint8_t { Text = 1, PageBreak = 2, Shape = 3, Picture = 4 };

// Drawing codes of shape items.
enum TPDFShapeCode : std::uint8_t {
    pscRectangle = 0, pscEllipse = 1, pscHorLine = 2, pscVertLine = 3, pscNothing = 4,
    pscTopAndBottom = 5, pscLeftAndRight = 6, pscFallingDiagonal = 7, pscRisingDiagonal = 8,
};

struct TPDFItemRec {
    TPDFItemKind Kind = TPDFItemKind::Text;
    double X = 0;
    double Y = 0;  // the top edge for text and shapes, the bottom edge for pictures
    std::string FontName;
    std::string Text;  // bytes in the code page of Charset
    std::uint8_t Charset = 0;
    double FontSize = 0;  // the size the text is set in, in points
    bool Bold = false, Italic = false;
    bool Filled = false;
    double Width = 0, Height = 0;
    double PenWidth = 0;
    double ScaleX = 1, ScaleY = 1;
    std::string ImageData;
    std::string FilterNames;
    std::uint8_t ShapeCode = pscRectangle;
    std::int32_t ImageWidth = 0, ImageHeight = 0;
    TPDFRGB PenColor;
    TPDFRGB FillColor;  // also the colour of text
    // An underlined text: the rule spans the text's width, its centre lies UnderlinePosition
    // below the baseline, all in points, drawn in the text's colour.
    bool Underline = false;
    double TextWidth = 0;
    double UnderlinePosition = 0, UnderlineThickness = 0;
    // A stroked shape's dash pattern: lengths in points, on and off in turn; empty for a solid line.
    std::vector<double> Dash;
};

struct TPDFPage {
    double Width = 0, Height = 0;  // points
    std::vector<std::string> GraphicsLines;
    std::vector<std::string> TextLines;  // ends with "ET" once the page is finished
    std::int32_t GraphicsBytes = 0;      // each line's bytes plus its CR LF
    std::int32_t TextBytes = 0;
};

// One font as the file names it: face, styles, character set and the PDF font name.
struct TPDFFontKey {
    std::string FaceName;
    bool Bold = false, Italic = false;
    std::uint8_t Charset = 0;
    std::string PDFName;
    bool operator==(const TPDFFontKey&) const = default;
};

class TPDFPageItems {
public:
    static constexpr double kVerticalAdjustment = 20;

    // Opens a page of the given size in points; the top margin and the offsets are added to
    // every item placed on it. A page still open is finished first.
    void StartPage(double width, double height, double topMargin, double leftOffset = 0, double topOffset = 0);
    // Appends the page's "ET"; the byte counts are then final.
    void FinishPage();
    bool PageOpen() const { return pageOpen_; }

    // Adds the margin and offsets and emits the item on the open page (a page break finishes
    // it and opens the next one of the same size). Items that would draw nothing are dropped:
    // shapes and pictures without area, stroked shapes of zero line width.
    void PlaceItem(TPDFItemRec item);

    const std::vector<TPDFPage>& Pages() const { return pages_; }
    // In order of first use: the position is the font's number (resource F00, F01, ...).
    const std::vector<TPDFFontKey>& Fonts() const { return fonts_; }

    // The PDF name of a face: blanks removed, ",Bold", ",Italic" or ",BoldItalic" appended.
    static std::string PDFFontName(const std::string& faceName, bool bold, bool italic);
    // A literal string's body: backslashes doubled, parentheses escaped.
    static std::string EscapeText(const std::string& text);
    static std::string ColorOperands(TPDFRGB color);

private:
    void EmitItem(const TPDFItemRec& item);
    void EmitText(const TPDFItemRec& item);
    void EmitUnderline(const TPDFItemRec& item);
    void EmitShape(const TPDFItemRec& item);
    // The lines of a shape, after its width, colour and dash pattern.
    void EmitOutline(const TPDFItemRec& item);
    void EmitPicture(const TPDFItemRec& item);
    std::size_t FontNumber(const TPDFItemRec& item);
    void AddTextLine(std::string line);
    void AddGraphicsLine(std::string line);

    std::vector<TPDFPage> pages_;
    std::vector<TPDFFontKey> fonts_;
    bool pageOpen_ = false;
    double topMargin_ = 0, leftOffset_ = 0, topOffset_ = 0;
};
