#include "export/filters/QRGAbstractExportFilter.h"

#include "framework/rtl/Numeric.h"
#include "report/bands/QRReport.h"

bool ExportRunCancelled(const TQRExportFilter& filter) {
    const auto* report = dynamic_cast<const TCustomQRReport*>(filter.OwnerReport());
    return report != nullptr && report->Cancelled();
}

TQRGAbstractExportFilter::TQRGAbstractExportFilter(const String& fileName) : TQRExportFilter(fileName) {}

TQRGAbstractExportFilter::~TQRGAbstractExportFilter() = default;

void TQRGAbstractExportFilter::BeginExport(int paperWidth, int paperLength, TFont* font) {
    OpenOutput(FileName());
    font_ = std::make_unique<TFont>();
    if (font != nullptr) font_->Assign(*font);
    activeFont_ = std::make_unique<TFont>();
    lineHeight_ = charWidth_ = font_->Size() * 254.0L / 72;  // tenths of a millimetre in a point
    paperWidth_ = paperWidth;
    paperLength_ = paperLength;
    // A font without a size has no lines to count.
    linesPerPage_ = lineHeight_ > 0 ? static_cast<int>(Round(paperLength_ / lineHeight_)) : 0;
    pageDone_ = false;
    TQRExportFilter::BeginExport(paperWidth, paperLength, font);
}

void TQRGAbstractExportFilter::ClosePage() {
    MarkPageDone();
    TQRExportFilter::ClosePage();
}

void TQRGAbstractExportFilter::EndExport() {
    font_.reset();
    activeFont_.reset();
    const bool complete = !ExportRunCancelled(*this);
    TQRExportFilter::EndExport();
    if (complete)
        CloseOutput();
    else
        DiscardOutput();
}

void TQRGAbstractExportFilter::OpenPage() {
    pageDone_ = false;
    activeFont_ = std::make_unique<TFont>();
}

void TQRGAbstractExportFilter::OpenOutput(const String& fileName) {
    auto file = std::make_unique<TFileReplacement>(fileName, L"EXP");
    output_ = &file->Stream();
    file_ = std::move(file);
}

void TQRGAbstractExportFilter::CloseOutput() {
    output_ = nullptr;
    if (std::unique_ptr<TFileReplacement> file = std::move(file_)) file->Commit();
}

void TQRGAbstractExportFilter::DiscardOutput() {
    output_ = nullptr;
    file_.reset();
}

void TQRGAbstractExportFilter::MarkPageDone() { pageDone_ = true; }

void TQRGAbstractExportFilter::WriteOutput(const std::string& bytes) {
    if (output_ != nullptr && !bytes.empty()) output_->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TQRGAbstractExportFilter::SetOutput(TStream* notOwned) {
    file_.reset();
    output_ = notOwned;
}
