// TWebUpdate against a local HTTP server that the tests start and stop: the order of the events
// for each way a check can go, every fault the server can show the transfer, a hostile server's
// replies, cancelling, and running the download.
#include "testing/TestHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>
#include <thread>

#include "framework/classes/Component.h"
#include "framework/forms/Forms.h"
#include "framework/rtl/StringUtils.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/testing/WebUpdateTestSupport.h"

namespace {

class WebUpdateCheck : public ::testing::Test {
protected:
    WebUpdateCheck() : wu(nullptr), recorder(wu) {
        wu.SetHTTPPort(server.Port());
        wu.ProductInfo()->SetURL(L"http://127.0.0.1/folhavida/update.htm");
        wu.ProductInfo()->SetVersion(L"1.0");
        wu.SetOptions(TWuUpdateOptions{});
        wu.SetTargetFolder(folder.Path());
    }

    TTestHttpServer server;
    TScratchFolder folder;
    TLocal<TWebUpdate> wu;
    TEventRecorder recorder;
};

TEST_F(WebUpdateCheck, EventOrderTable) {
    const std::string payload = Payload(5000);
    struct Case {
        const char* Name;
        std::string Page;           // at /folhavida/update.htm
        TTestReply Download;        // at /setup.exe
        bool CanUpdate;
        bool Result;
        const char* Events;
    };
    const Case cases[] = {
        {"newer, downloaded", UpdatePage("2.0"), TTestReply::Page(payload), true, true,
         "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo GetClientFileName "
         "BeforeDownload Download AfterDownload"},
        {"same version", UpdatePage("1.0"), TTestReply::Page(payload), true, false,
         "BeforeGetInfo Download AfterGetInfo NoUpdateFound"},
        {"user says no", UpdatePage("2.0"), TTestReply::Page(payload), false, false,
         "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0)"},
        {"page without version", UpdatePage(""), TTestReply::Page(payload), true, false,
         "BeforeGetInfo Download AfterGetInfo DownloadError"},
        {"download missing", UpdatePage("2.0"), TTestReply::WithStatus(404, "<html>404</html>"), true, false,
         "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo GetClientFileName "
         "BeforeDownload DownloadError AfterDownload"},
        {"download cut short", UpdatePage("2.0"), TTestReply::Page(payload, TTestReply::Larger), true, false,
         "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo GetClientFileName "
         "BeforeDownload Download DownloadError AfterDownload"},
        {"client name with a path", UpdatePage("2.0", "/setup.exe", "..\\setup.exe"), TTestReply::Page(payload), true,
         false, "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo DownloadError"},
        {"client name empty", UpdatePage("2.0", "/setup.exe", ""), TTestReply::Page(payload), true, false,
         "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo DownloadError"},
        {"download address of another scheme", UpdatePage("2.0", "file:///C:/windows/win.ini"),
         TTestReply::Page(payload), true, false,
         "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo GetClientFileName "
         "BeforeDownload DownloadError AfterDownload"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        server.Set("/folhavida/update.htm", TTestReply::Page(c.Page));
        server.Set("/setup.exe", c.Download);
        recorder.Events.clear();
        recorder.CanUpdate = c.CanUpdate;
        DeleteFileW((folder / L"setup.exe").c_str());
        EXPECT_EQ(wu.CheckAndUpdate(), c.Result);
        EXPECT_EQ(recorder.Joined(), c.Events);
        EXPECT_EQ(FileExists(folder / L"setup.exe"), c.Result) << "only a complete download is kept";
        if (c.Result) {
            EXPECT_EQ(ReadFileBytes(folder / L"setup.exe"), payload);
        }
        EXPECT_EQ(folder.Files().size(), c.Result ? 1u : 0u) << "no partial file stays behind";
        EXPECT_FALSE(wu.Busy());
    }
}

TEST_F(WebUpdateCheck, ThePageValuesAndTheDownloadAddressWithoutHost) {
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("2.0", "setup.exe", "novo.exe",
                                                                    "<META NAME=\"wuRunParameters\" CONTENT=\"/s\">\n")));
    server.Set("/setup.exe", TTestReply::Page("x"));  // a bare name is the path on the page's host
    EXPECT_TRUE(wu.CheckAndUpdate());
    EXPECT_EQ(server.Requests().back(), "/setup.exe");
    EXPECT_EQ(wu.WebProductName(), L"Folhavida");
    EXPECT_EQ(wu.WebAuthor(), L"Equipe");
    EXPECT_EQ(wu.WebEmail(), L"a@b.c");
    EXPECT_EQ(wu.WebVersion(), L"2.0");
    EXPECT_EQ(wu.WebRunParameters(), L"/s");
    EXPECT_EQ(wu.LocalFile(), folder / L"novo.exe");
    EXPECT_EQ(ReadFileBytes(folder / L"novo.exe"), "x");
}

