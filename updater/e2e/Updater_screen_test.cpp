// Drives update.exe from outside, the way a person would: the test build of the updater, copied
// as update.exe into a folder of its own beside a stand-in Folhavida.exe, reads its page from a
// server this test starts. The driver clicks its buttons and answers its message boxes and the
// information dialog through window messages only, and sees what ran from the marks the
// stand-ins leave.
#include "testing/TestHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

namespace {

using namespace std::chrono_literals;

const wchar_t* const MainCaption = L"Folhavida - Atualizador";

std::wstring ThisFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::string ReadFileBytes(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exists(const std::wstring& name) { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct TSearch {
    DWORD Process;
    const wchar_t* ClassName;
    const wchar_t* Text;  // null: any
    HWND Found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TSearch*>(param);
    wchar_t name[64] = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((s->Process == 0 || pid == s->Process) && IsWindowVisible(window) && GetClassNameW(window, name, 64) &&
        wcscmp(name, s->ClassName) == 0 && (s->Text == nullptr || TextOf(window) == s->Text)) {
        s->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(DWORD process, const wchar_t* className) {
    TSearch search{process, className, nullptr, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text) {
    TSearch search{0, className, text, nullptr};
    EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

class Updater : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"updater-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++counter_) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring build = ThisFolder();
        ASSERT_TRUE(CopyFileW((build + L"update_localserver.exe").c_str(), (folder_ + L"update.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((build + L"..\\webupdate\\RecordCommandLine.exe").c_str(),
                              (folder_ + L"Folhavida.exe").c_str(), FALSE));
        program_ = ReadFileBytes(build + L"..\\webupdate\\RecordCommandLine.exe");
        ASSERT_GT(program_.size(), 1000u);
        PointAt(server_.Port());
    }

    void TearDown() override {
        if (process_.hProcess != nullptr) {
            const UniqueKernelHandle thread(process_.hThread), process(process_.hProcess);
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
                if (WaitForSingleObject(process_.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
            }
        }
        // The stand-in may still be writing its mark.
        WaitFor([&] { return !Exists(folder_ + L"Folhavida.exe.ran") || DeleteFileW((folder_ + L"Folhavida.exe.ran").c_str()); }, 5s);
        for (const std::wstring& name : Files()) DeleteFileW((folder_ + name).c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    void PointAt(unsigned short port) {
        std::ofstream out((folder_ + L"update-server.txt").c_str());
        out << "http://127.0.0.1/folhavida/update.htm\n" << port << "\n";
    }

    static std::string Page(const std::string& version) {
        return "<HTML><HEAD>\r\n<META NAME=\"wuProduct\" CONTENT=\"Folhavida\">\r\n"
               "<META NAME=\"wuVersion\" CONTENT=\"" + version + "\">\r\n"
               "<META NAME=\"wuAuthor\" CONTENT=\"Equipe Folhavida\">\r\n"
               "<META NAME=\"wuEmail\" CONTENT=\"suporte@folhavida.com.br\">\r\n"
               "<META NAME=\"wuDownload\" CONTENT=\"/folhavida/setup.exe\">\r\n"
               "<META NAME=\"wuClientSideName\" CONTENT=\"setup.exe\">\r\n"
               "<META NAME=\"wuRunParameters\" CONTENT=\"/atualizar\">\r\n"
               "</HEAD><BODY><H1>Folhavida 3.1</H1><P>Novidades desta vers&atilde;o.</P></BODY></HTML>\r\n";
    }

    // Starts update.exe in another working folder: it must find Folhavida.exe in its own.
    void Start() {
        const std::wstring program = folder_ + L"update.exe";
        std::wstring commandLine = L"\"" + program + L"\"";
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, temp,
                                   &startup, &process_));
        ASSERT_TRUE(WaitFor([&] {
            window_ = FindWindowW(nullptr, MainCaption);
            return window_ != nullptr && IsWindowVisible(window_);
        })) << "the updater's window did not appear";
        WaitForInputIdle(process_.hProcess, 5000);
    }

    void Click(HWND parent, const wchar_t* className, const wchar_t* text) {
        HWND button = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (button = FindDescendant(parent, className, text)) != nullptr; }, 10s))
            << "no button " << Narrow(text);
        PostMessageW(button, BM_CLICK, 0, 0);
    }

    // Waits for the next message box and answers it with the button captioned answer; returns
    // the box's caption ("Erro", "Aviso", "Informação").
    std::wstring AnswerMessage(const wchar_t* answer = L"OK") {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindTopLevel(process_.dwProcessId, L"TMessageForm")) != nullptr; }))
            return L"(no message)";
        const std::wstring caption = TextOf(box);
        Click(box, L"TButton", answer);
        WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10s);
        return caption;
    }

    // Clicks "Atualizar", says yes to the question and waits for the update's information dialog.
    void AskForTheUpdate(HWND& dialog) {
        ASSERT_NO_FATAL_FAILURE(Click(window_, L"TBitBtn", L"Atualizar"));
        EXPECT_EQ(AnswerMessage(L"&Sim"), L"Aviso") << "the question whether to update";
        ASSERT_TRUE(WaitFor([&] { return (dialog = FindTopLevel(process_.dwProcessId, L"Tfrm_ShowInfoUpdate")) != nullptr; }))
            << "no information dialog";
    }

    // No message box comes within a while (for checks that something does NOT happen).
    bool NoMessageFor(std::chrono::milliseconds time) {
        return !WaitFor([&] { return FindTopLevel(process_.dwProcessId, L"TMessageForm") != nullptr; }, time);
    }

    void CloseAndExpectFolhavida() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process_.hProcess, 20000), WAIT_OBJECT_0) << "the updater kept running";
        EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(folder_ + L"Folhavida.exe.ran").find('\n') != std::string::npos; }))
            << "Folhavida.exe was not started";
    }

    std::vector<std::wstring> Files() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }

    static inline int counter_ = 0;
    TTestHttpServer server_;
    std::wstring folder_;
    std::string program_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

