// Drives Folhavida.exe from outside, the way a person would: finds its window by caption and
// its controls by class and position, clicks, types, presses Enter and reads back, through
// window messages only.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/PageTexts_test.h"
#include "framework/rtl/UniqueHandle.h"
#include "report/pagestore/QRPageList.h"
#include "framework/rtl/WinApi.h"
#include "testing/QRPageListFiles.h"
#include "testing/QRTestPages.h"
#include "testing/TestJpegs.h"

#include <commctrl.h>
#include <dlgs.h>

namespace {

using namespace std::chrono_literals;

const wchar_t* const MainCaption = L"Folhavida 3.0 - Crie o seu currículo com facilidade!";

std::wstring ProgramNextToThisOne(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

struct ChildSearch {
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleChild(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<ChildSearch*>(data);
    if (IsWindowVisible(window) && ClassOf(window) == s->className) s->found.push_back(window);
    return TRUE;
}

// Visible descendants of a window with this class name, top to bottom, then left to right.
std::vector<HWND> VisibleChildren(HWND parent, const std::wstring& className) {
    ChildSearch search{className, {}};
    EnumChildWindows(parent, CollectVisibleChild, reinterpret_cast<LPARAM>(&search));
    std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return search.found;
}

// Memory in the other process for the common-control messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size) : process_(process), size_(size) {
        memory_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* Address() const { return memory_; }
    void Write(const void* data, size_t size, size_t offset = 0) {
        WriteProcessMemory(process_, static_cast<char*>(memory_) + offset, data, size, nullptr);
    }
    void Read(void* data, size_t size, size_t offset = 0) const {
        ReadProcessMemory(process_, static_cast<char*>(memory_) + offset, data, size, nullptr);
    }
    size_t Size() const { return size_; }

private:
    HANDLE process_;
    size_t size_;
    void* memory_ = nullptr;
};

class Folhavida : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring program = ProgramNextToThisOne(L"Folhavida.exe");
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   startFolder_.empty() ? nullptr : startFolder_.c_str(), &startup, &process_))
            << "cannot start " << std::string(program.begin(), program.end());
        ASSERT_TRUE(WaitFor([&] {
            window_ = FindWindowW(nullptr, MainCaption);
            return window_ != nullptr && IsWindowVisible(window_);
        })) << "the main window did not appear";
        // Let start-up finish its first paint and the message loop settle.
        WaitForInputIdle(process_.hProcess, 5000);
    }

    void TearDown() override {
        if (process_.hProcess == nullptr) return;
        const UniqueKernelHandle thread(process_.hThread), process(process_.hProcess);
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process_.hProcess, 10000) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 1);
        }
    }

    HWND PageControl() {
        // The outer tab control holds the others; it is the first one from the top.
        const auto tabs = VisibleChildren(window_, L"TPageControl");
        return tabs.empty() ? nullptr : tabs.front();
    }

    std::vector<std::wstring> TabCaptions(HWND tabs) {
        std::vector<std::wstring> captions;
        const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        RemoteBuffer buffer(process_.hProcess, sizeof(TCITEMW) + 256 * sizeof(wchar_t));
        for (int i = 0; i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(TCITEMW));
            item.cchTextMax = 256;
            buffer.Write(&item, sizeof(item));
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(buffer.Address()));
            wchar_t text[256] = {};
            buffer.Read(text, sizeof(text) - sizeof(wchar_t), sizeof(TCITEMW));
            captions.emplace_back(text);
        }
        return captions;
    }

    RECT TabRect(HWND tabs, int index) {
        RemoteBuffer buffer(process_.hProcess, sizeof(RECT));
        SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(buffer.Address()));
        RECT r{};
        buffer.Read(&r, sizeof(r));
        return r;
    }

    // Clicks a tab in sight (Wine's wider font pushes the last tabs behind the scroll arrows).
    void ClickTab(HWND tabs, int index) {
        const RECT r = TabRect(tabs, index);
        Click(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    static void Click(HWND window, int x, int y) {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    static void Type(HWND window, const std::wstring& text) {
        for (wchar_t ch : text) PostMessageW(window, WM_CHAR, ch, 1);
    }

    static void PressEnter(HWND window) {
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(window, WM_CHAR, L'\r', 1);
        PostMessageW(window, WM_KEYUP, VK_RETURN, 0xC0000001);
    }

    HWND FocusedWindow() {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info.hwndFocus;
    }

    // The window of the framework control that has the focus (a child of a picker or combo
    // counts as the control).
    bool FocusIsIn(HWND control) {
        HWND focus = FocusedWindow();
        return focus == control || (focus != nullptr && IsChild(control, focus));
    }

    // Opens the menu bar with F10 and walks it with the arrow keys, as a keyboard user does: right
    // to the entry at barIndex, then down to itemIndex of its menu (-1: the entry itself), Enter.
    // Menu handles are not shared between processes under Wine, so the driver cannot look them
    // up; it waits for what it can see instead: the program in menu mode, then its open menu.
    void ChooseMenu(int barIndex, int itemIndex) { ChooseMenuOf(window_, barIndex, itemIndex); }

    void ChooseMenuOf(HWND window, int barIndex, int itemIndex) {
        auto key = [&](UINT down, UINT up, WPARAM vk) {
            PostMessageW(window, down, vk, 1);
            PostMessageW(window, up, vk, 0xC0000001);
        };
        key(WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F10);
        ASSERT_TRUE(WaitFor([&] { return InMenuMode(); }, 10s)) << "F10 did not open the menu bar";
        for (int i = 0; i < barIndex; ++i) key(WM_KEYDOWN, WM_KEYUP, VK_RIGHT);
        if (itemIndex >= 0) {
            key(WM_KEYDOWN, WM_KEYUP, VK_DOWN);  // opens the menu on its first item
            ASSERT_TRUE(WaitFor([&] { return OpenMenu() != nullptr; }, 10s)) << "the menu did not open";
            for (int i = 0; i < itemIndex; ++i) key(WM_KEYDOWN, WM_KEYUP, VK_DOWN);
        }
        key(WM_KEYDOWN, WM_KEYUP, VK_RETURN);
    }

    bool InMenuMode() {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(process_.dwThreadId, &info) && (info.flags & GUI_INMENUMODE) != 0;
    }

    // A visible popup menu of the program, or null.
    HWND OpenMenu() {
        for (HWND menu = FindWindowW(L"#32768", nullptr); menu != nullptr;
             menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(menu, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(menu)) return menu;
        }
        return nullptr;
    }

    // A button of a window by its caption, or null.
    HWND Button(HWND window, const std::wstring& caption) {
        for (HWND button : VisibleChildren(window, L"TBitBtn"))
            if (TextOf(button) == caption) return button;
        return nullptr;
    }

    // A visible top-level window of the program with this class (and caption), or null.
    HWND ProgramWindow(const wchar_t* className, const wchar_t* caption = nullptr) {
        for (HWND window = FindWindowW(className, caption); window != nullptr;
             window = FindWindowExW(nullptr, window, className, caption)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(window)) return window;
        }
        return nullptr;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    std::wstring startFolder_;  // the program's current folder; empty: this process's
};

// What the screen shows at a point of a window's client area.
COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return color;
}

// Whether the rectangle (client coordinates of window) shows the synthetic camera's picture:
// blue rises from left to right and green from top to bottom.
bool ShowsCameraPattern(HWND window, const RECT& r) {
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const COLORREF left = ScreenPixel(window, r.left + 4, midY), right = ScreenPixel(window, r.right - 5, midY);
    const COLORREF top = ScreenPixel(window, midX, r.top + 4), bottom = ScreenPixel(window, midX, r.bottom - 5);
    return GetBValue(right) > GetBValue(left) + 150 && GetGValue(bottom) > GetGValue(top) + 150;
}

TEST_F(Folhavida, MainWindowCaptionSizeAndTabs) {
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right - client.left, 506);
    EXPECT_EQ(client.bottom - client.top, 431);

    HWND tabs = PageControl();
    ASSERT_NE(tabs, nullptr);
    const std::vector<std::wstring> expected = {L"Dados Principais", L"Experiências Profissionais",
                                                L"Escolaridade",    L"Cursos",
                                                L"Foto",            L"Informações",
                                                L"Frase"};
    EXPECT_EQ(TabCaptions(tabs), expected);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0) << "the first tab is shown";
}