TEST_F(WebUpdateCheck, AnExistingFileIsReplacedOnlyWhenAllowedAndOnlyByACompleteDownload) {
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("2.0")));
    WriteFileBytes(folder / L"setup.exe", "old");

    server.Set("/setup.exe", TTestReply::Page("new"));
    EXPECT_FALSE(wu.CheckAndUpdate());
    EXPECT_EQ(recorder.Joined(), "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo "
                                 "GetClientFileName ClientFileExists DownloadError");
    EXPECT_EQ(ReadFileBytes(folder / L"setup.exe"), "old");

    wu.SetOptions(TWuUpdateOptions{uoOverwrite});
    server.Set("/setup.exe", TTestReply::WithStatus(500, "<html>erro</html>"));
    EXPECT_FALSE(wu.CheckAndUpdate());
    EXPECT_EQ(ReadFileBytes(folder / L"setup.exe"), "old") << "a failed download leaves the file alone";

    server.Set("/setup.exe", TTestReply::Page("new"));
    EXPECT_TRUE(wu.CheckAndUpdate());
    EXPECT_EQ(ReadFileBytes(folder / L"setup.exe"), "new");
    EXPECT_EQ(folder.Files().size(), 1u);
}

TEST_F(WebUpdateCheck, RedirectionsAreFollowedUpToFiveHops) {
    auto redirectTo = [](const std::string& to) {
        return TTestReply::Page("<META NAME=\"wuRedirection\" CONTENT=\"" + to + "\">\n<META NAME=\"wuVersion\" CONTENT=\"9\">\n");
    };
    server.Set("/setup.exe", TTestReply::Page("x"));
    server.Set("/final.htm", TTestReply::Page(UpdatePage("2.0")));
    wu.SetOptions(TWuUpdateOptions{uoOverwrite});

    // One hop, and two hops (the second with a full address)
    server.Set("/folhavida/update.htm", redirectTo("/final.htm"));
    EXPECT_TRUE(wu.CheckAndUpdate());
    EXPECT_EQ(wu.WebVersion(), L"2.0") << "the last page's values count";
    server.Set("/folhavida/update.htm", redirectTo("/hop.htm"));
    server.Set("/hop.htm", redirectTo("http://127.0.0.1/final.htm"));
    EXPECT_TRUE(wu.CheckAndUpdate());
    EXPECT_EQ(server.RequestCount("/hop.htm"), 1);
    EXPECT_EQ(server.RequestCount("/final.htm"), 2);

    // A page that names itself: the initial page and five hops, then the check fails
    server.Set("/folhavida/update.htm", redirectTo("/loop.htm"));
    server.Set("/loop.htm", redirectTo("/loop.htm"));
    recorder.Events.clear();
    EXPECT_FALSE(wu.CheckAndUpdate());
    EXPECT_EQ(server.RequestCount("/loop.htm"), 5);
    EXPECT_EQ(recorder.Joined(), "BeforeGetInfo Download DownloadError AfterGetInfo DownloadError");
    EXPECT_EQ(wu.WebVersion(), L"");
}

TEST_F(WebUpdateCheck, ASecondCheckDuringACheckIsRefused) {
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("1.0")));
    recorder.ReenterOnBeforeGetInfo = true;
    EXPECT_FALSE(wu.CheckAndUpdate());
    EXPECT_FALSE(recorder.ReentryResult);
    EXPECT_EQ(recorder.Joined(), "BeforeGetInfo Download AfterGetInfo NoUpdateFound") << "the second check did nothing";
    EXPECT_EQ(server.RequestCount("/folhavida/update.htm"), 1);
}

