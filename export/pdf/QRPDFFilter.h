// The PDF export filter. A report run hands it texts, shapes, frames and pictures; they become
// page items (export/PDFPageItems.h) kept in memory, and at the end of the run the whole file is
// written at once (export/PDFDocumentWriter.h) with the fonts read from the system.
//
// The file is written beside the named one and takes its place only when the export finishes:
// one that does not (an error in the run, a cancelled run, a font that cannot be read) leaves no
// file behind and an earlier file of that name as it was.
//
// TQRPDFFilter is the component a report form holds: while one exists, the filter library
// lists TQRPDFDocumentFilter, and the preview's Save offers and uses it for ".pdf" names.
#pragma once

#include <memory>

#include "export/PDFDocumentWriter.h"
#include "export/PDFPageItems.h"
#include "framework/classes/Component.h"
#include "framework/rtl/FileReplacement.h"
#include "report/filters/QRExportFilter.h"

class TQRShape;
class TQRImage;
class TQRGrImage;
class TQRGrDBImage;
class TBitmap;
class TBrush;
class TPen;
class TCustomQRReport;

// A filter that owns an output stream.
class TQRPAbstractExportFilter : public TQRExportFilter {
public:
    explicit TQRPAbstractExportFilter(const String& fileName) : TQRExportFilter(fileName) {}
    String ClassName() const override { return L"TQRPAbstractExportFilter"; }
    String DescriptionText() const override { return String(); }
    String FileExtension() const override { return String(); }
    String FilterTitle() const override { return L"QRAbstract"; }

    // Opens a temporary file beside the named one; raises EFCreateError when it cannot.
    virtual void OpenOutput(const String& fileName);
    // Closes the output; the temporary file takes the named file's place (EFCreateError when
    // it cannot).
    virtual void CloseOutput();
    // Closes the output and deletes the temporary file; the named file is left as it was.
    void DiscardOutput() noexcept;
    virtual void MarkPageDone();
    virtual void AfterPageDone() {}

protected:
    // The open file's stream, else the stream in output_; null when neither is open.
    TStream* Output() const;
    std::unique_ptr<TStream> output_;  // one not written to a file (the filter's memory)
    bool pageDone_ = false;

private:
    std::unique_ptr<TFileReplacement> file_;
};

class TQRPDFDocumentFilter : public TQRPAbstractExportFilter {
    FV_EXPORT_FILTER(TQRPDFDocumentFilter)
public:
    explicit TQRPDFDocumentFilter(const String& fileName);
    // An export still open here did not finish: its partial file is deleted.
    ~TQRPDFDocumentFilter() override;

    String DescriptionText() const override { return L"PDF document filter"; }
    String FileExtension() const override { return L"PDF"; }
    String FilterTitle() const override { return L"PDF document"; }
    bool UnpagedOutput() const override { return false; }

    void BeginExport(int paperWidth, int paperLength, TFont* font) override;
    void EndExport() override;
    void OpenPage() override;
    void PlaceGraphic(TQRPrintable* control, Extended x, Extended y) override;
    void PlaceText(Extended x, Extended y, TFont* font, TColor background, TAlignment alignment,
                   const String& text) override;

    // A file name opens a file; an empty one keeps the document in memory (Document()).
    void OpenOutput(const String& fileName) override;
    void SetDocumentInfo(const String& creator, const String& author, const String& title, const String& subject);
    // Where fonts are read from (the installed fonts unless replaced).
    void SetFontSource(std::unique_ptr<TPDFFontSource> source) { fontSource_ = std::move(source); }
    const TPDFPageItems& Items() const { return items_; }
    // The bytes written to an in-memory output.
    std::string Document() const;

private:
    TCustomQRReport* Report() const;
    TQRPrinter* RunPrinter() const;
    void StartPageItems();
    void PlaceItem(const TPDFItemRec& item);
    // A picture rendered for the page: the bitmap, the size it covers on the page (device
    // units) and, for a picture kept at its own size, the scale that brings it there.
    struct TPictureBitmap {
        std::unique_ptr<TBitmap> Bitmap;
        double Width = 0, Height = 0;
        double ScaleX = 1, ScaleY = 1;
        bool Native = false;
    };
    void PlaceShape(TPDFShapeCode code, const TPen& pen, const TBrush* brush, TPoint size, Extended x, Extended y);
    void PlaceImage(TQRImage& image, TPoint size, Extended x, Extended y);
    void PlaceGrImage(TQRGrImage& image, TPoint size, Extended x, Extended y);
    void PlaceGrDBImage(TQRGrDBImage& image, TPoint size, Extended x, Extended y);
    void PlacePicture(TPictureBitmap& picture, Extended x, Extended y);
    void Discard();

    TPDFPageItems items_;
    std::unique_ptr<TBitmap> measure_;
    std::unique_ptr<TPDFFontSource> fontSource_;
    TPDFDocumentInfo info_;
    bool ownsStream_ = false;
    bool firstPage_ = true;
    int pageCount_ = 0;
    double pointsPerUnitX_ = 72.0 / 96, pointsPerUnitY_ = 72.0 / 96;
};

class TQRPDFFilter : public TComponent {
    FV_CLASS(TQRPDFFilter, TComponent)
public:
    explicit TQRPDFFilter(TComponent* owner);
    ~TQRPDFFilter() override;
    static void Publish(TPublisher<TQRPDFFilter>& p);

    // Kept with the form only: pictures are always compressed.
    bool CompressionOn() const { return compressionOn_; }
    void SetCompressionOn(bool value) { compressionOn_ = value; }

private:
    bool compressionOn_ = false;
};

// Registers the printables' entries first. Idempotent.
void RegisterReportPDFClasses();
