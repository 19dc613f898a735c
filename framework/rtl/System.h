// Core types every module shares: the text type, the root object and the exception family.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

using String = std::wstring;
using AnsiString = std::string;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
using Extended = long double;
using TDateTime = double;

// Root of every class hierarchy that needs run-time type names or owned object lists. It carries
// no class description: the described classes (creation by name, published properties) start at
// TPersistent in framework/classes.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    virtual String ClassName() const { return L"TObject"; }
};

// Base of every error the framework and the engines raise: carries a user-readable message.
class Exception : public std::exception {
public:
    explicit Exception(String message);
    const String& Message() const noexcept { return message_; }
    void SetMessage(String message);
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    String message_;
    std::string utf8_;
};

#define FV_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {           \
    public:                              \
        using Base::Base;                \
    }

FV_DECLARE_EXCEPTION(EAbort, Exception);  // silent: exception barriers do not show it
FV_DECLARE_EXCEPTION(EConvertError, Exception);
FV_DECLARE_EXCEPTION(EStreamError, Exception);
FV_DECLARE_EXCEPTION(EFOpenError, EStreamError);
FV_DECLARE_EXCEPTION(EFCreateError, EStreamError);
FV_DECLARE_EXCEPTION(EReadError, EStreamError);
FV_DECLARE_EXCEPTION(EWriteError, EStreamError);
FV_DECLARE_EXCEPTION(EListError, Exception);
FV_DECLARE_EXCEPTION(EStringListError, EListError);
FV_DECLARE_EXCEPTION(EAssertionFailed, Exception);
FV_DECLARE_EXCEPTION(EOutOfMemory, Exception);
FV_DECLARE_EXCEPTION(EIntOverflow, Exception);
FV_DECLARE_EXCEPTION(EZeroDivide, Exception);
FV_DECLARE_EXCEPTION(EInvalidOperation, Exception);
FV_DECLARE_EXCEPTION(EInvalidArgument, Exception);
FV_DECLARE_EXCEPTION(EOSError, Exception);

// Raises EAbort: ends the current operation without a message.
[[noreturn]] void Abort();
