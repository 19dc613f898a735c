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

TQRMessageWait& WaitSlot() {
    static TQRMessageWait wait = nullptr;
    return wait;
}

}  // namespace

TQRMessageWait SetQRMessageWait(TQRMessageWait wait) {
    TQRMessageWait previous = WaitSlot();
    WaitSlot() = wait;
    return previous;
}

bool QRHandleMessage() {
    if (TQRMessageWait wait = WaitSlot()) return wait();
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (got == -1) return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

TQRMessagePump SetQRMessagePump(TQRMessagePump pump) {
    TQRMessagePump previous = PumpSlot();
    PumpSlot() = pump;
    return previous;
}

void QRProcessMessages() {
    if (TQRMessagePump pump = PumpSlot()) return pump();
    DispatchWaitingMessages();
}
