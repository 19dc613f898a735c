#include "webupdate/HttpTransfer.h"

#include "framework/rtl/StringUtils.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

#include <wininet.h>

namespace {

using UniqueInternet = UniqueHandle<HINTERNET, ReleaseBy<&InternetCloseHandle>>;

constexpr DWORD BlockSize = 1025;

// Handles close request first, then the connection, then the session (reverse declaration order
// where they are used).
struct TConnection {
    UniqueInternet Session;
    UniqueInternet Connection;
    UniqueInternet Request;
};

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

THttpOutcome HttpGet(const THttpGetRequest& request, THttpSink& sink, Int64& total, Int64& downloaded) {
    TConnection c;
    c.Session.reset(InternetOpenA("TWebUpdate", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!c.Session) return THttpOutcome::Failed;
    const std::string host = StringToAnsi(request.Host), user = StringToAnsi(request.UserName),
                      password = StringToAnsi(request.Password), path = StringToAnsi(request.Path);
    c.Connection.reset(InternetConnectA(c.Session.get(), host.c_str(), request.Port, user.c_str(), password.c_str(),
                                        INTERNET_SERVICE_HTTP, 0, 0));
    if (!c.Connection) return THttpOutcome::Failed;
    const char* acceptTypes[] = {"Accept: */*", nullptr};
    c.Request.reset(HttpOpenRequestA(c.Connection.get(), "GET", path.c_str(), "HTTP/1.0", "", acceptTypes,
                                     INTERNET_FLAG_RELOAD, 0));
    if (!c.Request) return THttpOutcome::Failed;
    // A failed send still lets the header queries answer (with status 0), so its result decides.
    const BOOL sent = HttpSendRequestA(c.Request.get(), nullptr, 0, nullptr, 0);
    if (sink.CancelRequested()) return THttpOutcome::Cancelled;
    if (!sent) return THttpOutcome::Failed;

    DWORD status = 0, statusSize = sizeof(status), index = 0;
    if (!HttpQueryInfoA(c.Request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize,
                        &index) ||
        status != 200)
        return THttpOutcome::Failed;

    char lengthText[1024] = {};
    DWORD lengthSize = sizeof(lengthText) - 1;
    index = 0;
    const bool lengthKnown =
        HttpQueryInfoA(c.Request.get(), HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, &index) != FALSE;
    if (sink.CancelRequested()) return THttpOutcome::Cancelled;
    if (!lengthKnown && request.LengthRequired) return THttpOutcome::Failed;
    Int64 announced = 0;
    if (lengthKnown) {
        if (!ParseContentLength(AnsiToString(std::string(lengthText, lengthSize)), announced))
            return THttpOutcome::Failed;
        if (request.MaxBytes > 0 && announced > request.MaxBytes) return THttpOutcome::Failed;
        total = announced;
    }
    downloaded = 0;

    char block[BlockSize];
    for (;;) {
        if (sink.CancelRequested()) return THttpOutcome::Cancelled;
        DWORD read = 0;
        if (!InternetReadFile(c.Request.get(), block, BlockSize, &read) || read == 0) break;
        downloaded += read;
        if (request.MaxBytes > 0 && downloaded > request.MaxBytes) return THttpOutcome::Failed;
        if (lengthKnown && downloaded > announced) return THttpOutcome::Failed;
        if (!sink.Write(block, read)) return THttpOutcome::Failed;
        sink.Progress(total, downloaded);
    }
    if (downloaded < 1 || (lengthKnown && downloaded != announced)) return THttpOutcome::Failed;
    return THttpOutcome::Complete;
}