TEST_F(Folhavida, TypeIntoTheNamePressEnterSwitchTabsAndReadBack) {
    // The first edit from the top of the first tab is the name.
    auto edits = VisibleChildren(window_, L"TEdit");
    ASSERT_FALSE(edits.empty());
    HWND name = edits.front();
    Click(name, 5, 5);
    ASSERT_TRUE(WaitFor([&] { return FocusIsIn(name); }, 5s));
    Type(name, L"Maria da Silva");
    PressEnter(name);

    // Enter moves on to the birth date, beside the name.
    const auto pickers = VisibleChildren(window_, L"TDateTimePicker");
    ASSERT_FALSE(pickers.empty());
    EXPECT_TRUE(WaitFor([&] { return FocusIsIn(pickers.front()); }, 5s)) << "focus did not move on";
    EXPECT_TRUE(WaitFor([&] { return TextOf(name) == L"Maria da Silva"; }, 5s)) << "typed text";

    // To the education tab, whose list takes the focus when the tab shows, and back.
    HWND tabs = PageControl();
    ClickTab(tabs, 2);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 2; }, 5s));
    EXPECT_FALSE(IsWindowVisible(name));
    const auto lists = VisibleChildren(window_, L"TComboBox");
    const auto schoolEdits = VisibleChildren(window_, L"TEdit");
    ASSERT_EQ(lists.size(), 1u) << "Escolaridade";
    ASSERT_EQ(schoolEdits.size(), 2u) << "curso, escola";
    EXPECT_TRUE(WaitFor([&] { return FocusIsIn(lists[0]); }, 5s)) << "the list takes the focus";
    PressEnter(lists[0]);
    ASSERT_TRUE(WaitFor([&] { return FocusIsIn(schoolEdits[0]); }, 5s)) << "to the course";
    Type(schoolEdits[0], L"Engenharia Civil");
    PressEnter(schoolEdits[0]);
    ASSERT_TRUE(WaitFor([&] { return FocusIsIn(schoolEdits[1]); }, 5s)) << "to the school";
    PressEnter(schoolEdits[1]);
    // A character posted after the Enter shows once the Enter has been handled.
    Type(schoolEdits[1], L"x");
    ASSERT_TRUE(WaitFor([&] { return TextOf(schoolEdits[1]) == L"x"; }, 5s)) << "the field took no text";
    const std::wstring focusClass = ClassOf(FocusedWindow());
    EXPECT_TRUE(FocusIsIn(schoolEdits[1]))
        << "Enter in the last field keeps the focus; it went to a "
        << std::string(focusClass.begin(), focusClass.end());

    ClickTab(tabs, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(name) != FALSE; }, 5s));
    EXPECT_EQ(TextOf(name), L"Maria da Silva");
    EXPECT_EQ(TextOf(schoolEdits[0]), L"Engenharia Civil");
}

