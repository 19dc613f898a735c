// Pages as the system's GDI draws them, through the page store and its files.
#include "report/pagestore/QRPageList.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/rtl/FileUtils.h"
#include "testing/QRDrawnPages.h"
#include "testing/QRPageListFiles.h"

namespace {

using qrtest::Image;
using qrtest::NewList;
using QRPageListFiles = qrtest::PageListFiles;

TEST_F(QRPageListFiles, DrawnPagesSurviveSavingAndLoading) {
    std::vector<Image> pages;
    for (int n = 1; n <= 5; ++n) pages.push_back(qrtest::DrawnPageEmf(n));
    const String path = PathOf(L"curriculo.QRP");
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "compressed" : "plain");
        {
            auto built = NewList(20000, compressed);
            for (const Image& page : pages) built->AddPageBytes(page);
            built->WriteHeader();
            built->WritePreparedFile(path);
        }
        TQRPageList loaded;
        loaded.LoadFromFile(path);
        EXPECT_EQ(loaded.PageCount(), 5);
        EXPECT_EQ(loaded.Compression(), compressed);
        for (int n : {4, 2, 5, 1, 3}) EXPECT_EQ(loaded.GetPageBytes(n), pages[n - 1]) << "page " << n;
    }
    EXPECT_TRUE(FileExists(path)) << "a loaded file belongs to the user";
    EXPECT_EQ(FilesInFolder().size(), 1u);
}

}  // namespace
