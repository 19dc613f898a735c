#include "report/filters/QRExportFilter.h"

#include <gmock/gmock.h>

namespace {

class TPdfFilter : public TQRExportFilter {
    FV_EXPORT_FILTER(TPdfFilter)
public:
    using TQRExportFilter::TQRExportFilter;
    String FileExtension() const override { return L"PDF"; }
    String FilterTitle() const override { return L"PDF document"; }
};

class THtmlFilter : public TQRExportFilter {
    FV_EXPORT_FILTER(THtmlFilter)
public:
    using TQRExportFilter::TQRExportFilter;
    String FileExtension() const override { return L"HTM"; }
    String FilterTitle() const override { return L"HTML document"; }
};

// Same title as the PDF filter: the library keys on the class, not on what it is called.
class TOtherPdfFilter : public TPdfFilter {
    FV_EXPORT_FILTER(TOtherPdfFilter)
public:
    using TPdfFilter::TPdfFilter;
    String FileExtension() const override { return L"pdf2"; }
};

TEST(ExportFilter, BaseBehaviour) {
    TQRExportFilter filter(L"out.x");
    EXPECT_EQ(filter.FileName(), L"out.x");
    EXPECT_EQ(filter.FilterTitle(), L"Abstract filter");
    EXPECT_EQ(filter.DescriptionText(), L"Abstract non-working export filter");
    EXPECT_EQ(filter.VendorText(), L"Report Engine");
    EXPECT_EQ(filter.FileExtension(), L"");
    EXPECT_FALSE(filter.UnpagedOutput()) << "a filter that does not say otherwise gets a paged run";
    EXPECT_FALSE(filter.Active());
    filter.BeginExport(2100, 2970, nullptr);
    EXPECT_TRUE(filter.Active());
    filter.EndExport();
    EXPECT_FALSE(filter.Active());
}

TEST(ExportFilter, VirtualConstructorMakesTheClassAsked) {
    std::unique_ptr<TQRExportFilter> filter = THtmlFilter::FilterClass()->Create(L"a.htm");
    EXPECT_EQ(filter->ClassName(), L"THtmlFilter");
    EXPECT_EQ(filter->ExportFilterClass(), THtmlFilter::FilterClass());
    EXPECT_EQ(filter->FileName(), L"a.htm");
}

TEST(ExportFilterLibrary, SaveFilterText) {
    struct Row {
        std::vector<TQRExportFilterClass> Enrolled;
        const wchar_t* Text;
    } rows[] = {
        {{}, L"Report file(*.QRP)|*.QRP"},
        {{TPdfFilter::FilterClass(), THtmlFilter::FilterClass()},
         L"Report file(*.QRP)|*.QRP|PDF document (*.PDF)|*.PDF|HTML document (*.HTM)|*.HTM"},
        {{THtmlFilter::FilterClass(), TPdfFilter::FilterClass(), THtmlFilter::FilterClass()},
         L"Report file(*.QRP)|*.QRP|HTML document (*.HTM)|*.HTM|PDF document (*.PDF)|*.PDF"},
    };
    for (const Row& row : rows) {
        TQRExportFilterLibrary library;
        for (TQRExportFilterClass filterClass : row.Enrolled) library.EnrollFilter(filterClass);
        EXPECT_EQ(library.BuildSaveFilterText(), row.Text);
    }
}

TEST(ExportFilterLibrary, EnrolAndWithdrawByClass) {
    TQRExportFilterLibrary library;
    library.EnrollFilter(TPdfFilter::FilterClass());
    library.EnrollFilter(TPdfFilter::FilterClass());  // a second component of the same class
    library.EnrollFilter(TOtherPdfFilter::FilterClass());
    library.EnrollFilter(THtmlFilter::FilterClass());
    ASSERT_EQ(library.Filters().size(), 3u);
    EXPECT_EQ(library.Filters()[0].FilterName, L"PDF document");
    EXPECT_EQ(library.Filters()[0].Extension, L"PDF");

    library.WithdrawFilter(TOtherPdfFilter::FilterClass());  // not the other class of that title
    ASSERT_EQ(library.Filters().size(), 2u);
    EXPECT_EQ(library.Filters()[0].FilterClass, TPdfFilter::FilterClass());
    library.WithdrawFilter(TOtherPdfFilter::FilterClass());  // not listed: nothing changes
    EXPECT_EQ(library.Filters().size(), 2u);
    library.WithdrawFilter(TPdfFilter::FilterClass());  // either component's end withdraws it
    ASSERT_EQ(library.Filters().size(), 1u);
    EXPECT_EQ(library.Filters()[0].FilterClass, THtmlFilter::FilterClass());
}

TEST(ExportFilterLibrary, LookupByExtension) {
    TQRExportFilterLibrary library;
    library.EnrollFilter(TPdfFilter::FilterClass());
    library.EnrollFilter(THtmlFilter::FilterClass());
    struct Row {
        const wchar_t* Extension;
        TQRExportFilterClass Found;  // null: a miss
    } rows[] = {
        {L"HTM", THtmlFilter::FilterClass()},
        {L"htm", THtmlFilter::FilterClass()},
        {L"Pdf", TPdfFilter::FilterClass()},
        {L"html", nullptr},
        {L"", nullptr},
        {L"QRP", nullptr},
    };
    for (const Row& row : rows) {
        std::optional<TQRExportFilterLibraryEntry> entry = library.EntryForExtension(row.Extension);
        ASSERT_EQ(entry.has_value(), row.Found != nullptr) << "extension '" << row.Extension << "'";
        if (entry) {
            EXPECT_EQ(entry->FilterClass, row.Found) << "extension '" << row.Extension << "'";
        }
    }
}

}  // namespace
