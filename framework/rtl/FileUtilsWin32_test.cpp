// What only Windows has: drives, programs named .exe, the system's own error texts.
#include "framework/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include "framework/rtl/StringUtils.h"
#include "framework/rtl/WinApi.h"

TEST(FileUtilsTest, ExpandsNamesOnADrive) {
    EXPECT_EQ(ExpandFileName(L"C:\\a\\..\\b\\.\\c.txt"), L"C:\\b\\c.txt");
}

TEST(FileUtilsTest, TheProgramIsAnExeInAFolder) {
    EXPECT_TRUE(SameText(ExtractFileExt(ProgramPath()), L".exe"));
    EXPECT_EQ(ProgramFolder().back(), L'\\');
}

TEST(FileUtilsTest, SysErrorMessageIsTrimmed) {
    String text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'.');
    EXPECT_NE(text.back(), L'\n');
    EXPECT_EQ(text.find(L'\r'), String::npos);
}
