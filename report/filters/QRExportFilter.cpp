#include "report/filters/QRExportFilter.h"

#include <algorithm>

#include "framework/classes/ComponentScope.h"
#include "framework/rtl/StringUtils.h"

TQRExportFilterClass TQRExportFilter::FilterClass() {
    static const TQRExportFilterClassInfo info{
        L"TQRExportFilter",
        [](const String& fileName) { return std::make_unique<TQRExportFilter>(fileName); }};
    return &info;
}

void TQRExportFilter::BeginExport(int, int, TFont*) { active_ = true; }
void TQRExportFilter::EndExport() { active_ = false; }
void TQRExportFilter::PlaceGraphic(TQRPrintable*, Extended, Extended) {}
void TQRExportFilter::Reserved(TObject*, Extended, Extended) {}
void TQRExportFilter::NoteBand(TQRCustomBand*, Extended, Extended, Extended) {}
void TQRExportFilter::PlaceText(Extended, Extended, TFont*, TColor, TAlignment, const String&) {}

void TQRExportFilterLibrary::EnrollFilter(TQRExportFilterClass filterClass) {
    for (const TQRExportFilterLibraryEntry& entry : entries_)
        if (entry.FilterClass == filterClass) return;
    std::unique_ptr<TQRExportFilter> filter = filterClass->Create(String());
    entries_.push_back({filterClass, filter->FilterTitle(), filter->FileExtension()});
}

void TQRExportFilterLibrary::WithdrawFilter(TQRExportFilterClass filterClass) {
    std::erase_if(entries_, [filterClass](const TQRExportFilterLibraryEntry& entry) {
        return entry.FilterClass == filterClass;
    });
}

std::optional<TQRExportFilterLibraryEntry> TQRExportFilterLibrary::EntryForExtension(
    const String& extension) const {
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const TQRExportFilterLibraryEntry& entry) {
        return SameText(entry.Extension, extension);
    });
    if (found == entries_.end()) return std::nullopt;
    return *found;
}

String TQRExportFilterLibrary::BuildSaveFilterText() const {
    String text = L"Report file(*.QRP)|*.QRP";
    for (const TQRExportFilterLibraryEntry& entry : entries_)
        text += L"|" + entry.FilterName + L" (*." + entry.Extension + L")|*." + entry.Extension;
    return text;
}

// The application scope's: what filter components enrolled in one scope is not offered in the next.
TQRExportFilterLibrary& ExportFilterLibrary() { return ScopeObject<TQRExportFilterLibrary>(); }
