#include "framework/rtl/DllSearchPath.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/rtl/WinApi.h"

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.erase(folder.find_last_of(L"\\/") + 1);
}

// A folder of its own holding a copy of the probe library; it is the current folder while the
// fixture lives.
class DllSearchPath : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"folhavida-dllsearch-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"DllSearchProbe.dll").c_str(), (folder_ + CopyName).c_str(), TRUE));
        GetCurrentDirectoryW(MAX_PATH, previous_);
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous_);
        DeleteFileW((folder_ + CopyName).c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    static constexpr const wchar_t* CopyName = L"fvcurrentfolderprobe.dll";
    std::wstring folder_;
    wchar_t previous_[MAX_PATH] = {};
};

TEST_F(DllSearchPath, TheCurrentFolderIsSearchedNoLongerTheSystemAndProgramFoldersStill) {
    HMODULE found = LoadLibraryW(CopyName);
    ASSERT_NE(found, nullptr) << "without the restriction the current folder is searched";
    ASSERT_TRUE(FreeLibrary(found));

    EXPECT_TRUE(RestrictDllSearchPath());
    EXPECT_EQ(LoadLibraryW(CopyName), nullptr) << "a library in the current folder was loaded";
    HMODULE own = LoadLibraryW(L"DllSearchProbe.dll");
    EXPECT_NE(own, nullptr) << "the program's folder is searched";
    HMODULE system = LoadLibraryW(L"riched20.dll");
    EXPECT_NE(system, nullptr) << "the system folder is searched";
    if (own != nullptr) FreeLibrary(own);
    if (system != nullptr) FreeLibrary(system);
}

}  // namespace
