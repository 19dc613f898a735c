// Failures of DirectShow calls as exceptions: the system's text for the result code, then the
// code itself, " ($80070005).".
#pragma once

#include "framework/rtl/System.h"

// A failed DirectShow call: the system's message and the result that caused it.
class EDirectShowException : public Exception {
public:
    EDirectShowException(String message, std::int32_t errorCode)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    std::int32_t ErrorCode() const noexcept { return errorCode_; }

private:
    std::int32_t errorCode_;
};

// A capture set-up the components cannot perform (a renderer mode without its allocator).
class EDSCaptureException : public Exception {
public:
    EDSCaptureException(String message, std::int32_t errorCode = 0)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    std::int32_t ErrorCode() const noexcept { return errorCode_; }

private:
    std::int32_t errorCode_;
};

// The system's text for result (at most 255 characters; empty when it has none).
String GetDSErrorText(std::int32_t result);
// text + " ($XXXXXXXX).", the result in eight upper-case hexadecimal digits.
String DSErrorMessage(const String& text, std::int32_t result);
// Returns result when it is not a failure (S_FALSE passes); raises EDirectShowException otherwise.
std::int32_t CheckDSResult(std::int32_t result);
