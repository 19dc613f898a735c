#include "report/previewwindow/QRPreviewGlyphs.h"

#include "framework/graphics/Bitmap.h"

namespace {

constexpr TColor Mask = clFuchsia;
constexpr TColor Ink = TColor(0x404040);
constexpr TColor Paper = clWhite;
constexpr TColor Accent = TColor(0xB05A1E);  // a calm blue (BGR)
constexpr TColor Glass = TColor(0xF0DCC0);

class TGlyphPen {
public:
    TGlyphPen(TCanvas& canvas, int x) : c_(canvas), x_(x) {}

    void Fill(int l, int t, int r, int b, TColor color) {
        c_.Brush().SetColor(color);
        c_.FillRect(Rect(x_ + l, t, x_ + r, b));
    }
    void Box(int l, int t, int r, int b, TColor fill, TColor line) {
        Fill(l, t, r, b, line);
        Fill(l + 1, t + 1, r - 1, b - 1, fill);
    }
    void Poly(std::vector<TPoint> points, TColor color) {
        for (TPoint& p : points) p.X += x_;
        c_.Brush().SetColor(color);
        c_.Pen().SetColor(color);
        c_.Pen().SetWidth(1);
        c_.Polygon(points);
    }
    void Line(int x1, int y1, int x2, int y2, TColor color, int width = 1) {
        c_.Pen().SetColor(color);
        c_.Pen().SetWidth(width);
        c_.MoveTo(x_ + x1, y1);
        c_.LineTo(x_ + x2, y2);
        c_.Pen().SetWidth(1);
    }
    void Ring(int l, int t, int r, int b, TColor fill, TColor line, int width) {
        c_.Brush().SetColor(fill);
        c_.Pen().SetColor(line);
        c_.Pen().SetWidth(width);
        c_.Ellipse(x_ + l, t, x_ + r, b);
        c_.Pen().SetWidth(1);
    }
    // A sheet of paper with a folded corner and a few lines of text.
    void Sheet(int l, int t, int r, int b, bool lines = true) {
        Poly({Point(l, t), Point(r - 4, t), Point(r - 1, t + 3), Point(r - 1, b - 1), Point(l, b - 1)}, Ink);
        Poly({Point(l + 1, t + 1), Point(r - 5, t + 1), Point(r - 2, t + 4), Point(r - 2, b - 2), Point(l + 1, b - 2)},
             Paper);
        if (lines)
            for (int y = t + 5; y < b - 3; y += 3) Line(l + 3, y, r - 4, y, TColor(0xA0A0A0));
    }
    // A magnifying glass over the lower right.
    void Magnifier(int cx, int cy) {
        Line(cx + 3, cy + 3, cx + 8, cy + 8, Ink, 3);
        Ring(cx - 5, cy - 5, cx + 6, cy + 6, Glass, Ink, 2);
    }
    void Triangle(int tipX, int cy, bool right) {
        const int back = right ? tipX - 6 : tipX + 6;
        Poly({Point(back, cy - 6), Point(tipX, cy), Point(back, cy + 6)}, Accent);
    }
    void Printer(int t) {
        Box(5, t, 15, t + 5, Paper, Ink);           // paper going in
        Box(1, t + 4, 19, t + 12, TColor(0xC8C8C8), Ink);  // body
        Fill(14, t + 6, 17, t + 8, TColor(0x00A000));
        Box(4, t + 10, 16, t + 16, Paper, Ink);     // paper coming out
        Line(6, t + 13, 14, t + 13, TColor(0xA0A0A0));
    }

private:
    TCanvas& c_;
    int x_;
};

void DrawGlyph(TCanvas& canvas, int index) {
    TGlyphPen g(canvas, index * PreviewGlyphSize);
    switch (index) {
    case pgZoomFit:
        g.Sheet(1, 1, 13, 17);
        g.Magnifier(12, 11);
        break;
    case pgZoomWidth:
        g.Sheet(3, 1, 17, 12, false);
        g.Line(5, 6, 15, 6, Accent);
        g.Poly({Point(4, 6), Point(7, 3), Point(7, 9)}, Accent);
        g.Poly({Point(16, 6), Point(13, 3), Point(13, 9)}, Accent);
        g.Magnifier(10, 13);
        break;
    case pgZoom100:
        g.Magnifier(8, 8);
        g.Line(6, 5, 6, 12, Ink);  // "1" inside the glass
        g.Line(9, 5, 9, 12, Ink);
        g.Fill(7, 7, 8, 8, Ink);
        g.Fill(7, 10, 8, 11, Ink);
        break;
    case pgFirstPage:
        g.Fill(4, 4, 6, 16, Accent);
        g.Triangle(7, 10, false);
        g.Triangle(12, 10, false);
        break;
    case pgPreviousPage: g.Triangle(7, 10, false); break;
    case pgNextPage: g.Triangle(13, 10, true); break;
    case pgLastPage:
        g.Triangle(8, 10, true);
        g.Triangle(13, 10, true);
        g.Fill(14, 4, 16, 16, Accent);
        break;
    case pgGotoPage:
        g.Sheet(1, 1, 14, 19);
        g.Poly({Point(9, 8), Point(13, 8), Point(13, 5), Point(19, 10), Point(13, 15), Point(13, 12), Point(9, 12)},
               Accent);
        break;
    case pgFind:
        g.Sheet(1, 1, 13, 16);
        g.Magnifier(11, 10);
        g.Line(9, 8, 11, 8, Accent);
        break;
    case pgCopy:
        g.Sheet(1, 1, 12, 14);
        g.Sheet(7, 6, 18, 19);
        break;
    case pgPrintSetup:
        g.Printer(1);
        g.Ring(11, 9, 19, 17, Accent, Ink, 1);  // a dial: settings
        g.Fill(14, 12, 16, 14, Paper);
        break;
    case pgPrint: g.Printer(2); break;
    case pgLoad:
        g.Poly({Point(1, 5), Point(7, 5), Point(9, 7), Point(16, 7), Point(16, 17), Point(1, 17)}, TColor(0x20A0D8));
        g.Poly({Point(3, 10), Point(19, 10), Point(16, 17), Point(1, 17)}, TColor(0x60D0F8));
        break;
    case pgSave:
        g.Box(2, 2, 18, 18, Accent, Ink);
        g.Fill(5, 3, 15, 9, Paper);
        g.Fill(6, 12, 14, 17, TColor(0xC8C8C8));
        g.Fill(11, 13, 13, 16, Ink);
        break;
    case pgCancel:
        g.Ring(2, 2, 18, 18, TColor(0x2020D0), TColor(0x101090), 1);
        g.Line(7, 7, 13, 13, Paper, 2);
        g.Line(13, 7, 7, 13, Paper, 2);
        break;
    default: break;
    }
}

}  // namespace

void AddPreviewGlyphs(TImageList& images) {
    images.SetWidth(PreviewGlyphSize);
    images.SetHeight(PreviewGlyphSize);
    TBitmap strip(PreviewGlyphSize * pgGlyphCount, PreviewGlyphSize);
    strip.Canvas().Brush().SetColor(Mask);
    strip.Canvas().FillRect(Rect(0, 0, strip.Width(), strip.Height()));
    for (int i = 0; i < pgGlyphCount; ++i) DrawGlyph(strip.Canvas(), i);
    images.AddMasked(strip, Mask);
}