TEST_F(Updater, ANewerVersionIsConfirmedDownloadedAndRun) {
    server_.Set("/folhavida/update.htm", TTestReply::Page(Page("3.1")));
    server_.Set("/folhavida/setup.exe", TTestReply::Page(program_));
    ASSERT_NO_FATAL_FAILURE(Start());
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 352);
    EXPECT_EQ(client.bottom, 192);

    ASSERT_NO_FATAL_FAILURE(Click(window_, L"TBitBtn", L"Atualizar"));
    EXPECT_EQ(AnswerMessage(L"&Sim"), L"Aviso") << "the question whether to update";

    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindTopLevel(process_.dwProcessId, L"Tfrm_ShowInfoUpdate")) != nullptr; }))
        << "no information dialog";
    EXPECT_EQ(TextOf(dialog), L"WebUpdate");
    HWND text = FindDescendant(dialog, L"Edit", nullptr);
    ASSERT_NE(text, nullptr) << "without an HTML engine the page shows as text";
    EXPECT_NE(TextOf(text).find(L"Novidades desta vers\u00E3o."), std::wstring::npos) << Narrow(TextOf(text));
    EXPECT_NE(FindDescendant(dialog, L"TCheckBox", L"Perguntar no futuro."), nullptr);
    ASSERT_NO_FATAL_FAILURE(Click(dialog, L"TButton", L"&OK"));

    EXPECT_EQ(AnswerMessage(), L"Informa\u00E7\u00E3o") << "A atualização será feita.";
    EXPECT_EQ(AnswerMessage(), L"Informa\u00E7\u00E3o") << "A atualização foi baixada.";
    EXPECT_EQ(ReadFileBytes(folder_ + L"setup.exe"), program_);
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(folder_ + L"setup.exe.ran").find('\n') != std::string::npos; }))
        << "the download did not run";
    EXPECT_NE(ReadFileBytes(folder_ + L"setup.exe.ran").find("/atualizar"), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(window_)) << "the updater keeps running";
    CloseAndExpectFolhavida();
    DeleteFileW((folder_ + L"setup.exe.ran").c_str());
}

TEST_F(Updater, NoUpdateThenClosingStartsFolhavidaFromTheUpdatersFolder) {
    server_.Set("/folhavida/update.htm", TTestReply::Page(Page("0.5")));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Click(window_, L"TBitBtn", L"Atualizar"));
    EXPECT_EQ(AnswerMessage(), L"Erro") << "Nenhuma atualização disponível!";
    EXPECT_TRUE(NoMessageFor(1s));
    ASSERT_NO_FATAL_FAILURE(Click(window_, L"TBitBtn", L"Desconectar"));
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 20000), WAIT_OBJECT_0);
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(folder_ + L"Folhavida.exe.ran").find('\n') != std::string::npos; }));
    EXPECT_NE(ReadFileBytes(folder_ + L"Folhavida.exe.ran").find("Folhavida.exe"), std::string::npos);
}

TEST_F(Updater, AnUnreachableServerIsReportedTwice) {
    PointAt(TTestHttpServer::RefusedPort());
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Click(window_, L"TBitBtn", L"Atualizar"));
    ASSERT_TRUE(WaitFor([&] { return FindTopLevel(process_.dwProcessId, L"TMessageForm") != nullptr; }));
    EXPECT_EQ(FindTopLevel(process_.dwProcessId, L"TForm_Message"), nullptr) << "the wait window stays behind the message";
    EXPECT_EQ(AnswerMessage(), L"Erro");
    EXPECT_EQ(AnswerMessage(), L"Erro") << "the transfer and the empty page each say so";
    EXPECT_TRUE(NoMessageFor(1s));
    CloseAndExpectFolhavida();
}

TEST_F(Updater, CancellingTheInformationDialogDownloadsNothing) {
    server_.Set("/folhavida/update.htm", TTestReply::Page(Page("3.1")));
    server_.Set("/folhavida/setup.exe", TTestReply::Page(program_));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND dialog = nullptr;
    ASSERT_NO_FATAL_FAILURE(AskForTheUpdate(dialog));
    ASSERT_NO_FATAL_FAILURE(Click(dialog, L"TButton", L"&Cancelar"));
    EXPECT_TRUE(NoMessageFor(1500ms));
    EXPECT_EQ(server_.RequestCount("/folhavida/setup.exe"), 0);
    EXPECT_FALSE(Exists(folder_ + L"setup.exe"));
    CloseAndExpectFolhavida();
}

