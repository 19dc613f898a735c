#include "report/printer/QRMessages.h"

namespace {

void DispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that owns it
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TQRMessagePump& PumpSlot() {
    static TQRMessagePump pump = nullptr;
    return pump;
}

}  // namespace

TQRMessagePump SetQRMessagePump(TQRMessagePump pump) {
    TQRMessagePump previous = PumpSlot();
    PumpSlot() = pump;
    return previous;
}

void QRProcessMessages() {
    if (TQRMessagePump pump = PumpSlot()) return pump();
    DispatchWaitingMessages();
}
