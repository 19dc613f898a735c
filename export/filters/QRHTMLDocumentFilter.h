// TQRGHTMLDocumentFilter: a report as one HTML page. Every text line, rule and box becomes an
// absolutely positioned block and every picture a JPEG file beside the page with an image block;
// the report's pages are stacked, each one paper length below the one before. Text blocks name
// each lettering face followed by the face that stands in for it where it is missing, and give
// their size in the pixels the page's letters had, so that a browser lays every line out as
// wide as the page did.
//
// The document is written in UTF-8 and says so (doctype, then a charset declaration before
// anything else in the head): the résumé's Portuguese text then reads the same in any browser,
// whatever code page the writing machine uses.
//
// Pictures go beside the HTML file, named after it ("cv.htm" writes "cv_foto.jpg"), so that they
// travel with the page and never land in the program's current folder or over another page's
// files; the page refers to them by relative, URL-escaped names. Like the page, each picture is
// written to a temporary file first, and the files take their names only when the export ends
// as a whole (the pictures before the page): a cancelled or failed export leaves an earlier
// page and its pictures as they were.
#pragma once

#include <memory>
#include <vector>

#include "export/filters/QRGAbstractExportFilter.h"
#include "framework/rtl/Streams.h"

class TBitmap;
class TQRPrinter;

// The HTML filter's settings: one set per process, shared by every filter component and
// filter; each filter construction resets them to these values.
struct TQRHTMLFilterSettings {
    String PictureDir;
    bool MultiPage = false;
    bool PageLinks = false;
    int FinalPage = 0;
    bool FirstLastLinks = false;
    bool Concat = false;
    int ConcatCount = 1;
    int LinkFontSize = 12;
    String LinkFontName = L"Arial";
    Extended PixelsPerMM = 96 / 25.4L;
};
TQRHTMLFilterSettings& HTMLFilterSettings();

// "#RRGGBB" in upper-case hexadecimal, system colours resolved.
String HTMLColor(TColor color);
// For element text (blanks): "&", "<", ">" and every blank as entities; for an attribute value
// or the title: "&", "<", ">" and the double quote.
String HTMLEscape(const String& text, bool blanks);
// The name as a relative URL: UTF-8, every byte but letters, digits and "-._~" percent-encoded.
String URLEscape(const String& name);

class TQRGHTMLDocumentFilter : public TQRGAbstractExportFilter {
    FV_EXPORT_FILTER(TQRGHTMLDocumentFilter)
public:
    explicit TQRGHTMLDocumentFilter(const String& fileName);
    ~TQRGHTMLDocumentFilter() override;

    String DescriptionText() const override { return L"HTML document for web publishing"; }
    String FileExtension() const override { return L"HTM"; }
    String FilterTitle() const override { return L"HTML document"; }
    bool UnpagedOutput() const override { return false; }

    void BeginExport(int paperWidth, int paperLength, TFont* font) override;
    void ClosePage() override;
    void EndExport() override;
    void OpenPage() override;
    // Rules, shapes and pictures; other controls give nothing. A picture file that cannot be
    // written raises the file's error.
    void PlaceGraphic(TQRPrintable* control, Extended x, Extended y) override;
    void PlaceText(Extended x, Extended y, TFont* font, TColor background, TAlignment alignment,
                   const String& text) override;

    // An empty name writes into a memory stream (MemoryOutput) and no picture files.
    void OpenOutput(const String& fileName) override;
    void CloseOutput() override;
    void DiscardOutput() override;
    void MarkPageDone() override;

    int PageNumber() const { return pageNumber_; }
    TMemoryStream* MemoryOutput() const { return memoryOutput_.get(); }
    // The picture files of the export, with their folders.
    const std::vector<String>& PictureFiles() const { return pictureFiles_; }

private:
    TQRPrinter* DevicePrinter() const;
    int PageTop(Extended y) const;
    void WriteLine(const String& line);
    void WriteRule(int left, int top, int width, const TPen& pen);
    void WriteFilled(int left, int top, int height, int width, TColor color);
    void WritePicture(TQRPrintable* control, int x, int y);
    // Saves the bitmap as JPEG under the name (prefixed with the page's base name) and writes its
    // image block.
    void SavePicture(const TBitmap& bitmap, const String& name, int x, int y, int w, int h);

    bool ownsStream_ = false;
    TColor bodyColor_ = clWhite;
    String backgroundPicture_;
    String extraBodyAttributes_;
    int pageNumber_ = 1;
    int pictureCounter_ = 0;
    bool firstPage_ = true;
    std::unique_ptr<TMemoryStream> memoryOutput_;
    std::vector<String> pictureFiles_;
    std::vector<std::unique_ptr<TFileReplacement>> pictures_;  // waiting for the export's end
};
