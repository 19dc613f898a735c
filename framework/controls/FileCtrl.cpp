#include "framework/controls/FileCtrl.h"

#include <algorithm>

#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/UniqueHandle.h"

namespace {

bool IsDelimiter(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\a\b" -> {"c:\", "a", "b"}
std::vector<String> PathParts(const String& directory) {
    std::vector<String> parts;
    if (directory.size() < 2 || directory[1] != DriveDelim) return parts;
    parts.push_back(String(1, static_cast<wchar_t>(towlower(directory[0]))) + L":\\");
    String part;
    for (size_t i = 2; i < directory.size(); ++i) {
        if (IsDelimiter(directory[i])) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += directory[i];
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// A directory search (FindFirstFileW), closed with FindClose.
using UniqueFindHandle = UniqueHandle<HANDLE, ReleaseBy<&FindClose>>;

UniqueFindHandle FindFirst(const String& pattern, WIN32_FIND_DATAW& found) {
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    return UniqueFindHandle(search == INVALID_HANDLE_VALUE ? nullptr : search);
}

std::vector<String> Subfolders(const String& directory) {
    std::vector<String> names;
    WIN32_FIND_DATAW found{};
    const String pattern = IncludeTrailingPathDelimiter(directory) + L"*";
    const UniqueFindHandle search = FindFirst(pattern, found);
    if (!search) return names;
    do {
        const String name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    return names;
}

// Folder pictures drawn with GDI: an open folder (on the path) or a closed one.
void DrawFolder(HDC dc, int x, int y, bool open) {
    UniqueBrush face(CreateSolidBrush(RGB(250, 214, 90)));
    UniqueBrush edge(CreateSolidBrush(RGB(170, 120, 30)));
    RECT tab{x, y + 1, x + 6, y + 4};
    FillRect(dc, &tab, face.get());
    FrameRect(dc, &tab, edge.get());
    RECT body{x, y + 3, x + 15, y + 13};
    FillRect(dc, &body, face.get());
    FrameRect(dc, &body, edge.get());
    if (open) {
        UniqueBrush flap(CreateSolidBrush(RGB(255, 236, 150)));
        RECT front{x + 2, y + 6, x + 15, y + 13};
        FillRect(dc, &front, flap.get());
        FrameRect(dc, &front, edge.get());
    }
}

}  // namespace

std::vector<TFolderLine> FolderLines(const String& directory, std::vector<String> subfolders) {
    std::vector<TFolderLine> lines;
    const std::vector<String> parts = PathParts(directory);
    for (size_t i = 0; i < parts.size(); ++i) lines.push_back({parts[i], static_cast<int>(i), true});
    std::sort(subfolders.begin(), subfolders.end(),
              [](const String& a, const String& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
    for (const String& name : subfolders) lines.push_back({name, static_cast<int>(parts.size()), false});
    return lines;
}

String FolderOfLine(const String& directory, const std::vector<TFolderLine>& lines, int index) {
    if (index < 0 || index >= static_cast<int>(lines.size())) return directory;
    String path;
    for (int i = 0; i <= index; ++i) {
        const TFolderLine& line = lines[static_cast<size_t>(i)];
        if (!line.Open && i < index) continue;  // the subfolders above the one picked
        if (line.Level == 0) path = line.Name;
        else path = IncludeTrailingPathDelimiter(path) + line.Name;
    }
    return path;
}

// ---- TDirectoryListBox ----

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(Left(), Top(), 145, 97);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    wchar_t buffer[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    directory_ = ExcludeTrailingPathDelimiter(buffer);
    if (directory_.size() == 2) directory_ += L"\\";
    Reload();
}

void TDirectoryListBox::Publish(TPublisher<TDirectoryListBox>& p) {
    p.Event(L"OnChange", &TDirectoryListBox::OnChange);
}

void TDirectoryListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"LISTBOX");
    params.Style |= WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                    LBS_NOINTEGRALHEIGHT;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDirectoryListBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendMessageW(HandleIfAllocated(), LB_SETITEMHEIGHT, 0, 16);
    FillWindow();
}

wchar_t TDirectoryListBox::Drive() const {
    return directory_.empty() ? L'\0' : static_cast<wchar_t>(towlower(directory_[0]));
}

void TDirectoryListBox::SetDirectory(const String& directory) {
    String full = ExpandFileName(directory);
    if (!DirectoryExists(full)) throw EInvalidArgument(L"Pasta não encontrada: " + directory);
    full = ExcludeTrailingPathDelimiter(full);
    if (full.size() == 2 && full[1] == DriveDelim) full += L"\\";
    if (!full.empty()) full[0] = static_cast<wchar_t>(towupper(full[0]));
    const bool changed = lstrcmpiW(full.c_str(), directory_.c_str()) != 0;
    directory_ = full;
    Reload();
    if (driveCombo_ != nullptr && driveCombo_->drive_ != Drive()) {
        driveCombo_->drive_ = Drive();
        driveCombo_->FillWindow();
    }
    if (changed && OnChange) OnChange(this);
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == driveCombo_) driveCombo_ = nullptr;
}

void TDirectoryListBox::SetDrive(wchar_t drive) {
    // "X:" alone names the process's current folder on drive X.
    const String spec{static_cast<wchar_t>(towupper(drive)), DriveDelim};
    wchar_t buffer[MAX_PATH]{};
    if (GetFullPathNameW(spec.c_str(), MAX_PATH, buffer, nullptr) == 0 || !DirectoryExists(buffer)) {
        SetDirectory(spec + L"\\");
        return;
    }
    SetDirectory(buffer);
}

int TDirectoryListBox::ItemIndex() const {
    int open = -1;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].Open) open = static_cast<int>(i);
    return open;
}

void TDirectoryListBox::OpenLine(int index) {
    if (index < 0 || index >= static_cast<int>(lines_.size())) return;
    SetDirectory(FolderOfLine(directory_, lines_, index));
}

void TDirectoryListBox::Reload() {
    lines_ = FolderLines(directory_, Subfolders(directory_));
    FillWindow();
}

void TDirectoryListBox::FillWindow() {
    const HWND h = HandleIfAllocated();
    if (h == nullptr) return;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SendMessageW(h, LB_RESETCONTENT, 0, 0);
    for (const TFolderLine& line : lines_) SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Name.c_str()));
    SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(ItemIndex()), 0);
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
}

void TDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= lines_.size()) return;
    const TFolderLine& line = lines_[item.itemID];
    const int x = r.left + 2 + line.Level * 8;
    DrawFolder(dc, x, r.top + 1, line.Open);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    SavedDCState saved(dc);
    SelectObject(dc, Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc, line.Name.c_str(), static_cast<int>(line.Name.size()), &size);
    RECT text{x + 19, r.top, x + 23 + size.cx, r.bottom};
    if (selected) FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT inner{text.left + 2, text.top, text.right, text.bottom};
    DrawTextW(dc, line.Name.c_str(), -1, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &text);
}

void TDirectoryListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case CN_COMMAND:
        if (message.WParamHi() == LBN_DBLCLK) {
            OpenLine(static_cast<int>(SendMessageW(HandleIfAllocated(), LB_GETCURSEL, 0, 0)));
            return;
        }
        break;
    case WM_GETDLGCODE:
        TWinControl::WndProc(message);
        message.Result |= DLGC_WANTARROWS;
        return;
    case WM_KEYDOWN:
        if (message.WParam == VK_RETURN) {
            OpenLine(static_cast<int>(SendMessageW(HandleIfAllocated(), LB_GETCURSEL, 0, 0)));
            return;
        }
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

// ---- TDriveComboBox ----

TDriveComboBox::TDriveComboBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(Left(), Top(), 145, 22);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0) continue;
        const wchar_t letter = static_cast<wchar_t>(L'a' + i);
        const String root{letter, L':', L'\\'};
        String text{letter, L':'};
        // Only local disks are asked for their label: a removable or network drive may take long.
        const UINT type = GetDriveTypeW(root.c_str());
        wchar_t label[MAX_PATH + 1]{};
        if ((type == DRIVE_FIXED || type == DRIVE_RAMDISK) &&
            GetVolumeInformationW(root.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0) &&
            label[0] != L'\0')
            text += String(L" [") + label + L"]";
        drives_.push_back(letter);
        texts_.push_back(text);
    }
    wchar_t current[MAX_PATH]{};
    if (GetCurrentDirectoryW(MAX_PATH, current) > 0 && current[1] == DriveDelim)
        drive_ = static_cast<wchar_t>(towlower(current[0]));
}

void TDriveComboBox::Publish(TPublisher<TDriveComboBox>& p) {
    p.Property(L"DirList", &TDriveComboBox::DirList, &TDriveComboBox::SetDirList);
    p.Event(L"OnChange", &TDriveComboBox::OnChange);
}

void TDriveComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"COMBOBOX");
    params.Style |= WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
}

void TDriveComboBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    FillWindow();
}

void TDriveComboBox::FillWindow() {
    const HWND h = HandleIfAllocated();
    if (h == nullptr) return;
    SendMessageW(h, CB_RESETCONTENT, 0, 0);
    for (const String& text : texts_) SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const auto at = std::find(drives_.begin(), drives_.end(), drive_);
    SendMessageW(h, CB_SETCURSEL, at == drives_.end() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(at - drives_.begin()), 0);
}

void TDriveComboBox::SetDrive(wchar_t drive) {
    drive = static_cast<wchar_t>(towlower(drive));
    if (std::find(drives_.begin(), drives_.end(), drive) == drives_.end())
        throw EInvalidArgument(String(L"Unidade inexistente: ") + drive + L":");
    const bool changed = drive != drive_;
    drive_ = drive;
    FillWindow();
    if (dirList_ != nullptr && dirList_->Drive() != drive_) dirList_->SetDrive(drive_);
    if (changed && OnChange) OnChange(this);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    if (list == dirList_) return;
    if (dirList_ != nullptr) {
        dirList_->driveCombo_ = nullptr;
        dirList_->RemoveFreeNotification(this);
    }
    dirList_ = list;
    if (dirList_ != nullptr) {
        dirList_->driveCombo_ = this;
        dirList_->FreeNotification(this);
        // The drive list shows the drive of the folder the list has open.
        if (dirList_->Drive() != L'\0' && std::find(drives_.begin(), drives_.end(), dirList_->Drive()) != drives_.end()) {
            drive_ = dirList_->Drive();
            FillWindow();
        }
    }
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == dirList_) dirList_ = nullptr;
}

void TDriveComboBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && message.WParamHi() == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0));
        if (index >= 0 && index < static_cast<int>(drives_.size())) {
            const wchar_t previous = drive_;
            try {
                SetDrive(drives_[static_cast<size_t>(index)]);
            } catch (...) {
                // A drive without a readable folder (an empty card reader): stay on the last one.
                drive_ = previous;
                FillWindow();
                throw;
            }
        }
        return;
    }
    TWinControl::WndProc(message);
}
