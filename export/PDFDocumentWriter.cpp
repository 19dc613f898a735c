#include "export/PDFDocumentWriter.h"

#include <cstdio>

#include "export/PDFGlyphNames.h"
#include "export/PDFNumbers.h"

namespace {

class Output {
public:
    void Line(const std::string& text) {
        data_ += text;
        data_ += "\r\n";
    }
    void NoteObjectOffset() { offsets_.push_back(data_.size()); }
    std::size_t Size() const { return data_.size(); }
    const std::string& Data() const { return data_; }
    const std::vector<std::size_t>& Offsets() const { return offsets_; }

private:
    std::string data_;
    std::vector<std::size_t> offsets_;
};

std::string Num(long long value) { return std::to_string(value); }

std::string Offset10(std::size_t value) {
    std::string text = std::to_string(value);
    return std::string(text.size() < 10 ? 10 - text.size() : 0, '0') + text;
}

std::string Literal(const std::string& text) {
    std::string literal = "(";
    literal += TPDFPageItems::EscapeText(text);
    literal += ')';
    return literal;
}

}  // namespace

std::string PDFDate(int year, int month, int day, int hour, int minute, int second) {
    char text[40];
    std::snprintf(text, sizeof text, "D:%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute, second);
    return text;
}

std::string PDFNameText(const std::string& name) {
    static const std::string delimiters = "()<>[]{}/%#";
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x21 || c > 0x7E || delimiters.find(static_cast<char>(c)) != std::string::npos) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "#%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::int32_t PDFFontFlags(std::uint8_t charset, bool fixedPitch, bool serif, bool script, bool italic) {
    constexpr std::uint8_t kSymbolCharset = 2;
    std::int32_t flags = charset == kSymbolCharset ? 4 : 32;
    if (fixedPitch) flags |= 1;
    if (serif) flags |= 2;
    if (script) flags |= 8;
    if (italic) flags |= 64;
    return flags;
}

std::string PDFGlyphName(char16_t value) {
    if (value < 0x20 || (value >= 0x7F && value <= 0x9F)) return "space";
    if (const char* name = StandardGlyphName(value)) return name;
    char text[8];
    std::snprintf(text, sizeof text, "uni%04X", static_cast<unsigned>(value));
    return text;
}

std::string PDFEncoding(const std::u16string* values) {
    if (!values || values->size() != 255) return " <</Type/Encoding /BaseEncoding /WinAnsiEncoding>>";
    std::string text = " <</Type/Encoding /Differences [ 2 ";
    for (std::size_t byte = 2; byte <= 255; ++byte) {
        text += '/';
        text += PDFGlyphName((*values)[byte - 1]);
    }
    return text + "]>>";
}

