// Figures of the résumé's main road, for the full résumé (a name, five experiences, five
// courses): from the request to the first page of the preview, saving and reopening the
// prepared file, and the program's start-up to a main window that takes input, with where that
// time goes: the floor of starting any window program, and each of Folhavida's own steps.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/AppRegistration.h"
#include "app/Curriculo.h"
#include "app/CurriculoTemplate.h"
#include "app/FullResume_test.h"
#include "app/StartUp.h"
#include "framework/classes/Component.h"
#include "framework/controls/UiThread.h"
#include "framework/forms/ApplicationScope.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/printer/QRPrinter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const wchar_t* kLinkedFloorTitle = L"Folhavida start floor (linked)";

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}


struct TFigure {
    double Best = 1e30;
    double Total = 0;
    int Runs = 0;
    double First = 0;
    void Add(double ms) {
        if (Runs == 0) First = ms;
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

// Figures by name, in the order they first came.
class TFigures {
public:
    TFigure& operator[](const std::string& name) {
        for (auto& [n, figure] : figures_)
            if (n == name) return figure;
        return figures_.emplace_back(name, TFigure{}).second;
    }
    // The first round apart: in it everything ran for the first time in this process, as at the
    // program's start.
    void PrintFirstAndBest() const {
        for (const auto& [name, figure] : figures_)
            std::printf("  %-50s first %7.1f ms, best %7.1f ms\n", name.c_str(), figure.First, figure.Best);
    }

private:
    std::vector<std::pair<std::string, TFigure>> figures_;
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

// Folhavida's start-up as its entry point runs it, step by step inside this process: the
// application, each form of the start-up order, the splash, and the main window's first paint.
void StartUpSteps(int rounds) {
    TFigures figures;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        auto at = start;
        auto scope = std::make_unique<TApplicationScope>();
        Application().Initialize();
        Application().SetTitle(L"Folhavida 3.0");
        InitializeExpressionEngine(Application().Title());
        figures["application, screen, expression engine"].Add(MillisecondsSince(at));

        std::vector<TStartUpStage> stages = FolhavidaStartUpStages();
        double creating = 0;
        for (TStartUpStage& stage : stages) {
            for (auto& create : stage.Forms) {
                create = [&figures, &creating, real = create] {
                    const int before = Application().ComponentCount();
                    const auto made = Clock::now();
                    real();
                    const double ms = MillisecondsSince(made);
                    creating += ms;
                    std::string name = "create";
                    for (int i = before; i < Application().ComponentCount(); ++i) {
                        name += ' ';
                        name += StringToUtf8(Application().Components(i)->ClassName());
                    }
                    figures[name].Add(ms);
                };
            }
        }
        at = Clock::now();
        RunStartUp(stages);
        figures["splash: made, shown, repainted per stage, freed"].Add(MillisecondsSince(at) - creating);

        at = Clock::now();
        TCurriculoTemplate resumeTemplate(*Curriculo);
        Application().MainForm()->Show();
        Application().ProcessMessages();
        figures["main window shown and painted"].Add(MillisecondsSince(at));
        figures["total to an idle main window"].Add(MillisecondsSince(start));

        at = Clock::now();
        scope.reset();
        figures["(after) forms freed"].Add(MillisecondsSince(at));
    }
    std::printf("start-up steps inside this process, %d rounds:\n", rounds);
    figures.PrintFirstAndBest();
}

String BesideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program(path);
    program.erase(program.find_last_of(L"\\/") + 1);
    return program + name;
}

// A program beside this one, from its start to a visible window of that title that is idle.
void StartUp(const wchar_t* name, const wchar_t* arguments, const wchar_t* title, const char* what, double target,
             int rounds) {
    const String program = BesideThisProgram(name);
    TFigure figure;
    for (int r = 0; r < rounds; ++r) {
        std::wstring commandLine = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        const auto start = Clock::now();
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            std::printf("cannot start %s\n", StringToUtf8(program).c_str());
            return;
        }
        const UniqueKernelHandle thread(process.hThread), handle(process.hProcess);
        HWND window = nullptr;
        while (MillisecondsSince(start) < 60000) {
            window = FindWindowW(nullptr, title);
            if (window != nullptr && IsWindowVisible(window)) break;
            Sleep(1);
        }
        WaitForInputIdle(process.hProcess, 10000);
        figure.Add(MillisecondsSince(start));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    }
    figure.Print(what, target);
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

// The same bare window as StartFloor.exe, shown by this program: what loading a program of
// Folhavida's size, with its libraries and static objects, adds to the floor.
int ShowBareWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"FolhavidaStartFloorLinked";
    if (RegisterClassW(&windowClass) == 0) return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, kLinkedFloorTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, windowClass.hInstance,
                                  nullptr);
    if (window == nullptr) return 1;
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--bare-window") return ShowBareWindow();
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures already printed survive a failing round
    TComApartment com;
    auto at = Clock::now();
    RegisterAppClasses();
    std::printf("start-up: registering the classes %.1f ms\n", MillisecondsSince(at));
    // First, while nothing of the program has run in this process yet.
    StartUpSteps(5);
    {
        TApplicationScope scope;
        Generation(20);
    }
    StartUp(L"StartFloor.exe", L"", L"Folhavida start floor", "floor: a bare window program to a usable window", 0,
            5);
    StartUp(L"Generation_bench.exe", L"--bare-window", kLinkedFloorTitle,
            "the same window from a program of Folhavida's size", 0, 5);
    StartUp(L"Folhavida.exe", L"", L"Folhavida 3.0 - Crie o seu currículo com facilidade!",
            "start-up to a usable main window", 300, 5);
    return 0;
}
