#include "report/builder/QRBuilderRules.h"

#include "framework/rtl/Format.h"

String RemoveLineBreaks(const String& text) {
    String result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            result += L' ';
        } else if (c == L'\n') {
            result += L' ';
        } else {
            result += c;
        }
    }
    return result;
}

String ArgumentLabel(wchar_t letter, int number) {
    const wchar_t* format = nullptr;
    switch (letter) {
    case L'B': format = L"Argument %d - logical value"; break;
    case L'N': format = L"Argument %d - numeric value"; break;
    case L'S': format = L"Argument %d - text Value"; break;
    case L'V': format = L"Argument %d - value"; break;
    default: return L"";
    }
    return Format(format, {number});
}

String JoinArguments(const std::vector<String>& arguments) {
    String joined;
    for (const String& argument : arguments) {
        if (!joined.empty()) joined += L',';
        joined += argument;
    }
    return joined;
}

String ArgumentLetters(const String& signature) { return signature.size() < 2 ? String() : signature.substr(1); }

String FunctionCallText(const String& name, const String& signature, const std::vector<String>& arguments) {
    if (ArgumentLetters(signature).empty()) return name;
    return name + L"(" + JoinArguments(arguments) + L")";
}

bool InFunctionGroup(const String& signature, int group) {
    if (group == 0) return true;
    return !signature.empty() && group >= 1 && group <= 9 && signature[0] == static_cast<wchar_t>(L'0' + group);
}

std::pair<String, String> SplitDescription(const String& description) {
    const size_t bar = description.find(L'|');
    if (bar == String::npos) return {description, String()};
    return {description.substr(0, bar), description.substr(bar + 1)};
}

String ValidationMessage(const TQREvResultRecord& result) {
    if (result.IsError()) return L"ERROR: " + result.Text;
    return L"There are no errors. The result is : " + ResultAsText(result);
}