TEST_F(Updater, ClosingDuringTheDownloadCancelsItBeforeFolhavidaStarts) {
    server_.Set("/folhavida/update.htm", TTestReply::Page(Page("3.1")));
    TTestReply slow = TTestReply::Page(program_);
    slow.Slow = true;
    server_.Set("/folhavida/setup.exe", slow);
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND dialog = nullptr;
    ASSERT_NO_FATAL_FAILURE(AskForTheUpdate(dialog));
    ASSERT_NO_FATAL_FAILURE(Click(dialog, L"TButton", L"&OK"));
    EXPECT_EQ(AnswerMessage(), L"Informa\u00E7\u00E3o") << "A atualização será feita.";
    ASSERT_TRUE(WaitFor([&] { return server_.SlowHolding(); })) << "the download did not start";

    // The close waits in the queue until the next block arrives, as it would from a slow server.
    PostMessageW(window_, WM_CLOSE, 0, 0);
    server_.Release();
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 20000), WAIT_OBJECT_0) << "the updater kept running";
    EXPECT_TRUE(NoMessageFor(500ms)) << "no \"A atualização foi baixada.\" nor an error";
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(folder_ + L"Folhavida.exe.ran").find('\n') != std::string::npos; }))
        << "Folhavida.exe was not started";
    EXPECT_FALSE(Exists(folder_ + L"setup.exe"));
    for (const std::wstring& name : Files())
        EXPECT_TRUE(name == L"update.exe" || name == L"Folhavida.exe" || name == L"update-server.txt" ||
                    name == L"Folhavida.exe.ran")
            << "left behind: " << Narrow(name);
}

TEST_F(Updater, ADownloadThatCannotBeStartedIsReported) {
    server_.Set("/folhavida/update.htm", TTestReply::Page(Page("3.1")));
    server_.Set("/folhavida/setup.exe", TTestReply::Page("\x1f\x8b\x08\x00 a gzip file, not a program"));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND dialog = nullptr;
    ASSERT_NO_FATAL_FAILURE(AskForTheUpdate(dialog));
    ASSERT_NO_FATAL_FAILURE(Click(dialog, L"TButton", L"&OK"));
    EXPECT_EQ(AnswerMessage(), L"Informa\u00E7\u00E3o") << "A atualização será feita.";
    EXPECT_EQ(AnswerMessage(), L"Informa\u00E7\u00E3o") << "A atualização foi baixada.";
    EXPECT_EQ(AnswerMessage(), L"Erro") << "the update could not be started";
    EXPECT_TRUE(NoMessageFor(1s));
    CloseAndExpectFolhavida();
}

TEST_F(Updater, ClosingDuringADrippingDownloadStartsFolhavidaAtOnceAndLeavesNoTemporaryFile) {
    server_.Set("/folhavida/update.htm", TTestReply::Page(Page("3.1")));
    server_.Set("/folhavida/setup.exe", TTestReply::Dripping(program_, 200));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND dialog = nullptr;
    ASSERT_NO_FATAL_FAILURE(AskForTheUpdate(dialog));
    ASSERT_NO_FATAL_FAILURE(Click(dialog, L"TButton", L"&OK"));
    EXPECT_EQ(AnswerMessage(), L"Informa\u00E7\u00E3o") << "A atualização será feita.";
    ASSERT_TRUE(WaitFor([&] { return server_.Dripping(); })) << "the download did not start";
    bool temporaryFile = false;
    ASSERT_TRUE(WaitFor([&] {
        for (const std::wstring& name : Files()) temporaryFile = temporaryFile || name.rfind(L"wu", 0) == 0;
        return temporaryFile;
    })) << "the download has its temporary file";

    const auto closed = std::chrono::steady_clock::now();
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(folder_ + L"Folhavida.exe.ran").find('\n') != std::string::npos; }))
        << "Folhavida.exe was not started";
    const auto started = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closed);
    std::cout << "[ figures  ] Folhavida started " << started.count() << " ms after closing\n";
    // A window frozen by the transfer started it only once the server gave up, if ever.
    EXPECT_LT(started.count(), 10000);
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 20000), WAIT_OBJECT_0) << "the updater kept running";
    server_.EndDrip();
    for (const std::wstring& name : Files())
        EXPECT_TRUE(name == L"update.exe" || name == L"Folhavida.exe" || name == L"update-server.txt" ||
                    name == L"Folhavida.exe.ran")
            << "left behind: " << Narrow(name);
}

TEST_F(Updater, ATemporaryFileLeftByAKilledRunIsRemovedAtTheNextStart) {
    {
        std::ofstream leftover((folder_ + L"wu7F3A.tmp").c_str(), std::ios::binary);
        leftover << "part of a download";
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_FALSE(Exists(folder_ + L"wu7F3A.tmp"));
    CloseAndExpectFolhavida();
}

}  // namespace
