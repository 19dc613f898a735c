// Figures of the résumé's main road, for the full résumé (a name, five experiences, five
// courses): from the request to the first page of the preview, saving and reopening the
// prepared file, and the program's start-up to a main window that takes input.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/AppRegistration.h"
#include "app/Curriculo.h"
#include "app/CurriculoTemplate.h"
#include "framework/classes/Component.h"
#include "framework/controls/UiThread.h"
#include "framework/forms/ApplicationScope.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"
#include "report/printer/QRPrinter.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TResumeData FullResume() {
    TResumeData d;
    d.Nome = L"João Conceição";
    d.Email = L"joao@exemplo.com.br";
    for (size_t n = 0; n < 5; ++n) {
        const String k = std::to_wstring(n + 1);
        d.Experiencias[n] = {L"Empresa " + k, L"Cargo " + k, L"Atendimento, caixa e estoque " + k, L"01/02/200" + k,
                             L"01/03/200" + k, L"(81)1111-000" + k};
        d.Cursos[n] = {L"Curso " + k, L"Nota " + k, L"Escola " + k, L"1 Ano"};
    }
    d.Escolaridade = L"2º Grau Completo";
    return d;
}

struct TFigure {
    double Best = 1e30;
    double Total = 0;
    int Runs = 0;
    void Add(double ms) {
        Best = std::min(Best, ms);
        Total += ms;
        ++Runs;
    }
    void Print(const char* what, double target) const {
        std::printf("%-52s best %7.1f ms, mean %7.1f ms over %d", what, Best, Total / Runs, Runs);
        if (target > 0) std::printf(" (target %.0f ms)", target);
        std::printf("\n");
    }
};

void Generation(int rounds) {
    TLocal<TCurriculo> curriculo{nullptr};
    curriculo.SetShowProgress(false);
    TCurriculoTemplate output(curriculo);
    TPicture photo;
    const String file = GetTempDirectory() + L"fv-bench-" + std::to_wstring(GetCurrentProcessId()) + L".QRP";
    TFigure fill, apply, layout, request, save, reopen, write;
    int pages = 0;
    for (int r = 0; r < rounds; ++r) {
        auto start = Clock::now();
        const TCurriculoState state = FillCurriculo(FullResume(), TFillVariant::Default, {});
        fill.Add(MillisecondsSince(start));
        auto at = Clock::now();
        output.Apply(state, photo, [](TFillStep) {});  // ends with the layout that counts the pages
        apply.Add(MillisecondsSince(at));
        // The preview lays the template out again before it shows its first page.
        at = Clock::now();
        curriculo.PrepareReport();
        layout.Add(MillisecondsSince(at));
        request.Add(MillisecondsSince(start));
        pages = curriculo.ReportPrinter()->PageCount();

        at = Clock::now();
        output.SavePreparedReport(file);
        save.Add(MillisecondsSince(at));
        at = Clock::now();
        if (!curriculo.ReportPrinter()->SavePreparedReport(file)) std::printf("write failed\n");
        write.Add(MillisecondsSince(at));
        at = Clock::now();
        TQRPrinter reopened;
        reopened.LoadPreparedReport(file);
        reopen.Add(MillisecondsSince(at));
    }
    DeleteFile(file);
    std::printf("full résumé: %d pages\n", pages);
    fill.Print("state from the entered data", 0);
    apply.Print("state onto the template + first layout (page count)", 0);
    layout.Print("second layout (what the preview shows from)", 0);
    request.Print("request to the preview's pages (no window)", 150);
    save.Print("save: layout + write .QRP", 20);
    write.Print("save: write .QRP of a laid-out report", 20);
    reopen.Print("reopen .QRP", 20);
}

// Folhavida.exe beside this program, from its start to a visible main window that is idle.
void StartUp(int rounds) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program(path);
    program.erase(program.find_last_of(L"\\/") + 1);
    program += L"Folhavida.exe";
    TFigure figure;
    for (int r = 0; r < rounds; ++r) {
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        const auto start = Clock::now();
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            std::printf("cannot start Folhavida.exe\n");
            return;
        }
        const UniqueKernelHandle thread(process.hThread), handle(process.hProcess);
        HWND window = nullptr;
        while (MillisecondsSince(start) < 60000) {
            window = FindWindowW(nullptr, L"Folhavida 3.0 - Crie o seu currículo com facilidade!");
            if (window != nullptr && IsWindowVisible(window)) break;
            Sleep(1);
        }
        WaitForInputIdle(process.hProcess, 10000);
        figure.Add(MillisecondsSince(start));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    }
    figure.Print("start-up to a usable main window", 300);
}

}  // namespace

int main() {
    TComApartment com;
    RegisterAppClasses();
    {
        TApplicationScope scope;
        Generation(20);
    }
    StartUp(5);
    return 0;
}
