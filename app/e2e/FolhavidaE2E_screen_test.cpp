// Drives Folhavida.exe from outside, the way a person would: finds its window by caption and
// its controls by class and position, clicks, types, presses Enter and reads back, through
// window messages only.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

#include <commctrl.h>

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
        ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process_))
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

    // A visible top-level window of the program with this class, or null.
    HWND ProgramWindow(const wchar_t* className) {
        for (HWND window = FindWindowW(className, nullptr); window != nullptr;
             window = FindWindowExW(nullptr, window, className, nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(window)) return window;
        }
        return nullptr;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
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
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 500), static_cast<DWORD>(WAIT_TIMEOUT));
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

}  // namespace
