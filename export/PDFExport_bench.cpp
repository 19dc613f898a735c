// Figures for the PDF writer's portable half: a photo's samples through LZW and ASCII85, a
// résumé-sized document with that photo, and a 200-page text report, each from collected
// items to the finished file in memory.
#include <chrono>
#include <cstdio>
#include <string>

#include "export/ASCII85Encoder.h"
#include "export/LZWEncoder.h"
#include "export/PDFDocumentWriter.h"

namespace {

class FixedFonts : public TPDFFontSource {
public:
    TPDFFontMetrics Metrics(const TPDFFontKey&) override {
        TPDFFontMetrics m;
        m.Widths.assign(256, 500);
        std::u16string values;
        for (int b = 1; b <= 255; ++b) values += static_cast<char16_t>(b);
        m.Encoding = PDFEncoding(&values);
        return m;
    }
};

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

TPDFItemRec Photo() {
    // 300 x 400 samples of smooth colour, like a scaled photograph.
    TMemoryStream samples, packed;
    std::string row;
    for (int y = 0; y < 400; ++y) {
        row.clear();
        for (int x = 0; x < 300; ++x) {
            row += static_cast<char>(x * 255 / 300);
            row += static_cast<char>(y * 255 / 400);
            row += static_cast<char>((x + y) % 256);
        }
        samples.WriteBuffer(row.data(), static_cast<Int64>(row.size()));
    }
    CompressStreamLZW(samples, packed);
    EncodeASCII85(packed, samples);
    TPDFItemRec item;
    item.Kind = TPDFItemKind::Picture;
    item.X = 450;
    item.Y = 200;
    item.Width = 90;
    item.Height = 120;
    item.ImageWidth = 300;
    item.ImageHeight = 400;
    item.ImageData.assign(static_cast<const char*>(samples.Memory()), static_cast<std::size_t>(samples.Size()));
    item.FilterNames = "/ASCII85Decode /LZWDecode";
    return item;
}

std::size_t Document(int pages, int linesPerPage, bool photo) {
    TPDFPageItems items;
    items.StartPage(595, 842, 30);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            TPDFItemRec pageBreak;
            pageBreak.Kind = TPDFItemKind::PageBreak;
            items.PlaceItem(pageBreak);
        }
        if (photo && page == 0) items.PlaceItem(Photo());
        for (int line = 0; line < linesPerPage; ++line) {
            TPDFItemRec text;
            text.X = 50;
            text.Y = 14.0 * line;
            text.FontName = "Arial";
            text.FontSize = 10;
            text.Bold = line % 7 == 0;
            text.Text = "Experi\xEAncia profissional e forma\xE7\xE3o acad\xEAmica, linha " + std::to_string(line);
            items.PlaceItem(text);
        }
    }
    items.FinishPage();
    FixedFonts fonts;
    TStringStream out;
    WritePDFDocument(items, fonts, {}, out);
    return out.DataString().size();
}

}  // namespace

int main() {
    auto start = std::chrono::steady_clock::now();
    TPDFItemRec photo = Photo();
    std::printf("photo 300x400 LZW+ASCII85: %.1f ms, %zu characters\n", Milliseconds(start), photo.ImageData.size());
    start = std::chrono::steady_clock::now();
    std::size_t size = Document(2, 50, true);
    std::printf("resume, 2 pages with photo: %.1f ms, %zu bytes\n", Milliseconds(start), size);
    start = std::chrono::steady_clock::now();
    size = Document(200, 55, false);
    std::printf("text report, 200 pages: %.1f ms, %zu bytes\n", Milliseconds(start), size);
    return 0;
}