TEST_F(WebUpdateCheck, CancellingASlowDownloadEndsSilentlyAndKeepsTheOldFile) {
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("2.0")));
    TTestReply slow = TTestReply::Page(Payload(20000));
    slow.Slow = true;
    server.Set("/setup.exe", slow);
    wu.SetOptions(TWuUpdateOptions{uoOverwrite, uoRunUpdate});
    WriteFileBytes(folder / L"setup.exe", "old");
    recorder.CancelInDownload = true;
    EXPECT_FALSE(wu.CheckAndUpdate());
    EXPECT_EQ(recorder.Joined(), "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo "
                                 "GetClientFileName ClientFileExists BeforeDownload Download AfterDownload");
    EXPECT_FALSE(wu.TransferOk());
    EXPECT_EQ(ReadFileBytes(folder / L"setup.exe"), "old");
    EXPECT_EQ(folder.Files(), std::vector<String>{L"setup.exe"}) << "the partial file is gone";
}

TEST_F(WebUpdateCheck, TheDownloadRunsWithThePageParameters) {
    const std::string program = ReadFileBytes(ProgramFolder() + L"RecordCommandLine.exe");
    ASSERT_GT(program.size(), 1000u);
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("2.0", "/setup.exe", "setup.exe",
                                                                    "<META NAME=\"wuRunParameters\" CONTENT=\"/silent x\">\n")));
    server.Set("/setup.exe", TTestReply::Page(program));
    wu.SetOptions(TWuUpdateOptions{uoRunUpdate});
    EXPECT_TRUE(wu.CheckAndUpdate());
    const String mark = folder / L"setup.exe.ran";
    bool ran = false;
    for (int i = 0; i < 400 && !ran; ++i) {
        ran = FileExists(mark) && ReadFileBytes(mark).find('\n') != std::string::npos;
        if (!ran) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(ran) << "the downloaded program did not run";
    EXPECT_NE(ReadFileBytes(mark).find("/silent x"), std::string::npos) << ReadFileBytes(mark);
    EXPECT_FALSE(Application().Terminated()) << "uoTerminate is not set";
    EXPECT_EQ(recorder.Joined().find("CannotExecute"), std::string::npos);
}

TEST_F(WebUpdateCheck, AFileThatCannotBeStartedIsReportedAndTheCheckStillSucceeds) {
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("2.0", "/d", "setup.exe")));
    server.Set("/d", TTestReply::Page("x"));
    wu.SetOptions(TWuUpdateOptions{uoRunUpdate, uoTerminate});
    EXPECT_TRUE(wu.CheckAndUpdate());
    EXPECT_EQ(recorder.Events.back(), "CannotExecute");
    Application().ProcessMessages();
    EXPECT_TRUE(Application().Terminated()) << "uoTerminate with uoRunUpdate ends the application";
}

TEST_F(WebUpdateCheck, TerminateAloneRunsNothing) {
    server.Set("/folhavida/update.htm", TTestReply::Page(UpdatePage("2.0", "/d", "setup.exe")));
    server.Set("/d", TTestReply::Page("x"));
    wu.SetOptions(TWuUpdateOptions{uoTerminate});
    EXPECT_TRUE(wu.CheckAndUpdate());
    EXPECT_EQ(recorder.Events.back(), "AfterDownload");
    Application().ProcessMessages();
    EXPECT_FALSE(Application().Terminated());
}

// ---- a hostile server: every reply below comes from whatever answers on the network

