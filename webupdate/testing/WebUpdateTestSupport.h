// Test support for the web update tests: an update page as the server publishes it, a scratch
// folder, file helpers, a recorder of the component's events in their order, and a probe of how
// long the thread running a check goes without answering its windows.
#pragma once

#include "testing/TestHttpServer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinApi.h"
#include "webupdate/WebUpdate.h"

// An update page with the values given (an empty one is left out).
inline std::string UpdatePage(const std::string& version, const std::string& download = "/setup.exe",
                              const std::string& clientName = "setup.exe", const std::string& more = "") {
    std::string page = "<HTML><HEAD>\r\n<TITLE>Folhavida</TITLE>\r\n<META NAME=\"wuProduct\" CONTENT=\"Folhavida\">\r\n";
    if (!version.empty()) page += "<META NAME=\"wuVersion\" CONTENT=\"" + version + "\">\r\n";
    page += "<META NAME=\"wuAuthor\" CONTENT=\"Equipe\">\n<META NAME=\"wuEmail\" CONTENT=\"a@b.c\">\n";
    if (!download.empty()) page += "<META NAME=\"wuDownload\" CONTENT=\"" + download + "\">\n";
    if (!clientName.empty()) page += "<META NAME=\"wuClientSideName\" CONTENT=\"" + clientName + "\">\n";
    page += more;
    page += "</HEAD><BODY><H1>Novidades</H1><P>Vers&atilde;o nova.</P></BODY></HTML>\r\n";
    return page;
}

inline std::string Payload(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7) % 26);
    return s;
}

