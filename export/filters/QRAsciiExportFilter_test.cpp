// The plain-text writer driven as a report run drives it: grid rows from the font, texts merged
// into rows, non-empty rows written at each page end.
#include "export/filters/QRAsciiExportFilter.h"

#include <gmock/gmock.h>

#include <string>

#include "export/filters/ExportTestFolder_test.h"

namespace {

constexpr int kA4Width = 2100, kA4Length = 2970;

struct TPlaced {
    Extended X, Y;
    TAlignment Alignment;
    String Text;
};

// One page as the engine sends it: the page end before the first page, the page, its end.
std::string ExportOnePage(const TExportTestFolder& folder, int points, const std::vector<TPlaced>& texts,
                          int* lineCount = nullptr) {
    TFont font;
    font.SetSize(points);
    TQRAsciiExportFilter filter(folder / L"report.txt");
    filter.BeginExport(kA4Width, kA4Length, &font);
    if (lineCount != nullptr) *lineCount = filter.LineCount();
    filter.ClosePage();
    filter.OpenPage();
    for (const TPlaced& t : texts) filter.PlaceText(t.X, t.Y, &font, clWhite, t.Alignment, t.Text);
    filter.ClosePage();
    filter.EndExport();
    return folder.Read(L"report.txt");
}

TEST(QRAsciiExportFilter, TenPointFontGivesEightyFourRowsOnA4) {
    TExportTestFolder folder;
    int lineCount = 0;
    ExportOnePage(folder, 10, {}, &lineCount);
    EXPECT_EQ(lineCount, 84);
}

TEST(QRAsciiExportFilter, PageBytes) {
    // 10 points: rows and grid steps of 35.28 tenths of a millimetre; a column is x / 35.28 * 1.7.
    const Extended row = 254.0L * 10 / 72;
    struct TCase {
        const char* name;
        std::vector<TPlaced> texts;
        std::string bytes;
    };
    const TCase cases[] = {
        {"empty page", {}, ""},
        {"two texts on one row",
         {{row / 1.7L * 1, 0, taLeftJustify, L"Nome"}, {row / 1.7L * 20, 0, taLeftJustify, L"Silva"}},
         "Nome               Silva\r\n"},
        {"rows in order, empty rows skipped",
         {{row / 1.7L, row * 3, taLeftJustify, L"depois"}, {row / 1.7L, row * 1, taLeftJustify, L"antes"}},
         "antes\r\ndepois\r\n"},
        {"right-justified text ends at its anchor column",
         {{row / 1.7L * 10, 0, taLeftJustify, L"x"}, {row / 1.7L * 10, row, taRightJustify, L"abc"}},
         "         x\r\n      abc\r\n"},
        {"a later text overwrites the characters it covers",
         {{row / 1.7L, 0, taLeftJustify, L"abcdef"}, {row / 1.7L * 3, 0, taLeftJustify, L"XY"}},
         "abXYef\r\n"},
        {"a text left of the paper starts the row",
         {{row / 1.7L * 3, 0, taLeftJustify, L"fim"}, {row / 1.7L * 2, 0, taRightJustify, L"comeco"}},
         "comeco  fim\r\n"},
        {"the row is the nearest one, halves upward",
         {{row / 1.7L, row * 1.5L, taLeftJustify, L"b"}, {row / 1.7L, row * 0.49L, taLeftJustify, L"a"}},
         "a\r\nb\r\n"},
        {"rows below the paper and far below the old 201-row grid",
         {{row / 1.7L, row * 84, taLeftJustify, L"84"}, {row / 1.7L, row * 250, taLeftJustify, L"250"}},
         "84\r\n250\r\n"},
        {"above the paper: no row", {{row / 1.7L, -row * 2, taLeftJustify, L"fora"}}, ""},
    };
    for (const TCase& c : cases) {
        TExportTestFolder folder;
        EXPECT_EQ(ExportOnePage(folder, 10, c.texts), c.bytes) << c.name;
    }
}

TEST(QRAsciiExportFilter, SmallAndMissingFontSizesStillPlaceEveryText) {
    // A 1-point grid on A4 has 842 rows; a size of 0 takes the 10-point grid instead of dividing by 0.
    struct TCase {
        int points;
        int lineCount;
    };
    for (TCase c : {TCase{1, 842}, TCase{0, 84}}) {
        TExportTestFolder folder;
        int lineCount = 0;
        const std::string bytes = ExportOnePage(folder, c.points, {{1000, 2900, taLeftJustify, L"rodape"}}, &lineCount);
        EXPECT_EQ(lineCount, c.lineCount) << c.points;
        EXPECT_THAT(bytes, ::testing::EndsWith("rodape\r\n")) << c.points;
    }
}

TEST(QRAsciiExportFilter, PagesFollowEachOtherWithoutSeparatorsAndStartEmpty) {
    TExportTestFolder folder;
    TFont font;
    font.SetSize(10);
    TQRAsciiExportFilter filter(folder / L"report.txt");
    filter.BeginExport(kA4Width, kA4Length, &font);
    filter.ClosePage();
    for (const wchar_t* text : {L"pagina 1", L"pagina 2"}) {
        filter.OpenPage();
        filter.PlaceText(21, 0, &font, clWhite, taLeftJustify, text);
        filter.ClosePage();
    }
    filter.OpenPage();
    filter.ClosePage();
    filter.EndExport();
    EXPECT_FALSE(filter.Active());
    EXPECT_EQ(folder.Read(L"report.txt"), "pagina 1\r\npagina 2\r\n");
}

TEST(QRAsciiExportFilter, AFileThatCannotBeCreatedFailsTheBeginning) {
    TExportTestFolder folder;
    TFont font;
    TQRAsciiExportFilter filter(folder / L"missing\\report.txt");
    EXPECT_THROW(filter.BeginExport(kA4Width, kA4Length, &font), EFCreateError);
    EXPECT_FALSE(filter.Active());
}

}  // namespace
