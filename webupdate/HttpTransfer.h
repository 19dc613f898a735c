// One HTTP/1.0 GET through WinInet, read in blocks of 1025 bytes. After every block the sink
// hears of the progress (and lets pending window messages run); cancellation is asked for before
// the reply is read and before every block.
//
// A reply counts only when it is complete: the request was sent, the status is 200, at least one
// byte arrived and, when the server announced a length, exactly that many. An announced length
// that is not a number fails the transfer.
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
    Int64 MaxBytes = 0;           // fail once more arrive; 0: no bound
};

class THttpSink {
public:
    virtual ~THttpSink() = default;
    // Takes the next block; false fails the transfer (e.g. a file that cannot be written).
    virtual bool Write(const char* data, size_t size) = 0;
    // After every block: total is the announced length (or the last one known), done the bytes so far.
    virtual void Progress(Int64 total, Int64 done) = 0;
    virtual bool CancelRequested() = 0;
};

enum class THttpOutcome { Complete, Failed, Cancelled };

// total keeps its value when the reply announces no length.
THttpOutcome HttpGet(const THttpGetRequest& request, THttpSink& sink, Int64& total, Int64& downloaded);

// A Content-Length value: decimal digits only (surrounding blanks allowed), at most 18 of them.
bool ParseContentLength(const String& text, Int64& value);
