// Export filters: writers of other file formats that a report run feeds instead of drawing.
//
// While a filter is attached to a report, the run calls it in this order:
//
//     BeginExport(paper width, paper length, report font)   once, unless already Active
//     ClosePage                                              once before the first page
//     for every page:  OpenPage,
//                      PlaceText     per printed text line    (X, Y in 0.1 mm)
//                      PlaceGraphic  per shape, picture, frame (X, Y in device units of the
//                                                              run's report printer)
//                      NoteBand      per band, after its controls
//                      ClosePage
//     EndExport                                              once at the end
//
// UnpagedOutput is asked by the pagination's space test: True lays the whole run out on one
// page of unlimited length. A filter that overrides BeginExport or EndExport calls the base, so
// that Active stays right. Constructing a filter does nothing but keep its file name: the
// filter library constructs one to read its title and extension.
//
// The filter library lists the filter classes that filter components enrol; the preview builds
// its save dialog from it and picks the filter for a file by its extension.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "framework/controls/StdCtrls.h"
#include "framework/graphics/GraphicsObjects.h"

class TQRExportFilter;
class TQRPrintable;
class TQRCustomBand;
class TQRPrinter;
class IQRReport;

// A filter class: its name and its constructor. One per class, so its address is the class's
// identity (FV_EXPORT_FILTER declares it).
struct TQRExportFilterClassInfo {
    const wchar_t* Name;
    std::unique_ptr<TQRExportFilter> (*Create)(const String& fileName);
};
using TQRExportFilterClass = const TQRExportFilterClassInfo*;

#define FV_EXPORT_FILTER(Self)                                                                  \
public:                                                                                         \
    static TQRExportFilterClass FilterClass() {                                                 \
        static const TQRExportFilterClassInfo info{                                             \
            L"" #Self, [](const String& fileName) -> std::unique_ptr<TQRExportFilter> {         \
                return std::make_unique<Self>(fileName);                                        \
            }};                                                                                 \
        return &info;                                                                           \
    }                                                                                           \
    TQRExportFilterClass ExportFilterClass() const override { return FilterClass(); }          \
    String ClassName() const override { return L"" #Self; }                                    \
                                                                                                \
private:

class TQRExportFilter : public TObject {
public:
    explicit TQRExportFilter(const String& fileName) : fileName_(fileName) {}
    static TQRExportFilterClass FilterClass();
    virtual TQRExportFilterClass ExportFilterClass() const { return FilterClass(); }
    String ClassName() const override { return L"TQRExportFilter"; }

    virtual String DescriptionText() const { return L"Abstract non-working export filter"; }
    // Without the dot.
    virtual String FileExtension() const { return String(); }
    // The name shown in the save dialog.
    virtual String FilterTitle() const { return L"Abstract filter"; }
    virtual String VendorText() const { return L"Report Engine"; }
    virtual bool UnpagedOutput() const { return false; }

    // paperWidth, paperLength: 0.1 mm.
    virtual void BeginExport(int paperWidth, int paperLength, TFont* font);
    virtual void ClosePage() {}
    virtual void EndExport();
    virtual void OpenPage() {}
    // x, y: the control's top-left corner in device units of the run's report printer.
    virtual void PlaceGraphic(TQRPrintable* control, Extended x, Extended y);
    virtual void Reserved(TObject* object, Extended a, Extended b);
    // x, y: where the band began, extraHeight: what stretching controls added (0.1 mm).
    virtual void NoteBand(TQRCustomBand* band, Extended x, Extended y, Extended extraHeight);
    // x: the line's anchor as alignment says, y: its top (0.1 mm from the paper's edge).
    virtual void PlaceText(Extended x, Extended y, TFont* font, TColor background, TAlignment alignment,
                           const String& text);

    bool Active() const { return active_; }
    const String& FileName() const { return fileName_; }
    // The printer that held the report before the export run (not owned).
    TQRPrinter* ReportPrinter() const { return reportPrinter_; }
    void SetReportPrinter(TQRPrinter* printer) { reportPrinter_ = printer; }
    // The exporting report (not owned).
    IQRReport* OwnerReport() const { return ownerReport_; }
    void SetOwnerReport(IQRReport* report) { ownerReport_ = report; }

private:
    TQRPrinter* reportPrinter_ = nullptr;
    bool active_ = false;
    String fileName_;
    IQRReport* ownerReport_ = nullptr;
};

struct TQRExportFilterLibraryEntry {
    TQRExportFilterClass FilterClass;
    String FilterName;  // its FilterTitle
    String Extension;   // its FileExtension
};

class TQRExportFilterLibrary {
public:
    // Lists the class once, however often it is enrolled; entries keep their enrolment order.
    void EnrollFilter(TQRExportFilterClass filterClass);
    // Removes the class's entry; a class not listed changes nothing.
    void WithdrawFilter(TQRExportFilterClass filterClass);
    // The first entry with that extension (without dot, any case); nothing when none has it, and
    // then there is nothing to export with.
    [[nodiscard]] std::optional<TQRExportFilterLibraryEntry> EntryForExtension(const String& extension) const;
    // "Report file(*.QRP)|*.QRP", then "|Title (*.EXT)|*.EXT" for every entry.
    String BuildSaveFilterText() const;
    const std::vector<TQRExportFilterLibraryEntry>& Filters() const { return entries_; }

private:
    std::vector<TQRExportFilterLibraryEntry> entries_;
};

// The process-wide library, made on first use.
TQRExportFilterLibrary& ExportFilterLibrary();
