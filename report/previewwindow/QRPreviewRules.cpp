#include "report/previewwindow/QRPreviewRules.h"

#include <climits>

#include "framework/rtl/StringUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"

int ReadPageAnswer(const String& answer) {
    std::size_t i = 0;
    while (i < answer.size() && (answer[i] == L' ' || answer[i] == L'\t')) ++i;
    bool negative = false;
    if (i < answer.size() && (answer[i] == L'-' || answer[i] == L'+')) negative = answer[i++] == L'-';
    int base = 10;
    if (i < answer.size() && answer[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < answer.size() && answer[i] == L'0' && (answer[i + 1] == L'x' || answer[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    for (; i < answer.size(); ++i) {
        const wchar_t c = answer[i];
        int digit = -1;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        if (digit < 0) break;
        value = value * base + digit;
        if (value > INT_MAX) value = INT_MAX;  // no overflow, however many digits come
    }
    return static_cast<int>(negative ? -value : value);
}

int PageFromAnswer(const String& answer, int pageCount) {
    const int page = ReadPageAnswer(answer);
    return page >= 1 && page <= pageCount ? page : 1;
}

String PageStatusText(int page, int pageCount) {
    return L"Page " + IntToStr(page) + L" of " + IntToStr(pageCount);
}

std::optional<String> TPreviewProgressText::Update(int progress) {
    std::optional<String> text;
    if (progress >= lastShown_ + 5) {
        text = IntToStr(progress) + L"%";
        lastShown_ = progress;
    }
    if (progress == 0) text = String();
    // A finished report says so: an empty panel would read as one that never started.
    if (progress == 100) text = L"100%";
    return text;
}

std::optional<String> TProgressFormSteps::Update(int progress) {
    const int step = progress < 0 ? -1 : progress / 5;
    if (step <= lastStep_) return std::nullopt;
    lastStep_ = step;
    return IntToStr(progress) + L"% " + L" Completed";
}

const String& DefaultSaveExtension(int saveType) {
    static const String extensions[] = {L".QRP", L".PDF", L".XLS", L".HTML", L".RTF", L".CSV", L".TXT", L".XML"};
    return extensions[saveType >= 0 && saveType < 8 ? saveType : 0];
}

String SaveDialogFilter(const String& defaultExtension, const TQRExportFilterLibrary& library) {
    return defaultExtension + L"|*" + defaultExtension + L"|" + library.BuildSaveFilterText();
}

TSaveTarget ResolveSaveTarget(const String& chosenName, int filterIndex, const String& defaultExtension,
                              const TQRExportFilterLibrary& library) {
    TSaveTarget target{chosenName, UpperCase(ExtractFileExt(chosenName))};
    String& e = target.Extension;
    if (e.empty()) {
        const auto& filters = library.Filters();
        if (filterIndex == 2)
            e = L"QRP";
        else if (filterIndex >= 3 && static_cast<std::size_t>(filterIndex - 3) < filters.size())
            e = UpperCase(filters[static_cast<std::size_t>(filterIndex - 3)].Extension);
        else
            e = defaultExtension;
        if (!e.empty() && e[0] == L'.') e.erase(0, 1);
        target.FileName += L"." + e;
    }
    if (!e.empty() && e[0] == L'.') e.erase(0, 1);
    if (e.size() > 3) e.resize(3);
    return target;
}

String NoPrinterMessage() {
    return L"Nenhuma impressora instalada! Instale uma impressora no Windows para imprimir.";
}

String FileInPreviewMessage(const String& fileName) {
    return L"O currículo " + fileName + L" está aberto numa visualização. Feche a visualização e salve de novo.";
}