bool WaitForFile(const String& name) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
        if (ReadFileBytes(name).find('\n') != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string Utf8(const String& text) { return StringToUtf8(text); }

TEST_F(WebUpdateCheck, AHostileServerTable) {
    const std::string program = ReadFileBytes(ProgramFolder() + L"RecordCommandLine.exe");
    ASSERT_GT(program.size(), 1000u);
    const std::string page = UpdatePage("2.0");
    const std::string fullReply = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  std::to_string(page.size()) + "\r\n\r\n" + page;
    const std::string port = std::to_string(server.Port());
    const std::string chained = Utf8(folder / L"chained.txt");
    auto pageNaming = [](const std::string& clientName) { return TTestReply::Page(UpdatePage("2.0", "/setup.exe", clientName)); };
    auto redirect = [](const std::string& to) { return TTestReply::Redirect(to); };
    TTestReply gzipPage = TTestReply::Page(page);
    gzipPage.Headers = "Content-Encoding: gzip\r\n";
    TTestReply held = TTestReply::Page(program);
    held.Slow = true;
    TTestReply huge;
    huge.FillerBytes = 65u * 1024 * 1024;
    TTestReply large;
    large.FillerBytes = 60u * 1024 * 1024;

    const std::string fetched = "BeforeGetInfo Download AfterGetInfo UpdateAvailable(1.0,2.0) BeforeShowInfo";
    const std::string downloading = fetched + " GetClientFileName BeforeDownload";
    const std::string pageRefused = "BeforeGetInfo DownloadError AfterGetInfo DownloadError";
    enum TCancel { Never, WhileDripping, WhileHeld, WhileWriting };
    struct Case {
        const char* Name;
        std::map<std::string, TTestReply> Replies;  // by path; the page is at /folhavida/update.htm
        TCancel Cancel;
        bool Result;
        std::string Events;
        std::vector<String> Files;  // in the folder afterwards, besides Folhavida.exe and update-server.txt
        const char* Arguments;      // null: no program started; else what its command line holds
    };
    const std::vector<Case> cases = {
        {"an update", {{"/folhavida/update.htm", TTestReply::Page(page)}, {"/setup.exe", TTestReply::Page(program)}},
         Never, true, downloading + " Download AfterDownload", {L"setup.exe"}, "setup.exe"},
        {"the page drips a byte at a time", {{"/folhavida/update.htm", TTestReply::Dripping(page, 100)}},
         WhileDripping, false, "BeforeGetInfo AfterGetInfo", {}, nullptr},
        {"the download drips a byte at a time",
         {{"/folhavida/update.htm", TTestReply::Page(page)}, {"/setup.exe", TTestReply::Dripping(program, 100)}},
         WhileDripping, false, downloading + " AfterDownload", {}, nullptr},
        {"the download stops after 2 KiB", {{"/folhavida/update.htm", TTestReply::Page(page)}, {"/setup.exe", held}},
         WhileHeld, false, downloading + " Download AfterDownload", {}, nullptr},
        {"five redirects", {{"/folhavida/update.htm", redirect("/r1")}, {"/r1", redirect("http://127.0.0.1:" + port + "/r2")},
                            {"/r2", redirect("/r3")}, {"/r3", redirect("/r4")}, {"/r4", redirect("/r5")},
                            {"/r5", TTestReply::Page(page)}, {"/setup.exe", TTestReply::Page(program)}},
         Never, true, downloading + " Download AfterDownload", {L"setup.exe"}, "setup.exe"},
        {"six redirects", {{"/folhavida/update.htm", redirect("/r1")}, {"/r1", redirect("/r2")}, {"/r2", redirect("/r3")},
                           {"/r3", redirect("/r4")}, {"/r4", redirect("/r5")}, {"/r5", redirect("/r6")},
                           {"/r6", TTestReply::Page(page)}},
         Never, false, pageRefused, {}, nullptr},
        {"a redirect to itself", {{"/folhavida/update.htm", redirect("/folhavida/update.htm")}}, Never, false,
         pageRefused, {}, nullptr},
        {"a redirect to another host", {{"/folhavida/update.htm", redirect("http://localhost:" + port + "/r5")},
                                        {"/r5", TTestReply::Page(page)}},
         Never, false, pageRefused, {}, nullptr},
        {"a redirect to another port",
         {{"/folhavida/update.htm", redirect("http://127.0.0.1:" + std::to_string(TTestHttpServer::RefusedPort()) + "/")}},
         Never, false, pageRefused, {}, nullptr},
        {"a redirect to a local file", {{"/folhavida/update.htm", redirect("file:///C:/windows/win.ini")}}, Never, false,
         pageRefused, {}, nullptr},
        {"an HTTP/0.9 reply", {{"/folhavida/update.htm", TTestReply::RawBytes(page)}}, Never, false, pageRefused, {},
         nullptr},
        {"a banner before the reply", {{"/folhavida/update.htm", TTestReply::RawBytes("SSH-2.0-OpenSSH_9.6\r\n" + fullReply)}},
         Never, false, pageRefused, {}, nullptr},
        {"a gzip-encoded page", {{"/folhavida/update.htm", gzipPage}}, Never, false, pageRefused, {}, nullptr},
        {"a gzip file as the download",
         {{"/folhavida/update.htm", TTestReply::Page(page)}, {"/setup.exe", TTestReply::Page("\x1f\x8b\x08\x00gzip-data")}},
         Never, true, downloading + " Download AfterDownload CannotExecute", {L"setup.exe"}, nullptr},
        {"a download of 65 MB", {{"/folhavida/update.htm", TTestReply::Page(page)}, {"/setup.exe", huge}}, Never, false,
         downloading + " DownloadError AfterDownload", {}, nullptr},
        {"a fast download of 60 MB, cancelled", {{"/folhavida/update.htm", TTestReply::Page(page)}, {"/setup.exe", large}},
         WhileWriting, false, downloading + " Download AfterDownload", {}, nullptr},
        {"run parameters that chain a command",
         {{"/folhavida/update.htm",
           TTestReply::Page(UpdatePage("2.0", "/setup.exe", "setup.exe",
                                       "<META NAME=\"wuRunParameters\" CONTENT=\"& echo chained > " + chained + "\">\n"))},
          {"/setup.exe", TTestReply::Page(program)}},
         Never, true, downloading + " Download AfterDownload", {L"setup.exe"}, "& echo chained >"},
    };
    std::vector<Case> names;
    for (const char* name : {"Folhavida.exe", "FOLHAVIDA.EXE", "update.exe", "update-server.txt", "evil.bat", "x.dll",
                             "CON.exe", "nul.exe", "COM1.exe", "LPT9.exe", "FOLHAV~1.EXE", "webupdate_tests.exe",
                             "setup\xE2\x80\xAE" "exe.txt.exe", "a\xE2\x80\x8E" "b.exe", "a\xE2\x81\xA6" "b.exe"})
        names.push_back({name, {{"/folhavida/update.htm", pageNaming(name)}, {"/setup.exe", TTestReply::Page(program)}},
                         Never, false, fetched + " DownloadError", {}, nullptr});

    std::vector<Case> all = cases;
    all.insert(all.end(), names.begin(), names.end());
    wu.SetOptions(TWuUpdateOptions{uoRunUpdate, uoOverwrite});  // as the updater sets them
    for (const Case& c : all) {
        SCOPED_TRACE(c.Name);
        for (const String& name : folder.Files()) DeleteFileW((folder / name).c_str());
        WriteFileBytes(folder / L"Folhavida.exe", "original program");
        WriteFileBytes(folder / L"update-server.txt", "original address");
        const int setupRequests = server.RequestCount("/setup.exe");
        for (const auto& [path, reply] : c.Replies) server.Set(path, reply);
        recorder.Events.clear();

        bool result = false;
        long long silenceMs = 0, cancelToEndMs = -1;
        {
            std::chrono::steady_clock::time_point dripSeen{};
            TResponsivenessProbe probe(wu, [&, cancel = c.Cancel]() {
                // The download's temporary file has more than this many bytes: its first blocks
                // have been written, and reported, by the thread running the check.
                auto written = [&](Int64 bytes) {
                    for (const String& name : folder.Files())
                        if (name.rfind(L"wu", 0) == 0 && FileSize(folder / name) > bytes) return true;
                    return false;
                };
                if (cancel == WhileHeld) return server.SlowHolding() && written(0);
                if (cancel == WhileWriting) return written(1024 * 1024);
                if (cancel != WhileDripping || !server.Dripping()) return false;
                // Cancelled after a second of dripping: long enough for a call to block on it.
                if (dripSeen == std::chrono::steady_clock::time_point{}) dripSeen = std::chrono::steady_clock::now();
                return std::chrono::steady_clock::now() - dripSeen >= std::chrono::seconds(1);
            });
            result = wu.CheckAndUpdate();
            const auto end = std::chrono::steady_clock::now();
            if (probe.CancelSent())
                cancelToEndMs = std::chrono::duration_cast<std::chrono::milliseconds>(end - probe.CancelTime()).count();
            silenceMs = probe.LongestSilenceMs();
        }
        server.EndDrip();
        server.Release();
        std::cout << "[ figures  ] " << c.Name << ": longest silence " << silenceMs << " ms"
                  << (cancelToEndMs >= 0 ? ", cancel to end " + std::to_string(cancelToEndMs) + " ms" : "") << "\n";

        EXPECT_EQ(result, c.Result);
        EXPECT_EQ(recorder.Joined(), c.Events);
        EXPECT_FALSE(wu.Busy());
        if (c.Cancel != Never) {
            // Without the transfer's own thread, the window froze until the server gave up.
            EXPECT_LT(silenceMs, 5000) << "the window did not answer";
            EXPECT_GE(cancelToEndMs, 0);
            EXPECT_LT(cancelToEndMs, 5000) << "the cancel took effect late";
        }
        if (c.Arguments != nullptr) {
            ASSERT_TRUE(WaitForFile(folder / L"setup.exe.ran")) << "the download did not run";
            EXPECT_NE(ReadFileBytes(folder / L"setup.exe.ran").find(c.Arguments), std::string::npos)
                << ReadFileBytes(folder / L"setup.exe.ran");
        }
        std::vector<String> expected = c.Files;
        expected.insert(expected.end(), {L"Folhavida.exe", L"update-server.txt"});
        if (c.Arguments != nullptr) expected.push_back(L"setup.exe.ran");
        std::vector<String> files = folder.Files();
        std::sort(files.begin(), files.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(files, expected) << "no temporary file, nothing overwritten or written beside";
        EXPECT_EQ(ReadFileBytes(folder / L"Folhavida.exe"), "original program");
        EXPECT_EQ(ReadFileBytes(folder / L"update-server.txt"), "original address");
        if (c.Events == fetched + " DownloadError") {
            EXPECT_EQ(server.RequestCount("/setup.exe"), setupRequests) << "refused before anything is downloaded";
        }
    }
    EXPECT_EQ(server.RequestCount("/folhavida/update.htm") > 0, true);
}

TEST_F(WebUpdateCheck, ALeftoverTemporaryFileIsRemovedButNotOneInUse) {
    WriteFileBytes(folder / L"wu1A2B.tmp", "from a killed run");
    WriteFileBytes(folder / L"other.tmp", "not ours");
    const String inUse = folder / L"wu3C4D.tmp";
    WriteFileBytes(inUse, "a download still running");
    const HANDLE open = CreateFileW(inUse.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    wu.RemoveLeftoverDownloads();
    CloseHandle(open);
    std::vector<String> files = folder.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<String>{L"other.tmp", L"wu3C4D.tmp"}));
}

// ---- the transfer on its own, against each fault of the server

class WebUpdateTransfer : public WebUpdateCheck {};

TEST_F(WebUpdateTransfer, ServerFaultsTable) {
    const std::string body = Payload(3000);
    struct Case {
        const char* Name;
        TTestReply Reply;
        bool PageOk;  // memory mode, no length required
        bool FileOk;  // file mode, length required
    };
    const Case cases[] = {
        {"normal", TTestReply::Page(body), true, true},
        {"no Content-Length", TTestReply::Page(body, TTestReply::NoLength), true, false},
        {"length larger than the body, then closed", TTestReply::Page(body, TTestReply::Larger), false, false},
        {"length smaller than the body", TTestReply::Page(body, TTestReply::Smaller), false, false},
        {"length that is no number", TTestReply::Page(body, TTestReply::NotANumber), false, false},
        {"404", TTestReply::WithStatus(404, body), false, false},
        {"500", TTestReply::WithStatus(500, body), false, false},
        {"empty body", TTestReply::Page(""), false, false},
        {"empty body without length", TTestReply::Page("", TTestReply::NoLength), false, false},
        {"HTTP redirect", TTestReply::Redirect("/target"), true, true},
    };
    server.Set("/target", TTestReply::Page(body));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        server.Set("/x", c.Reply);
        const String target = folder / L"file.bin";
        WriteFileBytes(target, "old");

        recorder.Events.clear();
        wu.HttpGet(L"http://127.0.0.1/x", L"", L"", false, false, L"");
        EXPECT_EQ(wu.TransferOk(), c.PageOk);
        EXPECT_EQ(recorder.Joined().find("DownloadError") != std::string::npos, !c.PageOk) << recorder.Joined();

        recorder.Events.clear();
        wu.HttpGet(L"http://127.0.0.1/x", L"", L"", true, true, target);
        EXPECT_EQ(wu.TransferOk(), c.FileOk);
        EXPECT_EQ(recorder.Joined().find("DownloadError") != std::string::npos, !c.FileOk) << recorder.Joined();
        const std::string stored = ReadFileBytes(target);
        if (c.FileOk) {
            EXPECT_EQ(stored, body);
        } else {
            EXPECT_EQ(stored, "old");
        }
        EXPECT_EQ(folder.Files().size(), 1u) << "no partial file stays behind";
    }
}