TEST_F(Folhavida, ClosingTheMainWindowEndsTheProgram) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(Folhavida, AboutBoxClosesBackToTheEnteredData) {
    HWND name = VisibleChildren(window_, L"TEdit").front();
    Click(name, 5, 5);
    Type(name, L"Maria");
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(2, -1));  // Sobre
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        about = FindWindowW(L"Tsobre", nullptr);
        return about != nullptr && IsWindowVisible(about);
    }, 10s)) << "no about box";
    EXPECT_EQ(TextOf(about), L"Folhavida 3.0");
    EXPECT_FALSE(IsWindowEnabled(window_)) << "the about box is modal";
    PostMessageW(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(window_) != FALSE && !IsWindowVisible(about); }, 5s));
    EXPECT_EQ(TextOf(name), L"Maria");
}

TEST_F(Folhavida, AnUpdaterThatCannotStartIsReportedAndTheWindowStays) {
    DeleteFileW(ProgramNextToThisOne(L"update.exe").c_str());
    HWND name = VisibleChildren(window_, L"TEdit").front();
    Click(name, 5, 5);
    Type(name, L"Maria");
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(1, 0));  // Atualizar > Procurar Atualizações
    HWND message = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        message = FindWindowW(L"TMessageForm", nullptr);
        return message != nullptr && IsWindowVisible(message);
    }, 10s)) << "no message about the missing updater";
    PostMessageW(message, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(message); }, 5s));
    // Back in its message loop, the program repaints the field: a repaint comes only once no other
    // message waits, a quit included, so a program on its way out never does it.
    InvalidateRect(name, nullptr, TRUE);
    EXPECT_TRUE(WaitFor([&] { return IsWindow(name) && !GetUpdateRect(name, nullptr, FALSE); }, 10s))
        << "the window was not painted again";
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "Folhavida ended";
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(TextOf(name), L"Maria");
}

