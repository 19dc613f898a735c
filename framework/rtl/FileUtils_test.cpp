#include "framework/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include "framework/rtl/Streams.h"
#include "framework/rtl/StringUtils.h"

TEST(FileUtilsTest, ExtractsPartsOfFileNames) {
    struct Case {
        const wchar_t* fileName;
        const wchar_t* name;
        const wchar_t* ext;
        const wchar_t* path;
        const wchar_t* dir;
    } cases[] = {
        {L"C:\\Docs\\cv.final.pdf", L"cv.final.pdf", L".pdf", L"C:\\Docs\\", L"C:\\Docs"},
        {L"C:/Docs/cv.rtf", L"cv.rtf", L".rtf", L"C:/Docs/", L"C:/Docs"},
        {L"C:\\cv.txt", L"cv.txt", L".txt", L"C:\\", L"C:\\"},
        {L"C:cv.txt", L"cv.txt", L".txt", L"C:", L"C:"},
        {L"cv", L"cv", L"", L"", L""},
        {L"dir.v2\\readme", L"readme", L"", L"dir.v2\\", L"dir.v2"},
        {L"a\\b/", L"", L"", L"a\\b/", L"a\\b"},
        {L"\\\\server\\share\\x.doc", L"x.doc", L".doc", L"\\\\server\\share\\", L"\\\\server\\share"},
        {L".profile", L".profile", L".profile", L"", L""},
        {L"", L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.fileName));
        EXPECT_EQ(ExtractFileName(c.fileName), c.name);
        EXPECT_EQ(ExtractFileExt(c.fileName), c.ext);
        EXPECT_EQ(ExtractFilePath(c.fileName), c.path);
        EXPECT_EQ(ExtractFileDir(c.fileName), c.dir);
    }
}

TEST(FileUtilsTest, ChangesExtensionsAndDelimiters) {
    EXPECT_EQ(ChangeFileExt(L"C:\\a\\cv.txt", L".pdf"), L"C:\\a\\cv.pdf");
    EXPECT_EQ(ChangeFileExt(L"C:\\a.b\\cv", L".pdf"), L"C:\\a.b\\cv.pdf");
    EXPECT_EQ(ChangeFileExt(L"cv.tar.gz", L""), L"cv.tar");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:/a/"), L"C:/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a");
    const String expanded = ExpandFileName(L"a\\..\\b\\.\\c.txt");
    EXPECT_EQ(expanded, ExpandFileName(L"b\\c.txt"));
    EXPECT_EQ(ExtractFileName(expanded), L"c.txt");
    EXPECT_EQ(ExtractFileName(ExcludeTrailingPathDelimiter(ExtractFilePath(expanded))), L"b");
}

TEST(FileUtilsTest, FileSystemQueries) {
    String root = GetTempDirectory() + L"fv-fileutils-test\\";
    String deep = root + L"um\\dois\\três";
    ASSERT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + L"\\"));  // already there
    EXPECT_FALSE(FileExists(deep));
    EXPECT_FALSE(ForceDirectories(L""));

    String file = deep + L"\\cv.txt";
    {
        TFileStream out(file, fmCreate);
        out.WriteBuffer("12345", 5);
    }
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_EQ(FileSize(file), 5);
    EXPECT_EQ(FileSize(deep), -1);
    String renamed = deep + L"\\cv2.txt";
    EXPECT_TRUE(RenameFile(file, renamed));
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(DeleteFile(renamed));
    EXPECT_FALSE(DeleteFile(renamed));
    EXPECT_EQ(FileSize(renamed), -1);

    for (String dir = deep; dir.size() + 1 >= root.size(); dir = ExtractFileDir(dir))
        EXPECT_TRUE(RemoveDir(dir));
    EXPECT_FALSE(DirectoryExists(root));
}

TEST(FileUtilsTest, TempFilesAndProgramLocation) {
    String temp = GetTempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
    EXPECT_TRUE(DirectoryExists(temp));

    String name = CreateTempFileName(L"fvt");
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(FileSize(name), 0);
    EXPECT_TRUE(SameText(ExtractFilePath(name), temp));
    EXPECT_TRUE(SameText(ExtractFileName(name).substr(0, 3), L"fvt"));
    String second = CreateTempFileName(L"fvt");
    EXPECT_NE(second, name);  // each call makes a new file
    DeleteFile(second);
    DeleteFile(name);

    String exe = ProgramPath();
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(ProgramFolder(), ExtractFilePath(exe));
}

namespace {

void WriteText(const String& fileName, const std::string& text) {
    TFileStream file(fileName, fmCreate);
    file.Write(text.data(), static_cast<Int64>(text.size()));
}

std::string ReadText(const String& fileName) {
    TFileStream file(fileName, fmOpenRead);
    std::string text(static_cast<size_t>(file.Size()), '\0');
    file.Read(text.data(), file.Size());
    return text;
}

}  // namespace

TEST(FileUtilsTest, AFileIsReplacedThroughATemporaryFileBesideIt) {
    const String folder = GetTempDirectory() + L"fv-replace\\";
    ASSERT_TRUE(ForceDirectories(folder));
    const String target = folder + L"target.txt";
    WriteText(target, "old");

    const String temporary = CreateTempFileBeside(target, L"QRP");
    EXPECT_TRUE(SameText(ExtractFilePath(temporary), folder));
    EXPECT_TRUE(SameText(ExtractFileName(temporary).substr(0, 3), L"QRP"));
    EXPECT_EQ(FileSize(temporary), 0);
    WriteText(temporary, "new");
    ReplaceFileWith(temporary, target);
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_FALSE(FileExists(temporary));

    // A failed replacement names the target and leaves it as it was.
    try {
        ReplaceFileWith(folder + L"missing.txt", target);
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(L"\"" + target + L"\""), String::npos) << StringToUtf8(e.Message());
    }
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_THROW(CreateTempFileBeside(folder + L"no folder\\target.txt", L"QRP"), EFCreateError);

    DeleteFile(target);
    RemoveDir(folder);
}
