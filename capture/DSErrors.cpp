#include "capture/DirectShow.h"
#include "capture/DSErrors.h"

#include <cstdio>

String GetDSErrorText(std::int32_t result) {
    char buffer[256] = {};
    AMGetErrorTextA(static_cast<HRESULT>(result), buffer, 255);
    buffer[255] = '\0';
    const int length = MultiByteToWideChar(CP_ACP, 0, buffer, -1, nullptr, 0);
    if (length <= 1) return {};
    String text(static_cast<size_t>(length - 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, buffer, -1, text.data(), length);
    return text;
}

String DSErrorMessage(const String& text, std::int32_t result) {
    wchar_t code[16];
    std::swprintf(code, 16, L"%08X", static_cast<unsigned>(result));
    return text + L" ($" + code + L").";
}

std::int32_t CheckDSResult(std::int32_t result) {
    if (result >= 0) return result;
    throw EDirectShowException(DSErrorMessage(GetDSErrorText(result), result), result);
}
