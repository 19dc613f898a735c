#include "framework/controls/FileCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"

namespace {

// A folder with two subfolders under the temp directory, removed again at the end.
struct FolderTree {
    FolderTree() {
        Root = GetTempDirectory() + L"filectrl-" + std::to_wstring(GetCurrentProcessId());
        ForceDirectories(Root + L"\\beta");
        ForceDirectories(Root + L"\\Alfa");
    }
    ~FolderTree() {
        RemoveDir(Root + L"\\beta");
        RemoveDir(Root + L"\\Alfa");
        RemoveDir(Root);
    }
    String Root;
};

String ListItem(HWND list, int index) {
    wchar_t text[MAX_PATH]{};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

struct Changes : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

}  // namespace

TEST(DirectoryListBox, ShowsTheOpenFolderAndOpensALineOnDoubleClick) {
    FolderTree tree;
    TestHost host;
    auto* list = host.Add<TDirectoryListBox>(8, 8, 233, 177);
    Changes changes;
    list->OnChange = TNotifyEvent(&changes, &Changes::Changed);
    list->SetDirectory(tree.Root);
    EXPECT_EQ(changes.Count, 1);
    const HWND h = list->Handle();
    const int count = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
    ASSERT_EQ(count, static_cast<int>(list->Lines().size()));
    ASSERT_GE(count, 3);
    EXPECT_EQ(ListItem(h, count - 2), L"Alfa");
    EXPECT_EQ(ListItem(h, count - 1), L"beta");
    EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), count - 3);  // the open folder

    // A double click on "beta" opens it, as the user does to pick a folder.
    SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), LBN_DBLCLK), reinterpret_cast<LPARAM>(h));
    EXPECT_EQ(lstrcmpiW(list->Directory().c_str(), (tree.Root + L"\\beta").c_str()), 0) << StringToUtf8(list->Directory());
    EXPECT_EQ(changes.Count, 2);
    // Going up one level through the path line above.
    list->OpenLine(list->ItemIndex() - 1);
    EXPECT_EQ(lstrcmpiW(list->Directory().c_str(), tree.Root.c_str()), 0);

    // A folder that does not exist leaves the list where it was.
    EXPECT_THROW(list->SetDirectory(tree.Root + L"\\missing"), EInvalidArgument);
    EXPECT_EQ(lstrcmpiW(list->Directory().c_str(), tree.Root.c_str()), 0);
}

TEST(DriveComboBox, ListsTheDrivesAndPointsItsFolderListAtThePickedOne) {
    TestHost host;
    auto* drives = host.Add<TDriveComboBox>(8, 8, 233, 22);
    auto* list = host.Add<TDirectoryListBox>(8, 40, 233, 177);
    drives->SetDirList(list);
    const HWND h = drives->Handle();
    ASSERT_EQ(static_cast<size_t>(SendMessageW(h, CB_GETCOUNT, 0, 0)), drives->Drives().size());
    const auto& letters = drives->Drives();
    ASSERT_NE(std::find(letters.begin(), letters.end(), L'c'), letters.end());
    ASSERT_NE(std::find(letters.begin(), letters.end(), L'z'), letters.end());  // Wine's view of /

    // The user picks z: in the list; the folder list goes to z:'s current folder.
    const int z = static_cast<int>(std::find(letters.begin(), letters.end(), L'z') - letters.begin());
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(z), 0);
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
    EXPECT_EQ(drives->Drive(), L'z');
    EXPECT_EQ(list->Drive(), L'z') << StringToUtf8(list->Directory());

    drives->SetDrive(L'C');
    EXPECT_EQ(list->Drive(), L'c');
    // Opening a folder on another drive in the list moves the drive list along.
    list->SetDirectory(L"Z:\\");
    EXPECT_EQ(drives->Drive(), L'z');
    EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), z);
    drives->SetDrive(L'c');
    EXPECT_THROW(drives->SetDrive(L'#'), EInvalidArgument);
    EXPECT_EQ(drives->Drive(), L'c');

    // Freeing the folder list unlinks it.
    delete list;
    drives->SetDrive(L'z');
    EXPECT_EQ(drives->DirList(), nullptr);
}