TEST_F(Folhavida, TheUpdaterStartsFromTheProgramFolderAndTheWindowCloses) {
    const std::wstring updater = ProgramNextToThisOne(L"update.exe");
    ASSERT_TRUE(CopyFileW(ProgramNextToThisOne(L"FakeUpdate.exe").c_str(), updater.c_str(), FALSE));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring mark = std::wstring(temp) + L"folhavida-fake-update.txt";
    DeleteFileW(mark.c_str());

    ASSERT_NO_FATAL_FAILURE(ChooseMenu(1, 0));
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0) << "Folhavida kept running";
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10s))
        << "update.exe did not run";
    DeleteFileW(mark.c_str());
    WaitFor([&] { return DeleteFileW(updater.c_str()) != FALSE; }, 5s);
}

TEST_F(Folhavida, TheWebcamFormShowsTheCameraAndOKPutsTheFrameIntoThePhoto) {
    HWND tabs = PageControl();
    ClickTab(tabs, 4);  // Foto
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 4; }, 5s));
    HWND webcam = nullptr;
    for (HWND button : VisibleChildren(window_, L"TBitBtn"))
        if (TextOf(button) == L"Usar a WebCam") webcam = button;
    ASSERT_NE(webcam, nullptr) << "no webcam button on the photo tab";
    Click(webcam, 10, 10);
    HWND photoForm = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (photoForm = ProgramWindow(L"Tfrm_foto")) != nullptr; }, 10s))
        << "the webcam form did not open";
    EXPECT_EQ(TextOf(photoForm), L"Capturar Foto");

    // The test prefix's only video-input device is the synthetic camera: the first item.
    ASSERT_NO_FATAL_FAILURE(ChooseMenuOf(photoForm, 0, 0));
    HWND renderer = nullptr;
    RECT video{3, 0, 228, 209};
    ASSERT_TRUE(WaitFor([&] {
        renderer = FindWindowExW(photoForm, nullptr, nullptr, L"VideoWindow");
        while (renderer != nullptr && ClassOf(renderer) == L"TVideoWindow")
            renderer = FindWindowExW(photoForm, renderer, nullptr, L"VideoWindow");
        return renderer != nullptr && IsWindowVisible(renderer) && ShowsCameraPattern(photoForm, video);
    }, 20s)) << "no live video in the form";

    HWND ok = nullptr;
    for (HWND button : VisibleChildren(photoForm, L"TBitBtn"))
        if (TextOf(button) == L"OK") ok = button;
    ASSERT_NE(ok, nullptr);
    Click(ok, 10, 10);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(photoForm); }, 10s)) << "OK did not close the form";

    // The photo (225 x 209 at 8, 28 of the photo tab) shows the frame, stretched.
    HWND sheet = nullptr;
    for (HWND candidate : VisibleChildren(window_, L"TTabSheet")) sheet = candidate;
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(WaitFor([&] {
        InvalidateRect(sheet, nullptr, TRUE);
        return ShowsCameraPattern(sheet, RECT{8, 28, 233, 237});
    }, 10s)) << "the photo does not show the grabbed frame";
}

