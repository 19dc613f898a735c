#include "framework/controls/ControlsHost.h"

#include <string>

namespace {

TControlsHost* g_host = nullptr;

String Utf8ToString(const char* text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 1) return String();
    String s(static_cast<size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, s.data(), n);
    return s;
}

}  // namespace

void SetControlsHost(TControlsHost* host) { g_host = host; }
TControlsHost* ControlsHost() { return g_host; }

void HandleControlException(TObject* sender) noexcept {
    try {
        if (g_host != nullptr) {
            g_host->HandleException(sender);
            return;
        }
        try {
            throw;
        } catch (const EAbort&) {
        } catch (const Exception& e) {
            MessageBoxW(nullptr, e.Message().c_str(), nullptr, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        } catch (const std::exception& e) {
            MessageBoxW(nullptr, Utf8ToString(e.what()).c_str(), nullptr, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        }
    } catch (...) {
        // Nothing may leave a barrier; an exception in the handler itself is dropped.
    }
}
