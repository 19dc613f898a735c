#include "webupdate/HttpTransfer.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

#include "framework/rtl/StringUtils.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"
#include "webupdate/UpdateAddress.h"

#include <wininet.h>

namespace {

using UniqueInternet = UniqueHandle<HINTERNET, ReleaseBy<&InternetCloseHandle>>;

constexpr DWORD BlockSize = 1025;
// How often the waiting caller looks at its Cancel when neither a block nor a message comes.
constexpr DWORD WakeIntervalMs = 100;
// Never from the cache, and nothing left in it: a refused or partial reply must not be served
// again. Redirects are ours to check.
constexpr DWORD RequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;

// What the network thread hands the waiting caller. The thread and the caller each hold it; the
// caller may give up its share early (cancel, failure) and the thread then stops at its next step.
struct TTransferJob {
    explicit TTransferJob(const THttpGetRequest& request)
        : Request(request), Wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    const THttpGetRequest Request;
    std::atomic<bool> Abandoned{false};
    UniqueKernelHandle Wake;  // set whenever there is news

    std::mutex Lock;
    std::deque<std::string> Blocks;
    bool HeadRead = false;
    bool LengthKnown = false;
    Int64 Announced = 0;
    bool Finished = false;
    THttpOutcome Outcome = THttpOutcome::Failed;

    void Post(std::string block) {
        {
            std::lock_guard<std::mutex> lock(Lock);
            Blocks.push_back(std::move(block));
        }
        SetEvent(Wake.get());
    }
    void PostHead(bool lengthKnown, Int64 announced) {
        {
            std::lock_guard<std::mutex> lock(Lock);
            HeadRead = true;
            LengthKnown = lengthKnown;
            Announced = announced;
        }
        SetEvent(Wake.get());
    }
    void Finish(THttpOutcome outcome) {
        {
            std::lock_guard<std::mutex> lock(Lock);
            Finished = true;
            Outcome = outcome;
        }
        SetEvent(Wake.get());
    }
};

void SetTimeouts(HINTERNET session) {
    DWORD connect = ConnectTimeoutMs, silence = SilenceTimeoutMs;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
    InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &silence, sizeof(silence));
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &silence, sizeof(silence));
    InternetSetOptionA(session, INTERNET_OPTION_DATA_SEND_TIMEOUT, &silence, sizeof(silence));
    InternetSetOptionA(session, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &silence, sizeof(silence));
}

std::string QueryText(HINTERNET request, DWORD what) {
    std::string text(1024, '\0');
    DWORD size = static_cast<DWORD>(text.size()), index = 0;
    if (!HttpQueryInfoA(request, what, text.data(), &size, &index)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size > 65536) return std::string();
        text.assign(size + 1, '\0');
        index = 0;
        if (!HttpQueryInfoA(request, what, text.data(), &size, &index)) return std::string();
    }
    text.resize(size);
    return text;
}

bool QueryPresent(HINTERNET request, DWORD what, std::string& text) {
    char buffer[1024] = {};
    DWORD size = sizeof(buffer) - 1, index = 0;
    if (!HttpQueryInfoA(request, what, buffer, &size, &index)) return false;
    text.assign(buffer, size);
    return true;
}

bool IsRedirect(DWORD status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

// Sends one GET; null when it could not be sent.
UniqueInternet SendRequest(HINTERNET connection, const std::string& path) {
    const char* acceptTypes[] = {"Accept: */*", nullptr};
    UniqueInternet request(HttpOpenRequestA(connection, "GET", path.c_str(), "HTTP/1.0", "", acceptTypes,
                                            RequestFlags, 0));
    // A failed send still lets the header queries answer (with status 0), so its result decides.
    if (request && !HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) request.reset();
    return request;
}

// The request whose reply is the one to read, after following the redirects allowed; null when
// there is none (a failure, a redirect that is not allowed, or a reply that is not HTTP/1.x 200).
UniqueInternet OpenReply(TTransferJob& job, HINTERNET connection) {
    String path = job.Request.Path;
    for (int hop = 0;; ++hop) {
        UniqueInternet request = SendRequest(connection, StringToAnsi(path));
        if (!request || job.Abandoned) return UniqueInternet();
        DWORD status = 0, size = sizeof(status), index = 0;
        if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index))
            return UniqueInternet();
        if (!IsHttp1Head(QueryText(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF))) return UniqueInternet();
        if (status == 200) return request;
        if (!IsRedirect(status) || hop == MaxHttpRedirects) return UniqueInternet();
        const String location = AnsiToString(QueryText(request.get(), HTTP_QUERY_LOCATION));
        if (!RedirectPath(location, job.Request.Host, job.Request.Port, path)) return UniqueInternet();
    }
}

// Reads the head of a 200 reply: false when its body cannot be taken as it is.
bool ReadHead(TTransferJob& job, HINTERNET request, bool& lengthKnown, Int64& announced) {
    std::string encoding;
    if (QueryPresent(request, HTTP_QUERY_CONTENT_ENCODING, encoding) && !SameText(Trim(AnsiToString(encoding)), L"identity"))
        return false;
    std::string lengthText;
    lengthKnown = QueryPresent(request, HTTP_QUERY_CONTENT_LENGTH, lengthText);
    if (!lengthKnown) return !job.Request.LengthRequired;
    if (!ParseContentLength(AnsiToString(lengthText), announced)) return false;
    return job.Request.MaxBytes <= 0 || announced <= job.Request.MaxBytes;
}

