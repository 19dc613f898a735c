#include "export/PDFPageItems.h"

#include <algorithm>
#include <cmath>

#include "export/PDFNumbers.h"

namespace {

std::string Trim(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string QuarterEllipseCurve(double x0, double y0, double x1, double y1, double rx, double ry) {
    const double kx = rx * 0.55229, ky = ry * 0.55229;
    double c1x, c1y, c2x, c2y;
    if (x0 < x1 && y0 < y1) { c1x = x0; c1y = y0 + ky; c2x = x1 - kx; c2y = y1; }
    else if (x0 < x1) { c1x = x0 + kx; c1y = y0; c2x = x1; c2y = y1 + ky; }
    else if (y0 < y1) { c1x = x0 - kx; c1y = y0; c2x = x1; c2y = y1 - ky; }
    else { c1x = x0; c1y = y0 - ky; c2x = x1 + kx; c2y = y1; }
    std::string line;
    for (double v : {c1x, c1y, c2x, c2y, x1, y1}) {
        line += ' ';
        line += pdfnum::Fixed(v, 6, 1);
        line += ' ';
    }
    return Trim(line) + " c";
}

std::string Segment(double x0, double y0, double x1, double y1) {
    using pdfnum::Int;
    return Int(x0) + " " + Int(y0) + " m " + Int(x1) + " " + Int(y1) + " l s";
}

}  // namespace

void TPDFPageItems::StartPage(double width, double height, double topMargin, double leftOffset, double topOffset) {
    if (pageOpen_) FinishPage();
    TPDFPage page;
    page.Width = width;
    page.Height = height;
    pages_.push_back(std::move(page));
    topMargin_ = topMargin;
    leftOffset_ = leftOffset;
    topOffset_ = topOffset;
    pageOpen_ = true;
}

void TPDFPageItems::FinishPage() {
    if (!pageOpen_) return;
    AddTextLine("ET");
    pageOpen_ = false;
}

void TPDFPageItems::PlaceItem(TPDFItemRec item) {
    if (!pageOpen_) StartPage(595, 840, topMargin_, leftOffset_, topOffset_);
    item.Y += topMargin_ + topOffset_;
    item.X += leftOffset_;
    EmitItem(item);
}

void TPDFPageItems::EmitItem(const TPDFItemRec& source) {
    TPDFItemRec item = source;
    item.Y = pages_.back().Height - item.Y + kVerticalAdjustment;
    switch (item.Kind) {
    case TPDFItemKind::PageBreak: {
        const TPDFPage& current = pages_.back();
        StartPage(current.Width, current.Height, topMargin_, leftOffset_, topOffset_);
        break;
    }
    case TPDFItemKind::Text: EmitText(item); break;
    case TPDFItemKind::Shape: EmitShape(item); break;
    case TPDFItemKind::Picture: EmitPicture(item); break;
    }
}

void TPDFPageItems::EmitText(const TPDFItemRec& item) {
    std::size_t font = FontNumber(item);
    AddTextLine(ColorOperands(item.FillColor) + " rg");
    AddTextLine("/F" + pdfnum::Padded(static_cast<long long>(font), 2) + " " + pdfnum::Decimal(item.FontSize, 2) + " Tf");
    AddTextLine(" 1 0 0 1 " + pdfnum::Int(item.X) + " " + pdfnum::Int(item.Y) + " Tm (" + EscapeText(item.Text) + ") Tj");
    if (item.Underline) EmitUnderline(item);
}

// The rule starts where the text does: at the whole point its position is written at.
void TPDFPageItems::EmitUnderline(const TPDFItemRec& item) {
    if (!(item.TextWidth > 0) || !(item.UnderlineThickness > 0)) return;
    using pdfnum::Decimal;
    const double x = std::trunc(item.X), baseline = std::trunc(item.Y);
    const std::string y = Decimal(baseline - item.UnderlinePosition, 2);
    AddGraphicsLine(Decimal(item.UnderlineThickness, 2) + " w");
    AddGraphicsLine(ColorOperands(item.FillColor) + " RG");
    AddGraphicsLine(Decimal(x, 2) + " " + y + " m " + Decimal(x + item.TextWidth, 2) + " " + y + " l S");
}

void TPDFPageItems::EmitShape(const TPDFItemRec& item) {
    const std::uint8_t code = item.ShapeCode;
    if (code == pscNothing || code > pscRisingDiagonal) return;
    const bool stroked = !(item.Filled && (code == pscRectangle || code == pscEllipse));
    if (stroked && !(item.PenWidth > 0)) return;  // a frame of width 0 is no frame
    const bool hasWidth = item.Width > 0, hasHeight = item.Height > 0;
    switch (code) {
    case pscRectangle: case pscEllipse: if (!hasWidth || !hasHeight) return; break;
    case pscHorLine: case pscTopAndBottom: if (!hasWidth) return; break;
    case pscVertLine: case pscLeftAndRight: if (!hasHeight) return; break;
    default: if (!hasWidth && !hasHeight) return; break;
    }

    AddGraphicsLine(code == pscRectangle ? pdfnum::Fixed(item.PenWidth, 0, 2) + " w"
                                         : pdfnum::Fixed(item.PenWidth, 2, 0) + " w");
    if ((code == pscRectangle || code == pscEllipse) && item.Filled)
        AddGraphicsLine(ColorOperands(item.FillColor) + " rg");
    else
        AddGraphicsLine(ColorOperands(item.PenColor) + " RG");

    // The dash pattern holds for this shape's lines alone.
    const bool dashed = stroked && !item.Dash.empty();
    if (dashed) {
        std::string pattern;
        for (double length : item.Dash) {
            if (!pattern.empty()) pattern += ' ';
            pattern += pdfnum::Decimal(length, 2);
        }
        AddGraphicsLine("[" + pattern + "] 0 d");
    }
    EmitOutline(item);
    if (dashed) AddGraphicsLine("[] 0 d");
}

void TPDFPageItems::EmitOutline(const TPDFItemRec& item) {
    const std::uint8_t code = item.ShapeCode;
    using pdfnum::Int;
    const double x = item.X, r = item.X + item.Width, t = item.Y, b = item.Y - item.Height;
    switch (code) {
    case pscRectangle:
        AddGraphicsLine(Int(x) + " " + Int(b) + " " + Int(item.Width) + " " + Int(item.Height) + " re " +
                        (item.Filled ? "f" : "s"));
        break;
    case pscEllipse: {
        const double rx = item.Width / 2, ry = item.Height / 2, cx = x + rx, cy = t - ry;
        AddGraphicsLine(pdfnum::Fixed(cx, 6, 1) + " " + pdfnum::Fixed(t, 6, 1) + " m");
        AddGraphicsLine(QuarterEllipseCurve(cx, t, r, cy, rx, ry));
        AddGraphicsLine(QuarterEllipseCurve(r, cy, cx, b, rx, ry));
        AddGraphicsLine(QuarterEllipseCurve(cx, b, x, cy, rx, ry));
        AddGraphicsLine(QuarterEllipseCurve(x, cy, cx, t, rx, ry) + (item.Filled ? " f" : " s"));
        break;
    }
    case pscHorLine: AddGraphicsLine(Segment(x, t - item.Height / 2, r, t - item.Height / 2)); break;
    case pscVertLine: AddGraphicsLine(Segment(x + item.Width / 2, b, x + item.Width / 2, t)); break;
    case pscTopAndBottom:
        AddGraphicsLine(Segment(x, t, r, t));
        AddGraphicsLine(Segment(x, b, r, b));
        break;
    case pscLeftAndRight:
        AddGraphicsLine(Segment(x, b, x, t));
        AddGraphicsLine(Segment(r, b, r, t));
        break;
    case pscFallingDiagonal: AddGraphicsLine(Segment(x, t, r, b)); break;
    case pscRisingDiagonal: AddGraphicsLine(Segment(x, b, r, t)); break;
    default: break;
    }
}

void TPDFPageItems::EmitPicture(const TPDFItemRec& item) {
    using pdfnum::Int;
    const double width = item.Width * item.ScaleX, height = item.Height * item.ScaleY;
    // A zero scale would make the matrix singular; an image without samples is no image.
    if (Int(width) == "0" || Int(height) == "0" || item.ImageWidth <= 0 || item.ImageHeight <= 0) return;
    AddGraphicsLine("q " + Int(width) + " 0 0 " + Int(height) + " " + Int(item.X) + " " + Int(item.Y) + " cm");
    AddGraphicsLine("BI");
    AddGraphicsLine("/Width " + std::to_string(item.ImageWidth));
    AddGraphicsLine("/Height " + std::to_string(item.ImageHeight));
    AddGraphicsLine("/BitsPerComponent 8");
    AddGraphicsLine("/ColorSpace /DeviceRGB");
    AddGraphicsLine("/Filter [" + item.FilterNames + "]");
    AddGraphicsLine("ID");
    AddGraphicsLine(item.ImageData);
    AddGraphicsLine("EI");
    AddGraphicsLine("Q");
}

std::size_t TPDFPageItems::FontNumber(const TPDFItemRec& item) {
    TPDFFontKey key{Trim(item.FontName), item.Bold, item.Italic, item.Charset,
                    PDFFontName(item.FontName, item.Bold, item.Italic)};
    auto found = std::find(fonts_.begin(), fonts_.end(), key);
    if (found != fonts_.end()) return static_cast<std::size_t>(found - fonts_.begin());
    fonts_.push_back(std::move(key));
    return fonts_.size() - 1;
}

void TPDFPageItems::AddTextLine(std::string line) {
    pages_.back().TextBytes += static_cast<std::int32_t>(line.size() + 2);
    pages_.back().TextLines.push_back(std::move(line));
}

void TPDFPageItems::AddGraphicsLine(std::string line) {
    pages_.back().GraphicsBytes += static_cast<std::int32_t>(line.size() + 2);
    pages_.back().GraphicsLines.push_back(std::move(line));
}

std::string TPDFPageItems::PDFFontName(const std::string& faceName, bool bold, bool italic) {
    std::string name;
    for (char c : Trim(faceName))
        if (c != ' ') name += c;
    if (bold || italic) name += std::string(",") + (bold ? "Bold" : "") + (italic ? "Italic" : "");
    return name;
}

std::string TPDFPageItems::EscapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')') out += '\\';
        out += c;
    }
    return out;
}

std::string TPDFPageItems::ColorOperands(TPDFRGB color) {
    return pdfnum::Fixed(color.Red / 255.0, 4, 2) + " " + pdfnum::Fixed(color.Green / 255.0, 4, 2) + " " +
           pdfnum::Fixed(color.Blue / 255.0, 4, 2);
}
