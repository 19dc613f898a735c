#include "framework/controls/ControlsHost.h"

#include "framework/rtl/StringUtils.h"

namespace {

TControlsHost* g_host = nullptr;

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