// The program started in a folder of its own, where the save form opens and résumés are saved.
class FolhavidaResume : public Folhavida {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        startFolder_ = std::wstring(temp) + L"fv-e2e-resume-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(startFolder_.c_str(), nullptr);
        Folhavida::SetUp();
    }
    void TearDown() override {
        Folhavida::TearDown();
        DeleteFileW(SavedFile().c_str());
        RemoveDirectoryW(startFolder_.c_str());
    }

    std::wstring SavedFile() const { return startFolder_ + L"\\" + Name + L".QRP"; }

    // Types text into the first visible edit from the top of the window's current tab.
    void TypeIntoFirstEdit(const std::wstring& text) {
        const auto edits = VisibleChildren(window_, L"TEdit");
        ASSERT_FALSE(edits.empty());
        Type(edits.front(), text);
        ASSERT_TRUE(WaitFor([&] { return TextOf(edits.front()) == text; }, 5s)) << "typed text";
    }

    // Fills the name, five experiences and five courses.
    void FillResume() {
        HWND tabs = PageControl();
        ASSERT_NO_FATAL_FAILURE(TypeIntoFirstEdit(Name));
        for (int tab : {1, 3}) {
            ClickTab(tabs, tab);
            ASSERT_TRUE(WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5s));
            for (int n = 0; n < 5; ++n) {
                HWND inner = nullptr;
                ASSERT_TRUE(WaitFor([&] {
                    const auto all = VisibleChildren(window_, L"TPageControl");
                    inner = all.size() > 1 ? all[1] : nullptr;
                    return inner != nullptr;
                }, 5s));
                ClickTab(inner, n);
                ASSERT_TRUE(WaitFor([&] { return SendMessageW(inner, TCM_GETCURSEL, 0, 0) == n; }, 5s));
                const std::wstring k = std::to_wstring(n + 1);
                ASSERT_NO_FATAL_FAILURE(TypeIntoFirstEdit((tab == 1 ? L"Empresa " : L"Curso ") + k));
            }
        }
        ClickTab(tabs, 0);
    }

    // Clicks "Gerar Curriculo!" and answers the style question.
    void Generate(int answer) {
        HWND generate = Button(window_, L"Gerar Curriculo!");
        ASSERT_NE(generate, nullptr);
        Click(generate, 10, 10);
        HWND question = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (question = ProgramWindow(L"#32770", L"Configurações Avançadas")) != nullptr; }, 10s))
            << "no style question";
        PostMessageW(question, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, 10s));
    }

    // Saves through the save form, which opens on the program's folder, and reads the file back.
    std::vector<std::vector<TTextRecord>> SaveAndRead(bool expectConfirmation) {
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window_) != FALSE; }, 20s));
        Click(Button(window_, L"Salvar (QRP)"), 10, 10);
        HWND form = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (form = ProgramWindow(L"Tfrm_salvar")) != nullptr; }, 10s)) << "no save form";
        if (form == nullptr) return {};
        Click(Button(form, L"Salvar"), 10, 10);
        // The file of the earlier save is there still (the opened résumé reads from it): the
        // program asks before replacing it.
        HWND confirm = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            if (confirm == nullptr && (confirm = ProgramWindow(L"#32770", L"Onde salvar o seu Curriculo?")) != nullptr)
                PostMessageW(confirm, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            return !IsWindowVisible(form);
        }, 20s)) << "the save form stayed";
        EXPECT_EQ(confirm != nullptr, expectConfirmation) << "the question before replacing the file";
        EXPECT_NE(GetFileAttributesW(SavedFile().c_str()), INVALID_FILE_ATTRIBUTES) << "nothing saved";
        std::vector<std::vector<TTextRecord>> pages;
        TQRPageList file;
        file.LoadFromFile(SavedFile());
        for (int n = 1; n <= file.PageCount(); ++n) pages.push_back(TextRecords(*file.GetPageBytes(n)));
        return pages;
    }

    // The text of a part of a status line of the program.
    std::wstring StatusText(HWND bar, int part) {
        const size_t length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0));
        RemoteBuffer buffer(process_.hProcess, (length + 1) * sizeof(wchar_t));
        SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buffer.Address()));
        std::wstring text(length, L'\0');
        buffer.Read(text.data(), length * sizeof(wchar_t));
        // Centred and right-aligned panels carry tabs before their text.
        text.erase(0, text.find_first_not_of(L"\t "));
        return text;
    }

    // The page text ("Page n of m") on the status line of a preview window.
    std::wstring PreviewPageText(HWND preview) {
        const auto bars = VisibleChildren(preview, L"TStatusBar");
        return bars.empty() ? std::wstring() : StatusText(bars.front(), 1);
    }

    // The page count a preview shows once its report is complete. The last-page key goes to
    // the page before the last while pages are still coming, so "Page m of m" for a report of
    // more than one page is only seen when it is done; Home then goes back to page 1.
    int CompletePageCount(HWND preview) {
        int count = 0;
        auto key = [&](WPARAM vk) {
            HWND focus = FocusedWindow();
            HWND target = focus != nullptr && IsChild(preview, focus) ? focus : preview;
            PostMessageW(target, WM_KEYDOWN, vk, 1);
            PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
        };
        const bool atLast = WaitFor([&] {
            key(VK_END);
            int page = 0, pages = 0;
            if (swscanf(PreviewPageText(preview).c_str(), L"Page %d of %d", &page, &pages) != 2) return false;
            count = pages;
            return pages >= 2 && page == pages;
        });
        EXPECT_TRUE(atLast) << "the preview did not reach a last page; its status line: "
                            << Narrow(PreviewPageText(preview));
        if (!atLast) return 0;
        key(VK_HOME);
        const std::wstring first = L"Page 1 of " + std::to_wstring(count);
        EXPECT_TRUE(WaitFor([&] { return PreviewPageText(preview) == first; }, 10s))
            << "after Home: " << Narrow(PreviewPageText(preview));
        return count;
    }

    // Waits for a preview window of the program with this caption (null: any).
    HWND WaitForPreview(const wchar_t* caption) {
        HWND preview = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (preview = ProgramWindow(L"TQRStandardPreview", caption)) != nullptr; }, 20s))
            << "no preview window";
        return preview;
    }

    static void ClosePreview(HWND preview) {
        PostMessageW(preview, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(preview); }, 10s)) << "the preview stayed";
    }

    static std::string Narrow(const std::wstring& text) {
        std::string narrow;
        for (wchar_t ch : text) narrow += ch < 128 ? static_cast<char>(ch) : '?';
        return narrow;
    }

    static constexpr const wchar_t* Name = L"João Conceição";
    static constexpr const wchar_t* PreviewCaption = L"Report Preview : Curriculo de João Conceição";
};