TEST_F(WebUpdateTransfer, ThePageIsReadIntoLinesWithProgressPerBlock) {
    server.Set("/p", TTestReply::Page("linha 1\r\nlinha 2\nlinha 3" + std::string(3000, 'x')));
    wu.HttpGet(L"/p", L"", L"", false, false, L"");  // no host: the page address's host
    ASSERT_TRUE(wu.TransferOk());
    ASSERT_EQ(wu.PageLines().size(), 3u);
    EXPECT_EQ(wu.PageLines()[1], L"linha 2");
    EXPECT_EQ(wu.DownloadedSize(), 3024);
    EXPECT_EQ(wu.TotalSize(), 3024);
    ASSERT_GE(recorder.Blocks.size(), 3u) << "blocks of at most 1025 bytes";
    EXPECT_EQ(recorder.Blocks.back(), std::make_pair(3024, 3024));
    for (const auto& [total, done] : recorder.Blocks) EXPECT_EQ(total, 3024);
}

TEST_F(WebUpdateTransfer, AnOversizedPageIsRefused) {
    server.Set("/big", TTestReply::Page(std::string(static_cast<size_t>(TWebUpdate::MaxPageBytes) + 1, 'x')));
    wu.HttpGet(L"/big", L"", L"", false, false, L"");
    EXPECT_FALSE(wu.TransferOk());
    server.Set("/big", TTestReply::Page(std::string(static_cast<size_t>(TWebUpdate::MaxPageBytes) + 5000, 'x'),
                                        TTestReply::NoLength));
    wu.HttpGet(L"/big", L"", L"", false, false, L"");
    EXPECT_FALSE(wu.TransferOk());
    EXPECT_LE(wu.DownloadedSize(), TWebUpdate::MaxPageBytes + 1025);
}

