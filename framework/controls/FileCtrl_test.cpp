#include "framework/controls/FileCtrl.h"

#include <gtest/gtest.h>

TEST(FolderLines, ThePathFromTheRootThenTheSortedSubfolders) {
    const auto lines = FolderLines(L"C:\\Users\\ana", {L"zeta", L"Alfa", L"beta"});
    const std::vector<TFolderLine> expected = {
        {L"c:\\", 0, true}, {L"Users", 1, true}, {L"ana", 2, true},
        {L"Alfa", 3, false}, {L"beta", 3, false}, {L"zeta", 3, false},
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(FolderLines(L"D:\\", {}), (std::vector<TFolderLine>{{L"d:\\", 0, true}}));
}

TEST(FolderLines, EachLineOpensItsFolder) {
    const String open = L"C:\\Users\\ana";
    const auto lines = FolderLines(open, {L"docs", L"fotos"});
    struct Row {
        int Line;
        String Folder;
    };
    const Row rows[] = {
        {0, L"c:\\"},
        {1, L"c:\\Users"},
        {2, L"c:\\Users\\ana"},
        {3, L"c:\\Users\\ana\\docs"},
        {4, L"c:\\Users\\ana\\fotos"},  // not through its sibling "docs"
        {-1, open},
        {5, open},
    };
    for (const Row& row : rows) EXPECT_EQ(FolderOfLine(open, lines, row.Line), row.Folder) << row.Line;
    EXPECT_EQ(FolderOfLine(L"D:\\", FolderLines(L"D:\\", {L"x"}), 1), L"d:\\x");
}