bool HasText(const std::vector<std::vector<TTextRecord>>& pages, const std::wstring& text, const std::wstring& face = {}) {
    for (const auto& page : pages)
        for (const TTextRecord& r : page)
            if (r.Text == text && (face.empty() || r.Face == face)) return true;
    return false;
}

TEST_F(FolhavidaResume, GeneratesSavesReopensAndStylesTheResume) {
    ASSERT_NO_FATAL_FAILURE(FillResume());

    // Without a style: the preview of the résumé, titled with the name; once it closes, the run
    // ends with the main window usable and its progress bar hidden.
    ASSERT_NO_FATAL_FAILURE(Generate(IDNO));
    HWND preview = WaitForPreview(PreviewCaption);
    ASSERT_NE(preview, nullptr);
    const int previewed = CompletePageCount(preview);
    ClosePreview(preview);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window_) && VisibleChildren(window_, L"TProgressBar").empty(); }, 20s));

    // Saved: every entry on the pages, which run over more than one, in Arial; the total on each.
    const auto pages = SaveAndRead(false);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(previewed, static_cast<int>(pages.size())) << "the preview and the saved file";
    for (const std::wstring text : {L"João Conceição", L"Empresa 1", L"Empresa 5", L"Curso 1", L"Curso 5"})
        EXPECT_TRUE(HasText(pages, text)) << std::string(text.begin(), text.end());
    EXPECT_TRUE(HasText(pages, Name, L"Arial"));
    for (const auto& page : pages) {
        const bool total = std::any_of(page.begin(), page.end(),
                                       [&](const TTextRecord& r) { return r.Text == std::to_wstring(pages.size()); });
        EXPECT_TRUE(total) << "the total on every page";
    }

    // With a style: the second lettering model and another colour; saving keeps the chosen style.
    ASSERT_NO_FATAL_FAILURE(Generate(IDYES));
    HWND style = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (style = ProgramWindow(L"Timpressao")) != nullptr; }, 10s)) << "no style form";
    HWND model2 = nullptr;
    for (HWND box : VisibleChildren(style, L"TCheckBox"))
        if (TextOf(box) == L"Modelo 2") model2 = box;
    ASSERT_NE(model2, nullptr);
    Click(model2, 5, 5);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(model2, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s));
    const auto colours = VisibleChildren(style, L"TColorBox");
    ASSERT_EQ(colours.size(), 1u);
    Click(colours[0], 5, 5);  // takes the focus; the click opens the list, the key picks the next colour
    PostMessageW(colours[0], WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(colours[0], WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(colours[0], CB_GETCURSEL, 0, 0) > 0; }, 5s)) << "colour";
    // OK previews the styled résumé; the style form waits with "Aguarde..." until it closes.
    Click(Button(style, L"OK"), 10, 10);
    HWND styledPreview = WaitForPreview(PreviewCaption);
    ASSERT_NE(styledPreview, nullptr);
    EXPECT_TRUE(IsWindowVisible(style));
    EXPECT_TRUE(IsWindowEnabled(styledPreview)) << "the style form left the preview usable";
    ASSERT_NO_FATAL_FAILURE(ClosePreview(styledPreview));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(style); }, 20s)) << "the style form stayed";

    const auto styled = SaveAndRead(true);
    ASSERT_GE(styled.size(), 2u);
    EXPECT_TRUE(HasText(styled, Name, L"Monotype Corsiva"));
    EXPECT_TRUE(HasText(styled, L"Empresa 3", L"Monotype Corsiva"));
    EXPECT_TRUE(HasText(styled, L"Folhavida 3.0", L"Arial")) << "the footer keeps its own font";

    // Reopened through the open dialog: no error, the main window stays.
    Click(Button(window_, L"Abrir (QRP)"), 10, 10);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = ProgramWindow(L"#32770")) != nullptr; }, 10s)) << "no open dialog";
    ASSERT_TRUE(WaitFor([&] { return GetDlgItem(dialog, cmb13) != nullptr || GetDlgItem(dialog, edt1) != nullptr; }, 10s));
    SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) != nullptr ? cmb13 : edt1, SavedFile().c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 10s)) << "the open dialog stayed";
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window_) != FALSE; }, 10s));
    EXPECT_EQ(ProgramWindow(L"#32770", L"Folhavida 3.0"), nullptr) << "opening the saved file failed";
    // Its preview shows the saved pages.
    HWND reopened = WaitForPreview(nullptr);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(CompletePageCount(reopened), static_cast<int>(styled.size()));
    ClosePreview(reopened);
}