THttpOutcome ReadBody(TTransferJob& job, HINTERNET request, bool lengthKnown, Int64 announced) {
    Int64 received = 0;
    for (;;) {
        std::string block(BlockSize, '\0');
        DWORD read = 0;
        if (!InternetReadFile(request, block.data(), BlockSize, &read) || read == 0) break;
        if (job.Abandoned) return THttpOutcome::Cancelled;
        received += read;
        if (job.Request.MaxBytes > 0 && received > job.Request.MaxBytes) return THttpOutcome::Failed;
        if (lengthKnown && received > announced) return THttpOutcome::Failed;
        block.resize(read);
        job.Post(std::move(block));
    }
    if (received < 1 || (lengthKnown && received != announced)) return THttpOutcome::Failed;
    return THttpOutcome::Complete;
}

THttpOutcome Fetch(TTransferJob& job) {
    UniqueInternet session(InternetOpenA("TWebUpdate", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return THttpOutcome::Failed;
    SetTimeouts(session.get());
    const THttpGetRequest& r = job.Request;
    const std::string host = StringToAnsi(r.Host), user = StringToAnsi(r.UserName), password = StringToAnsi(r.Password);
    UniqueInternet connection(InternetConnectA(session.get(), host.c_str(), r.Port, user.c_str(), password.c_str(),
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return THttpOutcome::Failed;
    // Declared after the connection so that it closes first.
    UniqueInternet request = OpenReply(job, connection.get());
    if (job.Abandoned) return THttpOutcome::Cancelled;
    bool lengthKnown = false;
    Int64 announced = 0;
    if (!request || !ReadHead(job, request.get(), lengthKnown, announced)) return THttpOutcome::Failed;
    job.PostHead(lengthKnown, announced);
    return ReadBody(job, request.get(), lengthKnown, announced);
}

DWORD WINAPI TransferThread(void* parameter) {
    const std::unique_ptr<std::shared_ptr<TTransferJob>> handed(static_cast<std::shared_ptr<TTransferJob>*>(parameter));
    const std::shared_ptr<TTransferJob> job = *handed;
    job->Finish(Fetch(*job));
    return 0;
}

// Starts the network thread; it runs on its own and ends by itself.
bool StartTransfer(const std::shared_ptr<TTransferJob>& job) {
    auto handed = std::make_unique<std::shared_ptr<TTransferJob>>(job);
    const UniqueKernelHandle thread(CreateThread(nullptr, 0, &TransferThread, handed.get(), 0, nullptr));
    if (!thread) return false;
    (void)handed.release();  // the thread owns it now
    return true;
}

// What the network thread has posted since the last look.
struct TNews {
    std::deque<std::string> Blocks;
    bool HeadRead = false;
    bool LengthKnown = false;
    Int64 Announced = 0;
    bool Finished = false;
    THttpOutcome Outcome = THttpOutcome::Failed;
};

TNews TakeNews(TTransferJob& job) {
    std::lock_guard<std::mutex> lock(job.Lock);
    TNews news;
    news.Blocks.swap(job.Blocks);
    news.HeadRead = job.HeadRead;
    news.LengthKnown = job.LengthKnown;
    news.Announced = job.Announced;
    news.Finished = job.Finished;
    news.Outcome = job.Outcome;
    return news;
}

}  // namespace

bool ParseContentLength(const String& text, Int64& value) {
    const String digits = Trim(text);
    if (digits.empty() || digits.size() > 18) return false;
    value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + (c - L'0');
    }
    return true;
}

bool IsHttp1Head(const std::string& rawHead) {
    if (rawHead.rfind("HTTP/1.0 ", 0) != 0 && rawHead.rfind("HTTP/1.1 ", 0) != 0) return false;
    const size_t end = rawHead.find("\r\n");
    if (end == std::string::npos) return false;
    const size_t next = rawHead.find("\r\n", end + 2);
    const std::string header = rawHead.substr(end + 2, next == std::string::npos ? std::string::npos : next - end - 2);
    return header.find(':') != std::string::npos;
}

THttpOutcome HttpGet(const THttpGetRequest& request, THttpSink& sink, Int64& total, Int64& downloaded) {
    const auto job = std::make_shared<TTransferJob>(request);
    if (!job->Wake || !StartTransfer(job)) return THttpOutcome::Failed;
    // Whatever way this ends early, the network thread stops at its next step.
    struct TAbandon {
        TTransferJob& Job;
        ~TAbandon() { Job.Abandoned = true; }
    } abandon{*job};

    bool headSeen = false;
    for (;;) {
        if (sink.CancelRequested()) return THttpOutcome::Cancelled;
        TNews news = TakeNews(*job);
        if (news.HeadRead && !headSeen) {
            headSeen = true;
            if (news.LengthKnown) total = news.Announced;
            downloaded = 0;
        }
        for (const std::string& block : news.Blocks) {
            if (!sink.Write(block.data(), block.size())) return THttpOutcome::Failed;
            downloaded += static_cast<Int64>(block.size());
            sink.Progress(total, downloaded);
            if (sink.CancelRequested()) return THttpOutcome::Cancelled;
        }
        if (news.Finished) return news.Outcome;
        const HANDLE wake = job->Wake.get();
        MsgWaitForMultipleObjects(1, &wake, FALSE, WakeIntervalMs, QS_ALLINPUT);
        sink.Idle();
    }
}
