// Prints what a window subclass costs a message: one sent message through a window's own
// procedure alone, and through two subscribers that each pass it on first.
#include <cstdio>

#include "framework/controls/ControlsScope.h"
#include "framework/controls/WindowSubclass.h"
#include "framework/graphics/GdiHandles.h"
#include "testing/BenchTiming.h"

using benchtiming::MedianMs;

namespace {

constexpr UINT Probe = WM_USER + 1;
constexpr int Messages = 200000;

LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == Probe) return static_cast<LRESULT>(wParam) + 1;
    return DefWindowProcW(window, msg, wParam, lParam);
}

UniqueWindow MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SubclassBenchWindow";
    RegisterClassW(&wc);
    return UniqueWindow(CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        wc.hInstance, nullptr));
}

// Microseconds per message, the median of several runs.
double MicrosecondsPerMessage(HWND window) {
    volatile LRESULT sink = 0;
    const double ms = MedianMs(7, [&] {
        for (int i = 0; i < Messages; ++i) sink = sink + SendMessageW(window, Probe, static_cast<WPARAM>(i), 0);
    });
    return ms * 1000.0 / Messages;
}

}  // namespace

int main() {
    TControlsScope scope;
    UniqueWindow window = MakeWindow();
    const double plain = MicrosecondsPerMessage(window.get());
    double subclassed;
    {
        auto passOn = [](TChainedMessage& m) { m.PassOn(); };
        TWindowSubclass first(window.get(), nullptr, passOn);
        TWindowSubclass second(window.get(), nullptr, passOn);
        subclassed = MicrosecondsPerMessage(window.get());
    }
    std::printf("SendMessageW, %d messages: own procedure %.3f us, through two subscribers %.3f us (%.3f us more)\n",
                Messages, plain, subclassed, subclassed - plain);
    return 0;
}