// ---- hostile files ----

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t ch : text) narrow += ch < 128 ? static_cast<char>(ch) : '?';
    return narrow;
}

using Bytes = std::vector<Byte>;

// A prepared report of one page: the metafile of one record, patched after the page store has
// stored it (the store itself refuses such pages) at offset `at` of the record with `value`.
Bytes ReportWithPatchedPage(const Bytes& record, std::size_t at, Cardinal value) {
    auto list = qrtest::NewList(Int64{1} << 24);
    list->AddPageBytes(qrtest::EmfWith(record));
    list->WriteHeader();
    Bytes image = qrtest::StreamImage(*list->Stream());
    constexpr std::size_t pageAt = QRHeaderSize + 8, recordAt = 88;  // the record behind the page's header
    qrtest::PutU32(image, pageAt + recordAt + at, value);
    return image;
}

Bytes RecordOf(Cardinal type, std::size_t size, std::initializer_list<std::pair<std::size_t, Cardinal>> fields) {
    Bytes record = qrtest::NewRecord(type, size);
    for (const auto& [at, value] : fields) qrtest::PutU32(record, at, value);
    return record;
}

void PutWord16(Bytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<Byte>(value);
    b[at + 1] = static_cast<Byte>(value >> 8);
}

// A Windows metafile with a table of one object that selects object 5.
Bytes WmfSelectingBeyondItsTable() {
    Bytes wmf(18 + 8 + 6, 0);
    PutWord16(wmf, 0, 1);
    PutWord16(wmf, 2, 9);
    PutWord16(wmf, 4, 0x300);
    qrtest::PutU32(wmf, 6, static_cast<Cardinal>(wmf.size() / 2));
    PutWord16(wmf, 10, 1);
    qrtest::PutU32(wmf, 18, 4);
    PutWord16(wmf, 22, 0x012D);  // SELECTOBJECT
    PutWord16(wmf, 24, 5);
    qrtest::PutU32(wmf, 26, 3);  // end of file
    return wmf;
}

