// TQRGAbstractExportFilter: the base of the filters that write their file while the report runs.
// It opens the output when the export begins and closes it when the export ends, and keeps a
// copy of the report font with the line metrics a character grid needs.
//
// The output is a temporary file beside the named one, which takes the named file's place only
// when the export ends as a whole: a cancelled run, an error or a filter freed before its end
// leaves a file already there (last week's résumé) exactly as it was.
#pragma once

#include <memory>
#include <string>

#include "framework/rtl/FileReplacement.h"
#include "framework/rtl/Streams.h"
#include "report/filters/QRExportFilter.h"

// The run feeding the filter was cancelled: what the filter has written is not the report.
bool ExportRunCancelled(const TQRExportFilter& filter);

class TQRGAbstractExportFilter : public TQRExportFilter {
    FV_EXPORT_FILTER(TQRGAbstractExportFilter)
public:
    explicit TQRGAbstractExportFilter(const String& fileName);
    ~TQRGAbstractExportFilter() override;

    String DescriptionText() const override { return String(); }
    String FileExtension() const override { return String(); }
    String FilterTitle() const override { return L"QRAbstract"; }

    // Opens the output (EFCreateError when the file cannot be created) and copies the font.
    void BeginExport(int paperWidth, int paperLength, TFont* font) override;
    void ClosePage() override;
    void EndExport() override;
    void OpenPage() override;

    // Opens a temporary file beside the named one (EFCreateError when the folder takes none).
    virtual void OpenOutput(const String& fileName);
    // Closes the output; the temporary file takes the named file's place (EFCreateError when
    // it cannot).
    virtual void CloseOutput();
    // Closes the output and deletes the temporary file; the named file is left as it was.
    virtual void DiscardOutput();
    virtual void MarkPageDone();
    virtual void AfterPageDone() {}

    // Appends the bytes to the output.
    void WriteOutput(const std::string& bytes);

    // Tenths of a millimetre.
    Extended LineHeight() const { return lineHeight_; }
    Extended CharWidth() const { return charWidth_; }
    Extended PaperWidth() const { return paperWidth_; }
    Extended PaperLength() const { return paperLength_; }
    int LinesPerPage() const { return linesPerPage_; }
    bool PageDone() const { return pageDone_; }
    TFont* ReportFont() const { return font_.get(); }
    TFont* ActiveFont() const { return activeFont_.get(); }

protected:
    TStream* Output() const { return output_; }
    // An output the filter does not own, in place of a file.
    void SetOutput(TStream* notOwned);

private:
    TStream* output_ = nullptr;
    std::unique_ptr<TFileReplacement> file_;
    Extended lineHeight_ = 0;
    Extended charWidth_ = 0;
    Extended paperWidth_ = 0;
    Extended paperLength_ = 0;
    int linesPerPage_ = 0;
    bool pageDone_ = false;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TFont> activeFont_;
};