TEST_F(WebUpdateTransfer, ARefusedPortFailsWithTheErrorEvent) {
    wu.SetHTTPPort(TTestHttpServer::RefusedPort());
    wu.HttpGet(L"/x", L"", L"", false, false, L"");
    EXPECT_FALSE(wu.TransferOk());
    EXPECT_EQ(recorder.Joined(), "DownloadError");
}

TEST_F(WebUpdateTransfer, CancelDuringASlowPageEndsWithoutAnEvent) {
    TTestReply slow = TTestReply::Page(Payload(20000));
    slow.Slow = true;
    server.Set("/slow", slow);
    recorder.CancelOnFirstBlock = true;
    wu.HttpGet(L"/slow", L"", L"", false, false, L"");
    EXPECT_FALSE(wu.TransferOk());
    EXPECT_EQ(recorder.Joined(), "Download");
    EXPECT_LT(wu.DownloadedSize(), 20000);
}

TEST(WebUpdateComponent, Defaults) {
    TLocal<TWebUpdate> wu(nullptr);
    EXPECT_EQ(wu.Version(), L"1.21");
    wu.SetVersion(L"9.9");
    EXPECT_EQ(wu.Version(), L"1.21");
    EXPECT_EQ(wu.ProductInfo()->URL(), L"http://");
    EXPECT_EQ(wu.ProductInfo()->Version(), L"1.0");
    EXPECT_EQ(wu.HTTPPort(), 80u);
    EXPECT_EQ(wu.Options(), (TWuUpdateOptions{uoRunUpdate, uoTerminate}));
    EXPECT_EQ(wu.TagInfo()->Version(), L"wuVersion");
    EXPECT_EQ(wu.InfoCaption()->CheckForUpdate(), L"C&heck for updates in the future");
    wu.ProductInfo()->SetURL(L"HTTP://h/u.htm");
    EXPECT_EQ(wu.ProductInfo()->URL(), L"HTTP://h/u.htm");
    wu.ProductInfo()->SetURL(L"h/u.htm");
    EXPECT_EQ(wu.ProductInfo()->URL(), L"http://h/u.htm");
}

}  // namespace
