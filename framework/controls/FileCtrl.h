// The drive list and the folder list of a "where to save" dialog. The folder list shows the open
// folder's path, one level per line from the drive root down (open folders), followed by the
// open folder's subfolders; a double click (or Enter) on a line opens that folder. A drive list
// linked to a folder list through DirList points it at the drive the user picks.
#pragma once

#include <vector>

#include "framework/controls/StdCtrls.h"

// One line of a folder list.
struct TFolderLine {
    String Name;    // "c:\" for the root, otherwise the folder's own name
    int Level;      // 0 for the root
    bool Open;      // a folder on the open path (the open one included)
    bool operator==(const TFolderLine&) const = default;
};

// The lines for the open folder directory ("C:\Users\ana") and its subfolders (names only):
// root, each level of the path, then the subfolders sorted case-insensitively.
std::vector<TFolderLine> FolderLines(const String& directory, std::vector<String> subfolders);
// The folder that line index of FolderLines(directory, ...) stands for.
String FolderOfLine(const String& directory, const std::vector<TFolderLine>& lines, int index);

class TDriveComboBox;

class TDirectoryListBox : public TWinControl {
    FV_CLASS(TDirectoryListBox, TWinControl)
    friend class TDriveComboBox;
public:
    explicit TDirectoryListBox(TComponent* owner);
    static void Publish(TPublisher<TDirectoryListBox>& p);

    // The open folder, without a trailing delimiter except for a drive root ("C:\").
    String Directory() const { return directory_; }
    // Opens directory; raises EInvalidArgument when it is not a folder, leaving the list as it was.
    void SetDirectory(const String& directory);
    // Opens the current folder of drive (as the process last left it on that drive).
    void SetDrive(wchar_t drive);
    wchar_t Drive() const;
    const std::vector<TFolderLine>& Lines() const { return lines_; }
    int ItemIndex() const;
    // Opens the folder of line index, as a double click on it does.
    void OpenLine(int index);

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Reload();
    void FillWindow();
    void DrawItem(const DRAWITEMSTRUCT& item);

    String directory_;
    std::vector<TFolderLine> lines_;
    TDriveComboBox* driveCombo_ = nullptr;  // the drive list linked to this one, which follows its drive
};

class TDriveComboBox : public TWinControl {
    FV_CLASS(TDriveComboBox, TWinControl)
    friend class TDirectoryListBox;
public:
    explicit TDriveComboBox(TComponent* owner);
    static void Publish(TPublisher<TDriveComboBox>& p);

    // The lower-case letter of the chosen drive.
    wchar_t Drive() const { return drive_; }
    // Chooses drive (a letter the system has) and points DirList at it.
    void SetDrive(wchar_t drive);
    TDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TDirectoryListBox* list);
    // The drive letters the list shows, lower case, in order.
    const std::vector<wchar_t>& Drives() const { return drives_; }

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FillWindow();

    std::vector<wchar_t> drives_;
    std::vector<String> texts_;
    wchar_t drive_ = L'c';
    TDirectoryListBox* dirList_ = nullptr;
};