void WritePDFDocument(const TPDFPageItems& items, TPDFFontSource& fontSource, const TPDFDocumentInfo& info,
                      TStream& output) {
    // Fonts first: a font that cannot be read must fail the export before anything is written.
    std::vector<TPDFFontMetrics> metrics;
    for (const auto& font : items.Fonts()) metrics.push_back(fontSource.Metrics(font));

    const auto& pages = items.Pages();
    const long long P = static_cast<long long>(pages.size()), F = static_cast<long long>(metrics.size());
    Output out;
    out.Line("%PDF-1.3");
    out.Line("%\xC5\xAD\x6F\x81");
    out.NoteObjectOffset();
    for (const char* line : {"1 0 obj", "<<", "/Type /Catalog", "/Pages 3 0 R", "/Outlines 2 0 R",
                             "/ViewerPreferences << /HideToolbar false /FitWindow true >>", ">>", "endobj"})
        out.Line(line);
    out.NoteObjectOffset();
    for (const char* line : {"2 0 obj", "<<", "/Type /Outlines", "/Count 0", ">>", "endobj"}) out.Line(line);
    out.NoteObjectOffset();

    out.Line("3 0 obj");
    out.Line("<<");
    out.Line("/Type /Pages");
    out.Line("/Count " + Num(P));
    std::string kids;
    for (long long i = 0; i < P; ++i) kids += (i ? " " : "") + Num(4 + 2 * i) + " 0 R";
    out.Line("/Kids [" + kids + "]");
    double firstWidth = pages.empty() ? 595 : pages[0].Width, firstHeight = pages.empty() ? 842 : pages[0].Height;
    out.Line("/MediaBox [0 0 " + pdfnum::Int(firstWidth) + " " + pdfnum::Int(firstHeight) + "]");
    out.Line("/Resources << ");
    out.Line("/Font << ");
    for (long long k = 0; k < F; ++k) out.Line("  /F" + pdfnum::Padded(k, 2) + " " + Num(4 + 2 * P + 2 * k) + " 0 R ");
    out.Line("  >>");
    out.Line("/ProcSet " + Num(5 + 2 * P + 2 * F) + " 0 R");
    out.Line(">>");
    out.Line(">>");
    out.Line("endobj");
    out.NoteObjectOffset();

    long long counter = 3;
    for (const auto& page : pages) {
        out.Line(Num(counter + 1) + " 0 obj");
        out.Line("<<");
        out.Line("/Type /Page");
        out.Line("/Parent 3 0 R");
        out.Line("/Contents " + Num(counter + 2) + " 0 R");
        out.Line("/MediaBox [0 0 " + pdfnum::Int(page.Width) + " " + pdfnum::Int(page.Height) + "]");
        out.Line(">>");
        out.Line("endobj");
        out.NoteObjectOffset();
        out.Line(Num(counter + 2) + " 0 obj");
        out.Line("<< /Length " + Num(static_cast<long long>(page.TextBytes) + page.GraphicsBytes + 4) + " >>");
        out.Line("stream");
        for (const auto& line : page.GraphicsLines) out.Line(line);
        out.Line("BT");
        for (const auto& line : page.TextLines) out.Line(line);
        out.Line("endstream");
        out.Line("endobj");
        counter += 2;
        out.NoteObjectOffset();
    }

    counter = 4 + 2 * P;
    for (long long k = 0; k < F; ++k) {
        const TPDFFontMetrics& m = metrics[static_cast<std::size_t>(k)];
        std::string baseFont = "/";
        baseFont += PDFNameText(items.Fonts()[static_cast<std::size_t>(k)].PDFName);
        out.Line(Num(counter) + " 0 obj");
        out.Line("<<");
        out.Line("/Type /Font");
        out.Line("/Subtype /TrueType");
        out.Line("/Name /F" + pdfnum::Padded(k, 2));
        out.Line("/BaseFont " + baseFont);
        out.Line("/FirstChar " + Num(m.FirstChar));
        out.Line("/LastChar " + Num(m.FirstChar + static_cast<long long>(m.Widths.size()) - 1));
        out.Line("/Widths [ ");
        std::string widths;
        for (auto w : m.Widths) widths += Num(w) + " ";
        out.Line(widths + " ]");
        out.Line("/Encoding " + m.Encoding);
        out.Line("/FontDescriptor " + Num(counter + 1) + " 0 R");
        out.Line(">>");
        out.Line("endobj");
        out.NoteObjectOffset();
        out.Line(Num(counter + 1) + " 0 obj");
        out.Line("<<");
        out.Line("/Type /FontDescriptor");
        out.Line("/Ascent " + Num(m.Ascent));
        out.Line("/Descent " + Num(m.Descent));
        out.Line("/CapHeight " + Num(m.CapHeight));
        out.Line("/StemV " + Num(m.StemV));
        out.Line("/Flags " + Num(m.Flags));
        out.Line("/FontBBox [ " + Num(m.FontBBox[0]) + " " + Num(m.FontBBox[1]) + " " + Num(m.FontBBox[2]) + " " +
                 Num(m.FontBBox[3]) + " ]");
        out.Line("/FontName " + baseFont);
        out.Line("/ItalicAngle " + Num(m.ItalicAngle));
        out.Line(">>");
        out.Line("endobj");
        out.NoteObjectOffset();
        counter += 2;
    }

    out.Line(Num(counter) + " 0 obj");
    out.Line("<<");
    if (!info.CreationDate.empty()) out.Line("/CreationDate " + Literal(info.CreationDate));
    out.Line("/Producer (Report Engine PDF Export)");
    out.Line("/Subject (" + TPDFPageItems::EscapeText(info.Subject) + " )");
    out.Line("/Creator " + Literal(info.Creator));
    out.Line("/Title " + Literal(info.Title));
    out.Line("/Author " + Literal(info.Author));
    out.Line(">>");
    out.Line("endobj");
    out.NoteObjectOffset();
    ++counter;
    out.Line(Num(counter) + " 0 obj");
    out.Line("[/PDF /Text]");
    out.Line("endobj");

    const std::size_t xref = out.Size();
    const long long N = static_cast<long long>(out.Offsets().size());
    out.Line("xref");
    out.Line("0 " + Num(N + 1));
    out.Line("0000000000 65535 f");
    for (std::size_t offset : out.Offsets()) out.Line(Offset10(offset) + " 00000 n");
    out.Line("trailer");
    out.Line("<<");
    out.Line("/Size " + Num(N + 1));
    out.Line("/Root 1 0 R");
    out.Line("/Info " + Num(N - 1) + " 0 R");
    out.Line(">>");
    out.Line("startxref");
    out.Line(Num(static_cast<long long>(xref)));
    out.Line("%%EOF");
    output.WriteBuffer(out.Data().data(), static_cast<Int64>(out.Size()));
}
