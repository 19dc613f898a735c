#include "framework/rtl/FileReplacement.h"

#include <gtest/gtest.h>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"

namespace {

void WriteText(const String& fileName, const std::string& text) {
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

std::string ReadText(const String& fileName) {
    TFileStream file(fileName, fmOpenRead);
    std::string text(static_cast<size_t>(file.Size()), '\0');
    file.ReadBuffer(text.data(), file.Size());
    return text;
}

}  // namespace

TEST(FileReplacementTest, TheTargetChangesOnlyOnCommitAndNoTemporaryFileStays) {
    const String folder = GetTempDirectory() + L"fv-replacement\\";
    ASSERT_TRUE(ForceDirectories(folder));
    const String target = folder + L"cv.txt";
    struct Case {
        const char* name;
        bool commit;
        std::string expected;
    } cases[] = {{"committed", true, "new"}, {"dropped", false, "old"}};
    for (const Case& c : cases) {
        WriteText(target, "old");
        String temporary;
        {
            TFileReplacement replacement(target, L"FV");
            temporary = replacement.TemporaryName();
            EXPECT_TRUE(SameText(ExtractFilePath(temporary), folder)) << c.name;
            replacement.Stream().WriteBuffer("new", 3);
            EXPECT_EQ(ReadText(target), "old") << c.name;
            if (c.commit) replacement.Commit();
        }
        EXPECT_EQ(ReadText(target), c.expected) << c.name;
        EXPECT_FALSE(FileExists(temporary)) << c.name;
    }
    DeleteFile(target);
    RemoveDir(folder);
}

TEST(FileReplacementTest, AFailedCommitNamesTheTargetAndRemovesTheTemporaryFile) {
    const String folder = GetTempDirectory() + L"fv-replacement-failing\\";
    const String target = folder + L"cv.txt";
    ASSERT_TRUE(ForceDirectories(target));  // a folder stands where the file would go
    String temporary;
    {
        TFileReplacement replacement(target, L"FV");
        temporary = replacement.TemporaryName();
        replacement.Stream().WriteBuffer("new", 3);
        try {
            replacement.Commit();
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_NE(e.Message().find(target), String::npos);
        }
        EXPECT_FALSE(FileExists(temporary));
    }
    EXPECT_TRUE(DirectoryExists(target));
    RemoveDir(target);
    RemoveDir(folder);
}
