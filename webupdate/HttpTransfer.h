// One HTTP/1.0 GET through WinInet, read in blocks of 1025 bytes.
//
// The network calls run on a thread of their own, so that a server that answers slowly, or drips
// a byte at a time, never holds the caller's thread: the caller waits for the next block while
// its window messages run (THttpSink::Idle), hears of the progress after every block and is asked
// about cancelling at least ten times a second. A cancelled or failed transfer returns at once;
// the network thread, left behind, closes its handles as soon as its current call returns, which
// the connect, send and receive time-outs bound.
//
// A reply counts only when it is complete: an HTTP/1.x status line with status 200, no content
// encoding that would need decoding, at least one byte and, when the server announced a length,
// exactly that many, and no more than the request's bound. An announced length that is not a
// number fails the transfer. Redirects (3xx) are followed here, not by WinInet: at most five, and
// only to an address on the same host and port.
#pragma once

#include <string>

#include "framework/rtl/System.h"

struct THttpGetRequest {
    String Host;
    Word Port = 80;
    String Path;
    String UserName;
    String Password;
    bool LengthRequired = false;  // fail when the reply announces no length
    Int64 MaxBytes = 0;           // fail once more arrive (or are announced); 0: no bound
};

class THttpSink {
public:
    virtual ~THttpSink() = default;
    // Takes the next block; false fails the transfer (e.g. a file that cannot be written).
    virtual bool Write(const char* data, size_t size) = 0;
    // After every block: total is the announced length (or the last one known), done the bytes so far.
    virtual void Progress(Int64 total, Int64 done) = 0;
    virtual bool CancelRequested() = 0;
    // While the transfer waits for the network: let pending window messages run.
    virtual void Idle() = 0;
};

enum class THttpOutcome { Complete, Failed, Cancelled };

// Redirects followed before the transfer fails.
constexpr int MaxHttpRedirects = 5;
// How long connecting may take, and how long the server may send nothing while a request is
// sent or its reply read.
constexpr unsigned long ConnectTimeoutMs = 15000;
constexpr unsigned long SilenceTimeoutMs = 30000;

// total keeps its value when the reply announces no length.
THttpOutcome HttpGet(const THttpGetRequest& request, THttpSink& sink, Int64& total, Int64& downloaded);

// A Content-Length value: decimal digits only (surrounding blanks allowed), at most 18 of them.
bool ParseContentLength(const String& text, Int64& value);

// Whether a reply's raw head (as WinInet gives it, lines ended by CR LF) is that of an HTTP/1.x
// server: an "HTTP/1.0" or "HTTP/1.1" status line followed by at least one header line. WinInet
// takes anything else (an HTTP/0.9 body, another protocol's banner) as a bare 200 reply.
bool IsHttp1Head(const std::string& rawHead);
