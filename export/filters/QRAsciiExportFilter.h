// TQRAsciiExportFilter: a report as plain text. Every text line lands on a character grid made
// from the report font (one row per line height, columns narrower than the row, as printed
// characters are), and each finished page adds its non-empty rows to the file, in the system's
// ANSI code page with CR LF line ends. The file holds no page separators. Like the other
// filters' files, it is written beside the named file and takes its place only when the export
// ends as a whole (TQRGAbstractExportFilter.h).
//
// No component enrols this filter; a program uses it by creating it with a file name and
// handing it to a report's export.
#pragma once

#include <memory>
#include <vector>

#include "framework/rtl/FileReplacement.h"
#include "report/filters/QRExportFilter.h"

class TQRAsciiExportFilter : public TQRExportFilter {
    FV_EXPORT_FILTER(TQRAsciiExportFilter)
public:
    explicit TQRAsciiExportFilter(const String& fileName);
    ~TQRAsciiExportFilter() override;

    String DescriptionText() const override { return L"Text export (ASCII) filter"; }
    String FileExtension() const override { return L"TXT"; }
    String FilterTitle() const override { return L"Text file"; }

    // Opens the file (EFCreateError when it cannot be); the grid follows the font's size.
    void BeginExport(int paperWidth, int paperLength, TFont* font) override;
    void OpenPage() override;
    void PlaceText(Extended x, Extended y, TFont* font, TColor background, TAlignment alignment,
                   const String& text) override;
    void ClosePage() override;
    void EndExport() override;

    // Rows a page of the export's paper holds; 0 before the export begins.
    int LineCount() const { return lineCount_; }
    // Height of a row and width of a grid step, 0.1 mm.
    Extended LineHeight() const { return lineHeight_; }

private:
    int lineCount_ = 0;
    // Rows of the page being written; more are added when a text lands below the last.
    std::vector<String> lines_;
    std::unique_ptr<TFileReplacement> file_;
    Extended lineHeight_ = 0;
    Extended charWidth_ = 0;
};