// An icon whose only image is a bitmap claiming 65536 x 32768 pixels.
Bytes IconOfAHugeBitmap() {
    Bytes icon(6 + 16 + 40 + 64, 0);
    icon[2] = icon[4] = 1;
    icon[6] = icon[7] = 16;
    qrtest::PutU32(icon, 14, 40 + 64);
    qrtest::PutU32(icon, 18, 22);
    qrtest::PutU32(icon, 22, 40);
    qrtest::PutU32(icon, 26, 65536);
    qrtest::PutU32(icon, 30, 65536);
    icon[34] = 1;
    icon[36] = 32;
    return icon;
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct HostileFile {
    const wchar_t* name;
    Bytes bytes;
    const wchar_t* says = L"";  // what the error message says
};

// The program started with a folder of hostile pages and pictures beside it.
class FolhavidaHostileFiles : public Folhavida {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"fv-e2e-hostile-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        Folhavida::SetUp();
    }
    void TearDown() override {
        Folhavida::TearDown();
        for (const std::wstring& file : written_) DeleteFileW(file.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring Write(const HostileFile& file) {
        const std::wstring path = folder_ + file.name;
        UniqueKernelHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(out.get(), file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &written, nullptr);
        written_.push_back(path);
        return path;
    }

    // Clicks the button, names the file in the open dialog it shows, and returns the text of the
    // program's error message, which it closes ("" when none came).
    std::wstring OpenThrough(HWND button, const std::wstring& path) {
        Click(button, 10, 10);
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            dialog = ProgramWindow(L"#32770");
            return dialog != nullptr && (GetDlgItem(dialog, cmb13) != nullptr || GetDlgItem(dialog, edt1) != nullptr);
        }, 10s)) << "no open dialog";
        if (dialog == nullptr) return L"";
        SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) != nullptr ? cmb13 : edt1, path.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 10s)) << "the open dialog stayed";
        HWND message = nullptr;
        if (!WaitFor([&] { return (message = ProgramWindow(L"#32770", L"Folhavida 3.0")) != nullptr || !Alive(); }, 20s) ||
            message == nullptr)
            return L"";
        std::wstring text;
        for (HWND label : VisibleChildren(message, L"Static")) text += TextOf(label);
        PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(message); }, 10s)) << "the message stayed";
        return text;
    }

    bool Alive() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

    std::wstring folder_;
    std::vector<std::wstring> written_;
};

TEST_F(FolhavidaHostileFiles, PagesAndPicturesThatWouldCrashTheProgramAreRefusedWithAMessage) {
    const Bytes brush = RecordOf(39, 24, {{8, 1}});
    const Bytes polygon = RecordOf(86, 28 + 12, {{24, 3}});
    const Bytes ellipse = RecordOf(42, 24, {{16, 10}, {20, 10}});
    const HostileFile reports[] = {
        {L"brush-beyond-the-table.QRP", ReportWithPatchedPage(brush, 8, 0x7FFFFFF0), L"Corrupt file."},
        {L"polygon-beyond-its-record.QRP", ReportWithPatchedPage(polygon, 24, 0x10000), L"Corrupt file."},
        {L"huge-ellipse.QRP", ReportWithPatchedPage(ellipse, 16, 0x7FFFFFFF), L"Corrupt file."},
    };
    const HostileFile pictures[] = {
        {L"brush-beyond-the-table.emf",
         [&] { Bytes emf = qrtest::EmfWith(brush); qrtest::PutU32(emf, 88 + 8, 0x7FFFFFF0); return emf; }(),
         L"Metafile is not valid"},
        {L"select-beyond-the-table.wmf", WmfSelectingBeyondItsTable(), L"Metafile is not valid"},
        {L"huge-bitmap.ico", IconOfAHugeBitmap(), L"Icon image is not valid"},
        {L"cut-after-the-scan-header.jpg", BytesOf(testjpeg::CutAfterScanHeader(testjpeg::GreyJpeg(64, 64))),
         L"JPEG error #"},
        {L"sixty-five-scans.jpg", BytesOf(testjpeg::ProgressiveOfScans(1)), L"more than 64 passes"},
    };

    for (const HostileFile& report : reports) {
        SCOPED_TRACE(Narrow(report.name));
        const std::wstring message = OpenThrough(Button(window_, L"Abrir (QRP)"), Write(report));
        ASSERT_TRUE(Alive()) << "the program died";
        EXPECT_NE(message.find(report.says), std::wstring::npos) << "the message: " << Narrow(message);
        if (HWND preview = ProgramWindow(L"TQRStandardPreview")) PostMessageW(preview, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return ProgramWindow(L"TQRStandardPreview") == nullptr; }, 10s));
    }

    HWND tabs = PageControl();
    ClickTab(tabs, 4);  // Foto
    ASSERT_TRUE(WaitFor([&] { return Button(window_, L"Procurar uma Foto") != nullptr; }, 10s));
    for (const HostileFile& picture : pictures) {
        SCOPED_TRACE(Narrow(picture.name));
        const std::wstring message = OpenThrough(Button(window_, L"Procurar uma Foto"), Write(picture));
        ASSERT_TRUE(Alive()) << "the program died";
        EXPECT_NE(message.find(picture.says), std::wstring::npos) << "the message: " << Narrow(message);
    }
}

}  // namespace