inline std::string ReadFileBytes(const String& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFileBytes(const String& name, const std::string& bytes) {
    std::ofstream out(name.c_str(), std::ios::binary);
    out << bytes;
}

// A fresh, empty folder in the temporary folder, removed with what it holds.
class TScratchFolder {
public:
    TScratchFolder() {
        static int counter = 0;
        path_ = GetTempDirectory() + L"wu-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        ForceDirectories(path_);
    }
    ~TScratchFolder() {
        for (const String& name : Files()) DeleteFileW((path_ + name).c_str());
        RemoveDirectoryW(path_.c_str());
    }
    const String& Path() const { return path_; }
    String operator/(const String& name) const { return path_ + name; }
    std::vector<String> Files() const {
        std::vector<String> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }

private:
    String path_;
};

// Records the component's events by name ("Download" once for a run of blocks).
class TEventRecorder {
public:
    explicit TEventRecorder(TWebUpdate& wu) : wu_(wu) {
        wu.OnBeforeGetInfo = TNotifyEvent(this, &TEventRecorder::BeforeGetInfo);
        wu.OnAfterGetInfo = TNotifyEvent(this, &TEventRecorder::AfterGetInfo);
        wu.OnNoUpdateFound = TNotifyEvent(this, &TEventRecorder::NoUpdateFound);
        wu.OnUpdateAvailable = TUpdateAvailableEvent(this, &TEventRecorder::UpdateAvailable);
        wu.OnBeforeShowInfo = TShowInfoEvent(this, &TEventRecorder::BeforeShowInfo);
        wu.OnAfterShowInfo = TAfterShowInfoEvent(this, &TEventRecorder::AfterShowInfo);
        wu.OnGetClientFileName = TGetClientFileNameEvent(this, &TEventRecorder::GetClientFileName);
        wu.OnClientFileExists = TClientFileExistsEvent(this, &TEventRecorder::ClientFileExists);
        wu.OnBeforeDownload = TDownloadFileEvent(this, &TEventRecorder::BeforeDownload);
        wu.OnDownload = TDownloadEvent(this, &TEventRecorder::Download);
        wu.OnAfterDownload = TDownloadFileEvent(this, &TEventRecorder::AfterDownload);
        wu.OnDownloadError = TNotifyEvent(this, &TEventRecorder::DownloadError);
        wu.OnCannotExecute = TNotifyEvent(this, &TEventRecorder::CannotExecute);
    }

    std::vector<std::string> Events;
    bool CanUpdate = true;
    bool ShowInfo = false;  // the dialog is tested on its own
    bool CancelOnFirstBlock = false;
    bool CancelInDownload = false;  // on the first block of the file, not of the page
    bool ReenterOnBeforeGetInfo = false;
    bool ReentryResult = true;
    std::vector<std::pair<int, int>> Blocks;

    std::string Joined() const {
        std::string s;
        for (const std::string& e : Events) s += (s.empty() ? "" : " ") + e;
        return s;
    }

private:
    void Add(const std::string& e) { Events.push_back(e); }
    void BeforeGetInfo(TObject*) {
        Add("BeforeGetInfo");
        if (ReenterOnBeforeGetInfo) ReentryResult = wu_.CheckAndUpdate();
    }
    void AfterGetInfo(TObject*) { Add("AfterGetInfo"); }
    void NoUpdateFound(TObject*) { Add("NoUpdateFound"); }
    void UpdateAvailable(TObject*, const String& actual, const String& web, bool& canUpdate) {
        Add("UpdateAvailable(" + std::string(actual.begin(), actual.end()) + "," + std::string(web.begin(), web.end()) + ")");
        canUpdate = CanUpdate;
    }
    void BeforeShowInfo(TObject*, bool& showInfo, bool&) {
        Add("BeforeShowInfo");
        showInfo = ShowInfo;
    }
    void AfterShowInfo(TObject*, bool) { Add("AfterShowInfo"); }
    void GetClientFileName(TObject*, String&) { Add("GetClientFileName"); }
    void ClientFileExists(TObject*, String&, bool&) { Add("ClientFileExists"); }
    void BeforeDownload(TObject*, const String&) {
        Add("BeforeDownload");
        downloading_ = true;
    }
    void Download(TObject*, int total, int done) {
        if (Events.empty() || Events.back() != "Download") Add("Download");
        Blocks.emplace_back(total, done);
        if (CancelOnFirstBlock || (CancelInDownload && downloading_)) wu_.Cancel();
    }
    void AfterDownload(TObject*, const String&) { Add("AfterDownload"); }
    void DownloadError(TObject*) { Add("DownloadError"); }
    void CannotExecute(TObject*) { Add("CannotExecute"); }

    TWebUpdate& wu_;
    bool downloading_ = false;
};

// Stands for the window that holds the component: a window of the thread that runs the check,
// which a watcher thread asks for an answer every 20 ms (keeping the longest wait), and which it
// asks to cancel the check, as a Cancel button or closing would, once cancelWhen holds.
class TResponsivenessProbe {
public:
    using TClock = std::chrono::steady_clock;

    TResponsivenessProbe(TWebUpdate& wu, std::function<bool()> cancelWhen) : wu_(wu), cancelWhen_(std::move(cancelWhen)) {
        static const ATOM windowClass = [] {
            WNDCLASSW c{};
            c.lpfnWndProc = &TResponsivenessProbe::WindowProc;
            c.hInstance = GetModuleHandleW(nullptr);
            c.lpszClassName = L"TWuResponsivenessProbe";
            return RegisterClassW(&c);
        }();
        (void)windowClass;
        window_ = CreateWindowExW(0, L"TWuResponsivenessProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        watcher_ = std::thread([this] { Watch(); });
    }
    ~TResponsivenessProbe() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        // The watcher may be waiting for this thread to answer: answer until it has ended.
        while (!watcherDone_) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        }
        watcher_.join();
        DestroyWindow(window_);
    }
    TResponsivenessProbe(const TResponsivenessProbe&) = delete;
    TResponsivenessProbe& operator=(const TResponsivenessProbe&) = delete;

    // The longest time the window took to answer, in milliseconds.
    long long LongestSilenceMs() const { return longest_.load(); }
    bool CancelSent() const { return cancelSent_; }
    // When the window received the request to cancel.
    TClock::time_point CancelTime() const { return cancelTime_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            auto* probe = reinterpret_cast<TResponsivenessProbe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            probe->cancelTime_ = TClock::now();
            probe->wu_.Cancel();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_; })) {
            lock.unlock();
            const TClock::time_point asked = TClock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
            const long long waited =
                std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - asked).count();
            if (waited > longest_) longest_ = waited;
            if (!cancelSent_ && cancelWhen_ && cancelWhen_()) {
                cancelSent_ = true;
                PostMessageW(window_, WM_APP, 0, 0);
            }
            lock.lock();
        }
        watcherDone_ = true;
    }

    TWebUpdate& wu_;
    std::function<bool()> cancelWhen_;
    HWND window_ = nullptr;
    std::thread watcher_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<long long> longest_{0};
    std::atomic<bool> cancelSent_{false};
    std::atomic<bool> watcherDone_{false};
    TClock::time_point cancelTime_{};
};
