#include "framework/rtl/System.h"

#include <utility>

#include "framework/rtl/StringUtils.h"

Exception::Exception(String message) : message_(std::move(message)), utf8_(StringToUtf8(message_)) {}

void Exception::SetMessage(String message) {
    message_ = std::move(message);
    utf8_ = StringToUtf8(message_);
}

void Abort() { throw EAbort(L"Operation aborted"); }
